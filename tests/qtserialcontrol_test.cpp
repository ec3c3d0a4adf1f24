#include "qt/QtSerialControl.h"
#include "qt/QtSerialDevices.h"
#include "support/PseudoTerminal.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <unistd.h>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(SerialError::Kind)

class QtSerialControlTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PseudoTerminal> pty;
    std::unique_ptr<QtSerialControl> comm;

    // A control whose port 1 is the pseudo-terminal's device side, opened with the settings.
    std::unique_ptr<QtSerialControl> openedControl(const QString& settings = QStringLiteral("9600,n,8,2")) {
        auto control = std::make_unique<QtSerialControl>(
            [path = pty->devicePath()](std::int16_t) -> std::optional<QString> { return path; },
            qtSerialDeviceFacts());
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

    void aClosedPortGivesNothingAndStaysQuiet() {
        pty->send("late");
        comm->close();
        QVERIFY(!comm->isOpen());
        QCOMPARE(comm->input(), QByteArray());
        comm->output("x");
        comm->waitForInput(0us);
        QCOMPARE(comm->takeFailure(), std::nullopt);
    }

    void openingFailuresNameTheDeviceAndListThePorts_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("userMayOpen");
        QTest::addColumn<SerialError::Kind>("kind");
        // A missing port and one in use are in the serial lines' contract test.
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
        const NodeAccess access = qtSerialDeviceFacts().nodeAccess(node.fileName());
        QCOMPARE(access.group, groupMayUse ? QString::fromLocal8Bit(owner->gr_name) : QString());
        QVERIFY(access.readWrite);
    }
};

QTEST_GUILESS_MAIN(QtSerialControlTest)
#include "qtserialcontrol_test.moc"
