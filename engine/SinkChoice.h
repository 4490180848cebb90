#pragma once
// Which sinks the graphs render to, found by trying them on this machine.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/GstPtr.h"

namespace lumivox {

// An element that can reach READY: its device or display is there. The caller sets it
// back to NULL before letting it go, or hands it to a graph that does.
ElementRef MakeReady(const char* factory);
bool CanReachReady(const char* factory);

struct VideoOutput {
  std::string sink;  // factory; empty: a real-time null sink
  // The sink shows pictures at the size it gets them: the graph scales them to the window.
  bool scaledInGraph = false;

  bool operator==(const VideoOutput&) const = default;
};

struct DisplayOffer {
  bool xvideo = false;      // an XVideo adaptor: the server scales and converts
  bool hardwareGl = false;  // GL on a graphics device, not on a software rasteriser
};

// The window outputs worth trying on a display with `offer`, best first: XVideo, GL on
// hardware, and always last X images, which the server shows through shared memory.
std::vector<VideoOutput> WindowOutputsFor(const DisplayOffer& offer);

// The output that draws into the player's video window on this X display: the sink
// LUMIVOX_VIDEO_SINK names when it can, otherwise the first of WindowOutputsFor the
// display's offer that can. An empty sink when none can. Logged.
VideoOutput ChooseWindowOutput();
// Without an X display to draw into, a sink that shows the video in a window of its own:
// the one LUMIVOX_VIDEO_SINK names when it starts here, otherwise GStreamer's automatic
// choice. Empty when none starts.
std::string ChooseOwnWindowSink();

// The engine's video output, chosen the first time a video stream needs one and kept for
// the display from then on; audio alone never makes one. From any thread.
class VideoOutputChoice {
 public:
  // `embedded`: the sink draws into the player's window on an X display.
  explicit VideoOutputChoice(bool embedded) : embedded_(embedded) {}
  VideoOutput Get();

 private:
  const bool embedded_;
  std::mutex mutex_;
  std::optional<VideoOutput> chosen_;
};

}  // namespace lumivox
