// What every serial line of the program promises, held against the line of the system it runs on
// (see LineUnderTest), each case with what the far end of the line sees.

#include "device/Commands.h"
#include "device/Dmx.h"
#include "qt/QtClock.h"
#include "support/LineUnderTest.h"
#include "support/ProcessCpuTime.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(SerialError::Kind)

namespace {

const QString slowLine = QStringLiteral("9600,n,8,2");

// The longest command there is: set_levels for all 512 channels, each at a level of its own.
QByteArray longestCommand() {
    LineBuffer buffer{};
    std::vector<std::int16_t> levels(command::maxLevels);
    for (std::size_t channel = 0; channel < levels.size(); ++channel) {
        levels[channel] = static_cast<std::int16_t>((channel * 7 + 3) % 256);
    }
    const std::int16_t length = command::putSetLevels(buffer, 1, levels);
    QByteArray bytes;
    for (std::int16_t i = 0; i < length; ++i) {
        bytes.append(static_cast<char>(buffer[static_cast<std::size_t>(i)]));
    }
    return bytes;
}

QByteArray everyByteValue() {
    QByteArray bytes;
    for (int value = 0; value < 256; ++value) {
        bytes.append(static_cast<char>(value));
    }
    return bytes;
}

} // namespace

class SerialControlContractTest : public QObject {
    Q_OBJECT

    LineUnderTest line;
    std::unique_ptr<SerialControl> comm;
    QString device; // what the open port stands on

    FarEnd& farEnd() { return line.farEnd(); }

    bool openAt(const QString& settings) {
        comm = line.control();
        comm->setCommPort(LineUnderTest::farEndPort);
        comm->setSettings(settings);
        const std::optional<SerialError> error = comm->open();
        device = comm->deviceName();
        return !error && comm->isOpen();
    }

    // Asks until the port has sent what it was given or has failed, at most the write's own limit
    // and then some; false when it failed or never said so.
    bool sentOrFailed() {
        const QDeadlineTimer deadline(writeLimit(LineSettings{}, longestCommand().size()) + 10s);
        while (comm->isOpen() && !deadline.hasExpired()) {
            if (comm->outputSent()) {
                return comm->isOpen();
            }
            QThread::msleep(1);
        }
        return false;
    }

    // A failure once the port has closed, the same for every kind: told once, and the port stays
    // closed and quiet.
    void checkClosedAfter(const std::optional<SerialError>& failure) {
        QVERIFY(failure);
        QCOMPARE(failure->kind, SerialError::Kind::DeviceLost);
        QCOMPARE(failure->device, device);
        QVERIFY(!comm->isOpen());
        QCOMPARE(comm->deviceName(), QString());
        QCOMPARE(comm->takeFailure(), std::nullopt);
        QCOMPARE(comm->input(), QByteArray());
        comm->output("x");
        QCOMPARE(comm->outputSent(), true);
        QCOMPARE(comm->takeFailure(), std::nullopt);
    }

private slots:
    void init() {
        comm.reset();
        QVERIFY(farEnd().renew());
        QVERIFY(openAt(slowLine));
    }

    void cleanup() { comm.reset(); }

