#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// The controller's command set. A command is its code byte followed by its parameters, with no
// framing; the pause after every send is what separates one command from the next.
namespace command {
inline constexpr std::int16_t set_levels = 1;
inline constexpr std::int16_t set_scene_size = 2;
inline constexpr std::int16_t select_scene = 3;
inline constexpr std::int16_t read_scene = 4;
inline constexpr std::int16_t get_scene_size = 6;
inline constexpr std::int16_t save_scene = 7;
inline constexpr std::int16_t clear_scene = 10;
inline constexpr std::int16_t get_version = 12;

// One set_levels carries at most this many levels.
inline constexpr int maxLevels = 512;
inline constexpr int setLevelsHeaderLength = 3;

// Each writes the command from element 0 on and returns its length in elements.
// set_levels gives levels[0] to startChannel, levels[1] to the next channel and so on; only the low
// 8 bits of a level travel.
std::int16_t putSetLevels(std::span<std::int16_t> buffer, std::int16_t startChannel,
                          std::span<const std::int16_t> levels);
std::int16_t putSetSceneSize(std::span<std::int16_t> buffer, std::int16_t sizeCode);
std::int16_t putSelectScene(std::span<std::int16_t> buffer, std::int16_t scene);
std::int16_t putCode(std::span<std::int16_t> buffer, std::int16_t code);

// The channel count of a get_scene_size reply, which comes low byte first.
int sceneSizeFromReply(std::int16_t low, std::int16_t high);
} // namespace command

// Memory layouts: the size code runs opposite to the channel count (0 is the largest).
namespace scene_size {
// Channels per scene for a size code 0, 1 or 2.
std::int16_t channelsFor(std::int16_t sizeCode);
// The size code of the smallest layout, 128 channels per scene.
inline constexpr std::int16_t smallestCode = 2;
// The size code for 128, 256 or 512 channels; nothing for any other count.
std::optional<std::int16_t> codeForChannels(int channels);
// The number of scenes for a size code, by controller generation (Mk2 keeps fewer).
std::int16_t scenesFor(std::int16_t sizeCode, std::int16_t version);
} // namespace scene_size

// Command buffers, one per caller, indexed from 0, one byte value per element.
template <std::size_t N> using CommandBuffer = std::array<std::int16_t, N>;
// Room for the longest command or reply (a whole scene read back), with some to spare for a
// controller that says more than it was asked: bytes beyond the buffer are dropped.
using LineBuffer = CommandBuffer<1115>;
// Room for the short replies of the detection: a version byte or a two-byte scene size.
using ReplyBuffer = CommandBuffer<5>;
