// Start-up to the first prompt, and the peak resident memory with a 512 x 60 grid shown. Each
// measurement is a fresh process of this program, composing the same windows as the editor:
// - the start is timed from just before the process is started until the port prompt is on the
//   screen (the prompt is then cancelled, which ends the start);
// - the memory is the peak resident set of a process that shows the main window with a grid of
//   512 channels by 60 scenes, every cell holding a level.
// Usage: QT_QPA_PLATFORM=offscreen startup_bench [launches]    (or under a display server)

#include "ChildProcess.h"
#include "Levels.h"
#include "Measure.h"
#include "editor/AppTexts.h"
#include "qt/QtClock.h"
#include "qt/QtDialogOwner.h"
#include "qt/QtEditor.h"
#include "qt/QtFileDialog.h"
#include "qt/QtInputBox.h"
#include "qt/QtSerialControl.h"
#include "qt/QtSerialDevices.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdlib>

namespace {

const QString promptChild = QStringLiteral("--prompt-child");
const QString gridChild = QStringLiteral("--grid-child");

// The message that follows the cancelled prompt is not part of the start being timed.
class NoMessages final : public MessageBox {
public:
    void inform(const QString&) override {}
    bool confirm(const QString&) override { return false; }
};

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The editor's windows on the toolkit's parts, as the editor composes them.
struct Editor {
    QtClock clock;
    QtSerialControl comm{systemPortResolver(), qtSerialDeviceFacts()};
    QtDialogOwner owner;
    QtFileDialog files{owner};
    NoMessages messages;
    QtInputBox inputs{texts::appTitle, owner};
    QtEditor editor{comm, files, messages, inputs, clock};
};

// Prints the milliseconds from the given moment until the first prompt shows, then cancels it.
int timeToPrompt(qint64 launchedNs) {
    Editor composed;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* prompt = QApplication::activeModalWidget();
        if (prompt && prompt->windowHandle() && prompt->windowHandle()->isExposed()) {
            std::printf("%.1f\n", static_cast<double>(nowNs() - launchedNs) / 1e6);
            watch.stop();
            prompt->hide();
        }
    });
    watch.start(0);
    composed.editor.start();
    return 0;
}

// Prints the peak resident memory in KiB with the main window showing a 512 x 60 grid of levels.
int gridMemory() {
    Editor composed;
    QtEditor& editor = composed.editor;
    fillLevels(editor.form, 512, 60);
    editor.form.scene(1);
    editor.window.show();
    if (!QTest::qWaitForWindowExposed(&editor.window)) {
        return 1;
    }
    QTest::qWait(200);
    std::printf("%ld\n", peakResidentKiB());
    return 0;
}

// Runs this program as a child and returns the number it printed.
double child(const QStringList& arguments) {
    return childOutput(arguments).trimmed().toDouble();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QString::fromLatin1(argv[1]) == promptChild) {
        const qint64 launched = QString::fromLatin1(argv[2]).toLongLong();
        QApplication app(argc, argv);
        QtEditor::useDesignFont();
        return timeToPrompt(launched);
    }
    if (argc == 2 && QString::fromLatin1(argv[1]) == gridChild) {
        QApplication app(argc, argv);
        QtEditor::useDesignFont();
        return gridMemory();
    }

    QCoreApplication app(argc, argv);
    const int launches = argc > 1 ? std::atoi(argv[1]) : 10;
    std::vector<double> startMs;
    for (int i = 0; i < launches; ++i) {
        startMs.push_back(child({promptChild, QString::number(nowNs())}));
    }
    std::sort(startMs.begin(), startMs.end());
    const double peakMiB = child({gridChild}) / 1024.0;

    std::printf("%d launches\n\n", launches);
    std::printf("| measure                                  | median    | worst     | goal     |\n");
    std::printf("|------------------------------------------|----------:|----------:|----------|\n");
    std::printf("| start-up to the first prompt             | %6.1f ms | %6.1f ms | < 200 ms |\n",
                startMs[startMs.size() / 2], startMs.back());
    std::printf("| peak resident memory, 512 x 60 grid shown| %5.1f MiB |           | < 80 MiB |\n", peakMiB);
    return 0;
}
