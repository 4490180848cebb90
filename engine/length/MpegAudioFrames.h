#pragma once
// MPEG-1/2/2.5 audio frame headers, and a walk over the frames of a stream that steps over
// junk between them.

#include <cstdint>
#include <optional>
#include <span>

#include "engine/length/FrameRate.h"
#include "engine/length/MediaBytes.h"

namespace lumivox {

struct MpegAudioHeader {
  int version = 1;  // 1, 2, or 25 for MPEG-2.5
  int layer = 3;
  int sampleRate = 0;
  bool mono = false;
  int frameSize = 0;  // bytes, the header's own included
  int samplesPerFrame = 0;

  FrameRate rate() const { return {sampleRate, samplesPerFrame}; }
};

// The header in the first four of `bytes`, or nothing when they are not one. Free format
// (no bitrate) is not one either: its frame size cannot be read from the header.
std::optional<MpegAudioHeader> ParseMpegAudioHeader(std::span<const unsigned char> bytes);

class MpegAudioFrames {
 public:
  struct Frame {
    std::uint64_t offset = 0;
    MpegAudioHeader header;
  };

  // The frames within [begin, end) of `bytes`; the stream must start within `syncLimit`
  // bytes of `begin`.
  MpegAudioFrames(MediaBytes& bytes, std::uint64_t begin, std::uint64_t end, std::uint64_t syncLimit);

  // The next whole frame of the stream, or nothing at its end.
  std::optional<Frame> Next();

 private:
  enum class Chain { Holds, Broken, PastWindow };
  struct Found {
    std::size_t at = 0;
    bool pastWindow = false;  // a candidate whose frames run past the window
  };

  std::optional<MpegAudioHeader> HeaderAt(std::uint64_t offset);
  std::optional<Frame> Sync();
  std::optional<Found> Scan(std::span<const unsigned char> window, std::size_t last, bool windowEndsStream) const;
  Chain ChainAt(std::span<const unsigned char> window, std::size_t at, bool windowEndsStream) const;
  bool Matches(const MpegAudioHeader& header, const std::optional<MpegAudioHeader>& first) const;

  MediaBytes& bytes_;
  std::uint64_t begin_;
  std::uint64_t end_;
  std::uint64_t syncLimit_;
  std::uint64_t position_;
  std::optional<MpegAudioHeader> locked_;
};

}  // namespace lumivox
