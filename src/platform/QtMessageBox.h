#pragma once

#include "platform/MessageBox.h"

// Message boxes of the toolkit, titled with the application's name and without an icon.
class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QString title);

    void inform(const QString& text) override;
    bool confirm(const QString& question) override;

private:
    QString title;
};
