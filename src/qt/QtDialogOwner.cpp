#include "qt/QtDialogOwner.h"

#include <QApplication>
#include <QTimer>

#include <chrono>

namespace {
// Long enough for the window system to have told where the focus went.
constexpr std::chrono::milliseconds focusSettles{200};
} // namespace

void QtDialogOwner::giveFocusBack(QWidget* window) {
    if (!window) {
        return;
    }
    QTimer::singleShot(focusSettles, window, [window] {
        if (!QApplication::activeWindow() && window->isVisible()) {
            window->activateWindow();
        }
    });
}
