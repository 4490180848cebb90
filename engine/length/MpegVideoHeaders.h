#pragma once
// Start codes, and the few MPEG-1/2 video headers a length needs. Each header function
// takes the bytes from its start code on.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/length/FrameRate.h"

namespace lumivox {

constexpr unsigned char kPictureStartCode = 0x00;
constexpr unsigned char kSequenceHeaderCode = 0xB3;
constexpr unsigned char kGroupStartCode = 0xB8;

// The offset of the next 00 00 01 at or after `from`, or bytes.size() when there is none.
std::size_t FindStartCode(std::span<const unsigned char> bytes, std::size_t from);

// Calls visit(offset, code, bytes from the start code on) for each start code in `bytes`
// whose code byte is there.
template <typename Visit>
void ForEachStartCode(std::span<const unsigned char> bytes, Visit&& visit) {
  for (std::size_t at = FindStartCode(bytes, 0); bytes.size() - at >= 4; at = FindStartCode(bytes, at + 3)) {
    visit(at, bytes[at + 3], bytes.subspan(at));
  }
}

std::optional<FrameRate> SequenceFrameRate(std::span<const unsigned char> sequenceHeader);
// The number of the picture a group's time code names, counted from 00:00:00.00.
std::optional<std::int64_t> GroupTimeCodeFrame(std::span<const unsigned char> groupHeader, FrameRate rate);
// The picture's place in display order within its group; nothing when cut short.
std::optional<int> TemporalReference(std::span<const unsigned char> pictureHeader);

}  // namespace lumivox
