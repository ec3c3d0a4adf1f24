#pragma once

#include "platform/LineSettings.h"

#include <QByteArray>

#include <chrono>
#include <optional>

// What the far end of a serial line reads of the frame the program set on it.
struct FarEndLine {
    std::optional<LineSettings> line; // nothing for a speed without a number here
    // No echo, no line editing or signals, no byte changed or dropped either way, no flow control.
    bool raw = false;
    friend bool operator==(const FarEndLine&, const FarEndLine&) = default;
};

// The far end of the serial line a test drives: what the device at the other end of the cable
// sees and does. It is played on a pseudo-terminal, in the test itself or, for a test that runs
// where no pseudo-terminal can be made (a Windows program under wine), by another program.
// The actions "after" a delay return at once and happen while the test is busy with the line;
// whatever is asked next waits for them to have happened.
class FarEnd {
public:
    using Delay = std::chrono::milliseconds;

    virtual ~FarEnd() = default;

    // A new line in place of the last one, reached by the same port; false when none could be made.
    virtual bool renew() = 0;
    virtual FarEndLine line() = 0;
    // Takes up to count bytes from the line, waiting at most the timeout for them.
    virtual QByteArray receive(int count, Delay timeout) = 0;
    // Waits until the program's side of the line holds count bytes it has not read yet.
    virtual bool deviceHolds(int count, Delay timeout) = 0;
    virtual void sendAfter(const QByteArray& bytes, Delay delay) = 0;
    // The cable is pulled out: the program's side of the line fails from then on.
    virtual void hangUpAfter(Delay delay) = 0;
    // The line stops carrying what the program writes, until it resumes.
    virtual void stopOutput() = 0;
    virtual void resumeOutputAfter(Delay delay) = 0;
};
