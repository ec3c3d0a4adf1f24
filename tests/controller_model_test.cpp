#include "support/ControllerModel.h"
#include "support/Traffic.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;
using Fault = ControllerModel::Fault;

class ControllerModelTest : public QObject {
    Q_OBJECT
private slots:
    // Bytes closer together than the silence gap are one command.
    void framing() {
        ControllerModel controller(Generation::Mk1, 512);
        controller.receive({3}, 0ms);
        controller.receive({5}, 19ms);
        controller.receive({12}, 39ms);
        QCOMPARE(framesOf(controller), (QList<Bytes>{{3, 5}, {12}}));
        QCOMPARE(controller.frames()[1].start, ControllerModel::Time(39ms));
        controller.settle(59ms);
        QCOMPARE(controller.currentScene(), 5);
    }

    // At 9600 baud a byte is 1146 us on the wire, and 515 of them 590105 us: the controller hears
    // a command end only once the wire has been silent after its last byte.
    void theWireKeepsCommandsApartOrRunsThemTogether_data() {
        QTest::addColumn<qint64>("nextSentUs");
        QTest::addColumn<QList<int>>("frameSizes");
        QTest::addColumn<qint64>("silenceUs");
        QTest::newRow("50 ms after the last byte: apart")
            << qint64(640'105) << QList<int>{515, 2} << qint64(50'000);
        QTest::newRow("50 ms after the bytes were handed over: together")
            << qint64(50'000) << QList<int>{517} << qint64(-1);
    }
    void theWireKeepsCommandsApartOrRunsThemTogether() {
        QFETCH(qint64, nextSentUs);
        ControllerModel controller(Generation::Mk1, 512);
        controller.setWire(parseLineSettings(QStringLiteral("9600,n,8,2")));
        controller.receive(Bytes{1, 0, 1} + Bytes(512, 9), 0ms);
        QCOMPARE(controller.lastArrival(), ControllerModel::Time(590'105));
        controller.receive({3, 2}, ControllerModel::Time(nextSentUs));
        controller.settle(2s);
        QList<int> sizes;
        for (const ControllerModel::Frame& frame : controller.frames()) {
            sizes << static_cast<int>(frame.bytes.size());
        }
        QFETCH(QList<int>, frameSizes);
        QFETCH(qint64, silenceUs);
        QCOMPARE(sizes, frameSizes);
        QCOMPARE(controller.frames().back().silence.value_or(ControllerModel::Time(-1)).count(), silenceUs);
    }

    void repliesLeaveAtTheLineRate() {
        ControllerModel controller(Generation::Mk1, 512);
        controller.setWire(parseLineSettings(QStringLiteral("9600,n,8,2")));
        controller.receive({4}, 0ms);
        // The command's byte, the gap that ends it, the latency, then 512 bytes back on the wire.
        const ControllerModel::Time last = 1146us + 20ms + 5ms + 586'667us;
        QCOMPARE(controller.transmit(last - 1us).size(), 511);
        QCOMPARE(controller.transmit(last).size(), 1);
    }

    void replies_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<QList<Fault>>("faults");
        QTest::addColumn<Bytes>("command");
        QTest::addColumn<Bytes>("reply");
        const QList<Fault> none;
        QTest::newRow("Mk1 version") << Generation::Mk1 << none << Bytes{12} << Bytes{0};
        QTest::newRow("Mk2 version") << Generation::Mk2 << none << Bytes{12} << Bytes{2};
        QTest::newRow("scene size, low byte first") << Generation::Mk1 << none << Bytes{6} << Bytes{0, 2};
        QTest::newRow("Mk2 saves") << Generation::Mk2 << none << Bytes{7} << Bytes{1};
        QTest::newRow("Mk1 does not save") << Generation::Mk1 << none << Bytes{7} << Bytes{};
        QTest::newRow("levels are not answered") << Generation::Mk1 << none << Bytes{1, 0, 1, 9} << Bytes{};
        QTest::newRow("silent") << Generation::Mk1 << QList{Fault{}} << Bytes{6} << Bytes{};
        QTest::newRow("short") << Generation::Mk1 << QList{Fault{Fault::Kind::Short}} << Bytes{6} << Bytes{0};
        QTest::newRow("long") << Generation::Mk1 << QList{Fault{Fault::Kind::Long}} << Bytes{6}
                              << Bytes{0, 2, 0xEE, 0xEE, 0xEE};
        QTest::newRow("fault on another command")
            << Generation::Mk1 << QList{Fault{Fault::Kind::Silent, 12}} << Bytes{6} << Bytes{0, 2};
    }
    void replies() {
        QFETCH(Generation, generation);
        QFETCH(QList<Fault>, faults);
        QFETCH(Bytes, command);
        QFETCH(Bytes, reply);
        ControllerModel controller(generation, 512);
        for (const Fault& fault : faults) {
            controller.addFault(fault);
        }
        controller.receive(command, 0ms);
        // Readable only after the gap that ends the command and the latency.
        QCOMPARE(controller.transmit(24ms), Bytes{});
        QCOMPARE(controller.transmit(25ms), reply);
    }

    void lateReplyAndNextEvent() {
        ControllerModel controller(Generation::Mk1, 128);
        controller.addFault({Fault::Kind::Late, 6});
        controller.receive({6}, 0ms);
        QCOMPARE(controller.nextEvent(0ms), std::optional<ControllerModel::Time>(20ms));
        QCOMPARE(controller.nextEvent(20ms), std::optional<ControllerModel::Time>(1520ms));
        QCOMPARE(controller.transmit(1520ms), (Bytes{128, 0}));
        QCOMPARE(controller.nextEvent(1520ms), std::nullopt);
    }

    void levelsAndScenes() {
        ControllerModel controller(Generation::Mk2, 512);
        controller.fillWithPattern();
        controller.receive({3, 13}, 0ms);
        controller.receive({1, 1, 254, 7, 7, 7, 7}, 50ms); // the last level lies past channel 512
        controller.receive({4}, 100ms);
        const Bytes scene = controller.transmit(200ms);
        QCOMPARE(scene.size(), 512);
        QCOMPARE(scene.mid(508), (Bytes{controller.level(13, 509), 7, 7, 7}));
        controller.receive({10}, 200ms);
        controller.settle(220ms);
        QCOMPARE(controller.level(13, 510), 0);
        controller.receive({2, 1}, 250ms); // 256 channels: 27 scenes, all zero, scene 1 selected
        controller.settle(300ms);
        QCOMPARE(controller.sceneCount(), 27);
        QCOMPARE(controller.currentScene(), 1);
        QCOMPARE(controller.level(27, 256), 0);
    }
};

QTEST_GUILESS_MAIN(ControllerModelTest)
#include "controller_model_test.moc"
