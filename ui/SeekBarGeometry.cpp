#include "ui/SeekBarGeometry.h"

#include <algorithm>

#include "ui/TimeText.h"

namespace lumivox {

namespace {

constexpr int kEdgeInset = 5;                // margin around both areas
constexpr int kThumbHalf = kThumbWidth / 2;  // the groove and the pointer follow the thumb's centre

// Rounds a * b / c to the nearest whole number, halves away from zero.
int MulDiv(int a, int b, int c) {
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

SeekBarLayout LayoutSeekBar(int cx, int cy, int textWidth) {
  const int timeLeft = cx - kEdgeInset - std::max(kTimeBoxWidth, textWidth);
  return {
      .track = {kEdgeInset, kEdgeInset, timeLeft - 2 * kEdgeInset, cy - kEdgeInset},
      .time = {timeLeft, kEdgeInset, cx - kEdgeInset, cy - kEdgeInset},
  };
}

SeekRect GrooveRect(const SeekRect& track) {
  const int top = track.top + track.Height() / 2 - 1;
  return {track.left + kThumbHalf, top, track.right - kThumbHalf, top + 2};
}

std::optional<SeekRect> ThumbRect(const SeekRect& track, std::int64_t duration, std::int64_t position) {
  if (duration <= 0) return std::nullopt;
  const std::int64_t travel = track.Width() - kThumbWidth;
  const int x =
      position < duration ? track.left + static_cast<int>(travel * position / duration) : track.right - kThumbWidth;
  return SeekRect{x, track.top, x + kThumbWidth, track.bottom};
}

std::int64_t PositionFromX(const SeekRect& track, std::int64_t duration, int x) {
  const std::int64_t travel = track.Width() - kThumbWidth;
  if (travel <= 0) return 0;
  const std::int64_t position = (static_cast<std::int64_t>(x) - track.left - kThumbHalf) * duration / travel;
  if (position > duration) return duration;
  if (position < 0) return 0;
  return position;
}

std::string SeekTimeText(std::int64_t duration, std::int64_t position, bool remainingMode) {
  if (duration < 0) return FormatSeconds(position / kUnitsPerSecond);
  const std::string total = "/" + FormatSeconds(duration / kUnitsPerSecond);
  if (!remainingMode) return FormatSeconds(position / kUnitsPerSecond) + total;
  const std::int64_t remaining = duration - position < 0 ? 0 : duration - position;
  return "-" + FormatSeconds(remaining / kUnitsPerSecond) + total;
}

bool SameWholeSecond(std::int64_t a, std::int64_t b) { return a / kUnitsPerSecond == b / kUnitsPerSecond; }

int DialogBaseUnitX(int lettersWidth) { return (lettersWidth / 26 + 1) / 2; }

int DialogUnitsToPixelsX(int units, int baseUnitX) { return MulDiv(units, baseUnitX, 4); }

int DialogUnitsToPixelsY(int units, int charHeight) { return MulDiv(units, charHeight, 8); }

}  // namespace lumivox
