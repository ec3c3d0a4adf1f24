#include "qt/QtMessageBox.h"

#include "qt/QtDialogOwner.h"

#include <utility>

QtMessageBox::QtMessageBox(QString title, const QtDialogOwner& owner)
    : title(std::move(title))
    , owner(owner) {}

void QtMessageBox::inform(const QString& text) {
    show(text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBox::confirm(const QString& question) {
    return show(question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

int QtMessageBox::show(const QString& text, QMessageBox::StandardButtons buttons,
                       QMessageBox::StandardButton defaultButton) {
    // The toolkit's own box rather than the system's, so that it looks the same everywhere.
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons, owner.window());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    const int answer = box.exec();
    owner.dialogClosed();
    return answer;
}
