#pragma once

#include "platform/QtClock.h"
#include "support/ControllerModel.h"
#include "support/PseudoTerminal.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

// The controller model played on the far end of a pseudo-terminal by a thread of its own, so that
// the program's real serial control reaches it through a device node, on the real clock. Bytes are
// stamped as they are read, replies are written at their time, and the model logs every command.
// The thread ends when stopped, when the device vanishes, or after a minute at the most, and it
// never blocks, so that stopping it cannot hang a test.
class PtyController {
public:
    using Bytes = ControllerModel::Bytes;

    explicit PtyController(ControllerModel& controller);
    ~PtyController();
    PtyController(const PtyController&) = delete;
    PtyController& operator=(const PtyController&) = delete;

    // The device node the program opens.
    QString devicePath() const { return pty.devicePath(); }
    // Starts playing; the model and the faults are set up before this, and left alone afterwards.
    void switchOn();
    // The device vanishes (its far end closes) when the program writes exactly these bytes, which
    // are lost.
    void vanishOn(const Bytes& command) { vanishCommand = command; }

    // A copy of the model as it is now, with every command whose line has fallen silent carried out.
    ControllerModel snapshot();
    void clearLog();
    // Stops playing and waits for the thread.
    void stop();

private:
    void play();
    // Reads what has come by the given time and feeds it to the model; false once the far end is gone.
    bool receive(Clock::Time at);

    static constexpr Clock::Time lifetime = std::chrono::minutes(1);

    ControllerModel& model;
    PseudoTerminal pty;
    QtClock clock;
    std::optional<Bytes> vanishCommand;
    Bytes outbox; // reply bytes due but not yet taken by the device side
    std::mutex modelLock;
    std::atomic<bool> stopping{false};
    std::thread player;
};
