#include "device/Commands.h"
#include "editor/AppTexts.h"
#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"
#include "support/ExpectedTraffic.h"
#include "support/SceneFiles.h"
#include "support/WinePort.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace std::chrono_literals;

namespace {
constexpr int channels = 512;
constexpr int scenes = 15; // of a Mk1 controller of 512 channels
// What the road sets in the channel range dialog: channels 3 to 10 of scene 1 at 200.
constexpr int firstSet = 3;
constexpr int lastSet = 10;
constexpr int levelSet = 200;
constexpr std::chrono::seconds firstWindowLimit{120};

// The level the controller program gives every channel with --pattern.
int patternLevel(int channel, int scene) {
    return (scene * 37 + channel) % 256;
}

// Every level once the road has set its run.
int levelAfterTheDialog(int channel, int scene) {
    return scene == 1 && channel >= firstSet && channel <= lastSet ? levelSet : patternLevel(channel, scene);
}

QByteArray setLevels(int first, const QList<int>& levels) {
    return lineOf(Bytes{command::set_levels, first / 256, first % 256} + levels);
}

QByteArray selectScene(int scene) {
    return lineOf({command::select_scene, scene});
}

QList<int> sceneLevels(int scene) {
    QList<int> levels;
    for (int channel = 1; channel <= channels; ++channel) {
        levels << levelAfterTheDialog(channel, scene);
    }
    return levels;
}

// Everything the controller must hear on the road, in order.
QList<QByteArray> roadTraffic() {
    const QByteArray getVersion = lineOf({command::get_version});
    const QByteArray getSceneSize = lineOf({command::get_scene_size});
    // The start asks for the scene size, then reads every scene once the generation is known.
    QList<QByteArray> traffic{getSceneSize, getVersion, getSceneSize};
    for (const Bytes& frame : readAllFrames(scenes)) {
        traffic << lineOf(frame);
    }
    traffic << selectScene(1);
    // The dialog's one run.
    traffic << setLevels(firstSet, QList<int>(lastSet - firstSet + 1, levelSet));
    // Open sends the file scene by scene to the controller it asked about first.
    traffic << getVersion << getSceneSize << lineOf({command::set_scene_size, 0});
    for (int s = 1; s <= scenes; ++s) {
        traffic << selectScene(s) << setLevels(1, sceneLevels(s));
    }
    traffic << selectScene(1);
    return traffic;
}

// The Windows build under wine, when the environment names it: DMX_WINE the wine program,
// DMX_WINDOWS_PROGRAM the .exe and DMX_COM1_LINK the path that wine's COM1 is to lead to.
struct UnderWine {
    QString wine = qEnvironmentVariable("DMX_WINE");
    QString program = qEnvironmentVariable("DMX_WINDOWS_PROGRAM");
    QString com1 = qEnvironmentVariable("DMX_COM1_LINK");

    bool asked() const { return !wine.isEmpty(); }
};
} // namespace

// The whole program on one road, as a user takes it: the start on the controller's port and the
// Read Data it brings, a level set through the channel range dialog, Save As, Open of the file
// saved, and Exit. The Linux build takes it here; the Windows build takes it under wine (see
// UnderWine), on COM1. Both must give the same file, traffic and memory, which are known here.
class UserRoadDisplayTest : public QObject {
    Q_OBJECT

    UnderWine wine;

    // Answers the next start prompt. The prompts come before the main window and belong to no
    // window, which under wine is all that tells them apart from it; so here they are told by being
    // the next new window of the title.
    static bool answerStartPrompt(DisplayRig& rig, QList<XSession::WindowId>& answered, const QString& text) {
        const auto unanswered = [&](XSession::WindowId window) {
            return !answered.contains(window) && rig.x.windowName(window) == texts::appTitle;
        };
        // The first start in a new wine prefix sets the prefix up before the program's window shows.
        const std::optional<XSession::WindowId> prompt =
            rig.x.waitForFocus(unanswered, answered.isEmpty() ? firstWindowLimit : DisplayRig::windowLimit);
        if (!prompt) {
            return false;
        }
        answered << *prompt;
        rig.enter(text);
        return true;
    }

