#pragma once

#include "platform/InputBox.h"

class QtDialogOwner;

// An input box of the toolkit with the application's name as its title.
class QtInputBox final : public InputBox {
public:
    QtInputBox(QString title, const QtDialogOwner& owner);

    QString ask(const QString& prompt, const QString& defaultAnswer) override;

private:
    QString title;
    const QtDialogOwner& owner;
};
