#include "editor/AppTexts.h"
#include "qt/QtClock.h"
#include "qt/QtDialogOwner.h"
#include "qt/QtEditor.h"
#include "qt/QtFileDialog.h"
#include "qt/QtInputBox.h"
#include "qt/QtMessageBox.h"
#if defined(Q_OS_WIN)
#include "win32/RunningMark.h"
#include "win32/Win32FolderRights.h"
#include "win32/Win32SerialControl.h"
#include "win32/Win32SerialDevices.h"
using SystemSerialControl = Win32SerialControl;
constexpr auto systemSerialDeviceFacts = win32SerialDeviceFacts;
constexpr auto systemFolderAccess = rightsAllowWriting;
#else
#include "qt/QtSerialControl.h"
#include "qt/QtSerialDevices.h"
using SystemSerialControl = QtSerialControl;
constexpr auto systemSerialDeviceFacts = qtSerialDeviceFacts;
constexpr auto systemFolderAccess = permissionsAllowWriting;
#endif

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
#if defined(Q_OS_WIN)
    // Marked before anything else, so that no installer replaces the files while the editor starts.
    const RunningMark running(QStringLiteral(DMX_RUNNING_MUTEX));
#endif
    QApplication app(argc, argv);
    // Lets the desktop match the window to the menu entry, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("dmx-scene-editor"));
    QtEditor::useDesignFont();

    // Nothing is kept between runs but the scene files: the toolkit's file dialog would keep its
    // history in the user's settings, so its settings go to a folder removed at the end. Files, not
    // the registry on Windows, so that the folder holds them there too.
    const QTemporaryDir throwawaySettings;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, throwawaySettings.path());

    QtClock clock;
    SystemSerialControl comm(systemPortResolver(), systemSerialDeviceFacts());
    QtDialogOwner dialogOwner;
    QtFileDialog fileDialog(dialogOwner, systemFolderAccess);
    QtMessageBox messages(texts::appTitle, dialogOwner);
    QtInputBox inputs(texts::appTitle, dialogOwner);
    QtEditor editor(comm, fileDialog, messages, inputs, clock);
    dialogOwner.setWindow(&editor.window);
    return editor.start() ? QApplication::exec() : 0;
}
