#pragma once

#include "platform/MessageBox.h"

#include <QMessageBox>

class QtDialogOwner;

// Message boxes of the toolkit, titled with the application's name and without an icon.
class QtMessageBox final : public MessageBox {
public:
    QtMessageBox(QString title, const QtDialogOwner& owner);

    void inform(const QString& text) override;
    bool confirm(const QString& question) override;

private:
    int show(const QString& text, QMessageBox::StandardButtons buttons,
             QMessageBox::StandardButton defaultButton);

    QString title;
    const QtDialogOwner& owner;
};
