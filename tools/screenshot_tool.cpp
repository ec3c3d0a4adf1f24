// Takes the picture of the main window that the README shows: the editor started without a
// controller (no serial device stands for the port), a new grid chosen, a scene file opened and the
// third scene made current, every answer given by script. Run it under an X server with a window
// manager, so that the picture has the window's frame and title.
// Usage: screenshot_tool SCENE_FILE OUTPUT.png

#include "qt/QtClock.h"
#include "qt/QtEditor.h"
#include "qt/QtSerialControl.h"
#include "qt/QtSerialDevices.h"
#include "support/ModalDialogDriver.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedInputBox.h"
#include "support/ScriptedMessageBox.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_tool SCENE_FILE OUTPUT.png\n");
        return 2;
    }
    QtEditor::useDesignFont();

    QtClock clock;
    QtSerialControl comm([](std::int16_t) { return std::optional<QString>(); }, qtSerialDeviceFacts());
    ScriptedFileDialog files;
    files.answers << QString::fromLocal8Bit(argv[1]);
    ScriptedMessageBox messages;
    messages.answers << true; // replace the new grid with the file's
    ScriptedInputBox inputs;
    inputs.answers << QStringLiteral("1") << QStringLiteral("0");
    QtEditor editor(comm, files, messages, inputs, clock);

    // The chooser of a new grid, with its first choice.
    whenModalShows(
        [](QWidget* chooser) { childOf<QPushButton>(chooser, QStringLiteral("Command1"))->click(); });
    if (!editor.start()) {
        std::fprintf(stderr, "the editor did not start\n");
        return 1;
    }
    editor.guard.run([&] {
        editor.form.onOpenMenu();
        editor.form.onNextBtn();
        editor.form.onNextBtn();
    });
    if (editor.form.ncols < 3 || editor.form.nscene != 3) {
        std::fprintf(stderr, "the scene file was not loaded: %s\n",
                     qPrintable(messages.shown.join(QStringLiteral("; "))));
        return 1;
    }

    // The window manager frames the window a moment after it shows.
    QMainWindow& window = editor.window;
    if (!QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 5000)) {
        std::fprintf(stderr, "no window manager framed the window\n");
        return 1;
    }
    QTest::qWait(500);
    const QRect frame = window.frameGeometry();
    const QPixmap shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (!shot.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
