// The MPEG decoders on files encoded on the spot. Video: MPEG-1 elementary timed by the parser
// alone, MPEG-2 in transport and program streams carrying their own times; the first two
// have B pictures and open GOPs, so pictures leave libmpeg2 reordered. Audio: a tone through
// lame (MPEG-1 and MPEG-2 layer III, one with a Xing frame behind an ID3v2 tag) and twolame.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "GstSupport.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

// mpeg2enc stamps its pictures in decode order, so a container muxed from it would carry
// wrong presentation times for B pictures. Each picture's temporal reference, counted from
// its GOP, gives the right ones. `counts`: pictures so far, and those before this GOP.
GstPadProbeReturn StampDisplayOrder(GstPad*, GstPadProbeInfo* info, gpointer counts) {
  auto& [decoded, gop_start] = *static_cast<std::pair<std::uint64_t, std::uint64_t>*>(counts);
  GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
  GST_PAD_PROBE_INFO_DATA(info) = buffer;
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return GST_PAD_PROBE_OK;
  const std::string_view bytes(reinterpret_cast<const char*>(map.data), map.size);
  if (bytes.find(std::string_view("\0\0\1\xb8", 4)) != bytes.npos) gop_start = decoded;
  const auto picture = bytes.find(std::string_view("\0\0\1\0", 4));
  if (picture != bytes.npos && picture + 5 < bytes.size()) {
    const unsigned temporal_reference = (map.data[picture + 4] << 2) | (map.data[picture + 5] >> 6);
    const GstClockTime frame = GST_BUFFER_DURATION(buffer);
    // One frame of delay keeps every decode time at or before its presentation time.
    GST_BUFFER_PTS(buffer) = (gop_start + temporal_reference + 1) * frame;
    GST_BUFFER_DTS(buffer) = decoded++ * frame;
  }
  gst_buffer_unmap(buffer, &map);
  return GST_PAD_PROBE_OK;
}

struct Stream {
  const char* name;
  const char* raw;     // the test media's caps, which the decoder must give back
  const char* encode;  // from the raw media to the file at LOCATION
  const char* demux;   // from the file to the decoder
};

class DecoderTest : public testing::TestWithParam<Stream> {
 protected:
  void SetUp() override {
    LoadHalcyonPlugin();
    const CapsRef caps(gst_caps_from_string(c.raw));
    const GstStructure* s = gst_caps_get_structure(caps.get(), 0);
    video_ = gst_structure_has_name(s, "video/x-raw");
    if (int n, d; gst_structure_get_fraction(s, "framerate", &n, &d)) {
      frame_ = gst_util_uint64_scale(GST_SECOND, d, n);
    }
    gst_structure_get_int(s, "rate", &rate_);
    gst_structure_get_int(s, "channels", &channels_);
    // Coloured, so that mixed-up chroma planes show. The raw media is kept on its way.
    std::string encoding = (video_ ? "videotestsrc pattern=ball background-color=0xff2060c0 "
                                     "foreground-color=0xffe0b020 num-buffers=36 ! "
                                   : "audiotestsrc volume=0.5 freq=440 samplesperbuffer=1024 num-buffers=48 ! ") +
                           std::string(c.raw) + " ! identity name=raw ! " + c.encode;
    encoding.replace(encoding.find("LOCATION"), 8, "\"" + file_ + "\"");
    std::pair<std::uint64_t, std::uint64_t> counts;  // outlives the pipeline that uses it
    Pipeline pipeline(encoding);
    Recorder raw(pipeline["raw"], "src");
    // An mpegvideoparse named "restamp" gets its pictures stamped in display order.
    if (GstElement* parser = pipeline["restamp"]) {
      const auto pad = Adopt(gst_element_get_static_pad(parser, "src"));
      gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_BUFFER, StampDisplayOrder, &counts, nullptr);
    }
    ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error;
    originals_ = raw.Buffers();
  }

  std::string Decoding(const std::string& file, const std::string& parse) const {
    return "filesrc blocksize=1024 location=\"" + file + "\" ! " + parse +
           (video_ ? " ! halcyonmpegvideodec" : " ! halcyonmpegaudiodec") + " name=dec ! fakesink";
  }
  std::string Decoding() const { return Decoding(file_, c.demux); }

  // In audio the last frame may carry no samples.
  GstClockTimeDiff EndSlack() const { return video_ ? GST_MSECOND : 1152 * GST_SECOND / rate_; }

  // Each buffer starts where the one before ended, and lasts a picture or its samples.
  void ExpectContiguous(const std::vector<Recorded>& buffers) const {
    constexpr GstClockTimeDiff kSlack = 100 * GST_USECOND;  // container times are rounded
    for (std::size_t i = 1; i < buffers.size(); ++i) {
      const auto& [time, duration, data] = buffers[i];
      EXPECT_NEAR(time, buffers[i - 1].time + buffers[i - 1].duration, kSlack) << "buffer " << i;
      const GstClockTime length =
          video_ ? frame_ : gst_util_uint64_scale(data.size() / 2 / channels_, GST_SECOND, rate_);
      EXPECT_NEAR(duration, length, kSlack) << "buffer " << i;
    }
  }

  // The tone's pitch in each channel, from its rising swings through zero after the encoder's
  // lead-in; the margin keeps the quiet noise of the padding at the end from counting.
  void ExpectTone(const std::vector<Recorded>& buffers) const {
    std::string pcm;
    for (const Recorded& buffer : buffers) pcm += buffer.data;
    for (int channel = 0; channel < channels_; ++channel) {
      std::size_t first = 0, last = 0, swings = 0;
      bool below = false;
      for (std::size_t i = rate_ / 10; i < pcm.size() / 2 / channels_; ++i) {
        std::int16_t sample;
        std::memcpy(&sample, pcm.data() + 2 * (i * channels_ + channel), 2);
        below = below || sample < -2000;
        if (sample > 2000 && below) {
          first = swings++ ? first : i;
          last = i;
          below = false;
        }
      }
      EXPECT_NEAR((swings - 1) * static_cast<double>(rate_) / (last - first), 440, 9) << channel;
    }
  }

  const Stream& c = GetParam();
  TempDir dir_;
  const std::string file_ = dir_ / "media";
  bool video_ = false;
  GstClockTime frame_ = 0;
  int rate_ = 0, channels_ = 0;
  std::vector<Recorded> originals_;
};

