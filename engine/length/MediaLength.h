#pragma once
// The true length of MPEG streams whose headers do not tell it, read from the stream's
// own bytes at open time. Each returns nanoseconds, or nothing when the bytes are not that
// kind of stream or its length cannot be known. Files are read in pieces, never whole.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/length/MediaBytes.h"

namespace lumivox {

// MPEG-1/2/2.5 audio, layers I-III (.mp3 .mp2 .mpa): a walk over every frame header.
std::optional<std::int64_t> MpegAudioLength(MediaBytes& bytes);
std::optional<std::int64_t> MpegAudioLength(const std::string& path);
std::optional<std::int64_t> MpegAudioLength(std::span<const unsigned char> bytes);

// MPEG-1/2 video elementary streams (.m1v .m2v .mpv): group time codes at both ends.
std::optional<std::int64_t> MpegVideoStreamLength(MediaBytes& bytes);
std::optional<std::int64_t> MpegVideoStreamLength(const std::string& path);
std::optional<std::int64_t> MpegVideoStreamLength(std::span<const unsigned char> bytes);

// MPEG-1/2 program streams (.mpg .m2p): time stamps near the start and near the end.
std::optional<std::int64_t> MpegProgramStreamLength(MediaBytes& bytes);
std::optional<std::int64_t> MpegProgramStreamLength(const std::string& path);
std::optional<std::int64_t> MpegProgramStreamLength(std::span<const unsigned char> bytes);

}  // namespace lumivox
