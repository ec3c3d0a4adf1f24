#pragma once

#include "qt/QtClock.h"
#include "support/ControllerModel.h"
#include "support/PseudoTerminal.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

// The controller model played on the far end of a pseudo-terminal by a thread of its own, so that
// the program's real serial control reaches it through a device node, on the real clock. Unless
// told otherwise, the line has a wire at the speed and frame the program set on the device side:
// the bytes reach the controller, and its replies the program, one byte time after another.
// Replies are written at their time and the model logs every command with its time.
//
// On a busy machine the thread can get to run tens of milliseconds after bytes came, which would
// run two commands together; so the program notes every write, with its time, before it makes it,
// and the bytes are framed and stamped by those notes. Bytes nobody noted are stamped when read.
//
// The thread ends when stopped, when the device vanishes, or at the end of its lifetime (a minute
// unless told), and it never blocks, so that stopping it cannot hang a test.
class PtyController {
public:
    enum class Wire { Modelled, None };

    explicit PtyController(ControllerModel& controller, Clock::Time longest = std::chrono::minutes(1),
                           Wire wire = Wire::Modelled);
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
    // The next size bytes on the line are one write made at this time.
    void noteWrite(std::size_t size, Clock::Time at);
    // The far end sends these bytes now, unasked.
    void sendUnsolicited(const Bytes& bytes);

    // A copy of the model once every noted write has come, with every command whose line has fallen
    // silent carried out.
    ControllerModel snapshot();
    void clearLog();
    // The commands that have ended by now, taken out of the log.
    std::vector<ControllerModel::Frame> takeEndedFrames();
    // Stops playing and waits for the thread.
    void stop();

private:
    struct Write {
        std::size_t size;
        Clock::Time at;
    };

    void play();
    // Reads what has come and feeds it to the model, write by write; false once the far end is gone.
    bool receive(Clock::Time readAt);

    ControllerModel& model;
    Clock::Time lifetime;
    Wire wire;
    PseudoTerminal pty;
    QtClock clock;
    std::optional<Bytes> vanishCommand;
    std::vector<std::uint8_t> outbox; // reply bytes due but not yet taken by the device side
    std::mutex modelLock;             // guards the model, the writes and playing
    std::deque<Write> writes;         // noted, and not yet read in full
    bool playing = false;
    std::condition_variable caughtUp;
    std::atomic<bool> stopping{false};
    std::thread player;
};
