#include "device/Dmx.h"
#include "support/InProcessLine.h"
#include "support/Traffic.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;

namespace {
// A transport on an emulated line with a controller that never answers on its own.
struct Line : InProcessLine {
    Dmx dmx{port, clock};
    QStringList failures;

    Line()
        : InProcessLine(Generation::Mk1, 128) {
        dmx.setPortFailureHandler([this](const SerialError& e) { failures << e.reason; });
    }
    qint64 elapsedSince(Clock::Time mark) { return (clock.now() - mark).count(); }
};

const SerialError unplugged{SerialError::Kind::DeviceLost, QStringLiteral("/dev/ttyUSB0"),
                            QStringLiteral("unplugged")};
} // namespace

class TransportTest : public QObject {
    Q_OBJECT
private slots:
    void sendbytes_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<std::int16_t>("speed");
        QTest::addColumn<qint64>("holdMs"); // how long the port holds its output past the wire time
        QTest::addColumn<Bytes>("buffer");
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::addColumn<qint64>("pauseUs");
        QTest::addColumn<QStringList>("failures");
        const Bytes frame{1, 1, 44, 255};
        QTest::newRow("closed: nothing, no pause") << false << std::int16_t(0) << qint64(0) << Bytes{3, 1}
                                                   << QList<Bytes>{} << qint64(0) << QStringList{};
        QTest::newRow("count 0 still pauses") << true << std::int16_t(0) << qint64(0) << Bytes{}
                                              << QList<Bytes>{} << qint64(50'001) << QStringList{};
        // 4 bytes of 11 bits take 4584 us at 9600 baud and 2292 us at 19200: the pause follows them.
        QTest::newRow("9600: the wire, then the pause")
            << true << std::int16_t(0) << qint64(0) << frame << QList<Bytes>{frame} << qint64(54'585)
            << QStringList{};
        QTest::newRow("19200: the wire, then the pause")
            << true << std::int16_t(1) << qint64(0) << frame << QList<Bytes>{frame} << qint64(52'293)
            << QStringList{};
        QTest::newRow("the pause waits for the port to say it is sent")
            << true << std::int16_t(0) << qint64(30) << frame << QList<Bytes>{frame} << qint64(84'585)
            << QStringList{};
        QTest::newRow("a port that never sends fails after 2 s")
            << true << std::int16_t(0) << qint64(3'600'000) << frame << QList<Bytes>{frame}
            << qint64(2'004'584) << QStringList{QStringLiteral("it has not sent what it was given")};
    }
    void sendbytes() {
        QFETCH(bool, open);
        QFETCH(std::int16_t, speed);
        QFETCH(qint64, holdMs);
        QFETCH(Bytes, buffer);
        Line line;
        if (open) {
            line.dmx.openport(1, speed);
        }
        line.port.holdOutput(std::chrono::milliseconds(holdMs));
        const std::vector<std::int16_t> elements(buffer.begin(), buffer.end());
        const Clock::Time mark = line.clock.now();
        line.dmx.sendbytes(elements, static_cast<std::int16_t>(elements.size()));
        QFETCH(QList<Bytes>, frames);
        QFETCH(qint64, pauseUs);
        QFETCH(QStringList, failures);
        QCOMPARE(framesOf(line.controllerNow()), frames);
        QCOMPARE(line.elapsedSince(mark), pauseUs);
        QCOMPARE(line.failures, failures);
        QCOMPARE(line.port.isOpen(), open && failures.isEmpty());
        QCOMPARE(line.port.misuse(), QStringList{});
    }

    void readbytes_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<Bytes>("arriving");
        QTest::addColumn<qint64>("arrivalMs");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("count");
        QTest::addColumn<Bytes>("stored");
        QTest::addColumn<qint64>("waitedMs");
        const Bytes untouched{-1, -1, -1, -1, -1, -1};
        QTest::newRow("closed: untouched")
            << false << Bytes{5} << qint64(0) << 2 << 2 << untouched << qint64(0);
        QTest::newRow("drain of nothing") << true << Bytes{} << qint64(0) << 0 << 0 << untouched << qint64(0);
        QTest::newRow("drain of five")
            << true << Bytes{1, 2, 3, 4, 5} << qint64(0) << 0 << 5 << Bytes{1, 2, 3, 4, 5, -1} << qint64(0);
        QTest::newRow("3 waiting, 2 expected")
            << true << Bytes{7, 8, 9} << qint64(0) << 2 << 3 << Bytes{7, 8, 9, -1, -1, -1} << qint64(0);
        QTest::newRow("reply after 300 ms")
            << true << Bytes{128, 0} << qint64(300) << 2 << 2 << Bytes{128, 0, -1, -1, -1, -1} << qint64(300);
        QTest::newRow("short reply keeps old elements")
            << true << Bytes{7} << qint64(0) << 2 << 1 << Bytes{7, -1, -1, -1, -1, -1} << qint64(1000);
        QTest::newRow("reply after the deadline")
            << true << Bytes{7} << qint64(1100) << 1 << 0 << untouched << qint64(1000);
    }
    void readbytes() {
        QFETCH(bool, open);
        QFETCH(Bytes, arriving);
        QFETCH(qint64, arrivalMs);
        QFETCH(int, expected);
        Line line;
        if (open) {
            line.dmx.openport(1, 0);
        }
        line.controller.sendUnsolicited(arriving, line.clock.now() + std::chrono::milliseconds(arrivalMs));
        if (arrivalMs == 0) {
            line.clock.sleepUntil(line.clock.now() + 10ms); // the bytes are through the wire: waiting
        }
        const Clock::Time mark = line.clock.now();
        std::array<std::int16_t, 6> buffer;
        buffer.fill(-1);
        auto n = static_cast<std::int16_t>(expected);
        line.dmx.readbytes(buffer, n);
        QFETCH(int, count);
        QFETCH(Bytes, stored);
        QCOMPARE(int(n), count);
        QCOMPARE(Bytes(buffer.begin(), buffer.end()), stored);
        // Returns as soon as the reply is through the wire (2.3 ms for two bytes), or just past the
        // 1 s deadline.
        const qint64 waited = line.elapsedSince(mark);
        QFETCH(qint64, waitedMs);
        QVERIFY2(waited >= waitedMs * 1000 && waited <= waitedMs * 1000 + 3000, QByteArray::number(waited));
    }

    void overflowStopsAtTheBufferEnd() {
        Line line;
        line.dmx.openport(1, 0);
        line.controller.sendUnsolicited({1, 2, 3, 4, 5, 6, 7}, line.clock.now());
        line.clock.sleepUntil(line.clock.now() + 10ms);
        std::array<std::int16_t, 8> memory;
        memory.fill(-1);
        std::int16_t n = 2;
        line.dmx.readbytes(std::span(memory).first(4), n);
        QCOMPARE(int(n), 4);
        QCOMPARE(Bytes(memory.begin(), memory.end()), (Bytes{1, 2, 3, 4, -1, -1, -1, -1}));
        // The excess was taken with the rest: nothing is left over for the next reader.
        n = 0;
        line.dmx.readbytes(memory, n);
        QCOMPARE(int(n), 0);
    }

    void openport_data() {
        QTest::addColumn<std::int16_t>("speed");
        QTest::addColumn<QString>("settings");
        QTest::newRow("0") << std::int16_t(0) << QStringLiteral("9600,n,8,2");
        QTest::newRow("1") << std::int16_t(1) << QStringLiteral("19200,n,8,2");
        QTest::newRow("7") << std::int16_t(7) << QStringLiteral("9600,n,8,2");
        QTest::newRow("-1") << std::int16_t(-1) << QStringLiteral("9600,n,8,2");
    }
    void openport() {
        QFETCH(std::int16_t, speed);
        QFETCH(QString, settings);
        Line line;
        QVERIFY(!line.dmx.openport(32, speed));
        const QList<ControllerEmulator::Opening> opened{{32, settings}};
        QCOMPARE(line.port.openings(), opened);
        // An open port keeps its number and speed.
        QVERIFY(!line.dmx.openport(5, 1));
        QCOMPARE(line.port.openings(), opened);
        QCOMPARE(line.port.commPort(), std::int16_t(32));
        QCOMPARE(line.port.misuse(), QStringList{});
    }

    void failureIsReportedOnce_data() {
        QTest::addColumn<bool>("whileIdle");
        QTest::newRow("while idle") << true;
        QTest::newRow("while sending") << false;
    }
    void failureIsReportedOnce() {
        Line line;
        line.dmx.openport(1, 0);
        const std::array<std::int16_t, 2> select{3, 2};
        QFETCH(bool, whileIdle);
        if (whileIdle) {
            line.port.loseDevice(unplugged);
        } else {
            line.port.loseDeviceOnOutput(QByteArray("\x03\x02", 2), unplugged);
        }
        const Clock::Time mark = line.clock.now();
        line.dmx.sendbytes(select, 2);
        line.dmx.sendbytes(select, 2);
        std::array<std::int16_t, 2> reply{-1, -1};
        std::int16_t n = 1;
        line.dmx.readbytes(reply, n);
        QCOMPARE(int(n), 1);
        QCOMPARE(line.failures, QStringList{QStringLiteral("unplugged")});
        QVERIFY(!line.port.isOpen());
        QCOMPARE(framesOf(line.controller), QList<Bytes>{});
        QCOMPARE(line.elapsedSince(mark), qint64(0));
        QCOMPARE(line.port.misuse(), QStringList{});
    }
};

QTEST_GUILESS_MAIN(TransportTest)
#include "transport_test.moc"
