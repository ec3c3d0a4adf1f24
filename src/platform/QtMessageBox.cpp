#include "platform/QtMessageBox.h"

#include <QMessageBox>

#include <utility>

namespace {
// The toolkit's own box rather than the system's, so that it looks the same everywhere.
int showBox(const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec();
}
} // namespace

QtMessageBox::QtMessageBox(QString title)
    : title(std::move(title)) {}

void QtMessageBox::inform(const QString& text) {
    showBox(title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBox::confirm(const QString& question) {
    return showBox(title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}
