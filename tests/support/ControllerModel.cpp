#include "support/ControllerModel.h"

#include <algorithm>

namespace {
// Scenes that fit the memory, by channels per scene and generation; a Mk2 keeps fewer.
int scenesFor(ControllerModel::Generation generation, int channelsPerScene) {
    const bool mk2 = generation == ControllerModel::Generation::Mk2;
    switch (channelsPerScene) {
    case 512:
        return mk2 ? 13 : 15;
    case 256:
        return mk2 ? 27 : 30;
    default:
        return mk2 ? 55 : 60;
    }
}

constexpr int channelsForCode[] = {512, 256, 128};

enum Code : std::uint8_t {
    SetLevels = 1,
    SetSceneSize = 2,
    SelectScene = 3,
    ReadScene = 4,
    GetSceneSize = 6,
    SaveScene = 7,
    ClearScene = 10,
    GetVersion = 12,
};
} // namespace

ControllerModel::ControllerModel(Generation generation, int channelsPerScene)
    : kind(generation) {
    layOut(channelsPerScene);
}

void ControllerModel::layOut(int channelsPerScene) {
    channels = channelsPerScene;
    const auto scenes = static_cast<std::size_t>(scenesFor(kind, channelsPerScene));
    memory.assign(scenes, Bytes(channels, 0));
    saved.assign(scenes, false);
    current = 1;
}

int ControllerModel::level(int scene, int channel) const {
    return memory[static_cast<std::size_t>(scene - 1)][channel - 1];
}

void ControllerModel::setLevel(int scene, int channel, std::uint8_t level) {
    memory[static_cast<std::size_t>(scene - 1)][channel - 1] = level;
}

void ControllerModel::fillWithPattern() {
    for (int s = 1; s <= sceneCount(); ++s) {
        for (int c = 1; c <= channels; ++c) {
            setLevel(s, c, static_cast<std::uint8_t>(s * 37 + c));
        }
    }
}

void ControllerModel::clearLog() {
    log.clear();
}

std::vector<ControllerModel::Frame> ControllerModel::takeEndedFrames() {
    const auto end = pending.empty() ? log.end() : std::prev(log.end());
    std::vector<Frame> taken(std::make_move_iterator(log.begin()), std::make_move_iterator(end));
    log.erase(log.begin(), end);
    return taken;
}

ControllerModel::Time ControllerModel::Direction::arrival(Time sent,
                                                          const std::optional<LineSettings>& line) const {
    if (!line) {
        return sent;
    }
    // Counted from the burst's start, so that the rounding of one byte's time does not add up.
    return sent >= freeAt ? sent + wireTime(*line, 1) : burstStart + wireTime(*line, burstBytes + 1);
}

ControllerModel::Time ControllerModel::Direction::carry(Time sent, const std::optional<LineSettings>& line) {
    const Time arrives = arrival(sent, line);
    if (sent >= freeAt) {
        burstStart = sent;
        burstBytes = 0;
    }
    ++burstBytes;
    freeAt = std::max(freeAt, arrives);
    return arrives;
}

void ControllerModel::receive(const Bytes& bytes, Time at) {
    if (bytes.empty()) {
        return;
    }
    const Time before = toController.freeAt;
    const Time begins = std::max(at, before);
    settle(begins);
    if (pending.empty()) {
        log.push_back({begins, {}, heardAny ? std::optional<Time>(begins - before) : std::nullopt});
    }
    heardAny = true;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        lastByte = toController.carry(at, wire);
    }
    pending.append(bytes);
    log.back().bytes.append(bytes);
    if (echo) {
        queue(bytes, begins);
    }
}

Bytes ControllerModel::transmit(Time now) {
    settle(now);
    // The bytes go on the wire in the order they are sent, each once the one before it has arrived.
    auto end = line.begin();
    Bytes taken;
    while (end != line.end() && fromController.arrival(end->first, wire) <= now) {
        fromController.carry(end->first, wire);
        taken << end->second;
        ++end;
    }
    line.erase(line.begin(), end);
    return taken;
}

std::optional<ControllerModel::Time> ControllerModel::nextEvent(Time now) {
    settle(now);
    std::optional<Time> next;
    if (!line.empty()) {
        next = fromController.arrival(line.front().first, wire);
    }
    if (!pending.empty() && (!next || lastByte + frameGap < *next)) {
        next = lastByte + frameGap;
    }
    return next;
}

void ControllerModel::settle(Time now) {
    if (!pending.empty() && now >= lastByte + frameGap) {
        const Bytes command = std::exchange(pending, {});
        execute(command, lastByte + frameGap);
    }
}

void ControllerModel::execute(const Bytes& command, Time end) {
    const auto code = static_cast<std::uint8_t>(command.front());
    Bytes bytes = answer(command);
    if (!bytes.empty() && !echo) {
        reply(std::move(bytes), code, end);
    }
}

Bytes ControllerModel::answer(const Bytes& command) {
    const bool mk2 = kind == Generation::Mk2;
    Bytes& scene = memory[static_cast<std::size_t>(current - 1)];
    switch (command.front()) {
    case SetLevels:
        if (command.size() >= 3) {
            // The start channel comes high byte first; levels past the last channel are lost.
            const int start = command[1] * 256 + command[2];
            for (qsizetype i = 3; i < command.size(); ++i) {
                const int channel = start + static_cast<int>(i) - 3;
                if (channel >= 1 && channel <= channels) {
                    scene[channel - 1] = command[i];
                }
            }
        }
        return {};
    case SetSceneSize:
        if (command.size() >= 2 && command[1] >= 0 && command[1] <= 2) {
            layOut(channelsForCode[command[1]]);
        }
        return {};
    case SelectScene:
        if (command.size() >= 2 && command[1] >= 1 && command[1] <= sceneCount()) {
            current = command[1];
        }
        return {};
    case ReadScene:
        return scene;
    case GetSceneSize:
        // The count travels low byte first.
        return {channels % 256, channels / 256};
    case SaveScene:
        if (!mk2) {
            return {};
        }
        saved[static_cast<std::size_t>(current - 1)] = true;
        return {savedReply};
    case ClearScene:
        if (mk2) {
            std::fill(scene.begin(), scene.end(), 0);
        }
        return {};
    case GetVersion:
        return {mk2 ? mk2VersionReply : 0};
    default:
        return {};
    }
}

void ControllerModel::reply(Bytes bytes, std::uint8_t command, Time end) {
    Time at = end + replyLatency;
    for (const Fault& fault : faults) {
        if ((fault.command && *fault.command != command) || (fault.scene && *fault.scene != current)) {
            continue;
        }
        switch (fault.kind) {
        case Fault::Kind::Silent:
            return;
        case Fault::Kind::Short:
            bytes.pop_back();
            break;
        case Fault::Kind::Long:
            bytes.insert(bytes.end(), longReplyExtra, 0xEE);
            break;
        case Fault::Kind::Late:
            at = end + fault.latency;
            break;
        }
    }
    queue(bytes, at);
}

void ControllerModel::queue(const Bytes& bytes, Time at) {
    auto position = std::upper_bound(line.begin(), line.end(), at,
                                     [](Time t, const auto& queued) { return t < queued.first; });
    for (const int byte : bytes) {
        position = std::next(line.insert(position, {at, static_cast<std::uint8_t>(byte)}));
    }
}
