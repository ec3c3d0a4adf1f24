#include "support/LineUnderTest.h"

#include "qt/QtSerialControl.h"
#include "qt/QtSerialDevices.h"
#include "support/PtyFarEnd.h"

#include <cerrno>

std::unique_ptr<FarEnd> LineUnderTest::playedFarEnd() {
    return std::make_unique<PtyFarEnd>();
}

std::unique_ptr<SerialControl> LineUnderTest::control() {
    // The far end's node stands for its port, as an adapter's node does; the others reach nothing.
    return std::make_unique<QtSerialControl>(
        [this](std::int16_t port) -> std::optional<QString> {
            return port == farEndPort ? static_cast<PtyFarEnd&>(*played).devicePath() : missingPort().device;
        },
        qtSerialDeviceFacts());
}

QList<SerialPortEntry> LineUnderTest::systemPorts() {
    return qtSerialDeviceFacts().ports();
}

LineUnderTest::MissingPort LineUnderTest::missingPort() const {
    return {9, QStringLiteral("/dev/ttyUSB-unplugged")};
}

QString LineUnderTest::noSuchPortWords() {
    return qt_error_string(ENOENT);
}

QString LineUnderTest::inUseWords() {
    return qt_error_string(EBUSY);
}

QString LineUnderTest::systemWords(int code) {
    return qt_error_string(code);
}

QString LineUnderTest::whyNoPortInUse() {
    return {};
}
