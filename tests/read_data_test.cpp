#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;
using Fault = ControllerModel::Fault;

namespace {
const StatusLine cleared{QString(), colours::buttonFace};

// A start on a port that could not be opened left a new grid of 512 channels by 15 scenes; then
// the port opens and the controller, whose scenes all differ, is there.
void startOfflineThenOpen(EditorRig& rig) {
    rig.controller.fillWithPattern();
    QVERIFY(rig.startThenConnect());
}
} // namespace

class ReadDataTest : public QObject {
    Q_OBJECT
private slots:
    void readsEveryScene_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("scenes");
        QTest::newRow("Mk1 512") << Generation::Mk1 << 512 << 15;
        QTest::newRow("Mk2 512") << Generation::Mk2 << 512 << 13;
        QTest::newRow("Mk1 256") << Generation::Mk1 << 256 << 30;
        QTest::newRow("Mk2 256") << Generation::Mk2 << 256 << 27;
        QTest::newRow("Mk1 128") << Generation::Mk1 << 128 << 60;
        QTest::newRow("Mk2 128") << Generation::Mk2 << 128 << 55;
    }
    void readsEveryScene() {
        QFETCH(Generation, generation);
        QFETCH(int, channels);
        QFETCH(int, scenes);
        EditorRig rig(generation, channels);
        startOfflineThenOpen(rig);
        rig.form.onReadMenu();

        const bool mk2 = generation == Generation::Mk2;
        QCOMPARE(rig.sent(), (QList<Bytes>{{12}, {6}} + readAllFrames(scenes)));
        QCOMPARE(rig.grid.rows(), channels + 1);
        QCOMPARE(rig.grid.cols(), scenes + 1);
        for (int s = 1; s <= scenes; ++s) {
            QCOMPARE(rig.columnTexts(s), rig.controllerLevels(s));
        }
        const StatusLine detected = mk2 ? StatusLine{"Mk2 detected", colours::white} : cleared;
        QCOMPARE(rig.window.statuses, readAllStatuses(detected, scenes));
        QCOMPARE(rig.paints(), QStringList{"cyan"} + QStringList(scenes - 1, "white"));
        QCOMPARE(rig.messages.shown, QStringList{});
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.controllerNow().currentScene(), 1);
        QVERIFY(shortestSilence(rig.controller) > 50ms);
    }

    void faultyReplies_data() {
        QTest::addColumn<QList<Fault>>("faults");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("emptyScenes");
        QList<int> all;
        for (int s = 1; s <= 15; ++s) {
            all << s;
        }
        const QStringList everyRead(15, QStringLiteral("Comms error"));
        QTest::newRow("short reply for scene 3")
            << QList{Fault{Fault::Kind::Short, 4, 3}} << QStringList{"Comms error"} << QList<int>{3};
        QTest::newRow("extra bytes for scene 3")
            << QList{Fault{Fault::Kind::Long, 4, 3}} << QStringList{} << QList<int>{};
        QTest::newRow("reads unanswered") << QList{Fault{Fault::Kind::Silent, 4}} << everyRead << all;
        QTest::newRow("silent controller")
            << QList{Fault{}} << QStringList{"Comms problem"} + everyRead << all;
    }
    void faultyReplies() {
        QFETCH(QList<Fault>, faults);
        QFETCH(QStringList, messages);
        QFETCH(QList<int>, emptyScenes);
        EditorRig rig(Generation::Mk1, 512);
        startOfflineThenOpen(rig);
        for (const Fault& fault : faults) {
            rig.controller.addFault(fault);
        }
        rig.form.onReadMenu();

        QCOMPARE(rig.messages.shown, messages);
        for (int s = 1; s <= 15; ++s) {
            QCOMPARE(rig.columnTexts(s),
                     emptyScenes.contains(s) ? QStringList(512, QString()) : rig.controllerLevels(s));
        }
        // The run always ends on scene 1 with the status line cleared.
        QCOMPARE(rig.sent().last(), Bytes({3, 1}));
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.window.statuses.last(), cleared);
    }

    void portClosed() {
        EditorRig rig;
        QVERIFY(rig.startOffline());
        const QStringList texts = rig.columnTexts(2);
        const QStringList paints = rig.paints();
        rig.form.onReadMenu();
        QCOMPARE(rig.messages.shown, QStringList{"Can't read data - port not open"});
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QCOMPARE(rig.window.statuses, QList<StatusLine>{});
        QCOMPARE(rig.columnTexts(2), texts);
        QCOMPARE(rig.paints(), paints);
        QCOMPARE(rig.form.nscene, std::int16_t(1));
    }

    void deviceLostMidRun() {
        EditorRig rig(Generation::Mk1, 512);
        startOfflineThenOpen(rig);
        rig.port.loseDeviceOnOutput(QByteArray("\x03\x04", 2),
                                    {SerialError::Kind::DeviceLost, "/dev/ttyUSB0", "gone"});
        rig.form.onReadMenu();

        QCOMPARE(rig.messages.shown,
                 QStringList{"The serial port (/dev/ttyUSB0) stopped working: gone. The port has "
                             "been closed; the grid is kept."});
        QCOMPARE(rig.sent(), (QList<Bytes>{{12}, {6}, {3, 1}, {4}, {3, 2}, {4}, {3, 3}, {4}}));
        for (int s = 1; s <= 15; ++s) {
            QCOMPARE(rig.columnTexts(s), s <= 3 ? rig.controllerLevels(s) : QStringList(512, QString()));
        }
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.paints(), QStringList{"cyan"} + QStringList(14, "white"));
        QCOMPARE(rig.window.statuses, readAllStatuses(cleared, 4).first(5) + QList{cleared});
    }

    void pauseAfterEveryScene_data() {
        QTest::addColumn<QList<Fault>>("faults");
        QTest::addColumn<qint64>("minimumMs"); // from a read to the next selection
        // The reply comes 20 ms of silence plus 300 ms after the read; then 0.2 s pass.
        QTest::newRow("answered after 300 ms") << QList<Fault>{} << qint64(20 + 300 + 200);
        // 50 ms pause, 1 s deadline, then 0.2 s.
        QTest::newRow("unanswered") << QList{Fault{Fault::Kind::Silent, 4}} << qint64(50 + 1000 + 200);
    }
    void pauseAfterEveryScene() {
        QFETCH(QList<Fault>, faults);
        QFETCH(qint64, minimumMs);
        EditorRig rig(Generation::Mk2, 512);
        startOfflineThenOpen(rig);
        rig.controller.setReplyLatency(300ms);
        for (const Fault& fault : faults) {
            rig.controller.addFault(fault);
        }
        rig.form.onReadMenu();
        const auto& frames = rig.controller.frames();
        int reads = 0;
        for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
            if (frames[i].bytes == Bytes{4}) {
                ++reads;
                QVERIFY(frames[i + 1].start - frames[i].start > std::chrono::milliseconds(minimumMs));
            }
        }
        QCOMPARE(reads, 13);
    }
};

QTEST_GUILESS_MAIN(ReadDataTest)
#include "read_data_test.moc"