// The earliest start and the latest end among the buffers.
std::pair<GstClockTimeDiff, GstClockTimeDiff> Span(const std::vector<Recorded>& buffers) {
  std::pair<GstClockTimeDiff, GstClockTimeDiff> span{G_MAXINT64, G_MININT64};
  for (const Recorded& b : buffers) {
    span = {std::min(span.first, b.time), std::max<GstClockTimeDiff>(span.second, b.time + b.duration)};
  }
  return span;
}

double Psnr(const std::string& a, const std::string& b) {
  if (a.empty() || a.size() != b.size()) return 0;
  double squares = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    squares += d * d;
  }
  return squares == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * a.size() / squares);
}

TEST_P(DecoderTest, DecodesEverythingInOrder) {
  Pipeline pipeline(Decoding());
  Recorder input(pipeline["dec"], "sink"), decoded(pipeline["dec"], "src");
  ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error;

  EXPECT_TRUE(decoded.CapsFit(c.raw));
  const auto buffers = decoded.Buffers();
  ASSERT_FALSE(buffers.empty());
  const auto [start, end] = Span(input.Buffers());
  EXPECT_NEAR(buffers.front().time, start, GST_MSECOND);
  EXPECT_NEAR(Span(buffers).second, end, EndSlack());
  ExpectContiguous(buffers);
  if (!video_) return ExpectTone(buffers);
  // Each picture looks like its own original more than like the ones beside it.
  ASSERT_EQ(buffers.size(), originals_.size());
  for (std::size_t i = 0; i < buffers.size(); ++i) {
    const double own = Psnr(buffers[i].data, originals_[i].data);
    EXPECT_GT(own, 30) << "picture " << i;
    for (std::size_t other : {i - 1, i + 1}) {
      if (other < buffers.size()) {
        EXPECT_GT(own, Psnr(buffers[i].data, originals_[other].data)) << "picture " << i;
      }
    }
  }
}

// A flushing seek, once while paused at the start and once after the end has been played,
// resumes exactly at the target and carries on to the end.
TEST_P(DecoderTest, SeekResumesAtTheTarget) {
  constexpr GstClockTime kTarget = GST_SECOND / 2;  // inside a picture, which gets cut
  Pipeline pipeline(Decoding());
  Recorder input(pipeline["dec"], "sink"), decoded(pipeline["dec"], "src");
  ASSERT_TRUE(pipeline.Preroll()) << pipeline.error;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(pipeline.Seek(kTarget));
    ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error;
    const auto buffers = decoded.Buffers();
    ASSERT_GT(buffers.size(), 2u);
    EXPECT_EQ(buffers[0].time, static_cast<GstClockTimeDiff>(kTarget));
    ExpectContiguous(buffers);
    EXPECT_NEAR(Span(buffers).second, Span(input.Buffers()).second, EndSlack());
    if (!video_) ExpectTone(buffers);
  }
}

