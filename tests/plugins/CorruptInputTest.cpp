// Bad input ends in EOS or an error, never a crash or a hang: garbage that looks like MPEG at
// every chunk start, real files with bytes flipped, and files cut short.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "EncodedMedia.h"
#include "GstSupport.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

struct Stream {
  const char* encode;  // a clean file, ending at LOCATION
  const char* parse;   // from that file to the decoder
  const char* caps;    // what garbage pushed straight at the decoder claims to be
  const char* decoder;
  std::string_view sync;  // how each garbage chunk starts
};

constexpr Stream kVideo{
    "videotestsrc num-buffers=30 ! video/x-raw,format=I420,width=128,height=96,framerate=25/1 ! "
    "mpeg2enc format=3 b-per-refframe=2 ! filesink location=LOCATION",
    "mpegvideoparse", "video/mpeg,mpegversion=2,systemstream=false,parsed=true",
    "halcyonmpegvideodec", std::string_view("\0\0\1", 3)};

constexpr Stream kAudio{
    "audiotestsrc num-buffers=40 ! audio/x-raw,rate=44100,channels=2 ! lamemp3enc ! "
    "filesink location=LOCATION",
    "mpegaudioparse", "audio/mpeg,mpegversion=1,layer=3,parsed=true,rate=44100,channels=2",
    "halcyonmpegaudiodec", std::string_view("\xff\xfb\x90\x64", 4)};

enum class Damage { kGarbage, kFlippedBytes, kCutShort };

struct CorruptCase {
  const char* name;
  const Stream* stream;
  Damage damage;
};

class CorruptInputTest : public testing::TestWithParam<CorruptCase> {
 protected:
  void SetUp() override {
    LoadHalcyonPlugin();
    if (GetParam().damage != Damage::kGarbage) {
      ASSERT_TRUE(MakeFixture(GetParam().stream->encode, dir_ / "clean"));
    }
  }

  // Seeded chunks, each opening like a frame or a start code, the rest noise.
  std::vector<std::string> Garbage() const {
    std::mt19937 random(7);
    std::vector<std::string> chunks(300);
    for (std::string& chunk : chunks) {
      chunk = GetParam().stream->sync;
      const auto size = std::uniform_int_distribution<std::size_t>(1, 2000)(random);
      for (std::size_t i = 0; i < size; ++i) chunk += static_cast<char>(random());
    }
    return chunks;
  }

  std::string Damaged() const {
    std::string bytes = TempDir::Read(dir_ / "clean");
    if (GetParam().damage == Damage::kCutShort) return bytes.substr(0, bytes.size() * 3 / 5);
    std::mt19937 random(11);
    for (std::size_t i = 64; i < bytes.size(); i += 1 + random() % 96) bytes[i] ^= random() | 1;
    return bytes;
  }

  TempDir dir_;
};

void Push(GstElement* appsrc, const std::vector<std::string>& chunks) {
  GstFlowReturn result;
  for (const std::string& chunk : chunks) {
    GstBuffer* buffer = gst_buffer_new_memdup(chunk.data(), chunk.size());
    g_signal_emit_by_name(appsrc, "push-buffer", buffer, &result);
    gst_buffer_unref(buffer);
  }
  g_signal_emit_by_name(appsrc, "end-of-stream", &result);
}

TEST_P(CorruptInputTest, EndsWithoutCrashOrHang) {
  const CorruptCase& c = GetParam();
  const bool garbage = c.damage == Damage::kGarbage;
  const std::string head =
      garbage
          ? std::string("appsrc name=src max-bytes=0 caps=\"") + c.stream->caps + "\""
          : "filesrc location=\"" + dir_.Write("damaged", Damaged()) + "\" ! " + c.stream->parse;
  Pipeline pipeline(head + " ! " + c.stream->decoder + " name=dec ! fakesink");
  ASSERT_TRUE(pipeline.get()) << pipeline.error();
  Recorder decoded(pipeline.Element("dec"), "src");
  if (garbage) Push(pipeline.Element("src"), Garbage());

  const Outcome outcome = pipeline.Play();
  EXPECT_NE(outcome, Outcome::kTimeout);
  if (c.damage == Damage::kCutShort) {
    EXPECT_EQ(outcome, Outcome::kEos) << pipeline.error();
    EXPECT_FALSE(decoded.Buffers().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Damage, CorruptInputTest,
    testing::Values(CorruptCase{"VideoGarbage", &kVideo, Damage::kGarbage},
                    CorruptCase{"VideoFlipped", &kVideo, Damage::kFlippedBytes},
                    CorruptCase{"VideoCutShort", &kVideo, Damage::kCutShort},
                    CorruptCase{"AudioGarbage", &kAudio, Damage::kGarbage},
                    CorruptCase{"AudioFlipped", &kAudio, Damage::kFlippedBytes},
                    CorruptCase{"AudioCutShort", &kAudio, Damage::kCutShort}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumivox::test
