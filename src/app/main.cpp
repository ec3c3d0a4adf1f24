#include "dialogs/Channel.h"
#include "dialogs/QtChannelWindow.h"
#include "main/AppTexts.h"
#include "main/GridForm.h"
#include "main/QtMainWindow.h"
#include "platform/QtClock.h"
#include "platform/QtCommandGuard.h"
#include "platform/QtFileDialog.h"
#include "platform/QtGridModel.h"
#include "platform/QtInputBox.h"
#include "platform/QtMessageBox.h"
#include "platform/QtSerialControl.h"

#include <QApplication>
#include <QFont>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    // Nothing is kept between runs but the scene files: the toolkit's file dialog would keep its
    // history in the user's settings, so its settings go to a folder removed at the end.
    const QTemporaryDir throwawaySettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, throwawaySettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, throwawaySettings.path());

    QtClock clock;
    QtSerialControl comm(systemPortResolver());
    QtFileDialog fileDialog;
    QtMessageBox messages(texts::appTitle);
    QtInputBox inputs(texts::appTitle);
    QtCommandGuard guard;
    QtMainWindow window;
    GridForm form({window.grid(), comm, fileDialog, messages, inputs, clock, window, window.channelWindow()});
    window.attach(form, guard);
    Channel channelRange(form, window.channelWindow());
    window.channelWindow().attach(channelRange, guard);

    bool started = false;
    guard.run([&] { started = form.onLoad(); });
    // A bad answer to a start prompt ends the program before any window shows; a window closed
    // during the start has ended it too.
    if (!started || !window.isVisible()) {
        return 0;
    }
    return QApplication::exec();
}
