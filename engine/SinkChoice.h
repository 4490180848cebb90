#pragma once
// Which sinks the graphs render to, found by trying them on this machine.

#include <string>

#include "engine/GstPtr.h"

namespace lumivox {

// An element that can reach READY: its device or display is there. The caller sets it
// back to NULL before letting it go, or hands it to a graph that does.
ElementRef MakeReady(const char* factory);
bool CanReachReady(const char* factory);

// The sink that draws into the player's video window on this X display: the one
// LUMIVOX_VIDEO_SINK names when it can, otherwise the first of the X sinks that can.
// Empty when none can.
std::string ChooseWindowSink();
// Without an X display to draw into, a sink that shows the video in a window of its own:
// the one LUMIVOX_VIDEO_SINK names when it starts here, otherwise GStreamer's automatic
// choice. Empty when none starts.
std::string ChooseOwnWindowSink();

}  // namespace lumivox
