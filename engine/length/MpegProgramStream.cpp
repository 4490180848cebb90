#include "engine/length/MpegProgramStream.h"

#include <optional>

#include "engine/length/MpegVideoHeaders.h"

namespace lumivox {
namespace {

constexpr unsigned char kPackCode = 0xBA;
constexpr unsigned char kEndCode = 0xB9;
constexpr unsigned char kSystemHeaderCode = 0xBB;
constexpr std::size_t kMaxMpeg1Stuffing = 16;

bool IsMediaStream(int id) { return id >= 0xC0 && id <= 0xEF; }

// Both pack layouts, told apart by their marker bits.
std::optional<std::size_t> PackLength(std::span<const unsigned char> pack) {
  if (pack.size() >= 14 && (pack[4] & 0xC4) == 0x44) return 14 + (pack[13] & 7);
  if (pack.size() >= 12 && (pack[4] & 0xF1) == 0x21) return 12;
  return std::nullopt;
}

// The whole length of the pack, packet or end code starting `bytes`; nothing when it is
// none of those or runs past the end of `bytes`.
std::optional<std::size_t> UnitLength(std::span<const unsigned char> bytes) {
  if (bytes.size() < 4 || bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1) return std::nullopt;
  std::optional<std::size_t> length;
  if (bytes[3] == kPackCode) {
    length = PackLength(bytes);
  } else if (bytes[3] == kEndCode) {
    length = 4;
  } else if (bytes[3] >= kSystemHeaderCode && bytes.size() >= 6) {
    length = 6 + (std::size_t{bytes[4]} << 8 | bytes[5]);
  }
  if (length && *length > bytes.size()) return std::nullopt;
  return length;
}

std::size_t NextPack(std::span<const unsigned char> bytes, std::size_t from) {
  for (std::size_t at = FindStartCode(bytes, from); at < bytes.size(); at = FindStartCode(bytes, at + 1)) {
    if (bytes.size() - at >= 4 && bytes[at + 3] == kPackCode && PackLength(bytes.subspan(at))) return at;
  }
  return bytes.size();
}

// Five bytes holding 33 bits between marker bits.
std::optional<std::int64_t> ReadTimeStamp(std::span<const unsigned char> bytes) {
  if (bytes.size() < 5 || (bytes[0] & bytes[2] & bytes[4] & 1) == 0) return std::nullopt;
  return std::int64_t{(bytes[0] >> 1) & 7} << 30 | std::int64_t{bytes[1]} << 22 | std::int64_t{bytes[2] >> 1} << 15 |
         std::int64_t{bytes[3]} << 7 | bytes[4] >> 1;
}

struct PesHeader {
  std::size_t payload = 0;
  std::optional<std::int64_t> pts;
};

std::optional<PesHeader> ReadMpeg2PesHeader(std::span<const unsigned char> packet) {
  if (packet.size() < 9 || packet.size() < 9u + packet[8]) return std::nullopt;
  const std::size_t payload = 9u + packet[8];
  const bool hasPts = (packet[7] & 0x80) != 0 && payload >= 14;
  return PesHeader{payload, hasPts ? ReadTimeStamp(packet.subspan(9, 5)) : std::nullopt};
}

std::optional<PesHeader> ReadMpeg1PesHeader(std::span<const unsigned char> packet) {
  std::size_t at = 6;
  while (at < packet.size() && packet[at] == 0xFF && at < 6 + kMaxMpeg1Stuffing) ++at;
  if (at < packet.size() && (packet[at] & 0xC0) == 0x40) at += 2;  // buffer size
  if (at >= packet.size()) return std::nullopt;
  const int flags = packet[at] >> 4;
  if (flags == 2 || flags == 3) {
    const std::size_t size = flags == 2 ? 5 : 10;
    if (packet.size() - at < size) return std::nullopt;
    return PesHeader{at + size, ReadTimeStamp(packet.subspan(at, 5))};
  }
  if (packet[at] == 0x0F) return PesHeader{at + 1, std::nullopt};
  return std::nullopt;
}

void AddPacket(std::span<const unsigned char> packet, PesStream& stream) {
  const bool mpeg2 = packet.size() > 6 && (packet[6] & 0xC0) == 0x80;
  const auto header = mpeg2 ? ReadMpeg2PesHeader(packet) : ReadMpeg1PesHeader(packet);
  if (!header) return;
  const auto payload = packet.subspan(header->payload);
  if (header->pts) {
    stream.timeStamps.push_back({stream.payload.size(), *header->pts});
  }
  stream.payload.insert(stream.payload.end(), payload.begin(), payload.end());
}

}  // namespace

std::map<int, PesStream> ReadPesStreams(std::span<const unsigned char> window) {
  std::map<int, PesStream> streams;
  for (std::size_t at = NextPack(window, 0); at < window.size();) {
    const auto unit = window.subspan(at);
    const auto length = UnitLength(unit);
    if (!length) {
      at = NextPack(window, at + 1);
      continue;
    }
    if (IsMediaStream(unit[3])) AddPacket(unit.first(*length), streams[unit[3]]);
    at += *length;
  }
  return streams;
}

}  // namespace lumivox
