#include "support/EditorRig.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;
using Fault = ControllerModel::Fault;

namespace {
QStringList openingsOf(const ControllerEmulator& port) {
    QStringList openings;
    for (const ControllerEmulator::Opening& opening : port.openings()) {
        openings << QStringLiteral("%1 %2").arg(opening.port).arg(opening.settings);
    }
    return openings;
}

QString visibility(const std::optional<bool>& visible) {
    return !visible ? QStringLiteral("unset") : *visible ? QStringLiteral("shown") : QStringLiteral("hidden");
}

const StatusLine cleared{QString(), colours::buttonFace};
const StatusLine mk2Detected{QStringLiteral("Mk2 detected"), colours::white};
const QList<int> offlineSize{0, 512, 15};
} // namespace

class CommsSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void checkVersion_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QList<Fault>>("faults");
        QTest::addColumn<Bytes>("stray");    // bytes that come unasked,
        QTest::addColumn<qint64>("strayMs"); // before the drain (0) or while the size is awaited (200)
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<int>("version");
        QTest::addColumn<QList<StatusLine>>("statuses");
        QTest::addColumn<QString>("saveScene");
        QTest::addColumn<QList<int>>("size"); // channels code, nrows, ncols
        QTest::addColumn<QStringList>("messages");
        const QList<Fault> none;
        const Fault silentVersion{Fault::Kind::Silent, 12};
        const Fault silentSize{Fault::Kind::Silent, 6};
        const QList<StatusLine> nothing;
        const qint64 late = 200;
        // A start on a closed port left a grid of 512 channels by 15 scenes (code 0), generation unknown.
        QTest::newRow("Mk1 256") << Generation::Mk1 << 256 << none << Bytes{} << late << true << 1
                                 << QList{cleared} << "hidden" << QList{1, 256, 30} << QStringList{};
        QTest::newRow("Mk2 128") << Generation::Mk2 << 128 << none << Bytes{} << late << true << 2
                                 << QList{mk2Detected} << "shown" << QList{2, 128, 55} << QStringList{};
        QTest::newRow("Mk2 512") << Generation::Mk2 << 512 << none << Bytes{} << late << true << 2
                                 << QList{mk2Detected} << "shown" << QList{0, 512, 13} << QStringList{};
        QTest::newRow("stale byte drained first")
            << Generation::Mk2 << 128 << none << Bytes{0} << qint64(0) << true << 2 << QList{mk2Detected}
            << "shown" << QList{2, 128, 55} << QStringList{};
        QTest::newRow("extra size bytes")
            << Generation::Mk1 << 256 << QList{Fault{Fault::Kind::Long, 6}} << Bytes{} << late << true << 1
            << QList{cleared} << "hidden" << QList{1, 256, 30} << QStringList{};
        QTest::newRow("silent") << Generation::Mk2 << 128 << QList{Fault{}} << Bytes{} << late << true << 0
                                << nothing << "unset" << offlineSize << QStringList{"Comms problem"};
        QTest::newRow("no version byte")
            << Generation::Mk1 << 256 << QList{silentVersion} << Bytes{} << late << true << 0 << nothing
            << "unset" << QList{1, 256, 30} << QStringList{};
        // Only 128 of 128, 0 comes; the element after it must not complete the count.
        QTest::newRow("one size byte")
            << Generation::Mk2 << 128 << QList{Fault{Fault::Kind::Short, 6}} << Bytes{} << late << true << 2
            << QList{mk2Detected} << "shown" << offlineSize << QStringList{};
        QTest::newRow("count 100") << Generation::Mk1 << 128 << QList{silentSize} << Bytes{100, 0} << late
                                   << true << 1 << QList{cleared} << "hidden" << offlineSize << QStringList{};
        QTest::newRow("high byte 200")
            << Generation::Mk1 << 128 << QList{silentSize} << Bytes{0, 200} << late << true << 1
            << QList{cleared} << "hidden" << offlineSize << QStringList{};
        QTest::newRow("port closed") << Generation::Mk2 << 128 << none << Bytes{} << late << false << 0
                                     << nothing << "unset" << offlineSize << QStringList{};
    }
    void checkVersion() {
        QFETCH(Generation, generation);
        QFETCH(int, channels);
        QFETCH(QList<Fault>, faults);
        QFETCH(Bytes, stray);
        QFETCH(qint64, strayMs);
        QFETCH(bool, portOpen);
        EditorRig rig(generation, channels);
        QVERIFY(rig.startOffline());
        for (const Fault& fault : faults) {
            rig.controller.addFault(fault);
        }
        if (portOpen) {
            rig.form.DMX.openport(1, 0);
        }
        rig.controller.sendUnsolicited(stray, rig.clock.now() + std::chrono::milliseconds(strayMs));
        rig.form.check_version();

        QFETCH(int, version);
        QFETCH(QList<StatusLine>, statuses);
        QFETCH(QString, saveScene);
        QFETCH(QList<int>, size);
        QFETCH(QStringList, messages);
        QCOMPARE(rig.sent(), (portOpen ? QList<Bytes>{{12}, {6}} : QList<Bytes>{}));
        QCOMPARE(int(rig.form.DMX.version), version);
        QCOMPARE(rig.window.statuses, statuses);
        QCOMPARE(visibility(rig.window.saveSceneVisible), saveScene);
        QCOMPARE((QList<int>{rig.form.channels, rig.form.nrows, rig.form.ncols}), size);
        QCOMPARE(rig.messages.shown, messages);
    }

    void changeComms_data() {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("openFails");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("commport");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QStringList>("openings");
        QTest::addColumn<bool>("openAfter");
        const QString badPort = QStringLiteral("Invalid comm port");
        const QStringList first{"1 9600,n,8,2"};
        QTest::newRow("closed: 5 and 7") << false << QStringList{"5", "7"} << false << QStringList{} << 5 << 7
                                         << QStringList{"5 9600,n,8,2"} << true;
        QTest::newRow("closed: cancelled")
            << false << QStringList{} << false << QStringList{} << 1 << 0 << QStringList{} << false;
        QTest::newRow("closed: port 0")
            << false << QStringList{"0"} << false << QStringList{badPort} << 1 << 0 << QStringList{} << false;
        QTest::newRow("closed: port 33") << false << QStringList{"33"} << false << QStringList{badPort} << 1
                                         << 0 << QStringList{} << false;
        QTest::newRow("closed: port text") << false << QStringList{"two"} << false << QStringList{badPort}
                                           << 1 << 0 << QStringList{} << false;
        QTest::newRow("closed: speed cancelled")
            << false << QStringList{"5"} << false << QStringList{} << 5 << 0 << QStringList{} << false;
        QTest::newRow("closed: speed text")
            << false << QStringList{"5", "x"} << false << QStringList{"Invalid speed"} << 5 << 0
            << QStringList{} << false;
        QTest::newRow("open: same settings")
            << true << QStringList{"1", "0"} << false << QStringList{} << 1 << 0 << first << true;
        QTest::newRow("open: other settings") << true << QStringList{"2", "1"} << false << QStringList{} << 2
                                              << 1 << first + QStringList{"2 19200,n,8,2"} << true;
        QTest::newRow("open: port 40")
            << true << QStringList{"40"} << false << QStringList{badPort} << 1 << 0 << first << true;
        QTest::newRow("open: reopening fails")
            << true << QStringList{"3", "0"} << true
            << QStringList{"Cannot open comm port 3 (/dev/ttyS2): Device or resource busy. No serial devices "
                           "were found. "
                           "Working without a "
                           "controller."}
            << 3 << 0 << first << false;
    }
    void changeComms() {
        QFETCH(bool, portOpen);
        QFETCH(QStringList, answers);
        QFETCH(bool, openFails);
        EditorRig rig(Generation::Mk2, 128);
        QVERIFY(portOpen ? rig.start() : rig.startOffline());
        rig.forget();
        const std::int16_t version = rig.form.DMX.version;
        const QStringList paints = rig.paints();
        if (openFails) {
            rig.port.failNextOpen({SerialError::Kind::InUse, "/dev/ttyS2", "Device or resource busy"});
        }
        rig.inputs.answers = answers;
        rig.form.onCommsMenu();

        QFETCH(QStringList, messages);
        QFETCH(int, commport);
        QFETCH(int, speed);
        QFETCH(QStringList, openings);
        QFETCH(bool, openAfter);
        QCOMPARE(rig.messages.shown, messages);
        QCOMPARE(int(rig.form.commport), commport);
        QCOMPARE(int(rig.form.speed), speed);
        QCOMPARE(openingsOf(rig.port), openings);
        QCOMPARE(rig.port.isOpen(), openAfter);
        // The defaults are fixed, whatever the port is now.
        QCOMPARE(rig.inputs.defaults, QStringList({"1", "0"}).first(rig.inputs.prompts.size()));
        // No probe follows: the controller hears nothing and the grid stays.
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QCOMPARE(rig.form.DMX.version, version);
        QCOMPARE(rig.paints(), paints);
        QCOMPARE(rig.port.misuse(), QStringList{});
    }
};

QTEST_GUILESS_MAIN(CommsSettingsTest)
#include "comms_settings_test.moc"
