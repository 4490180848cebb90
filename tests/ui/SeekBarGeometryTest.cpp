#include <gtest/gtest.h>

#include "ui/SeekBarGeometry.h"
#include "ui/TimeText.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = kUnitsPerSecond;

TEST(SeekBarGeometry, TrackTimeBoxAndGrooveFollowTheClientSize) {
  struct Case {
    int cx, cy;
    SeekRect track, time, groove;
  } const cases[] = {
      {600, 24, {5, 5, 495, 19}, {505, 5, 595, 19}, {10, 11, 490, 13}},
      {330, 25, {5, 5, 225, 20}, {235, 5, 325, 20}, {10, 11, 220, 13}},  // 15 rows: 15 / 2 truncates
      {100, 10, {5, 5, -5, 5}, {5, 5, 95, 5}, {10, 4, -10, 6}},
  };
  for (const auto& c : cases) {
    const SeekBarLayout layout = LayoutSeekBar(c.cx, c.cy);
    EXPECT_EQ(layout.track, c.track) << c.cx;
    EXPECT_EQ(layout.time, c.time) << c.cx;
    EXPECT_EQ(GrooveRect(layout.track), c.groove) << c.cx;
  }
}

TEST(SeekBarGeometry, ThumbTravelsFromTheLeftEndToTheRightEnd) {
  const SeekRect track{5, 5, 415, 19};  // 410 wide: the thumb's left edge travels 400 pixels
  const std::int64_t hour = 3600 * kSecond;
  const std::pair<std::int64_t, int> cases[] = {
      {hour / 2, 5 + 200}, {0, 5}, {hour / 4, 5 + 100}, {hour - 1, 5 + 399}, {hour, 415 - 10}, {2 * hour, 415 - 10}};
  for (const auto& [position, left] : cases) {
    EXPECT_EQ(ThumbRect(track, hour, position), (SeekRect{left, 5, left + 10, 19})) << position;
  }
  EXPECT_FALSE(ThumbRect(track, 0, 5 * kSecond).has_value());
}

TEST(SeekBarGeometry, PositionFromXMapsTheThumbCentreClampsAndSurvivesNarrowTracks) {
  const SeekRect track{5, 5, 415, 19};  // thumb centre from x = 10 to x = 410
  const std::int64_t d = 400 * kSecond;
  struct Case {
    SeekRect track;
    std::int64_t duration;
    int x;
    std::int64_t position;
  } const cases[] = {
      {track, d, 10, 0},          {track, d, 11, kSecond},  {track, d, 210, 200 * kSecond}, {track, d, 410, d},
      {track, d, 5, 0},           {track, d, -100, 0},      {track, d, 5000, d},            {track, 999, 11, 2},
      {track, 0, 300, 0},         {{5, 5, 16, 19}, d, 11, d},  // 11 wide still maps
      {{5, 5, 15, 19}, d, 12, 0}, {{5, 5, 14, 19}, d, 7, 0},   {{5, 5, -25, 19}, d, 7, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PositionFromX(c.track, c.duration, c.x), c.position) << c.track.right << " " << c.x;
  }
}

TEST(SeekBarGeometry, TimeTextShowsElapsedOrRemainingOverTheTotal) {
  struct Case {
    std::int64_t duration, position;
    bool remaining;
    const char* text;
  } const cases[] = {
      {240 * kSecond, 90 * kSecond, false, "1:30/4:00"},
      {240 * kSecond, 90 * kSecond, true, "-2:30/4:00"},
      {7200 * kSecond, 3903 * kSecond, false, "1:05:03/2:00:00"},
      {7200 * kSecond, 3903 * kSecond, true, "-54:57/2:00:00"},
      {0, 0, false, "0:00/0:00"},
      {240 * kSecond, 300 * kSecond, true, "-0:00/4:00"},  // past the end: no negative time
      {109 * kSecond / 10, 102 * kSecond / 10, false, "0:10/0:10"},
      {109 * kSecond / 10, 102 * kSecond / 10, true, "-0:00/0:10"},  // 0.7 s left
  };
  for (const auto& c : cases) EXPECT_EQ(SeekTimeText(c.duration, c.position, c.remaining), c.text) << c.text;
}

TEST(SeekBarGeometry, DialogUnitsConvertWithTheFontsBaseUnitsRounded) {
  EXPECT_EQ(DialogBaseUnitX(338), 7);  // 52 letters in 338 pixels: 13 a pair
  EXPECT_EQ(DialogBaseUnitX(311), 6);  // 11.96 a pair truncates to 11
  struct Case {
    int units, base, x, y;
  } const cases[] = {
      {330, 7, 578, 289},  // 577.5 and 288.75 round up
      {14, 13, 46, 23},    // 45.5 and 22.75
      {14, 16, 56, 28},
      {330, 6, 495, 248},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DialogUnitsToPixelsX(c.units, c.base), c.x) << c.units << " " << c.base;
    EXPECT_EQ(DialogUnitsToPixelsY(c.units, c.base), c.y) << c.units << " " << c.base;
  }
}

}  // namespace
}  // namespace lumivox::test
