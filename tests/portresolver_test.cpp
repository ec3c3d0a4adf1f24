#include "platform/PortResolver.h"
#include "support/PseudoTerminal.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(PortNaming)

class PortResolverTest : public QObject {
    Q_OBJECT

    QTemporaryDir dev;
    PseudoTerminal pty;

    void makeNode(const QString& name) {
        QFile node(dev.filePath(name));
        QVERIFY(node.open(QIODevice::WriteOnly));
    }

private slots:
    void initTestCase() {
        QVERIFY(dev.isValid());
        QVERIFY(pty.isValid());
        for (const char* name : {"ttyS10", "ttyS9", "ttyS0", "ttyUSB1", "ttyUSB0", "ttyACM0", "tty0", "ttyS",
                                 "ttyUSBx", "console", "cu.usbserial-B", "cu.Bluetooth", "tty.usbserial-B"}) {
            makeNode(QString::fromLatin1(name));
        }
        // An adapter reached through a link is known by the link's name.
        QVERIFY(QFile::link(pty.devicePath(), dev.filePath(QStringLiteral("ttyACM2"))));
    }

    void listsTheSerialNodesInPortOrder_data() {
        QTest::addColumn<PortNaming>("naming");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("linux") << PortNaming::Linux << QStringList{"ttyUSB0", "ttyUSB1", "ttyACM0", "ttyACM2",
                                                                   "ttyS0",   "ttyS9",   "ttyS10"};
        QTest::newRow("macos") << PortNaming::MacOS << QStringList{"cu.Bluetooth", "cu.usbserial-B"};
    }

    void listsTheSerialNodesInPortOrder() {
        QFETCH(PortNaming, naming);
        QFETCH(QStringList, names);
        QStringList expected;
        for (const QString& name : names) {
            expected << dev.filePath(name);
        }
        QCOMPARE(serialDeviceNodes(dev.path(), naming), expected);
    }

    void resolvesPortNumbers_data() {
        QTest::addColumn<PortNaming>("naming");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("device");
        QTest::newRow("linux first") << PortNaming::Linux << 1 << dev.filePath("ttyUSB0");
        QTest::newRow("linux link") << PortNaming::Linux << 4 << dev.filePath("ttyACM2");
        QTest::newRow("linux last") << PortNaming::Linux << 7 << dev.filePath("ttyS10");
        QTest::newRow("linux beyond") << PortNaming::Linux << 8 << QString();
        QTest::newRow("linux zero") << PortNaming::Linux << 0 << QString();
        QTest::newRow("macos second") << PortNaming::MacOS << 2 << dev.filePath("cu.usbserial-B");
        QTest::newRow("windows") << PortNaming::Windows << 32 << QStringLiteral("COM32");
    }

    void resolvesPortNumbers() {
        QFETCH(PortNaming, naming);
        QFETCH(int, port);
        QFETCH(QString, device);
        const std::optional<QString> resolved =
            systemPortResolver(dev.path(), naming)(static_cast<std::int16_t>(port));
        QCOMPARE(resolved.value_or(QString()), device);
    }

    void listsTheDevicesWithTheirNumbersAndDescriptions() {
        const auto described = [this](const QString& node) {
            return node == dev.filePath(QStringLiteral("ttyUSB1")) ? QStringLiteral("USB serial adapter")
                                                                   : QString();
        };
        const QList<SerialPortEntry> ports = numberedSerialDevices(dev.path(), PortNaming::Linux, described);
        QCOMPARE(ports.size(), 7);
        QCOMPARE(ports.at(0), (SerialPortEntry{1, dev.filePath("ttyUSB0"), ""}));
        QCOMPARE(ports.at(1), (SerialPortEntry{2, dev.filePath("ttyUSB1"), "USB serial adapter"}));
        QCOMPARE(ports.at(6), (SerialPortEntry{7, dev.filePath("ttyS10"), ""}));
    }

    void listsNoDeviceBeyondTheLastPortNumber() {
        QTemporaryDir many;
        for (int i = 0; i < maxPortNumber + 3; ++i) {
            QFile node(many.filePath(QStringLiteral("ttyS%1").arg(i)));
            QVERIFY(node.open(QIODevice::WriteOnly));
        }
        const QList<SerialPortEntry> ports =
            numberedSerialDevices(many.path(), PortNaming::Linux, [](const QString&) { return QString(); });
        QCOMPARE(ports.size(), int(maxPortNumber));
        QCOMPARE(ports.last().device, many.filePath(QStringLiteral("ttyS31")));
    }
};

QTEST_GUILESS_MAIN(PortResolverTest)
#include "portresolver_test.moc"
