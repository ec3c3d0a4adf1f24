#include "support/ModalDialogDriver.h"

#include <QApplication>
#include <QTimer>

namespace {
// A dialog that never shows must not leave the driver waiting into later tests.
constexpr int maxTurns = 1000;

void tryAct(std::function<void(QWidget*)> action, int turnsLeft) {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        action(dialog);
    } else if (turnsLeft > 0) {
        QTimer::singleShot(0, [action = std::move(action), turnsLeft] { tryAct(action, turnsLeft - 1); });
    }
}
} // namespace

void whenModalShows(std::function<void(QWidget* dialog)> action) {
    QTimer::singleShot(0, [action = std::move(action)] { tryAct(action, maxTurns); });
}
