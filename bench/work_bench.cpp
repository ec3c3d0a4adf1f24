// The editor's own work on the fake clock, where pauses and reply waits take no time, so what is
// measured is the processor's part: laying out the grid, switching scenes, writing and reading a
// scene file, reading every scene from an emulated controller. Each is measured on the grid alone
// and in the shown main window, there with the notifications handled and the window repainted.
// Usage: QT_QPA_PLATFORM=offscreen work_bench [runs]

#include "Levels.h"
#include "Measure.h"
#include "qt/QtEditor.h"
#include "support/EditorRig.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

using Generation = ControllerModel::Generation;

// The main window on the rig's clock, port and scripted boxes, shown; its grid has a view.
class ShownEditor final : public QObject {
public:
    explicit ShownEditor(EditorRig& rig)
        : editor(rig.port, rig.files, rig.messages, rig.inputs, rig.clock) {
        QCoreApplication::instance()->installEventFilter(this);
        editor.window.show();
        if (!QTest::qWaitForWindowExposed(&editor.window)) {
            std::fprintf(stderr, "the window did not show\n");
            std::exit(1);
        }
    }
    // Handles the grid's notifications and the view's delayed layout, then paints at once what
    // they left to paint, rather than when the window system next asks for it.
    void repaint() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QEvent paintNow(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&editor.window, &paintNow);
    }
    QtEditor editor;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    int paints = 0;
};

void sizeGrid(GridForm& form, std::int16_t nrows, std::int16_t ncols) {
    form.nrows = nrows;
    form.ncols = ncols;
    form.layoutGrid();
}

void gridWork(bool shown, int runs, const QString& file) {
    EditorRig rig;
    rig.startOffline();
    std::unique_ptr<ShownEditor> window = shown ? std::make_unique<ShownEditor>(rig) : nullptr;
    GridForm& form = shown ? window->editor.form : rig.form;
    const auto settle = [&] {
        if (window) {
            window->repaint();
        }
    };
    const std::string where = shown ? ", shown" : ", grid alone";

    printTiming(
        "layout of 513 x 61" + where,
        timeRuns(
            runs, [&] { sizeGrid(form, 1, 1), settle(); }, [&] { sizeGrid(form, 512, 60), settle(); }),
        "< 10 ms");
    fillLevels(form, 512, 60);
    form.scene(1);
    settle();
    // Between the first two scenes, whose columns are both in sight and so repainted.
    printTiming("scene switch on 512 rows" + where,
                timeRuns(
                    runs, [] {},
                    [&] {
                        form.scene(form.nscene == 1 ? 2 : 1);
                        settle();
                    }),
                "< 1 ms");
    printTiming("Save As of 512 x 60" + where,
                timeRuns(
                    runs, [&] { rig.files.answers << file; }, [&] { form.onSaveAsMenu(); }),
                "< 10 ms");
    printTiming("Open of 512 x 60, no controller" + where,
                timeRuns(
                    runs,
                    [&] {
                        rig.messages.answers << true;
                        rig.files.answers << file;
                    },
                    [&] {
                        form.onOpenMenu();
                        settle();
                    }),
                "< 10 ms");
}

void readDataWork(bool shown, int runs) {
    EditorRig rig(Generation::Mk1, 128);
    rig.start();
    std::unique_ptr<ShownEditor> window = shown ? std::make_unique<ShownEditor>(rig) : nullptr;
    GridForm& form = shown ? window->editor.form : rig.form;
    printTiming(std::string("Read Data of 60 x 128") + (shown ? ", shown" : ", grid alone"),
                timeRuns(
                    runs, [&] { rig.controller.clearLog(); },
                    [&] {
                        form.onReadMenu();
                        if (window) {
                            window->repaint();
                        }
                    }),
                "-");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtEditor::useDesignFont();
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("scenes.txt"));

    std::printf("%d runs each, on the fake clock\n\n", runs);
    printTimingHeader();
    for (const bool shown : {false, true}) {
        gridWork(shown, runs, file);
        readDataWork(shown, runs);
    }
    return 0;
}
