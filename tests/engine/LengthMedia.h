#pragma once
// MPEG audio, video and program streams whose true length is known, made by GStreamer's
// encoders and muxers once per run (some edited afterwards), for the length scanners.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"

namespace lumivox::test {

// How long `frames` last at `rate` / `rateDen` of them a second, in nanoseconds.
constexpr std::int64_t Duration(std::int64_t frames, std::int64_t rate, std::int64_t rateDen = 1) {
  return frames * rateDen * 1'000'000'000 / rate;
}

inline constexpr std::int64_t kHalfMp3Frame = Duration(576, 44100);

enum class StreamKind { Audio, VideoStream, ProgramStream };

struct LengthCase {
  std::string name;
  std::string pipeline;  // the file goes at {file} or at the end
  StreamKind kind;
  std::optional<std::int64_t> length;  // nothing: as long as GStreamer's decoder plays it
  std::int64_t tolerance;
  std::function<std::string(const std::string&)> edit = {};  // of the bytes written
};

const std::vector<LengthCase>& LengthCases();
// The case's file, made the first time it is asked for.
std::string LengthMedia(const LengthCase& media);
std::string LengthMedia(const std::string& name);
// Where the files are made; more may go there.
const TempDir& LengthFolder();

// How long GStreamer's decoder plays `file`.
std::optional<std::int64_t> DecodedLength(const std::string& file);

// An APEv2 header or footer of a tag of one item, `size` bytes with the footer.
std::string ApeTagMark(std::uint32_t size, std::uint32_t flags);
std::string Id3v1Tag();

}  // namespace lumivox::test