    void opensWithTheLineSettings_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("baud");
        QTest::newRow("9600 baud") << "9600,n,8,2" << 9600;
        QTest::newRow("19200 baud") << "19200,n,8,2" << 19200;
    }

    void opensWithTheLineSettings() {
        QFETCH(QString, settings);
        QFETCH(int, baud);
        comm.reset();
        QVERIFY(openAt(settings));
        const FarEndLine seen = farEnd().line();
        QVERIFY(seen.line);
        QCOMPARE(seen.line->baud, baud);
        QCOMPARE(seen.line->dataBits, 8);
        QCOMPARE(seen.line->parity, LineSettings::Parity::None);
        QCOMPARE(seen.line->stopBits, LineSettings::StopBits::Two);
        QVERIFY(seen.raw);
    }

    void everyByteArrivesInOrder_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("writes");
        QTest::newRow("the longest command") << longestCommand() << 1;
        QTest::newRow("every byte value, in two writes") << everyByteValue() << 2;
    }

    void everyByteArrivesInOrder() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, writes);
        const qsizetype piece = bytes.size() / writes;
        for (qsizetype at = 0; at < bytes.size(); at += piece) {
            comm->output(bytes.mid(at, piece));
            QVERIFY(sentOrFailed());
        }
        QCOMPARE(farEnd().receive(static_cast<int>(bytes.size()), 10s), bytes);
        QCOMPARE(comm->takeFailure(), std::nullopt);
    }

    void aWriteThatCannotFinishFailsAndIsNotCutShort_data() {
        QTest::addColumn<bool>("lineStops");
        QTest::newRow("the line stops carrying bytes") << true;
        // The system takes bytes until its buffer is full, so that one command goes in part.
        QTest::newRow("the far end stops reading") << false;
    }

    void aWriteThatCannotFinishFailsAndIsNotCutShort() {
        QFETCH(bool, lineStops);
        if (lineStops) {
            farEnd().stopOutput();
        }
        const QByteArray command = longestCommand();
        QByteArray written;
        std::optional<SerialError> failure;
        // No system holds this many commands, or takes this long, for a device that takes none.
        const QDeadlineTimer giveUp(1min);
        for (int n = 0; n < 256 && !failure && !giveUp.hasExpired(); ++n) {
            comm->output(command);
            written += command;
            sentOrFailed();
            failure = comm->takeFailure();
        }
        QVERIFY2(failure,
                 qPrintable(QStringLiteral("the line took %1 bytes without a failure, though nothing "
                                           "took them from it")
                                .arg(written.size())));
        const QString reason = failure->reason;
        checkClosedAfter(failure);

        farEnd().resumeOutputAfter(0ms);
        const QByteArray got = farEnd().receive(static_cast<int>(written.size()), 2s);
        // Every command before the one that failed went out whole, and of that one only a part.
        const qsizetype before = written.size() - command.size();
        QVERIFY2(got.size() >= before && got.size() < written.size(),
                 qPrintable(QStringLiteral("%1 of %2 bytes arrived").arg(got.size()).arg(written.size())));
        QCOMPARE(got, written.left(got.size()));
        QCOMPARE(reason, unfinishedWriteReason(got.size() - before, command.size()));
    }

    void inputTakesWhatHasArrived_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a scene size") << QByteArray("\x00\x02", 2);
        QTest::newRow("a scene's levels") << longestCommand().mid(command::setLevelsHeaderLength);
    }

    void inputTakesWhatHasArrived() {
        QFETCH(QByteArray, bytes);
        farEnd().sendAfter(bytes, 0ms);
        // Nothing of the control runs while they come: they wait in the system, not in the control.
        QVERIFY(farEnd().deviceHolds(static_cast<int>(bytes.size()), 10s));
        QCOMPARE(comm->input(), bytes);
        QCOMPARE(comm->input(), QByteArray());
        QCOMPARE(comm->takeFailure(), std::nullopt);
    }

    void aWaitEndsWhenAByteComes() {
        QElapsedTimer waited;
        waited.start();
        farEnd().sendAfter("A", 300ms);
        // A wait that missed the byte would run for its minute.
        comm->waitForInput(1min);
        const qint64 ms = waited.elapsed();
        QCOMPARE(comm->input(), QByteArray("A"));
        QVERIFY2(ms >= 300 && ms < 30000, qPrintable(QStringLiteral("the wait took %1 ms").arg(ms)));
        qInfo("the wait ended %lld ms after the byte was sent", ms - 300);
    }

    void aWaitWithNothingComingEndsAtItsTimeoutWithoutSpinning() {
        const auto cpuBefore = processCpuTime();
        QElapsedTimer waited;
        waited.start();
        comm->waitForInput(1s);
        const qint64 ms = waited.elapsed();
        const auto cpu = std::chrono::duration_cast<std::chrono::milliseconds>(processCpuTime() - cpuBefore);
        QVERIFY2(ms >= 1000 && ms < 10000, qPrintable(QStringLiteral("the wait took %1 ms").arg(ms)));
        // A wait that polls without pause takes all the processor it can get in that second.
        QVERIFY2(cpu < 200ms,
                 qPrintable(QStringLiteral("the wait took %1 ms of processor time").arg(cpu.count())));
        QVERIFY(comm->isOpen());
        QCOMPARE(comm->input(), QByteArray());
        QCOMPARE(comm->takeFailure(), std::nullopt);
    }

    void aHangUpIsToldInTheSystemsWordsAndNothingHangs_data() {
        QTest::addColumn<bool>("duringWrite");
        QTest::newRow("during a wait") << false;
        QTest::newRow("during a write") << true;
    }

    void aHangUpIsToldInTheSystemsWordsAndNothingHangs() {
        QFETCH(bool, duringWrite);
        QElapsedTimer took;
        took.start();
        if (duringWrite) {
            // The line carries nothing, so that the write is still under way when the cable goes.
            farEnd().stopOutput();
            farEnd().hangUpAfter(300ms);
            comm->output(longestCommand());
            sentOrFailed();
        } else {
            farEnd().hangUpAfter(300ms);
            comm->waitForInput(1min);
            comm->input();
        }
        QVERIFY2(took.elapsed() < 30000, "the line noticed the hang-up only after half a minute");
        const std::optional<SerialError> failure = comm->takeFailure();
        QVERIFY(failure);
        QVERIFY2(LineUnderTest::isSystemErrorText(failure->reason), qPrintable(failure->reason));
        checkClosedAfter(failure);
        took.restart();
        comm->close();
        QVERIFY2(took.elapsed() < 1000, "closing took more than a second");
    }

    void openingFailsInTheSystemsWords_data() {
        QTest::addColumn<bool>("held");
        QTest::addColumn<SerialError::Kind>("kind");
        QTest::newRow("a missing port") << false << SerialError::Kind::NoSuchPort;
        QTest::newRow("a port held by another program") << true << SerialError::Kind::InUse;
    }

    void openingFailsInTheSystemsWords() {
        QFETCH(bool, held);
        QFETCH(SerialError::Kind, kind);
        if (held && !LineUnderTest::whyNoPortInUse().isEmpty()) {
            QSKIP(qPrintable(LineUnderTest::whyNoPortInUse()));
        }
        const LineUnderTest::MissingPort missing = line.missingPort();
        const std::unique_ptr<SerialControl> other = line.control();
        other->setCommPort(held ? LineUnderTest::farEndPort : missing.number);
        other->setSettings(slowLine);
        const std::optional<SerialError> error = other->open();
        QVERIFY(error);
        QCOMPARE(error->kind, kind);
        QCOMPARE(error->device, held ? device : missing.device);
        QCOMPARE(error->reason, held ? LineUnderTest::inUseWords() : LineUnderTest::noSuchPortWords());
        QCOMPARE(error->ports, LineUnderTest::systemPorts());
        QVERIFY(!other->isOpen());
        QCOMPARE(other->deviceName(), QString());
        // The port that was open goes on working.
        comm->output("ok");
        QVERIFY(sentOrFailed());
        QCOMPARE(farEnd().receive(2, 10s), QByteArray("ok"));
    }

    void thePauseAfterACommandStartsOnceItsLastByteIsOut() {
        comm->close();
        QtClock clock;
        Dmx dmx(*comm, clock);
        std::optional<SerialError> failure;
        dmx.setPortFailureHandler([&failure](const SerialError& error) { failure = error; });
        QCOMPARE(dmx.openport(LineUnderTest::farEndPort, 0), std::nullopt);
        const QByteArray command = longestCommand();
        std::vector<std::int16_t> buffer(command.begin(), command.end());
        for (std::int16_t& value : buffer) {
            value = static_cast<std::int16_t>(value & 0xFF);
        }

        QElapsedTimer took;
        took.start();
        // The line holds the bytes back for far longer than their time on the wire.
        farEnd().stopOutput();
        farEnd().resumeOutputAfter(1500ms);
        dmx.sendbytes(buffer, static_cast<std::int16_t>(buffer.size()));
        const qint64 ms = took.elapsed();
        QCOMPARE(farEnd().receive(static_cast<int>(command.size()), 10s), command);
        QVERIFY2(ms >= 1500 + 50, qPrintable(QStringLiteral("sendbytes returned after %1 ms").arg(ms)));
        QCOMPARE(failure, std::nullopt);
        QVERIFY(comm->isOpen());
    }
};

QTEST_GUILESS_MAIN(SerialControlContractTest)
#include "serialcontrol_contract_test.moc"
