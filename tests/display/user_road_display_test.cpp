#include "device/Commands.h"
#include "editor/AppTexts.h"
#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"
#include "support/DrivenBuild.h"
#include "support/ExpectedTraffic.h"
#include "support/SceneFiles.h"

#include <QDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {
constexpr int channels = 512;
constexpr int scenes = 15; // of a Mk1 controller of 512 channels
// What the road sets in the channel range dialog: channels 3 to 10 of scene 1 at 200.
constexpr int firstSet = 3;
constexpr int lastSet = 10;
constexpr int levelSet = 200;

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

} // namespace

// The whole program on one road, as a user takes it: the start on the controller's port and the
// Read Data it brings, a level set through the channel range dialog, Save As, Open of the file
// saved, and Exit. The Linux build takes it here; the Windows build takes it under wine (see
// DrivenBuild), on COM1. Both must give the same file, traffic and memory, which are known here.
class UserRoadDisplayTest : public QObject {
    Q_OBJECT

    DrivenBuild build;

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
        const QString failed = build.pointCom1();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }

    void theRoadGivesTheKnownFileTrafficAndMemory() {
        ControllerProcess controller = build.startController({QStringLiteral("--pattern")});
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        build.launch(rig);
        QVERIFY2(rig.answerPrompt(QString::number(controller.port())) &&
                     rig.answerPrompt(QStringLiteral("0")),
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
