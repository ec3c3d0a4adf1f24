#include "support/ModalDialogDriver.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {
// A dialog that never shows must not leave the driver waiting into later tests.
constexpr int maxTurns = 1000;

void tryAct(std::function<void(QWidget*)> action, int turnsLeft) {
    if (QWidget* shown = QApplication::activeModalWidget()) {
        const QPointer<QWidget> dialog(shown);
        action(dialog);
        // A failed check returns from the action before it closed the dialog; left open, the dialog
        // would hold the test in its event loop until the test's time runs out.
        if (QTest::currentTestFailed() && dialog && dialog->isVisible()) {
            if (auto* modal = qobject_cast<QDialog*>(dialog)) {
                modal->reject();
            } else {
                dialog->close();
            }
        }
    } else if (turnsLeft > 0) {
        QTimer::singleShot(0, [action = std::move(action), turnsLeft] { tryAct(action, turnsLeft - 1); });
    }
}
} // namespace

void whenModalShows(std::function<void(QWidget* dialog)> action) {
    QTimer::singleShot(0, [action = std::move(action)] { tryAct(action, maxTurns); });
}
