#include "playlist/VideoPlacement.h"

#include <cstdint>

namespace lumivox {

std::optional<VideoPlacement> PlaceVideo(VideoSize client, VideoSize native, int aspect, double scale) {
  const std::int64_t W = client.width, H = client.height;
  const std::int64_t w0 = native.width;
  if (aspect == AspectRatio::NotFixed && scale == 0.0) {
    return VideoPlacement{0, 0, client.width, client.height, std::nullopt};
  }
  std::int64_t h1 = native.height;
  if (aspect == AspectRatio::FourThree) h1 = 3 * w0 / 4;
  if (aspect == AspectRatio::SixteenNine) h1 = 9 * w0 / 16;
  if (w0 <= 0 || h1 <= 0) return std::nullopt;
  if (scale == 0.0) {
    const std::int64_t a = W * h1 / w0;
    const std::int64_t b = H * w0 / h1;
    std::int64_t w, h;
    if (b <= W) {
      w = b;
      h = b * h1 / w0;
    } else {
      h = a;
      w = a * w0 / h1;
    }
    return VideoPlacement{static_cast<int>((W - w) / 2), static_cast<int>((H - h) / 2), static_cast<int>(w),
                          static_cast<int>(h), std::nullopt};
  }
  const auto w = static_cast<std::int64_t>(static_cast<double>(w0) * scale);
  const auto h = static_cast<std::int64_t>(static_cast<double>(h1) * scale);
  return VideoPlacement{0, 0, static_cast<int>(w), static_cast<int>(h),
                        VideoSize{static_cast<int>(w - W), static_cast<int>(h - H)}};
}

}  // namespace lumivox