    static QStringList levelTexts(const QList<int>& levels) {
        QStringList texts;
        for (const int level : levels) {
            texts << QString::number(level);
        }
        return texts;
    }

private slots:
    void initTestCase() {
        DMX_REQUIRE_DISPLAY();
        if (wine.asked()) {
            QVERIFY2(!wine.program.isEmpty() && !wine.com1.isEmpty(),
                     "DMX_WINE needs DMX_WINDOWS_PROGRAM and DMX_COM1_LINK beside it");
            const QString failed = pointWinePort(1, wine.com1, wine.wine);
            QVERIFY2(failed.isEmpty(), qPrintable(failed));
        }
    }

    void theRoadGivesTheKnownFileTrafficAndMemory() {
        const QStringList options{QStringLiteral("--pattern")};
        if (wine.asked()) {
            // A link left by a run that was stopped would keep the controller from making its own.
            QFile::remove(wine.com1);
        }
        ControllerProcess controller =
            wine.asked() ? ControllerProcess(options, wine.com1, 1) : ControllerProcess(options);
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        if (wine.asked()) {
            rig.launch(wine.wine, {wine.program});
        } else {
            rig.launch();
        }
        QList<XSession::WindowId> prompts;
        QVERIFY2(answerStartPrompt(rig, prompts, QString::number(controller.port())) &&
                     answerStartPrompt(rig, prompts, QStringLiteral("0")),
                 "the start prompts did not come");
        QVERIFY2(controller.waitFor(command::read_scene, scenes, 60s), "Read Data did not read every scene");
        QVERIFY(controller.waitFor(command::select_scene, scenes + 2, 10s));
        QVERIFY(rig.backToMain());

        // A cell of the current scene a few rows down: which one matters not, as every field of the
        // dialog is typed anew (the window's frame differs by a row between the window systems).
        const auto dialog =
            rig.openByClick(DisplayRig::cellCentre(firstSet + 2, 1), QStringLiteral("Set Channel"));
        QVERIFY2(dialog, "a click on the current scene's cell opened no channel range dialog");
        for (const auto& [key, value] :
             {std::pair{"alt+f", firstSet}, {"alt+l", lastSet}, {"alt+v", levelSet}}) {
            rig.x.key(QLatin1String(key));
            rig.x.typeOver(QString::number(value));
        }
        // Alt+E sends the run and closes the dialog.
        QVERIFY(rig.closeByKeys(QStringLiteral("alt+e"), *dialog));
        QVERIFY(controller.waitFor(command::set_levels, 1, 10s));

        const QString name = QStringLiteral("road.txt");
        const QString path = QDir(rig.folder.path()).filePath(name);
        QVERIFY(rig.openByKeys(QStringLiteral("alt+a"), QStringLiteral("File Save")));
        rig.enter(name);
        const QByteArray expected = sceneFileOf(controller.port(), 0, channels, scenes, levelAfterTheDialog);
        XSession::pollUntil([&] { return fileContents(path) == expected; }, 10s);
        QCOMPARE(fileContents(path), expected);

        // Open asks before it replaces the grid.
        QVERIFY(rig.openByKeys(QStringLiteral("alt+o")));
        rig.x.key(QStringLiteral("Return"));
        QVERIFY(rig.nextWindow(QStringLiteral("File Open")));
        rig.enter(name);
        QVERIFY2(controller.waitFor(command::set_levels, scenes + 1, 60s), "Open did not send every scene");
        QVERIFY(controller.waitForLast(selectScene(1), 10s));
        QCOMPARE(rig.exitByMenu(), 0);

        const std::optional<ControllerProcess::Memory> memory = controller.stop();
        QVERIFY(memory);
        QCOMPARE(controller.commands(), roadTraffic());
        QCOMPARE(memory->size(), scenes);
        for (int s = 1; s <= scenes; ++s) {
            QCOMPARE(memory->value(s - 1), levelTexts(sceneLevels(s)));
        }
    }
};

QTEST_GUILESS_MAIN(UserRoadDisplayTest)
#include "user_road_display_test.moc"
