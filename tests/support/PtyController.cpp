#include "support/PtyController.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace {
// The longest the thread sleeps before it looks whether it is to stop.
constexpr Clock::Time slice = std::chrono::milliseconds(10);
// The longest a snapshot waits for the thread to read what was written.
constexpr auto catchUpLimit = std::chrono::seconds(2);

int pollTimeoutMs(Clock::Time now, std::optional<Clock::Time> next) {
    const Clock::Time wait = next ? std::clamp(*next - now, Clock::Time(0), slice) : slice;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}
} // namespace

PtyController::PtyController(ControllerModel& controller, Clock::Time longest, Wire modelled)
    : model(controller)
    , lifetime(longest)
    , wire(modelled) {}

PtyController::~PtyController() {
    stop();
}

void PtyController::switchOn() {
    if (!player.joinable() && pty.isValid()) {
        playing = true;
        player = std::thread([this] {
            play();
            const std::lock_guard lock(modelLock);
            playing = false;
            caughtUp.notify_all();
        });
    }
}

void PtyController::noteWrite(std::size_t size, Clock::Time at) {
    const std::lock_guard lock(modelLock);
    if (playing && size > 0) {
        writes.push_back({size, at});
    }
}

void PtyController::sendUnsolicited(const Bytes& bytes) {
    const std::lock_guard lock(modelLock);
    model.sendUnsolicited(bytes, clock.now());
}

ControllerModel PtyController::snapshot() {
    std::unique_lock lock(modelLock);
    caughtUp.wait_for(lock, catchUpLimit, [this] { return writes.empty() || !playing; });
    ControllerModel copy = model;
    copy.settle(clock.now());
    return copy;
}

void PtyController::clearLog() {
    const std::lock_guard lock(modelLock);
    model.clearLog();
}

std::vector<ControllerModel::Frame> PtyController::takeEndedFrames() {
    const std::lock_guard lock(modelLock);
    model.settle(clock.now());
    return model.takeEndedFrames();
}

void PtyController::stop() {
    stopping = true;
    if (player.joinable()) {
        player.join();
    }
}

void PtyController::play() {
    const int fd = pty.farEnd();
    // Nothing may block the thread: a device side that stops reading must not keep it from stopping.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    const Clock::Time end = clock.now() + lifetime;
    while (!stopping && clock.now() < end) {
        const Clock::Time now = clock.now();
        std::optional<Clock::Time> next;
        {
            const std::lock_guard lock(modelLock);
            const Bytes due = model.transmit(now);
            outbox.insert(outbox.end(), due.begin(), due.end());
            next = model.nextEvent(now);
        }
        if (!outbox.empty()) {
            const ssize_t written = write(fd, outbox.data(), outbox.size());
            outbox.erase(outbox.begin(), outbox.begin() + std::max<ssize_t>(written, 0));
        }
        pollfd ready{fd, static_cast<short>(POLLIN | (outbox.empty() ? 0 : POLLOUT)), 0};
        if (poll(&ready, 1, pollTimeoutMs(now, next)) > 0 && (ready.revents & (POLLIN | POLLHUP | POLLERR)) &&
            !receive(clock.now())) {
            return;
        }
    }
}

bool PtyController::receive(Clock::Time readAt) {
    std::array<std::uint8_t, 4096> chunk{};
    const ssize_t n = read(pty.farEnd(), chunk.data(), chunk.size());
    if (n <= 0) {
        return n < 0 && (errno == EAGAIN || errno == EINTR);
    }
    const std::lock_guard lock(modelLock);
    if (wire == Wire::Modelled) {
        // The program may have changed the speed since; bytes it wrote go at the speed it set.
        model.setWire(lineSettingsOf(pty.deviceSettings()));
    }
    for (auto from = chunk.begin(), end = chunk.begin() + n; from != end;) {
        std::size_t size = static_cast<std::size_t>(end - from);
        Clock::Time at = readAt;
        if (!writes.empty()) {
            size = std::min(size, writes.front().size);
            at = writes.front().at;
            if ((writes.front().size -= size) == 0) {
                writes.pop_front();
            }
        }
        const Bytes bytes(from, from + static_cast<std::ptrdiff_t>(size));
        from += static_cast<std::ptrdiff_t>(size);
        if (vanishCommand && bytes == *vanishCommand) {
            pty.hangUp();
            return false;
        }
        model.receive(bytes, at);
    }
    caughtUp.notify_all();
    return true;
}
