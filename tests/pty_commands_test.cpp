#include "editor/Channel.h"
#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"
#include "support/SceneFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;

// The editor's logic over its real serial control and clock, with the controller on a
// pseudo-terminal whose wire runs at 9600 baud: what each command leaves in the controller, and
// that every command reaches it whole and apart, however long it is on the wire.

namespace {
// The program started without its controller, which has been plugged in since and asked for its
// generation, as Open, New and Read Data ask for it.
void connectAndDetect(PtyEditorRig& rig) {
    QVERIFY(rig.startThenConnect());
    rig.form.check_version();
    rig.forget();
}

// The controller holds what every scene column of the grid holds, and before every command the
// wire was silent for more than the program's pause.
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
    // Each scene comes back in 512 bytes: 0.59 s on the wire at 9600 baud, half that at 19200.
    void startReadsEveryScene_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<int>("scenes");
        QTest::addColumn<QString>("speed");
        QTest::newRow("Mk1") << Generation::Mk1 << 15 << QStringLiteral("0");
        QTest::newRow("Mk2") << Generation::Mk2 << 13 << QStringLiteral("1");
    }
    void startReadsEveryScene() {
        QFETCH(Generation, generation);
        QFETCH(int, scenes);
        QFETCH(QString, speed);
        PtyEditorRig rig(generation, 512);
        rig.controller.fillWithPattern();
        QVERIFY(rig.start(QStringLiteral("1"), speed));
        QCOMPARE(rig.sent(), (QList<Bytes>{{6}, {12}, {6}} + readAllFrames(scenes) + QList<Bytes>{{3, 1}}));
        QCOMPARE(rig.messages.shown, QStringList{});
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.grid.cols(), scenes + 1);
        checkControllerFollowsGrid(rig);
    }

    // On a Mk1 every scene's reset is a set_levels of 515 bytes, 0.59 s on the wire.
    void resetAll_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<int>("scenes");
        QTest::addColumn<bool>("byNew");
        QTest::newRow("Mk1") << Generation::Mk1 << 15 << false;
        QTest::newRow("Mk2") << Generation::Mk2 << 13 << false;
        QTest::newRow("Mk1 by New") << Generation::Mk1 << 15 << true;
    }
    void resetAll() {
        QFETCH(Generation, generation);
        QFETCH(int, scenes);
        QFETCH(bool, byNew);
        PtyEditorRig rig(generation, 512);
        rig.controller.fillWithPattern();
        connectAndDetect(rig);
        QList<Bytes> frames = resetAllFrames(generation == Generation::Mk1, 512, scenes);
        if (byNew) {
            rig.messages.answers << true;
            rig.window.chooserAnswers << std::int16_t(0);
            rig.form.onNewMenu();
            frames = QList<Bytes>{{12}, {6}, {2, 0}} + frames;
        } else {
            rig.form.onAllResetMenu();
        }
        QCOMPARE(rig.sent(), frames);
        QCOMPARE(rig.window.statuses.mid(rig.window.statuses.size() - scenes - 1), resetAllStatuses(scenes));
        checkControllerFollowsGrid(rig);
    }

    // Go to Next Scene at once after the run: the scene must not change before the run is in.
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
        rig.form.onNextBtn();
        QCOMPARE(rig.sent(), (QList<Bytes>{Bytes{1, first / 256, first % 256} + Bytes(last - first + 1, 77),
                                           Bytes{3, 2}}));
        QCOMPARE(rig.controllerNow().currentScene(), 2);
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

    // Every scene of the file is a set_levels of 515 bytes, 0.59 s on the wire.
    void openSendsTheFile_data() { addGenerations(); }
    void openSendsTheFile() {
        QFETCH(Generation, generation);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("scenes.txt"));
        constexpr int fileScenes = 2;
        QVERIFY(writeSceneFile(path, patternedSceneFile(512, fileScenes)));
        PtyEditorRig rig(generation, 512);
        rig.controller.fillWithPattern();
        QVERIFY(rig.startThenConnect());
        rig.messages.answers << true;
        rig.files.answers << path;
        rig.form.onOpenMenu();

        const bool mk2 = generation == Generation::Mk2;
        QList<Bytes> frames{{12}, {6}, {2, 0}};
        for (int s = 1; s <= fileScenes; ++s) {
            QCOMPARE(rig.columnTexts(s), patternedLevels(512, s));
            Bytes levels{1, 0, 1};
            for (const QString& level : patternedLevels(512, s)) {
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
