// Time to read the length of MPEG files at open, each figure with the page cache warm and
// with the file dropped from it first:
//   Mp3        a 5-minute VBR MP3 without a Xing frame, every frame header walked
//   Program    a 2-hour MPEG-2 program stream, a window read at each end
//   Junk       100 MB of one MP3 frame header over and over, after three real frames
//   Open       the engine opening the 2-hour stream (length included) against a bare
//              decodebin preroll of it, taken in turns
//
// The media are made once into the build folder and kept (the 2-hour stream takes about a
// minute and a quarter to encode; tiny pictures keep it to 200 MB).
//   build/bench/length_bench
//   build/bench/length_bench --benchmark_filter=Program

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <gst/gst.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "MediaBench.h"
#include "engine/GraphPlayer.h"
#include "engine/GstPtr.h"
#include "engine/length/MediaLength.h"

namespace lumivox {
namespace {

using bench::Percentile;
using bench::Report;

using Clock = std::chrono::steady_clock;
using Scanner = std::optional<std::int64_t> (*)(const std::string&);

constexpr int kWarmRounds = 50;
constexpr int kColdRounds = 10;

// --- media made once ------------------------------------------------------------------

std::filesystem::path MediaFolder() {
  std::filesystem::create_directories(LUMIVOX_BENCH_MEDIA);
  return LUMIVOX_BENCH_MEDIA;
}

std::string Generate(const std::string& name, const std::string& description) {
  return bench::MakeMedia((MediaFolder() / name).string(), description);
}

const std::string& FiveMinuteMp3() {
  // Pink noise for a bitrate near music's, 3000 buffers of 100 ms.
  static const std::string file = Generate(
      "vbr-5min.mp3",
      "audiotestsrc wave=pink-noise num-buffers=3000 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! "
      "audioconvert ! lamemp3enc target=quality quality=2 ! {file}");
  return file;
}

const std::string& TwoHourProgramStream() {
  static const std::string file = Generate(
      "2h.mpg",
      "videotestsrc num-buffers=180000 ! video/x-raw,format=I420,width=32,height=32,framerate=25/1 ! "
      "mpeg2enc format=3 b-per-refframe=2 ! mpegvideoparse ! mpegpsmux name=mux ! {file} "
      "audiotestsrc num-buffers=72000 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! twolamemp2enc ! "
      "mpegaudioparse ! mux.");
  return file;
}

// Three frames of 417 bytes, then their header every four bytes: each one is a candidate
// frame whose successor is never where it says.
const std::string& RepeatedHeaders() {
  static const std::string file = [] {
    const std::string path = (MediaFolder() / "junk-100mb.mp3").string();
    if (std::filesystem::exists(path)) return path;
    const std::string header("\xFF\xFB\x90\x64", 4);
    std::string frame = header + std::string(413, '\0');
    std::string block;
    for (int i = 0; i < 65536; ++i) block += header;
    std::ofstream out(path + ".partial", std::ios::binary);
    out << frame << frame << frame;
    for (int i = 0; i < 100; ++i) out << block << block << block << block;
    out.close();
    std::filesystem::rename(path + ".partial", path);
    return path;
  }();
  return file;
}

// --- timing ---------------------------------------------------------------------------

// The file's pages leave the page cache, as after a reboot or a long while.
bool DropFromCache(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool dropped = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
  ::close(fd);
  return dropped;
}

void TimeScans(benchmark::State& state, const char* what, const std::string& file, Scanner scan, double target) {
  const bool cold = state.range(0) != 0;
  std::vector<double> times;
  std::optional<std::int64_t> length;
  for (auto _ : state) {
    if (cold && !DropFromCache(file)) return state.SkipWithError("could not drop the file from the page cache");
    const auto start = Clock::now();
    length = scan(file);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    times.push_back(ms);
    state.SetIterationTime(ms / 1000);
  }
  if (!length) return state.SkipWithError("no length");
  const double seconds = static_cast<double>(*length) / 1e9;
  state.counters["median_ms"] = Percentile(times, 0.5);
  state.counters["max_ms"] = Percentile(times, 1.0);
  state.counters["length_s"] = seconds;
  Report("%s, %s cache (%zu scans, %.0f MB): median %.2f ms max %.2f ms (target < %.0f ms) | length %.3f s", what,
         cold ? "cold" : "warm", times.size(), static_cast<double>(std::filesystem::file_size(file)) / 1e6,
         Percentile(times, 0.5), Percentile(times, 1.0), target, seconds);
}

void BM_Mp3(benchmark::State& state) {
  TimeScans(state, "5-min VBR MP3 without Xing", FiveMinuteMp3(), &MpegAudioLength, 50);
}
BENCHMARK(BM_Mp3)->ArgName("cold")->Arg(0)->Iterations(kWarmRounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mp3)->ArgName("cold")->Arg(1)->Iterations(kColdRounds)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Program(benchmark::State& state) {
  TimeScans(state, "2-hour program stream", TwoHourProgramStream(), &MpegProgramStreamLength, 5);
}
BENCHMARK(BM_Program)->ArgName("cold")->Arg(0)->Iterations(kWarmRounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Program)->ArgName("cold")->Arg(1)->Iterations(kColdRounds)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Junk(benchmark::State& state) {
  TimeScans(state, "100 MB of repeated MP3 headers", RepeatedHeaders(), &MpegAudioLength, 1000);
}
BENCHMARK(BM_Junk)->ArgName("cold")->Arg(0)->Iterations(kColdRounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Junk)->ArgName("cold")->Arg(1)->Iterations(kColdRounds)->UseManualTime()->Unit(benchmark::kMillisecond);

// What a plain GStreamer program does to open the file: preroll, ask the length, let go.
bool BareOpen(const std::string& file) {
  const std::string description =
      "filesrc location=\"" + file +
      "\" ! decodebin name=d d. ! queue ! fakesink sync=true d. ! queue ! fakesink sync=true";
  ElementRef pipeline = Sink(gst_parse_launch(description.c_str(), nullptr));
  if (!pipeline) return false;
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  const bool prerolled =
      gst_element_get_state(pipeline.get(), nullptr, nullptr, 10 * GST_SECOND) == GST_STATE_CHANGE_SUCCESS;
  gint64 duration = -1;
  gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &duration);
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return prerolled;
}

void BM_OpenProgram(benchmark::State& state) {
  const std::string& file = TwoHourProgramStream();

  // The same decoders as the bare pipeline.
  CGraphPlayer player([] { return GraphChoices{false, false}; }, [] {});
  std::vector<double> engine, bare;
  std::int64_t length = -1;
  const auto time = [](const std::function<bool()>& step) {
    const auto start = Clock::now();
    return step() ? std::chrono::duration<double, std::milli>(Clock::now() - start).count() : -1.0;
  };
  const auto engineOpen = [&] {
    const bool opened = player.Open(file) && player.GetTimes(&length, nullptr);
    player.Close();
    return opened;
  };
  engineOpen();  // plugin loading and the output probe, once per process
  for (auto _ : state) {
    const bool engineFirst = engine.size() % 2 == 0;
    const double first = time(engineFirst ? std::function<bool()>(engineOpen) : [&] { return BareOpen(file); });
    const double second = time(engineFirst ? std::function<bool()>([&] { return BareOpen(file); }) : engineOpen);
    if (first < 0 || second < 0) return state.SkipWithError("open failed");
    engine.push_back(engineFirst ? first : second);
    bare.push_back(engineFirst ? second : first);
    state.SetIterationTime((first + second) / 1000);
  }
  const double beyond = Percentile(engine, 0.5) - Percentile(bare, 0.5);
  state.counters["engine_median_ms"] = Percentile(engine, 0.5);
  state.counters["bare_median_ms"] = Percentile(bare, 0.5);
  state.counters["beyond_bare_ms"] = beyond;
  Report(
      "Open 2-hour program stream (%zu rounds): engine median %.1f ms | bare decodebin preroll median %.1f ms | "
      "beyond bare %.1f ms (target < 100 ms) | length %.3f s",
      engine.size(), Percentile(engine, 0.5), Percentile(bare, 0.5), beyond, static_cast<double>(length) / 1e7);
}
BENCHMARK(BM_OpenProgram)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumivox

int main(int argc, char** argv) {
  gst_init(nullptr, nullptr);
  return lumivox::bench::RunAndSummarise(argc, argv);
}
