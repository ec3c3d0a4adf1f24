#include "device/PortMessages.h"

#include <QTest>

Q_DECLARE_METATYPE(SerialError)

namespace {
const QList<SerialPortEntry> twoPorts{{1, "/dev/ttyUSB0", "FTDI FT232R USB UART"}, {2, "/dev/ttyS0", ""}};
const QString choose = QStringLiteral(
    " Serial devices: 1 = /dev/ttyUSB0 (FTDI FT232R USB UART), 2 = /dev/ttyS0; choose the port number in "
    "Change Comms. Working without a controller.");
} // namespace

class PortMessagesTest : public QObject {
    Q_OBJECT
private slots:
    void aPortThatCannotBeOpenedSaysWhatToDo_data() {
        QTest::addColumn<SerialError>("error");
        QTest::addColumn<QString>("message");
        QTest::newRow("no device for the number")
            << SerialError{SerialError::Kind::NoSuchPort, "", "no serial device stands for port number 3", "",
                           twoPorts}
            << "Cannot open comm port 3: no serial device stands for port number 3." + choose;
        QTest::newRow("permission denied")
            << SerialError{SerialError::Kind::PermissionDenied, "/dev/ttyUSB0", "Permission denied",
                           "dialout", twoPorts}
            << "Cannot open comm port 3 (/dev/ttyUSB0): Permission denied. To use it, join the group dialout "
               "that "
               "owns it (sudo usermod -aG dialout $USER), then log out and in again." +
                   choose;
        QTest::newRow("permission denied, group unknown")
            << SerialError{SerialError::Kind::PermissionDenied, "/dev/ttyUSB0", "Permission denied", "",
                           twoPorts}
            << "Cannot open comm port 3 (/dev/ttyUSB0): Permission denied. To use it, ask whoever runs this "
               "computer for read and write access to it." +
                   choose;
        QTest::newRow("in use, no devices")
            << SerialError{SerialError::Kind::InUse, "/dev/ttyUSB0", "Device or resource busy", "", {}}
            << "Cannot open comm port 3 (/dev/ttyUSB0): Device or resource busy. No serial devices were "
               "found. "
               "Working without a controller.";
    }
    void aPortThatCannotBeOpenedSaysWhatToDo() {
        QFETCH(SerialError, error);
        QFETCH(QString, message);
        QCOMPARE(cannotOpenPortMessage(3, error), message);
    }
};

QTEST_GUILESS_MAIN(PortMessagesTest)
#include "port_messages_test.moc"
