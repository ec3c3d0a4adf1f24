#include "platform/QtInputBox.h"

#include <QInputDialog>

#include <utility>

QtInputBox::QtInputBox(QString title)
    : title(std::move(title)) {}

QString QtInputBox::ask(const QString& prompt, const QString& defaultAnswer) {
    QInputDialog box;
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultAnswer);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}
