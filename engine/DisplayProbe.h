#pragma once
// What the X display named by DISPLAY offers for drawing video, asked without making a GL
// context. From any thread.

namespace lumivox {

// The server hands its clients a graphics device to render GL on directly (DRI3 or DRI2, or
// NVIDIA's own GLX). Without one, Mesa's GL runs on a software rasteriser.
bool OffersDirectRendering();
// The GL driver loaded for the display is a software rasteriser (llvmpipe, softpipe), as it
// is under Xvfb or with LIBGL_ALWAYS_SOFTWARE set. Loads the driver, without a context.
bool GlDriverIsSoftware();

}  // namespace lumivox
