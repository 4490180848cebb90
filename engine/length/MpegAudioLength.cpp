// The length of an MPEG audio file: every frame counted, tags at either end stepped over.

#include <algorithm>
#include <cstring>

#include "engine/length/MediaLength.h"
#include "engine/length/MpegAudioFrames.h"

namespace lumivox {
namespace {

// Junk before the first frame that a player still plays through (a wrapper, a broken tag).
constexpr std::uint64_t kSyncLimit = 1024 * 1024;
constexpr std::size_t kId3v1Size = 128;
constexpr std::size_t kApeFooterSize = 32;

bool StartsWith(std::span<const unsigned char> bytes, std::string_view text) {
  return bytes.size() >= text.size() && std::memcmp(bytes.data(), text.data(), text.size()) == 0;
}

std::uint32_t BigEndian(std::span<const unsigned char> bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[at + i];
  return value;
}

std::uint32_t LittleEndian32(std::span<const unsigned char> bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Past the ID3v2 tags in front; a tag whose size runs past the end leaves no audio.
std::uint64_t AfterId3v2Tags(MediaBytes& bytes) {
  std::uint64_t at = 0;
  for (;;) {
    const auto tag = bytes.View(at, 10);
    if (tag.size() < 10 || !StartsWith(tag, "ID3") || tag[3] == 0xFF || tag[4] == 0xFF ||
        ((tag[6] | tag[7] | tag[8] | tag[9]) & 0x80) != 0) {
      return at;
    }
    const std::uint64_t body = std::uint64_t{tag[6]} << 21 | tag[7] << 14 | tag[8] << 7 | tag[9];
    const bool footer = (tag[5] & 0x10) != 0;
    at += 10 + body + (footer ? 10 : 0);
  }
}

// Before the APEv2 and ID3v1 tags at the end.
std::uint64_t BeforeEndTags(MediaBytes& bytes, std::uint64_t begin) {
  std::uint64_t end = bytes.size();
  if (end - begin >= kId3v1Size && StartsWith(bytes.View(end - kId3v1Size, 3), "TAG")) end -= kId3v1Size;
  if (end - begin < kApeFooterSize) return end;
  const auto footer = bytes.View(end - kApeFooterSize, kApeFooterSize);
  if (footer.size() < kApeFooterSize || !StartsWith(footer, "APETAGEX")) return end;
  const bool hasHeader = (LittleEndian32(footer, 20) & 0x80000000u) != 0;
  const std::uint64_t size = LittleEndian32(footer, 12) + (hasHeader ? kApeFooterSize : 0);
  return size >= kApeFooterSize && size <= end - begin ? end - size : end;
}

// Where a Xing or Info tag sits in a layer III frame: just past the side information.
std::size_t XingOffset(const MpegAudioHeader& header) {
  if (header.version == 1) return header.mono ? 4 + 17 : 4 + 32;
  return header.mono ? 4 + 9 : 4 + 17;
}

// The encoder delay and padding a LAME tag after the Xing fields gives, in samples; the
// player's parser leaves them out, so the length does too.
std::int64_t LameTrim(std::span<const unsigned char> frame, std::size_t xing) {
  if (frame.size() < xing + 8) return 0;
  const std::uint32_t flags = BigEndian(frame, xing + 4, 4);
  const std::size_t lame =
      xing + 8 + (flags & 1 ? 4 : 0) + (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
  if (frame.size() < lame + 24 || !StartsWith(frame.subspan(lame), "LAME")) return 0;
  const std::uint32_t delayAndPadding = BigEndian(frame, lame + 21, 3);
  return (delayAndPadding >> 12) + (delayAndPadding & 0xFFF);
}

// For a frame that only carries a Xing, Info or VBRI tag (and no audio): the samples to
// trim from the stream. Nothing for a frame of audio.
std::optional<std::int64_t> InfoFrameTrim(MediaBytes& bytes, const MpegAudioFrames::Frame& frame) {
  if (frame.header.layer != 3) return std::nullopt;
  const auto bytesOfFrame = bytes.View(frame.offset, static_cast<std::size_t>(frame.header.frameSize));
  const std::size_t xing = XingOffset(frame.header);
  if (bytesOfFrame.size() >= xing + 4) {
    const auto tag = bytesOfFrame.subspan(xing);
    if (StartsWith(tag, "Xing") || StartsWith(tag, "Info")) return LameTrim(bytesOfFrame, xing);
  }
  constexpr std::size_t kVbriOffset = 4 + 32;
  if (bytesOfFrame.size() >= kVbriOffset + 4 && StartsWith(bytesOfFrame.subspan(kVbriOffset), "VBRI")) return 0;
  return std::nullopt;
}

// MPEG system and video streams open with a start code; their audio packets would
// otherwise pass for an audio stream with gaps.
bool OpensWithStartCode(MediaBytes& bytes, std::uint64_t begin) {
  const auto start = bytes.View(begin, 3);
  return start.size() == 3 && start[0] == 0 && start[1] == 0 && start[2] == 1;
}

}  // namespace

std::optional<std::int64_t> MpegAudioLength(MediaBytes& bytes) {
  const std::uint64_t begin = AfterId3v2Tags(bytes);
  if (begin >= bytes.size() || OpensWithStartCode(bytes, begin)) return std::nullopt;
  MpegAudioFrames frames(bytes, begin, BeforeEndTags(bytes, begin), kSyncLimit);
  const auto first = frames.Next();
  if (!first) return std::nullopt;
  const auto trim = InfoFrameTrim(bytes, *first);
  std::int64_t frameCount = trim ? 0 : 1;
  while (frames.Next()) ++frameCount;
  const std::int64_t samples = frameCount * first->header.samplesPerFrame - trim.value_or(0);
  if (samples <= 0) return std::nullopt;
  return FramesToTime(samples, FrameRate{first->header.sampleRate, 1}, kNanosecondsPerSecond);
}

}  // namespace lumivox
