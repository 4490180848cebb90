#pragma once
// A rate of frames (pictures, or audio frames of so many samples) as a fraction, and
// counts of such frames turned into time.

#include <cstdint>

namespace lumivox {

struct FrameRate {
  std::int64_t num = 0;  // frames in `den` seconds
  std::int64_t den = 1;
};

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr std::int64_t kTicksPerSecond = 90'000;  // MPEG system clock for time stamps

// count * mul / div, without overflow for any count a media file holds when div is a
// sample or frame rate.
constexpr std::int64_t MulDiv(std::int64_t count, std::int64_t mul, std::int64_t div) {
  return count / div * mul + count % div * mul / div;
}

// How long `frames` frames last, in 1/unitsPerSecond.
constexpr std::int64_t FramesToTime(std::int64_t frames, FrameRate rate, std::int64_t unitsPerSecond) {
  return MulDiv(frames, rate.den * unitsPerSecond, rate.num);
}

}  // namespace lumivox
