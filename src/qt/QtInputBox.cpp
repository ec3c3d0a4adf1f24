#include "qt/QtInputBox.h"

#include "qt/QtDialogOwner.h"

#include <QInputDialog>

#include <utility>

QtInputBox::QtInputBox(QString title, const QtDialogOwner& owner)
    : title(std::move(title))
    , owner(owner) {}

QString QtInputBox::ask(const QString& prompt, const QString& defaultAnswer) {
    QInputDialog box(owner.window());
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultAnswer);
    const bool accepted = box.exec() == QDialog::Accepted;
    owner.dialogClosed();
    return accepted ? box.textValue() : QString();
}
