// The long operations over the real serial control and clock, with the controller emulated on a
// pseudo-terminal by a thread of this process, over a wire at the line's speed, answering at once:
// the wall time against the line's floor, and the editor's processor time against the wall time.
// The floor is counted from the commands the emulator received.
// Usage: QT_QPA_PLATFORM=offscreen protocol_bench [runs]

#include "Measure.h"
#include "device/Commands.h"
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

struct Operation {
    std::string name;
    Generation generation;
    // Brings a fresh rig to where the operation starts, at the speed code; not timed.
    std::function<void(PtyEditorRig&, std::int16_t speed)> prepare;
    std::function<void(PtyEditorRig&)> work;
    // What the operation waits after a command of a code, beyond the pause that follows every command.
    std::map<std::uint8_t, Clock::Time> extraPause;
};

// The bytes of the reply the program waits for after a command of the code; none for the others.
int awaitedReply(std::uint8_t code, int channels) {
    switch (code) {
    case command::read_scene:
        return channels;
    case command::get_scene_size:
        return 2;
    case command::get_version:
        return 1;
    default:
        return 0;
    }
}

// The least time the line leaves an operation: every command's own bytes on the wire, then the
// silence after it, and the operation's waits. Where a reply is awaited, the program goes on only
// once it is in: the controller takes the silence that ends the command, then the reply comes
// back byte by byte; that overlaps the silence. Each pause must last more than its length, so the
// floor is a bound the program can approach but never reach.
Clock::Time lineFloor(const ControllerModel& controller, const LineSettings& line,
                      const std::map<std::uint8_t, Clock::Time>& extra) {
    Clock::Time floor{0};
    for (const ControllerModel::Frame& frame : controller.frames()) {
        const auto code = static_cast<std::uint8_t>(frame.bytes.front());
        const int reply = awaitedReply(code, controller.channelsPerScene());
        const Clock::Time replyIn =
            reply > 0 ? ControllerModel::frameGap + wireTime(line, reply) : Clock::Time(0);
        const auto wait = extra.find(code);
        floor += wireTime(line, frame.bytes.size()) + std::max(Dmx::sendPause, replyIn) +
                 (wait == extra.end() ? Clock::Time(0) : wait->second);
    }
    return floor;
}

// The controller answers, its generation known and the grid laid out for its size.
void connectWithGrid(PtyEditorRig& rig, std::int16_t speed) {
    rig.startThenConnect(speed);
    rig.form.check_version();
    rig.form.layoutGrid();
}

struct Figures {
    double wallS = 0;
    double floorS = 0;
    double editorProcessorS = 0;
    std::size_t commands = 0;
};

Figures measureOnce(const Operation& operation, std::int16_t speed) {
    auto rig = std::make_unique<PtyEditorRig>(operation.generation, 512);
    rig->controller.setReplyLatency(0us);
    rig->controller.fillWithPattern();
    operation.prepare(*rig, speed);
    rig->forget();

    const double editorBefore = threadProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    operation.work(*rig);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const double editor = threadProcessorSeconds() - editorBefore;

    const ControllerModel& controller = rig->controllerNow();
    // New and Open ask before they replace the grid; any other message is a failure the figures
    // would hide, and so is a command that ran into the next.
    rig->messages.shown.removeAll(texts::overwriteQuestion);
    if (!rig->messages.shown.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", operation.name.c_str(), qPrintable(rig->messages.shown.join(" / ")));
    }
    if (shortestSilence(controller) <= Dmx::sendPause) {
        std::fprintf(stderr, "%s: commands closer than the pause\n", operation.name.c_str());
    }
    const LineSettings line = controller.wireSettings().value_or(LineSettings{});
    return {wall.count(),
            std::chrono::duration<double>(lineFloor(controller, line, operation.extraPause)).count(), editor,
            controller.frames().size()};
}

void report(const Operation& operation, std::int16_t speed, int runs) {
    std::vector<double> wall;
    std::vector<double> floor;
    std::vector<double> overFloor;
    std::vector<double> editorShare;
    std::size_t commands = 0;
    for (int i = 0; i < runs; ++i) {
        const Figures figures = measureOnce(operation, speed);
        wall.push_back(figures.wallS);
        floor.push_back(figures.floorS);
        overFloor.push_back(figures.wallS / figures.floorS);
        editorShare.push_back(100 * figures.editorProcessorS / figures.wallS);
        commands = figures.commands;
    }
    std::printf("| %-26s | %5d | %8zu | %7.3f s | %7.3f s | %12.4f | %11.2f %% |\n", operation.name.c_str(),
                speed == 1 ? 19200 : 9600, commands, median(wall), median(floor), median(overFloor),
                median(editorShare));
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

    const auto connect = [](PtyEditorRig& rig, std::int16_t speed) {
        rig.startThenConnect(speed);
    };
    const auto connectForOpen = [&file](PtyEditorRig& rig, std::int16_t speed) {
        rig.startThenConnect(speed);
        rig.messages.answers << true;
        rig.files.answers << file;
    };
    const auto connectForNew = [](PtyEditorRig& rig, std::int16_t speed) {
        rig.startThenConnect(speed);
        rig.messages.answers << true;
        rig.window.chooserAnswers << std::int16_t(0);
    };
    const std::vector<Operation> operations{
        {"Read Data of 15 x 512, Mk1",
         Generation::Mk1,
         connect,
         [](PtyEditorRig& rig) { rig.form.onReadMenu(); },
         {{command::read_scene, 200ms}}},
        {"Open of 15 x 512, Mk1",
         Generation::Mk1,
         connectForOpen,
         [](PtyEditorRig& rig) { rig.form.onOpenMenu(); },
         {{command::set_levels, Dmx::sendPause}}},
        {"Open of 15 x 512, Mk2",
         Generation::Mk2,
         connectForOpen,
         [](PtyEditorRig& rig) { rig.form.onOpenMenu(); },
         {{command::set_levels, Dmx::sendPause}, {command::save_scene, Dmx::sendPause}}},
        {"Reset All of 15 x 512, Mk1",
         Generation::Mk1,
         connectWithGrid,
         [](PtyEditorRig& rig) { rig.form.onAllResetMenu(); },
         {}},
        {"Reset All of 13 x 512, Mk2",
         Generation::Mk2,
         connectWithGrid,
         [](PtyEditorRig& rig) { rig.form.onAllResetMenu(); },
         {}},
        {"New of 15 x 512, Mk1",
         Generation::Mk1,
         connectForNew,
         [](PtyEditorRig& rig) { rig.form.onNewMenu(); },
         {}},
    };

    std::printf("medians of %d runs\n\n", runs);
    std::printf("| %-26s | %5s | %8s | %9s | %9s | %12s | %13s |\n", "operation", "baud", "commands", "wall",
                "floor", "wall / floor", "editor / wall");
    std::printf("|%s|------:|---------:|----------:|----------:|-------------:|--------------:|\n",
                std::string(28, '-').c_str());
    for (const std::int16_t speed : {std::int16_t(0), std::int16_t(1)}) {
        for (const Operation& operation : operations) {
            report(operation, speed, runs);
        }
    }
    return 0;
}
