// The long operations over the real serial control and clock, with the controller emulated on a
// pseudo-terminal by a thread of this process that answers at once: the wall time against the
// protocol floor, the sum of the pauses the protocol demands, and the editor's processor time
// against the wall time. The floor is counted from the commands the emulator received.
// Usage: QT_QPA_PLATFORM=offscreen protocol_bench [runs]

#include "Measure.h"
#include "device/Dmx.h"
#include "editor/AppTexts.h"
#include "support/EditorRig.h"
#include "support/SceneFiles.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

namespace {

using Generation = ControllerModel::Generation;
using namespace std::chrono_literals;

constexpr std::uint8_t setLevelsCode = 1;
constexpr std::uint8_t readSceneCode = 4;
constexpr std::uint8_t saveSceneCode = 7;

struct Operation {
    std::string name;
    Generation generation;
    int channels;
    // Brings a fresh rig to where the operation starts; not timed.
    std::function<void(PtyEditorRig&)> prepare;
    std::function<void(PtyEditorRig&)> work;
    // What the operation waits after a command of a code, beyond the pause that follows every command.
    std::map<std::uint8_t, Clock::Time> extraPause;
};

// Every command is followed by its pause, and some by the operation's own wait as well. Replies on a
// pseudo-terminal take no time to travel and come within the pause, so they add nothing.
Clock::Time protocolFloor(const ControllerModel& controller,
                          const std::map<std::uint8_t, Clock::Time>& extra) {
    Clock::Time floor{0};
    for (const ControllerModel::Frame& frame : controller.frames()) {
        const auto wait = extra.find(frame.bytes.front());
        floor += Dmx::sendPause + (wait == extra.end() ? Clock::Time(0) : wait->second);
    }
    return floor;
}

// The controller answers, its generation known and the grid sized to the given scenes.
void connectWithGrid(PtyEditorRig& rig, std::int16_t scenes) {
    rig.startThenConnect();
    rig.form.check_version();
    rig.form.nrows = static_cast<std::int16_t>(rig.controller.channelsPerScene());
    rig.form.ncols = scenes;
    rig.form.layoutGrid();
}

struct Figures {
    double wallS = 0;
    double floorS = 0;
    double editorProcessorS = 0;
    double processProcessorS = 0;
    std::size_t commands = 0;
};

Figures measureOnce(const Operation& operation) {
    auto rig = std::make_unique<PtyEditorRig>(operation.generation, operation.channels);
    rig->controller.setReplyLatency(0us);
    rig->controller.fillWithPattern();
    operation.prepare(*rig);
    rig->forget();

    const double editorBefore = threadProcessorSeconds();
    const double processBefore = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    operation.work(*rig);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const double editor = threadProcessorSeconds() - editorBefore;
    const double process = processorSeconds() - processBefore;

    const ControllerModel& controller = rig->controllerNow();
    // Open asks before it replaces the grid; any other message is a failure the figures would hide.
    rig->messages.shown.removeAll(texts::overwriteQuestion);
    if (!rig->messages.shown.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", operation.name.c_str(), qPrintable(rig->messages.shown.join(" / ")));
    }
    return {wall.count(),
            std::chrono::duration<double>(protocolFloor(controller, operation.extraPause)).count(), editor,
            process, controller.frames().size()};
}

void report(const Operation& operation, int runs) {
    std::vector<double> wall;
    std::vector<double> floor;
    std::vector<double> overFloor;
    std::vector<double> editorShare;
    std::vector<double> processShare;
    std::size_t commands = 0;
    for (int i = 0; i < runs; ++i) {
        const Figures figures = measureOnce(operation);
        wall.push_back(figures.wallS);
        floor.push_back(figures.floorS);
        overFloor.push_back(figures.wallS / figures.floorS);
        editorShare.push_back(100 * figures.editorProcessorS / figures.wallS);
        processShare.push_back(100 * figures.processProcessorS / figures.wallS);
        commands = figures.commands;
    }
    std::printf("| %-32s | %8zu | %7.3f s | %7.3f s | %12.4f | %10.2f %% | %11.2f %% |\n",
                operation.name.c_str(), commands, median(wall), median(floor), median(overFloor),
                median(editorShare), median(processShare));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("scenes.txt"));
    if (!writeSceneFile(file, patternedSceneFile(512, 15))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }

    const auto readData = [](PtyEditorRig& rig) {
        rig.form.onReadMenu();
    };
    const auto connect = [](PtyEditorRig& rig) {
        rig.startThenConnect();
    };
    const auto resetAll = [](PtyEditorRig& rig) {
        rig.form.onAllResetMenu();
    };
    const std::map<std::uint8_t, Clock::Time> afterRead{{readSceneCode, 200ms}};
    const std::vector<Operation> operations{
        {"Read Data of 15 x 512, Mk1", Generation::Mk1, 512, connect, readData, afterRead},
        {"Read Data of 60 x 128, Mk1", Generation::Mk1, 128, connect, readData, afterRead},
        {"Reset All of 60 x 128, Mk1",
         Generation::Mk1,
         128,
         [](PtyEditorRig& rig) { connectWithGrid(rig, 60); },
         resetAll,
         {}},
        {"Reset All of 55 x 128, Mk2",
         Generation::Mk2,
         128,
         [](PtyEditorRig& rig) { connectWithGrid(rig, 55); },
         resetAll,
         {}},
        {"Open of a 15 x 512 file, Mk2",
         Generation::Mk2,
         512,
         [&file](PtyEditorRig& rig) {
             rig.startThenConnect();
             rig.messages.answers << true;
             rig.files.answers << file;
         },
         [](PtyEditorRig& rig) { rig.form.onOpenMenu(); },
         {{setLevelsCode, Dmx::sendPause}, {saveSceneCode, Dmx::sendPause}}},
    };

    std::printf("medians of %d runs\n\n", runs);
    std::printf("| %-32s | %8s | %9s | %9s | %12s | %12s | %13s |\n", "operation", "commands", "wall",
                "floor", "wall / floor", "editor / wall", "process / wall");
    std::printf("|%s|---------:|----------:|----------:|-------------:|-------------:|--------------:|\n",
                std::string(34, '-').c_str());
    for (const Operation& operation : operations) {
        report(operation, runs);
    }
    return 0;
}
