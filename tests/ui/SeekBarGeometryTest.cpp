#include <gtest/gtest.h>

#include "ui/SeekBarGeometry.h"
#include "ui/TimeText.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = kUnitsPerSecond;
constexpr SeekRect kTrack{5, 5, 415, 19};  // the thumb's left edge travels 400 pixels, its centre 10..410

TEST(SeekBarGeometry, LayoutFollowsTheClientSize) {
  // Client size, width of the longest time text, track, time box, groove.
  const std::tuple<int, int, int, SeekRect, SeekRect, SeekRect> cases[] = {
      {600, 24, 80, {5, 5, 495, 19}, {505, 5, 595, 19}, {10, 11, 490, 13}},
      {330, 25, 0, {5, 5, 225, 20}, {235, 5, 325, 20}, {10, 11, 220, 13}},  // odd height: 15 / 2 truncates
      {600, 24, 112, {5, 5, 473, 19}, {483, 5, 595, 19}, {10, 11, 468, 13}}};
  for (const auto& [cx, cy, textWidth, track, time, groove] : cases) {
    const SeekBarLayout layout = LayoutSeekBar(cx, cy, textWidth);
    EXPECT_EQ(layout.track, track) << cx;
    EXPECT_EQ(layout.time, time) << cx;
    EXPECT_EQ(GrooveRect(layout.track), groove) << cx;
  }
}

TEST(SeekBarGeometry, ThumbTravelsFromEndToEnd) {
  const std::int64_t hour = 3600 * kSecond;
  const std::pair<std::int64_t, int> cases[] = {{0, 5}, {hour / 4, 105}, {hour - 1, 404}, {hour, 405}, {2 * hour, 405}};
  for (const auto& [position, left] : cases)
    EXPECT_EQ(ThumbRect(kTrack, hour, position), (SeekRect{left, 5, left + 10, 19})) << position;
  for (const std::int64_t none : {0, -1}) EXPECT_FALSE(ThumbRect(kTrack, none, 5 * kSecond).has_value()) << none;
}

TEST(SeekBarGeometry, PositionFromXClampsAndSurvivesNarrowTracks) {
  const std::int64_t d = 400 * kSecond;
  const std::tuple<SeekRect, std::int64_t, int, std::int64_t> cases[] = {
      {kTrack, d, 10, 0},         {kTrack, d, 210, 200 * kSecond},
      {kTrack, d, 410, d},        {kTrack, d, -100, 0},
      {kTrack, d, 5000, d},       {kTrack, 999, 11, 2},
      {{5, 5, 16, 19}, d, 11, d},  // 11 wide still maps
      {{5, 5, 15, 19}, d, 12, 0}, {{5, 5, -25, 19}, d, 7, 0}};
  for (const auto& [track, duration, x, position] : cases)
    EXPECT_EQ(PositionFromX(track, duration, x), position) << track.right << " " << x;
}

TEST(SeekBarGeometry, TimeTextShowsElapsedOrRemaining) {
  const std::tuple<std::int64_t, std::int64_t, bool, const char*> cases[] = {
      {7200 * kSecond, 3903 * kSecond, false, "1:05:03/2:00:00"},
      {7200 * kSecond, 3903 * kSecond, true, "-54:57/2:00:00"},
      {240 * kSecond, 300 * kSecond, true, "-0:00/4:00"},  // past the end: no negative time
      {-1, 3903 * kSecond, false, "1:05:03"},              // a stream of unknown length
      {-1, 83 * kSecond, true, "1:23"}};
  for (const auto& [duration, position, remaining, text] : cases)
    EXPECT_EQ(SeekTimeText(duration, position, remaining), text);
}

}  // namespace
}  // namespace lumivox::test
