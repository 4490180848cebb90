// The files people have today, slow files and broken ones, through the real engine.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <tuple>
#include <vector>

#include "CategoryLog.h"
#include "EngineFixture.h"
#include "TempDir.h"
#include "engine/SourceFilters.h"
#include "engine/VolumeControl.h"

namespace lumivox::test {
namespace {

using Clock = std::chrono::steady_clock;
using MediaCorpusTest = EngineFixture;

// The end of the last buffer GStreamer's own player decodes from `path`, of its audio when
// it has any: the length a reported duration has to meet. An AIFF file goes straight to
// its parser, which under auto-plugging can lose its first buffer and never end.
std::int64_t DecodedLength(const std::string& path, bool audio) {
  const bool aiff = path.ends_with(".aiff") || path.ends_with(".aifc");
  const std::string description = aiff ? "filesrc location=\"" + path + "\" ! aiffparse ! fakesink name=sink sync=false"
                                       : "playbin uri=\"file://" + path +
                                             "\" audio-sink=\"fakesink sync=false\" video-sink=\"fakesink sync=false\" "
                                             "text-sink=\"fakesink sync=false\"";
  ElementRef pipeline = Sink(gst_parse_launch(description.c_str(), nullptr));
  if (!pipeline) return -1;
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  GstRef<GstBus> bus{gst_element_get_bus(pipeline.get())};
  MessageRef end{
      gst_bus_timed_pop_filtered(bus.get(), 30 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))};
  std::int64_t length = -1;
  ElementRef sink;
  if (aiff) {
    sink.reset(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
  } else {
    g_object_get(pipeline.get(), audio ? "audio-sink" : "video-sink", &sink, nullptr);
  }
  GstSample* last = nullptr;
  if (end && GST_MESSAGE_TYPE(end.get()) == GST_MESSAGE_EOS && sink)
    g_object_get(sink.get(), "last-sample", &last, nullptr);
  if (last) {
    const GstBuffer* buffer = gst_sample_get_buffer(last);
    length = static_cast<std::int64_t>(GST_BUFFER_PTS(buffer) + GST_BUFFER_DURATION(buffer)) / 100;
    gst_sample_unref(last);
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return length;
}

// A typefinder that takes its time over WAV files carrying a "slow" chunk, as a sleeping
// disk or a slow share would: nothing moves in the graph until it is done.
void FindSlowly(GstTypeFind* find, gpointer) {
  const guint8* head = gst_type_find_peek(find, 0, 24);
  if (!head || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVEslow", 8) != 0) return;
  const guint32 delayMs = head[20] | head[21] << 8 | head[22] << 16 | static_cast<guint32>(head[23]) << 24;
  g_usleep(gulong{delayMs} * 1000);
  CapsRef wav = AdoptCaps(gst_caps_new_empty_simple("audio/x-wav"));
  gst_type_find_suggest(find, GST_TYPE_FIND_MAXIMUM, wav.get());
}

// tone.wav with a "slow" chunk in front of its format chunk, under a name no typefinder
// claims by its extension.
std::string SlowWav(const TempDir& dir, std::uint32_t delayMs) {
  static std::once_flag registered;
  std::call_once(registered, [] {
    gst_type_find_register(nullptr, "lumivox-slow", GST_RANK_PRIMARY + 1, &FindSlowly, nullptr, nullptr, nullptr,
                           nullptr);
  });
  std::string wav = TempDir::Read(MediaPath("tone.wav"));
  std::string chunk = "slow";
  for (const std::uint32_t value : {4u, delayMs}) {
    for (int i = 0; i < 4; ++i) chunk += static_cast<char>(value >> (8 * i) & 0xFF);
  }
  wav.insert(12, chunk);
  const std::uint32_t riffSize = static_cast<std::uint32_t>(wav.size() - 8);
  for (int i = 0; i < 4; ++i) wav[4 + i] = static_cast<char>(riffSize >> (8 * i) & 0xFF);
  return dir.Write("slow" + std::to_string(delayMs) + ".dat", wav);
}

// Counts the event loop's turns while it lives.
struct LoopTicks {
  LoopTicks() {
    QObject::connect(&timer, &QTimer::timeout, [this] { ++count; });
    timer.start(50);
  }
  QTimer timer;
  int count = 0;
};

// The classic families, with the MPEG decoders and without, each within a fifth of its
// second; what people keep today within 1 % of what GStreamer's own player decodes.
TEST_F(MediaCorpusTest, EveryKindOpensStoppedWithItsTrueLengthItsPictureAndOneRendererEach) {
  std::vector<std::tuple<const MediaFixture*, bool, bool>> runs;  // the file, decoders, measured
  for (const bool preferDecoders : {true, false}) {
    for (const auto& media : MediaTable()) runs.emplace_back(&media, preferDecoders, false);
  }
  for (const auto& media : CorpusTable()) runs.emplace_back(&media, true, true);
  for (const auto& [media, preferDecoders, measured] : runs) {
    SCOPED_TRACE(media->name + (preferDecoders ? " with the MPEG decoders" : " without"));
    choices.mpegSoftDecoder = preferDecoders;
    const std::string path = MediaPath(media->name);
    ASSERT_TRUE(player->Open(path)) << player->LastError();
    EXPECT_EQ(player->GetState(), State_Stopped);
    const bool audible = media->pipeline.find("audiotestsrc") != std::string::npos;
    std::int64_t expected = media->duration, tolerance = media->duration / 5;
    if (measured) {
      expected = DecodedLength(path, audible);
      EXPECT_NEAR(expected, media->duration, media->duration / 50) << "the fixture is not what it says";
      tolerance = expected / 100;
    }
    std::int64_t duration = 0;
    ASSERT_TRUE(player->GetTimes(&duration, nullptr));
    EXPECT_NEAR(duration, expected, tolerance);
    EXPECT_EQ(Position(), 0);
    EXPECT_FALSE(player->GetTimes(nullptr, nullptr)) << "nothing asked";
    std::int32_t width = 0, height = 0;
    EXPECT_EQ(player->HasBasicVideo() && player->GetVideoWidth(width) && player->GetVideoHeight(height),
              media->width != 0);
    EXPECT_EQ(std::pair(width, height), std::pair(media->width, media->height));
    const auto filters = Filters();
    ASSERT_FALSE(filters.empty());
    EXPECT_EQ(filters.front(), media->asf ? kAsfReaderName : path);
    int audio = 0, video = 0, discarded = 0;
    for (const std::string& name : filters) {
      audio += name.starts_with("Audio Renderer");
      video += name.starts_with("Video Renderer");
      discarded += name.starts_with("Null Renderer");
    }
    EXPECT_EQ(audio, audible ? 1 : 0);
    EXPECT_EQ(video, media->width != 0 ? 1 : 0);
    EXPECT_EQ(discarded, media->unplayedStreams);
    EXPECT_EQ(HasFilter(kAsfReaderName), media->asf);
    EXPECT_EQ(HasFilter(kMpegAudioDecoderName), preferDecoders && media->mpegAudio);
    EXPECT_EQ(HasFilter(kMpegVideoDecoderName), preferDecoders && media->mpegVideo);
  }
}

TEST_F(MediaCorpusTest, SubtitledDeepAndFarApartFilesPlayToTheirEnd) {
  for (const char* name : {"film.mkv", "float.aifc", "apart.wmv", "apart.avi"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(player->Open(MediaPath(name))) << player->LastError();
    std::int64_t duration = 0;
    ASSERT_TRUE(player->GetTimes(&duration, nullptr));
    ASSERT_TRUE(player->Seek(std::max<std::int64_t>(duration - 2 * kSecond, 0)));
    ASSERT_TRUE(player->Run());
    EXPECT_TRUE(WaitForCompletion(8000));
    EXPECT_EQ(player->LastError(), "");
  }
}

// The first rendered buffer is already at the user's volume, which later changes and the
// next graph take.
TEST_F(MediaCorpusTest, TheVolumeReachesTheFirstBufferAndIsKeptAcrossGraphs) {
  player->SetVolume(50);
  ASSERT_TRUE(player->Open(MediaPath("tone.wav")));
  GstElement* renderer = nullptr;
  for (const auto& filter : player->EnumFilters()) {
    if (std::string(GST_OBJECT_NAME(filter.get())) == "Audio Renderer") renderer = filter.get();
  }
  ASSERT_NE(renderer, nullptr);
  GstSample* raw = nullptr;
  g_object_get(renderer, "last-sample", &raw, nullptr);
  ASSERT_NE(raw, nullptr) << "nothing prerolled";
  std::unique_ptr<GstSample, decltype(&gst_sample_unref)> sample(raw, &gst_sample_unref);
  const GstStructure* format = gst_caps_get_structure(gst_sample_get_caps(sample.get()), 0);
  ASSERT_STREQ(gst_structure_get_string(format, "format"), "S16LE");
  GstMapInfo map{};
  ASSERT_TRUE(gst_buffer_map(gst_sample_get_buffer(sample.get()), &map, GST_MAP_READ));
  int peak = 0;
  for (gsize i = 0; i + 1 < map.size; i += 2) {
    peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(map.data[i] | map.data[i + 1] << 8))));
  }
  gst_buffer_unmap(gst_sample_get_buffer(sample.get()), &map);
  // The tone peaks at 0.8 of full scale.
  EXPECT_GT(peak, 0);
  EXPECT_LE(peak, static_cast<int>(0.8 * 32767 * GraphVolumeGain(50)) + 1);
  const auto gain = [this] {
    double value = -1;
    g_object_get(FilterMadeBy("volume"), "volume", &value, nullptr);
    return value;
  };
  EXPECT_NEAR(gain(), GraphVolumeGain(50), 1e-9);
  player->SetVolume(0);
  EXPECT_EQ(gain(), 0.0);
  ASSERT_TRUE(player->Open(MediaPath("tone.aiff")));
  EXPECT_EQ(player->GetVolume(), 0);
  EXPECT_EQ(gain(), 0.0);
}

TEST_F(MediaCorpusTest, ASlowFileOpensWhileTheWindowKeepsItsEventLoop) {
  TempDir dir;
  const std::string slow = SlowWav(dir, 6000);
  LoopTicks ticks;
  const auto start = Clock::now();
  ASSERT_TRUE(player->Open(slow)) << player->LastError();
  EXPECT_GE(Clock::now() - start, std::chrono::seconds(6)) << "the delay never happened";
  EXPECT_GT(ticks.count, 40) << "the event loop stood still";
  ASSERT_TRUE(player->Run());
  EXPECT_TRUE(WaitForCompletion(4000));
}

TEST_F(MediaCorpusTest, ASecondOpenOrAStopWhileOneBuildsCancelsIt) {
  TempDir dir;
  const std::string slow = SlowWav(dir, 1500);
  for (const bool stop : {false, true}) {
    SCOPED_TRACE(stop ? "stop" : "second open");
    bool secondOpened = false;
    QTimer::singleShot(300, [&] {
      if (stop) {
        player->Stop();
      } else {
        secondOpened = player->Open(MediaPath("tone.wav"));
      }
    });
    EXPECT_FALSE(player->Open(slow));
    EXPECT_EQ(player->IsOpen(), !stop);
    EXPECT_EQ(secondOpened, !stop);
    if (!stop) {
      EXPECT_EQ(Filters().front(), MediaPath("tone.wav"));
    }
  }
}

TEST_F(MediaCorpusTest, BrokenFilesFailInTimeSayingWhyOrPlayWhatTheyHold) {
  TempDir dir;
  std::mt19937 random(7);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::string wmv = TempDir::Read(MediaPath("clip.wmv"));
  const std::string fifo = dir / "stream.mp3";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.mpg");
  const std::string aiff = TempDir::Read(MediaPath("deep24.aiff"));
  std::string huge = aiff;
  huge.insert(12, std::string("JUNK\x7F\xFF\xFF\xF0", 8));
  std::string film = TempDir::Read(MediaPath("film.mkv"));
  for (const char* word : {"Hello", "World"}) {
    const auto at = film.find(word);
    ASSERT_NE(at, std::string::npos);
    std::memset(film.data() + at - 12, 0xFF, 16);
  }
  std::string frames;  // 100 MB of silent 128 kbit/s frames: hours of audio to walk
  for (std::string frame = std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0'); frames.size() < 100'000'000;) {
    frames += frame;
  }
  enum Outcome { Fails, OpensOrFails, PlaysToItsEnd };
  const std::pair<std::string, Outcome> cases[] = {
      {dir.Write("empty.mp3", ""), Fails},
      {dir.Write("noise.avi", noise), Fails},
      {dir.Write("noise.wma", noise), Fails},
      {dir.Write("cut.wmv", wmv.substr(0, 3000)), Fails},
      {dir.Write("text.wav", "not a wave"), Fails},
      {dir.Write("garbage.cda", noise.substr(0, 44)), Fails},
      {fifo, Fails},
      {dir / "folder.mpg", Fails},
      {dir.Write("cut.aiff", aiff.substr(0, aiff.size() / 2)), PlaysToItsEnd},
      {dir.Write("huge-chunk.aiff", huge), OpensOrFails},
      {dir.Write("bad-subtitles.mkv", film), OpensOrFails},
      {dir.Write("frames.mp3", frames), OpensOrFails},
  };
  CategoryLog log("lumivox.engine");
  for (const auto& [path, outcome] : cases) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(player->Open(MediaPath("tone.wav")));
    log.Clear();
    const auto start = Clock::now();
    const bool opened = player->Open(path);
    // Only a file that may open can take its time, walking what it holds.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(outcome == Fails ? 5 : 21));
    EXPECT_EQ(opened, player->LastError().empty());
    if (outcome == Fails) {
      EXPECT_FALSE(opened);
    }
    if (!opened) {
      EXPECT_FALSE(player->IsOpen());
      EXPECT_TRUE(player->EnumFilters().empty());
      EXPECT_TRUE(std::ranges::any_of(log.Lines(), [&](const std::string& line) {
        return line.find(path) != std::string::npos && line.find(player->LastError()) != std::string::npos;
      })) << "why it did not open is logged";
    }
    if (outcome != PlaysToItsEnd) continue;
    ASSERT_TRUE(opened) << player->LastError();
    ASSERT_TRUE(player->Run());
    EXPECT_TRUE(WaitForCompletion(5000)) << "half of four seconds never ended";
  }
}

}  // namespace
}  // namespace lumivox::test
