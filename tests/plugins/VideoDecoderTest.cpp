// The MPEG video decoder on mpeg2enc's output: an MPEG-1 elementary stream timed by the
// parser alone, and MPEG-2 in transport and program streams carrying their own times. The
// first two have B pictures and open GOPs, so pictures leave libmpeg2 reordered.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "EncodedMedia.h"
#include "GstSupport.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

constexpr int kGopSize = 12;  // mpeg2enc's

struct VideoCase {
  const char* name;
  int frames;
  int width;
  int height;
  int fps_n;
  int fps_d;
  const char* encode;  // what follows the raw source, ending at LOCATION
  const char* demux;   // from the file to the parsed stream
};

class VideoDecoderTest : public testing::TestWithParam<VideoCase> {
 protected:
  void SetUp() override {
    file_ = dir_ / "video";
    ASSERT_TRUE(MakeFixture(Source() + " ! " + GetParam().encode, file_));
  }

  // Coloured, so that mixed-up chroma planes show.
  std::string Source() const {
    const VideoCase& c = GetParam();
    return "videotestsrc pattern=ball background-color=0xff2060c0 foreground-color=0xffe0b020 "
           "num-buffers=" +
           std::to_string(c.frames) +
           " ! video/x-raw,format=I420,width=" + std::to_string(c.width) +
           ",height=" + std::to_string(c.height) + ",framerate=" + std::to_string(c.fps_n) + "/" +
           std::to_string(c.fps_d);
  }

  std::string Decoding() const {
    return "filesrc location=\"" + file_ + "\" ! " + GetParam().demux +
           " ! halcyonmpegvideodec name=dec ! fakesink";
  }

  GstClockTimeDiff Frame() const {
    return gst_util_uint64_scale(GST_SECOND, GetParam().fps_d, GetParam().fps_n);
  }

  // Steady steps of one frame from `first` on: every picture came back to its place.
  void ExpectEvenSteps(const std::vector<Recorded>& frames, std::size_t first) const {
    for (std::size_t i = first + 1; i < frames.size(); ++i) {
      EXPECT_NEAR(frames[i].time - frames[i - 1].time, Frame(), GST_MSECOND) << "frame " << i;
    }
  }

  TempDir dir_;
  std::string file_;
};

double Psnr(const std::string& a, const std::string& b) {
  if (a.empty() || a.size() != b.size()) return 0;
  double squares = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    squares += d * d;
  }
  return squares == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * a.size() / squares);
}

// The earliest and latest times among the buffers.
std::pair<GstClockTimeDiff, GstClockTimeDiff> Span(const std::vector<Recorded>& buffers) {
  const auto [first, last] = std::minmax_element(
      buffers.begin(), buffers.end(), [](const auto& a, const auto& b) { return a.time < b.time; });
  return {first->time, last->time};
}

TEST_P(VideoDecoderTest, DecodesEveryPictureInDisplayOrder) {
  const VideoCase& c = GetParam();
  Pipeline reference(Source() + " ! fakesink name=sink");
  Recorder source(reference.Element("sink"), "sink");
  ASSERT_EQ(reference.Play(), Outcome::kEos);

  Pipeline pipeline(Decoding());
  ASSERT_TRUE(pipeline.get()) << pipeline.error();
  Recorder input(pipeline.Element("dec"), "sink");
  Recorder decoded(pipeline.Element("dec"), "src");
  ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error();

  EXPECT_EQ(decoded.CapsInt("width"), c.width);
  EXPECT_EQ(decoded.CapsInt("height"), c.height);
  EXPECT_EQ(decoded.CapsString("format"), "I420");
  const auto frames = decoded.Buffers();
  const auto originals = source.Buffers();
  ASSERT_EQ(frames.size(), originals.size());
  const auto [first, last] = Span(input.Buffers());
  EXPECT_NEAR(frames.front().time, first, GST_MSECOND);
  EXPECT_NEAR(frames.back().time, last, GST_MSECOND);
  ExpectEvenSteps(frames, 0);
  // Each picture looks like its own original more than like the ones beside it.
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const double own = Psnr(frames[i].data, originals[i].data);
    EXPECT_GT(own, 30) << "frame " << i;
    for (std::size_t other : {i - 1, i + 1}) {
      if (other < frames.size()) {
        EXPECT_GT(own, Psnr(frames[i].data, originals[other].data)) << "frame " << i;
      }
    }
  }
}

TEST_P(VideoDecoderTest, SeekResumesAtTheTarget) {
  Pipeline pipeline(Decoding());
  Recorder input(pipeline.Element("dec"), "sink");
  Recorder decoded(pipeline.Element("dec"), "src");
  ASSERT_TRUE(pipeline.Preroll()) << pipeline.error();
  const GstClockTimeDiff target = Frame() * (GetParam().frames / 2);
  // Once while paused at the start, once after the end has been played.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(pipeline.Seek(target));
    ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error();
    const auto frames = decoded.Buffers();
    ASSERT_GT(frames.size(), 2u);
    // The picture the target falls in comes first, cut to start at the target.
    EXPECT_EQ(frames[0].time, target);
    EXPECT_GT(frames[1].time, frames[0].time);
    EXPECT_LE(frames[1].time - frames[0].time, Frame());
    ExpectEvenSteps(frames, 1);
    EXPECT_NEAR(frames.back().time, Span(input.Buffers()).second, GST_MSECOND);
  }
}

// Flags the first picture of the second GOP as following a gap in the stream.
GstPadProbeReturn MarkGap(GstPad*, GstPadProbeInfo* info, gpointer counter) {
  if ((*static_cast<int*>(counter))++ == kGopSize) {
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
  }
  return GST_PAD_PROBE_OK;
}

TEST_P(VideoDecoderTest, GapStillShowsEverythingBeforeIt) {
  Pipeline pipeline(Decoding());
  Recorder decoded(pipeline.Element("dec"), "src");
  std::unique_ptr<GstPad, ObjectUnref> input(
      gst_element_get_static_pad(pipeline.Element("dec"), "sink"));
  int counter = 0;
  gst_pad_add_probe(input.get(), GST_PAD_PROBE_TYPE_BUFFER, MarkGap, &counter, nullptr);
  ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error();

  const auto frames = decoded.Buffers();
  ASSERT_GT(frames.size(), static_cast<std::size_t>(kGopSize));
  const GstClockTimeDiff gap = frames.front().time + kGopSize * Frame();
  EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                          [&](const Recorded& frame) { return frame.time < gap; }),
            kGopSize)
      << "the picture held back for B pictures must not be lost";
  for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_GT(frames[i].time, frames[i - 1].time);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, VideoDecoderTest,
    testing::Values(
        VideoCase{"Mpeg1Elementary", 30, 162, 122, 25, 1,
                  "mpeg2enc format=0 b-per-refframe=2 ! filesink location=LOCATION",
                  "mpegvideoparse"},
        VideoCase{"Mpeg2Transport", 60, 176, 120, 30000, 1001,
                  "mpeg2enc format=3 b-per-refframe=2 ! mpegvideoparse name=restamp ! mpegtsmux "
                  "! filesink location=LOCATION",
                  "tsdemux ! mpegvideoparse"},
        // GStreamer's program stream muxers mishandle B pictures, so this one has none.
        VideoCase{"Mpeg2Program", 40, 160, 96, 25, 1,
                  "mpeg2enc format=3 ! mpegvideoparse ! avmux_mpeg ! filesink location=LOCATION",
                  "mpegpsdemux ! mpegvideoparse"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumivox::test
