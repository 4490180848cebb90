// The LumivaultHD renderer against plain files and fifos standing in for the device: frames
// arrive whole, tightly packed and in real time, and without a device it stops short of
// READY.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "GstSupport.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

constexpr int kFps = 20;

std::string Source(int frames, int width, int height) {
  return "videotestsrc pattern=smpte num-buffers=" + std::to_string(frames) +
         " ! video/x-raw,format=I420,width=" + std::to_string(width) +
         ",height=" + std::to_string(height) + ",framerate=" + std::to_string(kFps) + "/1";
}

std::string DeviceOf(GstElement* sink) {
  gchar* device = nullptr;
  g_object_get(sink, "device", &device, nullptr);
  std::string text = device ? device : "(none)";
  g_free(device);
  return text;
}

class LumivaultTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { LoadHalcyonPlugin(); }
  void TearDown() override { unsetenv("LUMIVOX_LUMIVAULT_DEVICE"); }

  // Where the renderer is told to write; nothing unsets the variable.
  static void UseDevice(const std::optional<std::string>& device) {
    if (device) setenv("LUMIVOX_LUMIVAULT_DEVICE", device->c_str(), 1);
  }

  TempDir dir_;
};

template <typename Param>
class LumivaultParamTest : public LumivaultTest, public testing::WithParamInterface<Param> {};

struct FrameSize {
  int width;
  int height;
  int frames;
};

using LumivaultFramesTest = LumivaultParamTest<FrameSize>;

TEST_P(LumivaultFramesTest, WritesEachFrameOncePackedInRealTime) {
  const auto [width, height, count] = GetParam();
  const std::string device = dir_.Write("device", "stale bytes from an earlier run");
  UseDevice(device);
  Pipeline pipeline(Source(count, width, height) + " ! halcyonlumivaultsink name=sink");
  ASSERT_TRUE(pipeline.get()) << pipeline.error();
  Recorder shown(pipeline.Element("sink"), "sink");

  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  pipeline.SetState(GST_STATE_NULL);

  const std::string written = TempDir::Read(device);
  const std::size_t frame_bytes = width * height + 2 * ((width + 1) / 2) * ((height + 1) / 2);
  EXPECT_EQ(written.size(), count * frame_bytes);
  std::string expected;
  for (const Recorded& frame : shown.Buffers()) expected += frame.data;
  EXPECT_TRUE(written == expected) << "the file differs from the frames shown";
  EXPECT_GE(elapsed.count(), 0.9 * (count - 1) / kFps);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LumivaultFramesTest,
                         testing::Values(FrameSize{160, 120, 5}, FrameSize{161, 121, 4},
                                         FrameSize{33, 17, 3}, FrameSize{1, 1, 2}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST_F(LumivaultTest, NamesItsDeviceWhileOpen) {
  const std::string device = dir_.Write("device", "");
  UseDevice(device);
  Pipeline pipeline("halcyonlumivaultsink name=sink");
  GstElement* sink = pipeline.Element("sink");
  EXPECT_EQ(DeviceOf(sink), "(none)");
  ASSERT_EQ(pipeline.SetState(GST_STATE_READY), GST_STATE_CHANGE_SUCCESS);
  EXPECT_EQ(DeviceOf(sink), device);
  pipeline.SetState(GST_STATE_NULL);
  EXPECT_EQ(DeviceOf(sink), "(none)");
}

TEST_F(LumivaultTest, LostReaderEndsInAnError) {
  const std::string fifo = dir_ / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  UseDevice(fifo);
  Pipeline pipeline(Source(10, 64, 48) + " ! halcyonlumivaultsink");
  ASSERT_EQ(pipeline.SetState(GST_STATE_READY), GST_STATE_CHANGE_SUCCESS);
  close(reader);
  EXPECT_EQ(pipeline.Play(), Outcome::kError);
  EXPECT_NE(pipeline.error().find(fifo), std::string::npos) << pipeline.error();
}

using LumivaultUnreachableTest = LumivaultParamTest<std::string>;

// What the variable says when no device can be reached; nothing when it is unset, on a
// machine without a LumivaultHD node.
std::optional<std::string> UnreachableDevice(const std::string& kind, const TempDir& dir) {
  if (kind == "MissingFile") return dir / "missing";
  if (kind == "Directory") return dir.path().string();
  if (kind == "FifoWithoutReader") {
    const std::string fifo = dir / "fifo";
    mkfifo(fifo.c_str(), 0600);
    return fifo;
  }
  if (kind == "Empty") return "";
  return std::nullopt;
}

TEST_P(LumivaultUnreachableTest, CannotReachReady) {
  const std::optional<std::string> device = UnreachableDevice(GetParam(), dir_);
  UseDevice(device);
  const bool existed = device && std::filesystem::exists(*device);
  Pipeline pipeline("halcyonlumivaultsink name=sink");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(pipeline.SetState(GST_STATE_READY), GST_STATE_CHANGE_FAILURE);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_EQ(DeviceOf(pipeline.Element("sink")), "(none)");
  EXPECT_EQ(device && std::filesystem::exists(*device), existed) << "nothing may be created";

  std::unique_ptr<GstBus, ObjectUnref> bus(gst_element_get_bus(pipeline.get()));
  GstMessage* message = gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR);
  ASSERT_TRUE(message);
  GError* error = nullptr;
  gst_message_parse_error(message, &error, nullptr);
  const std::string named = device && !device->empty() ? *device : "LumivaultHD";
  EXPECT_NE(std::string(error->message).find(named), std::string::npos) << error->message;
  g_error_free(error);
  gst_message_unref(message);
}

INSTANTIATE_TEST_SUITE_P(Devices, LumivaultUnreachableTest,
                         testing::Values("MissingFile", "Directory", "FifoWithoutReader", "Empty",
                                         "Unset"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace lumivox::test
