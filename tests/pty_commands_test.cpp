#include "editor/Channel.h"
#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"
#include "support/SceneFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;

// The editor's logic over its real serial control and clock, with the controller on a
// pseudo-terminal: what each command leaves in the controller, and the pace it keeps on the line.

namespace {
// The program started without its controller, which has been plugged in since and asked for its
// generation, as Open, New and Read Data ask for it.
void connectAndDetect(PtyEditorRig& rig) {
    QVERIFY(rig.startThenConnect());
    rig.form.check_version();
    rig.forget();
}

// The controller holds what every scene column of the grid holds, and every command came more than
// the program's pause after the one before it.
void checkControllerFollowsGrid(PtyEditorRig& rig) {
    for (int s = 1; s <= rig.form.ncols; ++s) {
        QCOMPARE(rig.columnTexts(s), rig.controllerLevels(s));
    }
    const Clock::Time gap = shortestSilence(rig.controllerNow());
    QVERIFY2(gap > 50ms, qPrintable(QStringLiteral("%1 us").arg(gap.count())));
}

void addGenerations() {
    QTest::addColumn<Generation>("generation");
    QTest::addColumn<int>("scenes"); // of 512 channels
    QTest::newRow("Mk1") << Generation::Mk1 << 15;
    QTest::newRow("Mk2") << Generation::Mk2 << 13;
}
} // namespace

class PtyCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void startReadsEveryScene_data() { addGenerations(); }
    void startReadsEveryScene() {
        QFETCH(Generation, generation);
        QFETCH(int, scenes);
        PtyEditorRig rig(generation, 512);
        rig.controller.fillWithPattern();
        QVERIFY(rig.start());
        QCOMPARE(rig.sent(), (QList<Bytes>{{6}, {12}, {6}} + readAllFrames(scenes) + QList<Bytes>{{3, 1}}));
        QCOMPARE(rig.messages.shown, QStringList{});
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.grid.cols(), scenes + 1);
        checkControllerFollowsGrid(rig);
    }

    void resetAll_data() { addGenerations(); }
    void resetAll() {
        QFETCH(Generation, generation);
        QFETCH(int, scenes);
        PtyEditorRig rig(generation, 512);
        rig.controller.fillWithPattern();
        connectAndDetect(rig);
        rig.form.onAllResetMenu();
        QCOMPARE(rig.sent(), resetAllFrames(generation == Generation::Mk1, 512, scenes));
        QCOMPARE(rig.window.statuses, resetAllStatuses(scenes));
        checkControllerFollowsGrid(rig);
    }

    void applySetsARun_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("channels 5 to 20") << 5 << 20;
        QTest::newRow("every channel") << 1 << 512;
    }
    void applySetsARun() {
        QFETCH(int, first);
        QFETCH(int, last);
        PtyEditorRig rig(Generation::Mk2, 512);
        connectAndDetect(rig);
        rig.channelView.first = QString::number(first);
        rig.channelView.last = QString::number(last);
        rig.channelView.value = QStringLiteral("77");
        Channel(rig.form, rig.channelView).onApplyBtn();
        QCOMPARE(rig.sent(),
                 (QList<Bytes>{Bytes{1, first / 256, first % 256} + Bytes(last - first + 1, 77)}));
        QCOMPARE(rig.messages.shown, QStringList{});
        checkControllerFollowsGrid(rig);
    }

    void saveSceneStoresTheCurrentScene() {
        PtyEditorRig rig(Generation::Mk2, 512);
        connectAndDetect(rig);
        rig.form.onSaveSceneBtn();
        QCOMPARE(rig.sent(), QList<Bytes>{{7}});
        QCOMPARE(rig.messages.shown, QStringList{});
        QCOMPARE(rig.window.statuses,
                 (QList<StatusLine>{{"Scene Saved", colours::white}, {QString(), colours::buttonFace}}));
        QVERIFY(rig.window.statusTimes[1] - rig.window.statusTimes[0] > 500ms);
        QVERIFY(rig.controllerNow().isSaved(1));
        checkControllerFollowsGrid(rig);
    }

    void openSendsTheFile_data() { addGenerations(); }
    void openSendsTheFile() {
        QFETCH(Generation, generation);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("scenes.txt"));
        QVERIFY(writeSceneFile(path, patternedSceneFile(128, 3)));
        PtyEditorRig rig(generation, 512);
        rig.controller.fillWithPattern();
        QVERIFY(rig.startThenConnect());
        rig.messages.answers << true;
        rig.files.answers << path;
        rig.form.onOpenMenu();

        const bool mk2 = generation == Generation::Mk2;
        QList<Bytes> frames{{12}, {6}, {2, 2}};
        for (int s = 1; s <= 3; ++s) {
            QCOMPARE(rig.columnTexts(s), patternedLevels(128, s));
            Bytes levels{1, 0, 1};
            for (const QString& level : patternedLevels(128, s)) {
                levels << level.toInt();
            }
            frames << Bytes{3, s} << levels;
            if (mk2) {
                frames << Bytes{7};
            }
            QCOMPARE(rig.controllerNow().isSaved(s), mk2);
        }
        QCOMPARE(rig.sent(), (frames << Bytes{3, 1}));
        QCOMPARE(rig.messages.shown, QStringList{"Data already exists - overwrite?"});
        checkControllerFollowsGrid(rig);
    }
};

QTEST_GUILESS_MAIN(PtyCommandsTest)
#include "pty_commands_test.moc"
