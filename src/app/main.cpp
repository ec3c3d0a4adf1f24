#include "main/AppTexts.h"
#include "main/QtEditor.h"
#include "platform/QtClock.h"
#include "platform/QtDialogOwner.h"
#include "platform/QtFileDialog.h"
#include "platform/QtInputBox.h"
#include "platform/QtMessageBox.h"
#include "platform/QtSerialControl.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lets the desktop match the window to the menu entry, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("dmx-scene-editor"));
    QtEditor::useDesignFont();

    // Nothing is kept between runs but the scene files: the toolkit's file dialog would keep its
    // history in the user's settings, so its settings go to a folder removed at the end.
    const QTemporaryDir throwawaySettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, throwawaySettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, throwawaySettings.path());

    QtClock clock;
    QtSerialControl comm(systemPortResolver());
    QtDialogOwner dialogOwner;
    QtFileDialog fileDialog(dialogOwner);
    QtMessageBox messages(texts::appTitle, dialogOwner);
    QtInputBox inputs(texts::appTitle, dialogOwner);
    QtEditor editor(comm, fileDialog, messages, inputs, clock);
    dialogOwner.setWindow(&editor.window);
    return editor.start() ? QApplication::exec() : 0;
}
