#include "support/NotingSerialControl.h"

#include "qt/QtSerialDevices.h"

NotingSerialControl::NotingSerialControl(Clock& clock, PortResolver resolver, Listener listener)
    : serial(std::move(resolver), qtSerialDeviceFacts())
    , time(clock)
    , writing(std::move(listener)) {}

void NotingSerialControl::output(const QByteArray& bytes) {
    if (serial.isOpen()) {
        writing(static_cast<std::size_t>(bytes.size()), time.now());
    }
    serial.output(bytes);
}
