#pragma once

#include "platform/Clock.h"
#include "platform/LineSettings.h"
#include "support/Bytes.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The scene controller at the far end of the serial line, as a plain model that any emulator can
// drive: bytes go in with the times they are sent, reply bytes come out with the times from which
// they can be read. With a wire, every byte takes its time on it in both directions, back to back:
// bytes sent at once arrive one byte time apart. Commands carry no framing, so a command is
// whatever arrived before the wire fell silent for frameGap: two commands with less silence between
// them run together into one, as on a real controller. The program's pause after every command is
// longer than that.
class ControllerModel {
public:
    using Time = Clock::Time;

    enum class Generation { Mk1, Mk2 };

    // One command as it arrived: when its first byte began on the wire, all its bytes, and the
    // silence on the wire before it (nothing for the first command).
    struct Frame {
        Time start;
        Bytes bytes;
        std::optional<Time> silence;
    };

    static constexpr Time frameGap = std::chrono::milliseconds(20);
    static constexpr Time lateLatency = std::chrono::milliseconds(1500);

    // A wrong way to answer, for the replies to one command code (any when unset) while one scene
    // is current (any when unset).
    struct Fault {
        enum class Kind {
            Silent, // no reply at all
            Short,  // the last byte is missing
            Long,   // longReplyExtra bytes too many
            Late,   // the reply comes after latency, beyond the program's deadline unless told
        };
        Kind kind = Kind::Silent;
        std::optional<std::uint8_t> command = std::nullopt;
        std::optional<int> scene = std::nullopt;
        Time latency = lateLatency;
    };

    static constexpr int longReplyExtra = 3;
    static constexpr std::uint8_t mk2VersionReply = 2;
    static constexpr std::uint8_t savedReply = 1;

    // A controller whose memory is laid out for 128, 256 or 512 channels per scene, all levels 0,
    // scene 1 selected.
    ControllerModel(Generation generation, int channelsPerScene);

    // The line: bytes that arrive at a time, and the reply bytes readable by a time (taking them).
    void receive(const Bytes& bytes, Time at);
    Bytes transmit(Time now);
    // Carries out a command whose line has fallen silent by now; state is read after this.
    void settle(Time now);
    // The next moment at which something happens, given that nothing more arrives: a command
    // ends, or a reply byte becomes readable (a time not after now means one is readable now).
    std::optional<Time> nextEvent(Time now);

    // The wire at these settings from now on; without one, bytes arrive the moment they are sent.
    void setWire(const std::optional<LineSettings>& line) { wire = line; }
    const std::optional<LineSettings>& wireSettings() const { return wire; }
    // When the last byte sent to the controller so far has arrived.
    Time lastArrival() const { return toController.freeAt; }

    void setReplyLatency(Time latency) { replyLatency = latency; }
    // A line that sends every byte straight back and never answers.
    void setEcho(bool on) { echo = on; }
    void addFault(const Fault& fault) { faults.push_back(fault); }
    void sendUnsolicited(const Bytes& bytes, Time at) { queue(bytes, at); }

    int channelsPerScene() const { return channels; }
    int sceneCount() const { return static_cast<int>(memory.size()); }
    int currentScene() const { return current; }
    int level(int scene, int channel) const;
    void setLevel(int scene, int channel, std::uint8_t level);
    // Gives every channel of every scene a level of its own, so that a misplaced byte shows.
    void fillWithPattern();
    bool isSaved(int scene) const { return saved[static_cast<std::size_t>(scene - 1)]; }

    // Every command received since the log was last cleared.
    const std::vector<Frame>& frames() const { return log; }
    void clearLog();
    // Takes the commands that have ended out of the log; one still arriving stays.
    std::vector<Frame> takeEndedFrames();

private:
    // One direction of the wire: bytes go out back to back, each after the one before it.
    struct Direction {
        Time freeAt{0}; // when the last byte sent has arrived
        Time burstStart{0};
        qint64 burstBytes = 0;
        // When the next byte, sent at that time, would arrive; carry() puts it on the wire.
        Time arrival(Time sent, const std::optional<LineSettings>& line) const;
        Time carry(Time sent, const std::optional<LineSettings>& line);
    };

    void execute(const Bytes& command, Time end);
    Bytes answer(const Bytes& command);
    void reply(Bytes bytes, std::uint8_t command, Time end);
    void queue(const Bytes& bytes, Time at);
    void layOut(int channelsPerScene);

    Generation kind;
    int channels = 0;
    int current = 1;
    std::vector<Bytes> memory; // [scene - 1][channel - 1], each a level from 0 to 255
    std::vector<bool> saved;

    Time replyLatency = std::chrono::milliseconds(5);
    bool echo = false;
    std::vector<Fault> faults;

    std::optional<LineSettings> wire;
    Direction toController;
    Direction fromController;
    bool heardAny = false;

    Bytes pending; // the command still arriving
    Time lastByte{0};
    std::vector<std::pair<Time, std::uint8_t>> line; // reply bytes not yet taken, by the time they are sent

    std::vector<Frame> log;
};
