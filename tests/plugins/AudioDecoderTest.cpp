// The MPEG audio decoder on a 440 Hz tone through lame (MPEG-1 and MPEG-2 layer III, one
// with a Xing frame behind an ID3v2 tag) and twolame (layer II).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "EncodedMedia.h"
#include "GstSupport.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

constexpr double kTone = 440;

struct AudioCase {
  const char* name;
  int rate;
  int channels;
  const char* encode;  // what follows the raw source, ending at LOCATION
  const char* demux;   // from the file to the parsed stream
};

class AudioDecoderTest : public testing::TestWithParam<AudioCase> {
 protected:
  void SetUp() override {
    const AudioCase& c = GetParam();
    file_ = dir_ / "audio";
    ASSERT_TRUE(MakeFixture("audiotestsrc num-buffers=" + std::to_string(SourceSamples() / 1024) +
                                " samplesperbuffer=1024 volume=0.5 freq=440 ! audio/x-raw,rate=" +
                                std::to_string(c.rate) + ",channels=" + std::to_string(c.channels) +
                                " ! " + c.encode,
                            file_));
  }

  int SourceSamples() const { return GetParam().rate / 1024 * 1024; }  // just under a second

  std::string Decoding() const {
    return "filesrc location=\"" + file_ + "\" ! " + GetParam().demux +
           " ! halcyonmpegaudiodec name=dec ! fakesink";
  }

  TempDir dir_;
  std::string file_;
};

std::vector<std::int16_t> Samples(const std::vector<Recorded>& buffers) {
  std::string bytes;
  for (const Recorded& buffer : buffers) bytes += buffer.data;
  std::vector<std::int16_t> samples(bytes.size() / sizeof(std::int16_t));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(std::int16_t));
  return samples;
}

// The tone's pitch in one channel, from its rising swings through zero after the encoder's
// lead-in; the margin keeps the quiet noise of the padding at the end from counting.
double Pitch(const std::vector<std::int16_t>& samples, int channels, int channel, int rate) {
  constexpr int kMargin = 2000;
  std::vector<std::size_t> swings;
  bool below = false;
  for (std::size_t i = rate / 10; i < samples.size() / channels; ++i) {
    const int sample = samples[i * channels + channel];
    if (sample < -kMargin) below = true;
    if (sample > kMargin && below) {
      swings.push_back(i);
      below = false;
    }
  }
  if (swings.size() < 2) return 0;
  return (swings.size() - 1) * static_cast<double>(rate) / (swings.back() - swings.front());
}

GstClockTime TotalDuration(const std::vector<Recorded>& buffers) {
  GstClockTime total = 0;
  for (const Recorded& buffer : buffers) total += buffer.duration;
  return total;
}

void ExpectContiguous(const std::vector<Recorded>& buffers) {
  for (std::size_t i = 1; i < buffers.size(); ++i) {
    const GstClockTimeDiff expected = buffers[i - 1].time + buffers[i - 1].duration;
    EXPECT_NEAR(buffers[i].time, expected, 100 * GST_USECOND) << "buffer " << i;
  }
}

TEST_P(AudioDecoderTest, DecodesEveryFrameOfTheTone) {
  const AudioCase& c = GetParam();
  Pipeline pipeline(Decoding());
  ASSERT_TRUE(pipeline.get()) << pipeline.error();
  Recorder parsed(pipeline.Element("dec"), "sink");
  Recorder decoded(pipeline.Element("dec"), "src");
  ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error();

  EXPECT_EQ(decoded.CapsString("format"), "S16LE");
  EXPECT_EQ(decoded.CapsInt("rate"), c.rate);
  ASSERT_EQ(decoded.CapsInt("channels"), c.channels);
  const auto buffers = decoded.Buffers();
  ASSERT_FALSE(buffers.empty());
  EXPECT_EQ(buffers.front().time, 0u);
  ExpectContiguous(buffers);

  const auto samples = Samples(buffers);
  const auto frames = static_cast<std::int64_t>(samples.size() / c.channels);
  const auto parsed_frames = static_cast<std::int64_t>(
      gst_util_uint64_scale_round(TotalDuration(parsed.Buffers()), c.rate, GST_SECOND));
  EXPECT_NEAR(frames, parsed_frames, 1152) << "one MPEG frame at most may carry no samples";
  EXPECT_GE(frames, SourceSamples());
  EXPECT_EQ(gst_util_uint64_scale_round(TotalDuration(buffers), c.rate, GST_SECOND), frames);
  for (int channel = 0; channel < c.channels; ++channel) {
    EXPECT_NEAR(Pitch(samples, c.channels, channel, c.rate), kTone, kTone * 0.02) << channel;
  }
}

TEST_P(AudioDecoderTest, SeekResumesAtTheTarget) {
  Pipeline pipeline(Decoding());
  Recorder decoded(pipeline.Element("dec"), "src");
  ASSERT_TRUE(pipeline.Preroll()) << pipeline.error();
  const GstClockTime target = GST_SECOND / 2;
  // Once while paused at the start, once after the end has been played.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(pipeline.Seek(target));
    ASSERT_EQ(pipeline.Play(), Outcome::kEos) << pipeline.error();
    const auto buffers = decoded.Buffers();
    ASSERT_FALSE(buffers.empty());
    EXPECT_EQ(buffers.front().time, static_cast<GstClockTimeDiff>(target));
    ExpectContiguous(buffers);
    EXPECT_NEAR(Pitch(Samples(buffers), GetParam().channels, 0, GetParam().rate), kTone,
                kTone * 0.02);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, AudioDecoderTest,
    testing::Values(AudioCase{"Mp3Stereo", 44100, 2,
                              "lamemp3enc ! xingmux ! id3v2mux ! filesink location=LOCATION",
                              "id3demux ! mpegaudioparse"},
                    AudioCase{"Mp3MonoLowRate", 22050, 1, "lamemp3enc ! filesink location=LOCATION",
                              "mpegaudioparse"},
                    AudioCase{"Mp2Stereo", 48000, 2, "twolamemp2enc ! filesink location=LOCATION",
                              "mpegaudioparse"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumivox::test
