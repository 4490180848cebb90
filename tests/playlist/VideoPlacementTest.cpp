#include <gtest/gtest.h>

#include <string>

#include "playlist/VideoPlacement.h"

namespace lumivox::test {
namespace {

std::string Text(const std::optional<VideoPlacement>& p) {
  if (!p) return "untouched";
  std::string text = std::to_string(p->x) + "," + std::to_string(p->y) + " " + std::to_string(p->width) + "x" +
                     std::to_string(p->height);
  if (p->growFrame) text += " grow " + std::to_string(p->growFrame->width) + "," + std::to_string(p->growFrame->height);
  return text;
}

TEST(VideoPlacement, FitsByAspectOrScalesTheNativeSize) {
  using enum AspectRatio;
  const struct {
    int aspect;
    double scale;
    VideoSize native, client;
    const char* placed;
  } cases[] = {
      {static_cast<int>(SixteenNine), 0.0, {720, 480}, {640, 480}, "0,60 640x360"},
      {static_cast<int>(SourceSize), 0.0, {352, 240}, {500, 400}, "1,30 498x340"},
      {static_cast<int>(NotFixed), 0.0, {352, 240}, {500, 400}, "0,0 500x400"},
      {static_cast<int>(FourThree), 0.0, {640, 100}, {320, 480}, "0,120 320x240"},
      {static_cast<int>(SourceSize), 2.0, {352, 240}, {500, 400}, "0,0 704x480 grow 204,80"},
      {static_cast<int>(NotFixed), 0.5, {352, 240}, {500, 400}, "0,0 176x120 grow -324,-280"},
      {9, 0.0, {352, 240}, {500, 400}, "1,30 498x340"},  // a hand-edited value keeps the source's shape
      {static_cast<int>(FourThree), 0.0, {1, 1}, {500, 400}, "untouched"},  // no shape to keep
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Text(PlaceVideo(c.client, c.native, c.aspect, c.scale)), c.placed) << c.aspect << " " << c.scale;
  }
}

}  // namespace
}  // namespace lumivox::test
