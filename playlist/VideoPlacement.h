#pragma once
// Where the picture goes in its owner's client area, by the aspect setting and the scale.

#include <optional>

#include "playlist/DocumentInterfaces.h"

namespace lumivox {

struct VideoPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // A scaled picture: the main window grows (or shrinks) by this much so the owner fits it.
  std::optional<VideoSize> growFrame;
};

// `aspect` is the stored AspectRatio (an unknown value keeps the source's shape); `scale` 0
// fits the picture into `client`, any other scales the native size. None for a picture
// without width or height: the video window stays as it is.
std::optional<VideoPlacement> PlaceVideo(VideoSize client, VideoSize native, int aspect, double scale);

}  // namespace lumivox
