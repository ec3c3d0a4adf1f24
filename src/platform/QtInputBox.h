#pragma once

#include "platform/InputBox.h"

// An input box of the toolkit with the application's name as its title.
class QtInputBox final : public InputBox {
public:
    explicit QtInputBox(QString title);

    QString ask(const QString& prompt, const QString& defaultAnswer) override;

private:
    QString title;
};
