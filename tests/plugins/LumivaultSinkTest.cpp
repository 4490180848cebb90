// The plugin's registration, and the LumivaultHD renderer against plain files and fifos
// standing in for the device.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "GstSupport.h"
#include "ScopedEnv.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

// None may be picked by auto-plugging, and each takes exactly the streams it is placed for.
TEST(RegistrationTest, ElementsWithoutRankForTheirOwnStreams) {
  LoadHalcyonPlugin();
  const struct {
    const char* factory;
    const char* accepted;
    const char* refused;
  } elements[] = {
      {"halcyonmpegvideodec", "video/mpeg,mpegversion=1,systemstream=false,parsed=true",
       "video/mpeg,mpegversion=2,systemstream=false,parsed=false"},
      {"halcyonmpegaudiodec", "audio/mpeg,mpegversion=1,layer=2,parsed=true", "audio/mpeg,mpegversion=4,parsed=true"},
      {"halcyonlumivaultsink", "video/x-raw,format=I420,width=161,height=121,framerate=25/1",
       "video/x-raw,format=RGB,width=161,height=121,framerate=25/1"}};
  for (const auto& [name, accepted, refused] : elements) {
    SCOPED_TRACE(name);
    const auto factory = Adopt(gst_element_factory_find(name));
    ASSERT_TRUE(factory);
    EXPECT_EQ(gst_plugin_feature_get_rank(GST_PLUGIN_FEATURE(factory.get())), GST_RANK_NONE);
    const CapsRef yes(gst_caps_from_string(accepted)), no(gst_caps_from_string(refused));
    EXPECT_TRUE(gst_element_factory_can_sink_all_caps(factory.get(), yes.get()));
    EXPECT_FALSE(gst_element_factory_can_sink_all_caps(factory.get(), no.get()));
  }
}

constexpr int kFps = 20;
constexpr char kDeviceVariable[] = "LUMIVOX_LUMIVAULT_DEVICE";

std::string Source(int frames, int width, int height) {
  return "videotestsrc pattern=smpte num-buffers=" + std::to_string(frames) +
         " ! video/x-raw,format=I420,width=" + std::to_string(width) + ",height=" + std::to_string(height) +
         ",framerate=" + std::to_string(kFps) + "/1";
}

class LumivaultTest : public testing::TestWithParam<std::string> {
 protected:
  TempDir dir_;
};

// Frames arrive whole, tightly packed and in real time, over what an earlier run left.
TEST_F(LumivaultTest, WritesEachFrameOncePackedInRealTime) {
  const struct { int width, height, count; } sizes[] = {{160, 120, 5}, {161, 121, 4}, {1, 1, 2}};
  for (const auto& [width, height, count] : sizes) {
    SCOPED_TRACE(testing::Message() << width << "x" << height);
    const std::string device = dir_.Write("device", "stale bytes from an earlier run");
    const ScopedEnv plugged(kDeviceVariable, device);
    Pipeline pipeline(Source(count, width, height) + " ! halcyonlumivaultsink name=sink");
    Recorder shown(pipeline["sink"], "sink");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    pipeline.Set(GST_STATE_NULL);

    const std::string written = TempDir::Read(device);
    EXPECT_EQ(written.size(), count * (width * height + 2 * ((width + 1) / 2) * ((height + 1) / 2)));
    std::string expected;
    for (const Recorded& frame : shown.Buffers()) expected += frame.data;
    EXPECT_TRUE(written == expected) << "the file differs from the frames shown";
    EXPECT_GE(elapsed.count(), 0.9 * (count - 1) / kFps);
  }
}

// Without a device the renderer stops short of READY at once (a fifo without a reader must
// not hang it), creating nothing; a reader that goes away is an error, not a SIGPIPE. Either
// way the error names the device.
TEST_P(LumivaultTest, ErrorNamesTheDevice) {
  const std::string kind = GetParam();
  std::string device = dir_ / kind;
  if (kind == "FifoWithoutReader" || kind == "LostReader") {
    ASSERT_EQ(mkfifo(device.c_str(), 0600), 0);
  }
  const int reader = kind == "LostReader" ? open(device.c_str(), O_RDONLY | O_NONBLOCK) : -1;
  if (kind == "Empty") device.clear();
  const ScopedEnv variable(kDeviceVariable, kind == "Unset" ? std::nullopt : std::optional(device));
  const bool existed = std::filesystem::exists(device);
  Pipeline pipeline(Source(10, 64, 48) + " ! halcyonlumivaultsink");

  const auto started = std::chrono::steady_clock::now();
  if (reader >= 0) {
    ASSERT_EQ(pipeline.Set(GST_STATE_READY), GST_STATE_CHANGE_SUCCESS) << pipeline.error;
    close(reader);
    EXPECT_EQ(pipeline.Play(), Outcome::kError);
  } else {
    EXPECT_EQ(pipeline.Set(GST_STATE_READY), GST_STATE_CHANGE_FAILURE);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(std::filesystem::exists(device), existed) << "nothing may be created";
    EXPECT_EQ(pipeline.Wait(0), Outcome::kError);
  }
  const std::string named = kind == "Unset" || kind == "Empty" ? "LumivaultHD" : device;
  EXPECT_NE(pipeline.error.find(named), std::string::npos) << pipeline.error;
}

INSTANTIATE_TEST_SUITE_P(Devices, LumivaultTest,
                         testing::Values("MissingFile", "FifoWithoutReader", "Empty", "Unset", "LostReader"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace lumivox::test
