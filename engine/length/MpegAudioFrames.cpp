#include "engine/length/MpegAudioFrames.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lumivox {
namespace {

// Frames in a row that must agree before the walk trusts a sync word: more at the start,
// where a tag or junk may hold one by chance, than on finding its way back mid-stream.
constexpr int kLockChain = 3;
constexpr int kResyncChain = 2;
// Many times the longest chain of frames, so a window rarely cuts one short.
constexpr std::size_t kScanWindow = 256 * 1024;

// kbit/s by [MPEG-1 or not][layer - 1][bitrate index]
constexpr std::array<std::array<std::array<short, 15>, 3>, 2> kBitrates = {{
    {{{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}}},
    {{{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}},
}};
constexpr std::array<int, 3> kMpeg1SampleRates = {44100, 48000, 32000};

// By the header's two version bits: 1 (MPEG-1), 2, 25 (MPEG-2.5), 0 where reserved.
constexpr std::array<int, 4> kVersions = {25, 0, 2, 1};

constexpr int SampleRate(int version, int rateIndex) {
  return kMpeg1SampleRates[static_cast<std::size_t>(rateIndex)] / (version == 1 ? 1 : version == 2 ? 2 : 4);
}

constexpr int SamplesPerFrame(int version, int layer) {
  if (layer == 1) return 384;
  return layer == 3 && version != 1 ? 576 : 1152;
}

// Frame sizes without the padding slot, by the header's version bits, layer bits, bitrate
// index and sample rate index; 0 where one of them is reserved, or for free format. A
// table, because junk made of sync words asks for millions of them.
constexpr auto kFrameSizes = [] {
  std::array<std::array<std::array<std::array<short, 4>, 16>, 4>, 4> sizes{};
  for (int versionBits = 0; versionBits < 4; ++versionBits) {
    for (int layerBits = 1; layerBits < 4; ++layerBits) {
      for (int bitrateIndex = 1; bitrateIndex < 15; ++bitrateIndex) {
        for (int rateIndex = 0; rateIndex < 3; ++rateIndex) {
          const int version = kVersions[static_cast<std::size_t>(versionBits)];
          if (version == 0) continue;
          const int layer = 4 - layerBits;
          const int kbits = kBitrates[version == 1 ? 0 : 1][static_cast<std::size_t>(layer - 1)]
                                     [static_cast<std::size_t>(bitrateIndex)];
          const int bytes = SamplesPerFrame(version, layer) / 8 * kbits * 1000 / SampleRate(version, rateIndex);
          sizes[versionBits][layerBits][bitrateIndex][rateIndex] =
              static_cast<short>(layer == 1 ? bytes / 4 * 4 : bytes);
        }
      }
    }
  }
  return sizes;
}();

}  // namespace

std::optional<MpegAudioHeader> ParseMpegAudioHeader(std::span<const unsigned char> bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return std::nullopt;
  const int versionBits = (bytes[1] >> 3) & 3;
  const int layerBits = (bytes[1] >> 1) & 3;
  const int bitrateIndex = bytes[2] >> 4;
  const int rateIndex = (bytes[2] >> 2) & 3;
  const int emphasis = bytes[3] & 3;
  const int size = kFrameSizes[versionBits][layerBits][bitrateIndex][rateIndex];
  if (size == 0 || emphasis == 2) return std::nullopt;
  MpegAudioHeader header;
  header.version = kVersions[versionBits];
  header.layer = 4 - layerBits;
  header.sampleRate = SampleRate(header.version, rateIndex);
  header.mono = (bytes[3] >> 6) == 3;
  header.samplesPerFrame = SamplesPerFrame(header.version, header.layer);
  const int padding = (bytes[2] >> 1) & 1;
  header.frameSize = size + padding * (header.layer == 1 ? 4 : 1);
  return header;
}

MpegAudioFrames::MpegAudioFrames(MediaBytes& bytes, std::uint64_t begin, std::uint64_t end, std::uint64_t syncLimit)
    : bytes_(bytes), begin_(begin), end_(std::min(end, bytes.size())), syncLimit_(syncLimit), position_(begin) {}

std::optional<MpegAudioFrames::Frame> MpegAudioFrames::Next() {
  if (locked_) {
    const auto header = HeaderAt(position_);
    if (header && position_ + static_cast<std::uint64_t>(header->frameSize) <= end_) {
      const Frame frame{position_, *header};
      position_ += static_cast<std::uint64_t>(header->frameSize);
      return frame;
    }
  }
  return Sync();
}

std::optional<MpegAudioHeader> MpegAudioFrames::HeaderAt(std::uint64_t offset) {
  auto header = ParseMpegAudioHeader(bytes_.View(offset, 4));
  if (header && !Matches(*header, locked_)) return std::nullopt;
  return header;
}

bool MpegAudioFrames::Matches(const MpegAudioHeader& header, const std::optional<MpegAudioHeader>& first) const {
  return !first ||
         (header.version == first->version && header.layer == first->layer && header.sampleRate == first->sampleRate);
}

std::optional<MpegAudioFrames::Frame> MpegAudioFrames::Sync() {
  // Only a stream already found is looked for past the limit.
  const std::uint64_t lastStart = locked_ ? end_ : std::min(end_, begin_ + syncLimit_);
  std::uint64_t from = position_;
  while (from < lastStart && end_ - from >= 4) {
    const auto window = bytes_.View(from, static_cast<std::size_t>(std::min<std::uint64_t>(kScanWindow, end_ - from)));
    if (window.size() < 4) break;
    const bool windowEndsStream = from + window.size() == end_;
    const std::size_t last = static_cast<std::size_t>(std::min<std::uint64_t>(lastStart - from, window.size() - 4));
    const auto found = Scan(window, last, windowEndsStream);
    if (found && !found->pastWindow) {
      const auto header = ParseMpegAudioHeader(window.subspan(found->at));
      if (!locked_) locked_ = header;
      const Frame frame{from + found->at, *header};
      position_ = frame.offset + static_cast<std::uint64_t>(header->frameSize);
      return frame;
    }
    from += found ? found->at : window.size() - 3;
  }
  position_ = end_;
  return std::nullopt;
}

std::optional<MpegAudioFrames::Found> MpegAudioFrames::Scan(std::span<const unsigned char> window, std::size_t last,
                                                            bool windowEndsStream) const {
  for (std::size_t at = 0; at <= last; ++at) {
    const void* sync = std::memchr(window.data() + at, 0xFF, last - at + 1);
    if (!sync) return std::nullopt;
    at = static_cast<std::size_t>(static_cast<const unsigned char*>(sync) - window.data());
    const Chain chain = ChainAt(window, at, windowEndsStream);
    if (chain == Chain::Holds) return Found{at, false};
    // From the candidate's own offset the next window holds the whole chain.
    if (chain == Chain::PastWindow && at > 0) return Found{at, true};
  }
  return std::nullopt;
}

MpegAudioFrames::Chain MpegAudioFrames::ChainAt(std::span<const unsigned char> window, std::size_t at,
                                                bool windowEndsStream) const {
  const Chain cut = windowEndsStream ? Chain::Broken : Chain::PastWindow;
  std::optional<MpegAudioHeader> first = locked_;
  const int length = locked_ ? kResyncChain : kLockChain;
  for (int n = 0; n < length; ++n) {
    // A stream may end after fewer frames than the chain asks for.
    if (n > 0 && at == window.size() && windowEndsStream) return Chain::Holds;
    if (window.size() - at < 4) return cut;
    const auto header = ParseMpegAudioHeader(window.subspan(at, 4));
    if (!header || !Matches(*header, first)) return Chain::Broken;
    if (!first) first = header;
    at += static_cast<std::size_t>(header->frameSize);
    if (at > window.size()) return cut;
  }
  return Chain::Holds;
}

}  // namespace lumivox
