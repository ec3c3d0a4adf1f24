#include "qt/QtSerialControl.h"
#include "support/PseudoTerminal.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(SerialError::Kind)

class QtSerialControlTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PseudoTerminal> pty;
    std::unique_ptr<QtSerialControl> comm;

    // A control whose port 1 is the pseudo-terminal's device side, opened with the settings.
    std::unique_ptr<QtSerialControl> openedControl(const QString& settings = QStringLiteral("9600,n,8,2")) {
        auto control = std::make_unique<QtSerialControl>(
            [path = pty->devicePath()](std::int16_t) -> std::optional<QString> { return path; });
        control->setCommPort(1);
        control->setSettings(settings);
        const auto error = control->open();
        return error ? nullptr : std::move(control);
    }

private slots:
    void init() {
        pty = std::make_unique<PseudoTerminal>();
        QVERIFY(pty->isValid());
        comm = openedControl();
        QVERIFY(comm);
        QVERIFY(comm->isOpen());
    }

    void cleanup() {
        comm.reset();
        pty.reset();
    }

    void opensWithTheSettingsOfTheSpeed_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<speed_t>("baud");
        QTest::newRow("9600") << QStringLiteral("9600,n,8,2") << speed_t(B9600);
        QTest::newRow("19200") << QStringLiteral("19200,n,8,2") << speed_t(B19200);
    }

    void opensWithTheSettingsOfTheSpeed() {
        QFETCH(QString, settings);
        QFETCH(speed_t, baud);
        comm.reset();
        comm = openedControl(settings);
        QVERIFY(comm);
        const termios device = pty->deviceSettings();
        QCOMPARE(cfgetospeed(&device), baud);
        QCOMPARE(device.c_cflag & CSIZE, tcflag_t(CS8));
        QVERIFY(device.c_cflag & CSTOPB);
        QVERIFY(!(device.c_cflag & PARENB));
        QVERIFY(!(device.c_cflag & CRTSCTS));
        QVERIFY(!(device.c_iflag & (IXON | IXOFF)));
    }

    void bytesGoOutInOrderAndUnchanged() {
        QByteArray bytes;
        for (int value = 0; value < 256; ++value) {
            bytes.append(static_cast<char>(value));
        }
        comm->output(bytes.left(100));
        comm->output(bytes.mid(100));
        QCOMPARE(pty->receive(256, 5000), bytes);
    }

    void bytesThatCameBeforeTheReadAreTaken() {
        // Nothing polls the port while these arrive: they wait in the system, not in the port.
        pty->send(QByteArray("\x06\x00\xff", 3));
        QVERIFY(pty->deviceHolds(3, 5000));
        QCOMPARE(comm->input(), QByteArray("\x06\x00\xff", 3));
        QCOMPARE(comm->input(), QByteArray());
    }

    void waitingEndsWhenBytesCome() {
        std::thread farEnd([this] {
            std::this_thread::sleep_for(50ms);
            pty->send("A");
        });
        // A wait that missed the byte would run for the hour and the test would be stopped.
        comm->waitForInput(1h);
        farEnd.join();
        QCOMPARE(comm->input(), QByteArray("A"));
    }

    void aClosedPortGivesNothingAndStaysQuiet() {
        pty->send("late");
        comm->close();
        QVERIFY(!comm->isOpen());
        QCOMPARE(comm->input(), QByteArray());
        comm->output("x");
        comm->waitForInput(0us);
        QCOMPARE(comm->takeFailure(), std::nullopt);
    }

    void anUnpluggedDeviceIsReportedOnceAndClosesThePort() {
        pty->hangUp();
        QCOMPARE(comm->input(), QByteArray());
        QVERIFY(!comm->isOpen());
        const std::optional<SerialError> failure = comm->takeFailure();
        QVERIFY(failure);
        QCOMPARE(failure->kind, SerialError::Kind::DeviceLost);
        QCOMPARE(failure->device, pty->devicePath());
        QVERIFY(!failure->reason.isEmpty());
        QCOMPARE(comm->takeFailure(), std::nullopt);
        QCOMPARE(comm->input(), QByteArray());
    }

    void openingFailuresNameTheDeviceAndListThePorts_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("userMayOpen");
        QTest::addColumn<SerialError::Kind>("kind");
        QTest::newRow("no such node")
            << QStringLiteral("/nonexistent/ttyUSB9") << true << SerialError::Kind::NoSuchPort;
        QTest::newRow("held by another control") << QStringLiteral("pty") << true << SerialError::Kind::InUse;
        QTest::newRow("held, and the user may not open it")
            << QStringLiteral("pty") << false << SerialError::Kind::PermissionDenied;
        QTest::newRow("no device for the number") << QString() << true << SerialError::Kind::NoSuchPort;
    }

    void openingFailuresNameTheDeviceAndListThePorts() {
        QFETCH(QString, device);
        QFETCH(bool, userMayOpen);
        QFETCH(SerialError::Kind, kind);
        const QString path = device == QLatin1String("pty") ? pty->devicePath() : device;
        const QList<SerialPortEntry> ports{{1, "/dev/ttyUSB0", "USB serial adapter"}, {2, "/dev/ttyS0", ""}};
        QStringList looked;
        QtSerialControl other(
            [path](std::int16_t) { return path.isEmpty() ? std::nullopt : std::optional(path); },
            {[ports] { return ports; },
             [&](const QString& node) {
                 looked << node;
                 return NodeAccess{userMayOpen, QStringLiteral("dialout")};
             }});
        other.setCommPort(7);
        other.setSettings(QStringLiteral("9600,n,8,2"));
        const std::optional<SerialError> error = other.open();
        QVERIFY(error);
        QCOMPARE(error->kind, kind);
        QCOMPARE(error->device, path);
        // Without a device the reason names the port number instead.
        QVERIFY(path.isEmpty() ? error->reason.contains(QLatin1String("7")) : !error->reason.isEmpty());
        QCOMPARE(error->ports, ports);
        // The group is read from the node the user may not open, and only then named.
        const bool denied = kind == SerialError::Kind::PermissionDenied;
        QCOMPARE(error->group, denied ? QStringLiteral("dialout") : QString());
        QCOMPARE(looked, device == QLatin1String("pty") ? QStringList{path} : QStringList{});
        QVERIFY(!other.isOpen());
        QCOMPARE(other.deviceName(), QString());
    }

    void theOpenPortNamesItsDevice() {
        QCOMPARE(comm->deviceName(), pty->devicePath());
        comm->close();
        QCOMPARE(comm->deviceName(), QString());
    }

    void theSystemReadsTheGroupThatOwnsANode_data() {
        QTest::addColumn<bool>("groupMayUse");
        QTest::newRow("group may read and write") << true;
        // Joining that group would not help.
        QTest::newRow("owner alone") << false;
    }

    void theSystemReadsTheGroupThatOwnsANode() {
        QFETCH(bool, groupMayUse);
        QTemporaryDir dir;
        QFile node(dir.filePath(QStringLiteral("ttyUSB0")));
        QVERIFY(node.open(QIODevice::WriteOnly));
        QVERIFY(node.setPermissions(
            QFileDevice::ReadOwner | QFileDevice::WriteOwner |
            (groupMayUse ? QFileDevice::ReadGroup | QFileDevice::WriteGroup : QFileDevice::Permissions())));
        const group* owner = getgrgid(getegid());
        QVERIFY(owner);
        const NodeAccess access = systemSerialDeviceFacts().nodeAccess(node.fileName());
        QCOMPARE(access.group, groupMayUse ? QString::fromLocal8Bit(owner->gr_name) : QString());
        QVERIFY(access.readWrite);
    }
};

QTEST_GUILESS_MAIN(QtSerialControlTest)
#include "qtserialcontrol_test.moc"
