#include "engine/length/MpegVideoHeaders.h"

#include <array>
#include <cstring>

namespace lumivox {
namespace {

constexpr std::array<FrameRate, 9> kFrameRates = {
    {{0, 1}, {24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60000, 1001}, {60, 1}}};

// Drop-frame time codes skip this many picture numbers each minute but every tenth.
std::int64_t DroppedPictures(std::int64_t minutes, std::int64_t picturesPerSecond) {
  if (picturesPerSecond % 30 != 0) return 0;
  return picturesPerSecond / 15 * (minutes - minutes / 10);
}

}  // namespace

std::size_t FindStartCode(std::span<const unsigned char> bytes, std::size_t from) {
  for (std::size_t at = from; at < bytes.size() && bytes.size() - at >= 3;) {
    const void* one = std::memchr(bytes.data() + at + 2, 0x01, bytes.size() - at - 2);
    if (!one) break;
    const std::size_t end = static_cast<std::size_t>(static_cast<const unsigned char*>(one) - bytes.data());
    if (bytes[end - 1] == 0 && bytes[end - 2] == 0) return end - 2;
    at = end - 1;
  }
  return bytes.size();
}

std::optional<FrameRate> SequenceFrameRate(std::span<const unsigned char> sequenceHeader) {
  if (sequenceHeader.size() < 8) return std::nullopt;
  const int width = sequenceHeader[4] << 4 | sequenceHeader[5] >> 4;
  const int height = (sequenceHeader[5] & 0x0F) << 8 | sequenceHeader[6];
  const int code = sequenceHeader[7] & 0x0F;
  if (width == 0 || height == 0 || code == 0 || code >= static_cast<int>(kFrameRates.size())) return std::nullopt;
  return kFrameRates[static_cast<std::size_t>(code)];
}

std::optional<std::int64_t> GroupTimeCodeFrame(std::span<const unsigned char> groupHeader, FrameRate rate) {
  if (groupHeader.size() < 8 || rate.num <= 0) return std::nullopt;
  const std::uint32_t bits =
      static_cast<std::uint32_t>(groupHeader[4]) << 24 | groupHeader[5] << 16 | groupHeader[6] << 8 | groupHeader[7];
  const bool dropFrame = (bits >> 31) != 0;
  const std::int64_t hours = (bits >> 26) & 31;
  const std::int64_t minutes = (bits >> 20) & 63;
  const std::int64_t seconds = (bits >> 13) & 63;
  const std::int64_t pictures = (bits >> 7) & 63;
  const std::int64_t perSecond = (rate.num + rate.den - 1) / rate.den;
  if (hours >= 24 || minutes >= 60 || seconds >= 60 || pictures >= perSecond) return std::nullopt;
  const std::int64_t allMinutes = hours * 60 + minutes;
  const std::int64_t frame = (allMinutes * 60 + seconds) * perSecond + pictures;
  return dropFrame ? frame - DroppedPictures(allMinutes, perSecond) : frame;
}

std::optional<int> TemporalReference(std::span<const unsigned char> pictureHeader) {
  if (pictureHeader.size() < 6) return std::nullopt;
  return pictureHeader[4] << 2 | pictureHeader[5] >> 6;
}

}  // namespace lumivox