// Bad input ends in EOS or an error, never a crash or a hang: garbage opening like MPEG at
// every block pushed straight at the decoder, and the file with bytes flipped or cut short.
TEST_P(DecoderTest, BadInputEndsWithoutCrashOrHang) {
  const std::string clean = TempDir::Read(file_);
  std::mt19937 random(11);
  for (const std::string damage : {"Garbage", "FlippedBytes", "CutShort"}) {
    SCOPED_TRACE(damage);
    std::string bytes = clean, parse = c.demux;
    if (damage == "Garbage") {
      parse = video_ ? "video/mpeg,mpegversion=2,systemstream=false,parsed=true"
                     : "audio/mpeg,mpegversion=1,layer=3,parsed=true,rate=44100,channels=2";
      bytes.clear();
      for (int block = 0; block < 300; ++block) {
        bytes += video_ ? std::string("\0\0\1", 3) : std::string("\xff\xfb\x90\x64");
        while (bytes.size() % 1024) bytes += static_cast<char>(random());
      }
    } else if (damage == "CutShort") {
      bytes.resize(bytes.size() * 3 / 5);
    } else {
      for (std::size_t i = 64; i < bytes.size(); i += 1 + random() % 96) bytes[i] ^= random() | 1;
    }
    Pipeline pipeline(Decoding(dir_.Write("damaged", bytes), parse));
    Recorder decoded(pipeline["dec"], "src");
    const Outcome outcome = pipeline.Play();
    EXPECT_NE(outcome, Outcome::kTimeout);
    if (damage == "CutShort") {
      EXPECT_EQ(outcome, Outcome::kEos) << pipeline.error;
      EXPECT_FALSE(decoded.Buffers().empty());
    }
  }
}

const Stream kVideo[] = {
    {"Mpeg1Elementary", "video/x-raw,format=I420,width=162,height=122,framerate=25/1",
     "mpeg2enc format=0 b-per-refframe=2 ! filesink location=LOCATION", "mpegvideoparse"},
    {"Mpeg2Transport", "video/x-raw,format=I420,width=176,height=120,framerate=30000/1001",
     "mpeg2enc format=3 b-per-refframe=2 ! mpegvideoparse name=restamp ! mpegtsmux ! "
     "filesink location=LOCATION",
     "tsdemux ! mpegvideoparse"},
    // GStreamer's program stream muxers mishandle B pictures, so this one has none.
    {"Mpeg2Program", "video/x-raw,format=I420,width=160,height=96,framerate=25/1",
     "mpeg2enc format=3 ! mpegvideoparse ! avmux_mpeg ! filesink location=LOCATION", "mpegpsdemux ! mpegvideoparse"}};
const Stream kAudio[] = {{"Mp3Stereo", "audio/x-raw,format=S16LE,rate=44100,channels=2",
                          "lamemp3enc ! xingmux ! id3v2mux ! filesink location=LOCATION", "id3demux ! mpegaudioparse"},
                         {"Mp3MonoLowRate", "audio/x-raw,format=S16LE,rate=22050,channels=1",
                          "lamemp3enc ! filesink location=LOCATION", "mpegaudioparse"},
                         {"Mp2Stereo", "audio/x-raw,format=S16LE,rate=48000,channels=2",
                          "twolamemp2enc ! filesink location=LOCATION", "mpegaudioparse"}};
const auto kName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Video, DecoderTest, testing::ValuesIn(kVideo), kName);
INSTANTIATE_TEST_SUITE_P(Audio, DecoderTest, testing::ValuesIn(kAudio), kName);

class VideoDecoderTest : public DecoderTest {};

TEST_P(VideoDecoderTest, GapStillShowsEverythingBeforeIt) {
  constexpr int kGopSize = 12;  // mpeg2enc's
  Pipeline pipeline(Decoding());
  Recorder decoded(pipeline["dec"], "src");
  // Flags the first picture of the second GOP as following a gap in the stream.
  int counter = 0;
  const auto mark = [](GstPad*, GstPadProbeInfo* info, gpointer counter) {
    if ((*static_cast<int*>(counter))++ == kGopSize) {
      GST_PAD_PROBE_INFO_DATA(info) = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
      GST_BUFFER_FLAG_SET(GST_PAD_PROBE_INFO_BUFFER(info), GST_BUFFER_FLAG_DISCONT);
    }
    return GST_PAD_PROBE_OK;
  };
  const auto pad = Adopt(gst_element_get_static_pad(pipeline["dec"], "sink"));
  gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_BUFFER, mark, &counter, nullptr);
  ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error;

  const auto frames = decoded.Buffers();
  ASSERT_GT(frames.size(), static_cast<std::size_t>(kGopSize));
  const GstClockTimeDiff gap = frames.front().time + kGopSize * frame_;
  EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [&](auto& f) { return f.time < gap; }), kGopSize)
      << "the picture held back for B pictures must not be lost";
  for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_GT(frames[i].time, frames[i - 1].time);
}

INSTANTIATE_TEST_SUITE_P(Video, VideoDecoderTest, testing::ValuesIn(kVideo), kName);

}  // namespace
}  // namespace lumivox::test
