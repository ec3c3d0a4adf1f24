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

// The line check_version meets: the controller, its faults, bytes that come unasked (sent before
// the drain, at -10 ms, or while the size is awaited, at 200 ms) and whether the port is open.
struct VersionLine {
    Generation generation;
    int channels;
    QList<Fault> faults = {};
    Bytes stray = {};
    qint64 strayMs = 200;
    bool portOpen = true;
};

// What check_version leaves: the generation, the status lines, the Save Scene button, the size
// (channels code, nrows, ncols) and the messages.
struct VersionOutcome {
    int version;
    QList<StatusLine> statuses;
    QString saveScene;
    QList<int> size;
    QStringList messages;
};
} // namespace

Q_DECLARE_METATYPE(VersionLine)
Q_DECLARE_METATYPE(VersionOutcome)

class CommsSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void checkVersion_data() {
        QTest::addColumn<VersionLine>("line");
        QTest::addColumn<VersionOutcome>("outcome");
        const Fault silentVersion{Fault::Kind::Silent, 12};
        const Fault silentSize{Fault::Kind::Silent, 6};
        // A start on a closed port left a grid of 512 channels by 15 scenes (code 0), generation unknown.
        QTest::newRow("Mk1 256") << VersionLine{.generation = Generation::Mk1, .channels = 256}
                                 << VersionOutcome{1, {cleared}, "hidden", {1, 256, 30}, {}};
        QTest::newRow("Mk2 128") << VersionLine{.generation = Generation::Mk2, .channels = 128}
                                 << VersionOutcome{2, {mk2Detected}, "shown", {2, 128, 55}, {}};
        QTest::newRow("Mk2 512") << VersionLine{.generation = Generation::Mk2, .channels = 512}
                                 << VersionOutcome{2, {mk2Detected}, "shown", {0, 512, 13}, {}};
        QTest::newRow("stale byte drained first")
            << VersionLine{.generation = Generation::Mk2, .channels = 128, .stray = {0}, .strayMs = -10}
            << VersionOutcome{2, {mk2Detected}, "shown", {2, 128, 55}, {}};
        QTest::newRow("extra size bytes") << VersionLine{.generation = Generation::Mk1,
                                                         .channels = 256,
                                                         .faults = {Fault{Fault::Kind::Long, 6}}}
                                          << VersionOutcome{1, {cleared}, "hidden", {1, 256, 30}, {}};
        QTest::newRow("silent") << VersionLine{.generation = Generation::Mk2,
                                               .channels = 128,
                                               .faults = {Fault{}}}
                                << VersionOutcome{0, {}, "unset", offlineSize, {"Comms problem"}};
        QTest::newRow("no version byte")
            << VersionLine{.generation = Generation::Mk1, .channels = 256, .faults = {silentVersion}}
            << VersionOutcome{0, {}, "unset", {1, 256, 30}, {}};
        // Only 128 of 128, 0 comes; the element after it must not complete the count.
        QTest::newRow("one size byte") << VersionLine{.generation = Generation::Mk2,
                                                      .channels = 128,
                                                      .faults = {Fault{Fault::Kind::Short, 6}}}
                                       << VersionOutcome{2, {mk2Detected}, "shown", offlineSize, {}};
        QTest::newRow("count 100") << VersionLine{.generation = Generation::Mk1,
                                                  .channels = 128,
                                                  .faults = {silentSize},
                                                  .stray = {100, 0}}
                                   << VersionOutcome{1, {cleared}, "hidden", offlineSize, {}};
        QTest::newRow("high byte 200") << VersionLine{.generation = Generation::Mk1,
                                                      .channels = 128,
                                                      .faults = {silentSize},
                                                      .stray = {0, 200}}
                                       << VersionOutcome{1, {cleared}, "hidden", offlineSize, {}};
        QTest::newRow("port closed") << VersionLine{.generation = Generation::Mk2,
                                                    .channels = 128,
                                                    .portOpen = false}
                                     << VersionOutcome{0, {}, "unset", offlineSize, {}};
    }
    void checkVersion() {
        QFETCH(VersionLine, line);
        EditorRig rig(line.generation, line.channels);
        QVERIFY(rig.startOffline());
        for (const Fault& fault : line.faults) {
            rig.controller.addFault(fault);
        }
        if (line.portOpen) {
            rig.form.DMX.openport(1, 0);
        }
        // Room before the drain for a byte sent early to have come through the wire.
        rig.clock.sleepUntil(rig.clock.now() + 20ms);
        rig.controller.sendUnsolicited(line.stray, rig.clock.now() + std::chrono::milliseconds(line.strayMs));
        rig.form.check_version();

        QFETCH(VersionOutcome, outcome);
        QCOMPARE(rig.sent(), (line.portOpen ? QList<Bytes>{{12}, {6}} : QList<Bytes>{}));
        QCOMPARE(int(rig.form.DMX.version), outcome.version);
        QCOMPARE(rig.window.statuses, outcome.statuses);
        QCOMPARE(visibility(rig.window.saveSceneVisible), outcome.saveScene);
        QCOMPARE((QList<int>{rig.form.channels, rig.form.nrows, rig.form.ncols}), outcome.size);
        QCOMPARE(rig.messages.shown, outcome.messages);
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
