#pragma once
// GStreamer for the whole process: initialised once, with the maker's plugin module loaded
// from lumivox's own plugin path.

#include <string>

namespace lumivox {

// Initialises GStreamer and loads libgsthalcyon.so from the first folder of the plugin path
// that has it. The path is LUMIVOX_PLUGIN_PATH (':'-separated; set but empty = none) or else
// ../lib/lumivox/gstreamer-1.0 from the program's folder, then the build folder for a program
// run from there. False, with a reason, when GStreamer cannot start; a missing module is not
// an error (its elements are then "not installed").
bool InitGStreamer(std::string* error = nullptr);

}  // namespace lumivox
