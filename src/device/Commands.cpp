#include "device/Commands.h"

namespace command {

std::int16_t putSetLevels(std::span<std::int16_t> buffer, std::int16_t startChannel,
                          std::span<const std::int16_t> levels) {
    // Channel numbers travel high byte first.
    const auto start = static_cast<std::uint16_t>(startChannel);
    buffer[0] = set_levels;
    buffer[1] = static_cast<std::int16_t>(start / 256);
    buffer[2] = static_cast<std::int16_t>(start % 256);
    std::size_t n = setLevelsHeaderLength;
    for (const std::int16_t level : levels) {
        buffer[n++] = static_cast<std::int16_t>(level & 0xFF);
    }
    return static_cast<std::int16_t>(n);
}

std::int16_t putSetSceneSize(std::span<std::int16_t> buffer, std::int16_t sizeCode) {
    buffer[0] = set_scene_size;
    buffer[1] = sizeCode;
    return 2;
}

std::int16_t putSelectScene(std::span<std::int16_t> buffer, std::int16_t scene) {
    buffer[0] = select_scene;
    buffer[1] = scene;
    return 2;
}

std::int16_t putCode(std::span<std::int16_t> buffer, std::int16_t code) {
    buffer[0] = code;
    return 1;
}

int sceneSizeFromReply(std::int16_t low, std::int16_t high) {
    // Computed wider than 16 bits: a high byte of 128 or more must not turn negative.
    return (high & 0xFF) * 256 + (low & 0xFF);
}

} // namespace command

namespace scene_size {

namespace {
struct Layout {
    std::int16_t channels;
    std::int16_t scenesMk1;
    std::int16_t scenesMk2;
};
constexpr std::array<Layout, 3> layouts{{{512, 15, 13}, {256, 30, 27}, {128, 60, 55}}};

const Layout& layoutFor(std::int16_t sizeCode) {
    // Codes beyond the table fall back to the smallest scenes, as the controller's own rule does.
    return layouts[static_cast<std::size_t>(sizeCode >= 0 && sizeCode <= smallestCode ? sizeCode
                                                                                      : smallestCode)];
}
} // namespace

std::int16_t channelsFor(std::int16_t sizeCode) {
    return layoutFor(sizeCode).channels;
}

std::optional<std::int16_t> codeForChannels(int channels) {
    for (std::size_t code = 0; code < layouts.size(); ++code) {
        if (layouts[code].channels == channels) {
            return static_cast<std::int16_t>(code);
        }
    }
    return std::nullopt;
}

std::int16_t scenesFor(std::int16_t sizeCode, std::int16_t version) {
    const Layout& layout = layoutFor(sizeCode);
    return version >= 2 ? layout.scenesMk2 : layout.scenesMk1;
}

} // namespace scene_size
