#pragma once

#include "platform/SerialControl.h"
#include "support/FarEnd.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>

// The serial line of this system that the contract test holds to its promises, and the far end of
// it: on Linux the toolkit's serial port on a pseudo-terminal played here; on Windows the line
// through the system's functions on COM1, whose far end another program plays.
class LineUnderTest {
public:
    // The port number that reaches the far end's line.
    static constexpr std::int16_t farEndPort = 1;

    LineUnderTest();
    ~LineUnderTest();
    LineUnderTest(const LineUnderTest&) = delete;
    LineUnderTest& operator=(const LineUnderTest&) = delete;

    FarEnd& farEnd();
    // A control of this system's line, not yet opened, that reaches the far end by farEndPort.
    std::unique_ptr<SerialControl> control();

    // A port number that reaches no device, and the name the system has for it.
    struct MissingPort {
        std::int16_t number;
        QString device;
    };
    MissingPort missingPort() const;

    // The system's words for a port that is not there, and for one another program holds.
    static QString noSuchPortWords();
    static QString inUseWords();
    // Whether the text is the system's own words for one of its errors.
    static bool isSystemErrorText(const QString& text);
    // Why this system cannot show a port held by another program refused; empty when it can.
    static QString whyNoPortInUse();
    // The serial devices the system lists, as a failed opening lists them.
    static QList<SerialPortEntry> systemPorts();

private:
    // Each system's own.
    static std::unique_ptr<FarEnd> playedFarEnd();
    // The system's words for an error code; codes run from 1.
    static QString systemWords(int code);

    std::unique_ptr<FarEnd> played;
};
