// The video output a display gets: the order of the candidates, and what the tests' display
// (Xvfb: no XVideo adaptor, GL on a software rasteriser) is given.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <utility>
#include <vector>

#include "ScopedEnv.h"
#include "engine/DisplayProbe.h"
#include "engine/GstRuntime.h"
#include "engine/SinkChoice.h"

namespace lumivox::test {
namespace {

const VideoOutput kScaledXImages{"ximagesink", true};

TEST(SinkChoice, XVideoComesFirstThenHardwareGlThenXImagesScaledInTheGraph) {
  const VideoOutput xv{"xvimagesink", false};
  const VideoOutput gl{"glimagesink", false};
  const std::pair<DisplayOffer, std::vector<VideoOutput>> cases[] = {{{true, true}, {xv, gl, kScaledXImages}},
                                                                     {{true, false}, {xv, kScaledXImages}},
                                                                     {{false, true}, {gl, kScaledXImages}},
                                                                     {{false, false}, {kScaledXImages}}};
  for (const auto& [offer, outputs] : cases) EXPECT_EQ(WindowOutputsFor(offer), outputs);
}

TEST(SinkChoice, WithoutXVideoOrHardwareGlXImagesAreScaledInTheGraph) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
  ASSERT_TRUE(InitGStreamer());
  EXPECT_FALSE(OffersDirectRendering());
  EXPECT_TRUE(GlDriverIsSoftware());
  // Forced ximagesink is scaled too; a sink that is not there leaves the choice to the display.
  for (const char* forced : {"nosuchsink", "ximagesink"}) {
    const ScopedEnv sink("LUMIVOX_VIDEO_SINK", forced);
    EXPECT_EQ(ChooseWindowOutput(), kScaledXImages) << forced;
  }
}

}  // namespace
}  // namespace lumivox::test
