// Engine figures, each a ratio or spread measured within one run on files made at start:
//   Open  a 3-minute MP3, engine Open+Close against a bare decodebin pipeline
//   Cpu   playing a 30 s MP3 to its end, lumivox-tool against gst-launch's playbin
//   Seek  time from Seek to playing on from the new place, MP3 and MPEG-1 system stream
//
//   build/bench/engine_bench                              all of them
//   build/bench/engine_bench --benchmark_filter=Seek

#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "MediaBench.h"
#include "TempDir.h"
#include "engine/GraphPlayer.h"
#include "engine/GstPtr.h"
#include "engine/GstRuntime.h"

namespace lumivox {
namespace {

using bench::Mean;
using bench::Percentile;
using bench::Report;

using Clock = std::chrono::steady_clock;

constexpr std::int64_t kSecond = 10'000'000;  // 100-ns units
constexpr int kOpenRounds = 30;
constexpr int kCpuRounds = 2;
constexpr int kSeeks = 25;
constexpr auto kPollTimeout = std::chrono::seconds(3);
constexpr auto kPlayBetweenSeeks = std::chrono::milliseconds(200);

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// --- media made at start --------------------------------------------------------------

const test::TempDir& Scratch() {
  static const test::TempDir dir;
  return dir;
}

ElementRef Launch(const std::string& description) {
  GError* raw = nullptr;
  ElementRef pipeline = Sink(gst_parse_launch(description.c_str(), &raw));
  GErrorPtr error(raw);
  if (error) std::fprintf(stderr, "engine_bench: %s: %s\n", description.c_str(), error->message);
  return error ? nullptr : std::move(pipeline);
}

// Waits for `wanted` or an error on the pipeline's bus.
bool WaitForMessage(GstElement* pipeline, GstMessageType wanted, GstClockTime timeout) {
  const auto bus = Adopt(gst_element_get_bus(pipeline));
  MessageRef message{gst_bus_timed_pop_filtered(bus.get(), timeout, GstMessageType(wanted | GST_MESSAGE_ERROR))};
  return message && GST_MESSAGE_TYPE(message.get()) == wanted;
}

std::string Generate(const std::string& name, const std::string& description) {
  return bench::MakeMedia(Scratch() / name, description);
}

// Ten 100 ms buffers a second.
std::string Tone(int seconds) {
  return "audiotestsrc num-buffers=" + std::to_string(seconds * 10) +
         " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! ";
}

std::string CbrMp3(int seconds) { return Tone(seconds) + "lamemp3enc target=bitrate bitrate=128 cbr=true ! {file}"; }

const std::string& LongMp3() {
  static const std::string file = Generate("long.mp3", CbrMp3(180));
  return file;
}

const std::string& ShortMp3() {
  static const std::string file = Generate("short.mp3", CbrMp3(30));
  return file;
}

// Pictures only of their own: the program stream muxer mishandles B pictures.
const std::string& SystemStream() {
  static const std::string file =
      Generate("clip.mpg",
               "videotestsrc num-buffers=750 ! video/x-raw,format=I420,width=352,height=288,framerate=25/1 ! "
               "mpeg2enc format=0 min-gop-size=1 max-gop-size=1 ! mpegvideoparse ! avmux_mpeg name=mux ! {file} " +
                   Tone(30) + "twolamemp2enc ! mpegaudioparse ! mux.");
  return file;
}

// --- open ---------------------------------------------------------------------------

std::optional<double> TimeMs(const std::function<bool()>& step) {
  const auto start = Clock::now();
  if (!step()) return std::nullopt;
  return Ms(Clock::now() - start);
}

bool EngineOpen(CGraphPlayer& player, const std::string& file) {
  if (!player.Open(file)) return false;
  std::int64_t duration = -1;
  const bool known = player.GetTimes(&duration, nullptr) && duration > 0;
  player.Close();
  return known;
}

// What a plain GStreamer program does to open a file and ask its length, torn down again.
// The parser behind decodebin may not know the length yet at preroll: counted, not failed.
bool BareOpen(const std::string& file, int& durationsKnown) {
  ElementRef pipeline =
      Launch("filesrc location=\"" + file + "\" ! decodebin ! audioconvert ! audioresample ! fakesink sync=true");
  if (!pipeline) return false;
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  const bool prerolled = WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, 10 * GST_SECOND);
  gint64 duration = -1;
  if (prerolled && gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &duration) && duration > 0) {
    ++durationsKnown;
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return prerolled;
}

struct OpenTimes {
  std::vector<double> engine;
  std::vector<double> bare;
  int bareDurationsKnown = 0;
};

// Alternates which side goes first so neither always finds the caches warmer.
bool OpenRound(CGraphPlayer& player, const std::string& file, OpenTimes& times) {
  const auto engine = [&] { return EngineOpen(player, file); };
  const auto bare = [&] { return BareOpen(file, times.bareDurationsKnown); };
  const bool engineFirst = times.engine.size() % 2 == 0;
  const auto first = TimeMs(engineFirst ? std::function<bool()>(engine) : bare);
  const auto second = TimeMs(engineFirst ? std::function<bool()>(bare) : engine);
  if (!first || !second) return false;
  times.engine.push_back(engineFirst ? *first : *second);
  times.bare.push_back(engineFirst ? *second : *first);
  return true;
}

void BM_OpenRatio(benchmark::State& state) {
  const std::string& file = LongMp3();
  CGraphPlayer player([] { return GraphChoices{}; }, [] {});
  // Once per process: plugin loading and the audio device probe.
  const auto engineCold = TimeMs([&] { return EngineOpen(player, file); });
  int coldDurationsKnown = 0;
  const auto bareCold = TimeMs([&] { return BareOpen(file, coldDurationsKnown); });
  if (!engineCold || !bareCold) return state.SkipWithError("open failed or no duration");
  OpenTimes times;
  for (auto _ : state) {
    if (!OpenRound(player, file, times)) return state.SkipWithError("open failed or no duration");
    state.SetIterationTime((times.engine.back() + times.bare.back()) / 1000);
  }
  const double engineMedian = Percentile(times.engine, 0.5);
  const double bareMedian = Percentile(times.bare, 0.5);
  const double ratioMean = Mean(times.engine) / Mean(times.bare);
  const double ratioMedian = engineMedian / bareMedian;
  state.counters["engine_mean_ms"] = Mean(times.engine);
  state.counters["engine_median_ms"] = engineMedian;
  state.counters["bare_mean_ms"] = Mean(times.bare);
  state.counters["bare_median_ms"] = bareMedian;
  state.counters["ratio_mean"] = ratioMean;
  state.counters["ratio_median"] = ratioMedian;
  state.counters["engine_cold_ms"] = *engineCold;
  state.counters["bare_cold_ms"] = *bareCold;
  state.counters["bare_durations_known"] = times.bareDurationsKnown;
  Report(
      "Open 3-min MP3 (%zu rounds): engine mean %.1f ms median %.1f ms | bare decodebin mean %.1f ms median "
      "%.1f ms | ratio engine/bare mean %.2f median %.2f (target <= 1.3) | first open engine %.1f ms bare %.1f ms | "
      "bare knew the duration at preroll %d of %zu times, the engine every time",
      times.engine.size(), Mean(times.engine), engineMedian, Mean(times.bare), bareMedian, ratioMean, ratioMedian,
      *engineCold, *bareCold, times.bareDurationsKnown, times.bare.size());
}
BENCHMARK(BM_OpenRatio)->Iterations(kOpenRounds)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- CPU ----------------------------------------------------------------------------

std::vector<std::vector<std::string>> PlayCommands(const std::string& file) {
  const GCharPtr uri{gst_filename_to_uri(file.c_str(), nullptr)};
  return {
      {LUMIVOX_TOOL, "probe", "--play", file},
      {LUMIVOX_TOOL, "probe", "--no-mpeg-decoder", "--play", file},
      {"gst-launch-1.0", "-q", "playbin", std::string("uri=") + uri.get(), "audio-sink=fakesink sync=true",
       "video-sink=fakesink sync=true"},
  };
}

// The players run side by side: they sleep on the clock almost all the time, and
// each child's CPU time is its own.
bool PlayRound(const std::vector<std::vector<std::string>>& commands, std::vector<double>& cpu) {
  std::vector<pid_t> children;
  for (const auto& command : commands) children.push_back(bench::Spawn(command));
  bool ok = true;
  for (std::size_t i = 0; i < children.size(); ++i) {
    const auto seconds = bench::Reap(children[i]);
    ok = ok && seconds;
    cpu[i] += seconds.value_or(0);
  }
  return ok;
}

void BM_PlayCpuRatio(benchmark::State& state) {
  const auto commands = PlayCommands(ShortMp3());
  std::vector<double> cpu(commands.size(), 0.0);
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!PlayRound(commands, cpu)) return state.SkipWithError("a player failed");
    state.SetIterationTime(Ms(Clock::now() - start) / 1000);
  }
  const double rounds = static_cast<double>(state.iterations());
  const double engine = cpu[0] / rounds;
  const double system = cpu[1] / rounds;
  const double playbin = cpu[2] / rounds;
  state.counters["engine_cpu_s"] = engine;
  state.counters["engine_no_mpeg_decoder_cpu_s"] = system;
  state.counters["playbin_cpu_s"] = playbin;
  state.counters["ratio"] = engine / playbin;
  state.counters["ratio_no_mpeg_decoder"] = system / playbin;
  Report(
      "CPU to play 30 s MP3 (mean of %d runs): engine %.3f s | engine --no-mpeg-decoder %.3f s | gst-launch "
      "playbin %.3f s | ratio engine/playbin %.2f (target <= 1.1), with --no-mpeg-decoder %.2f",
      static_cast<int>(rounds), engine, system, playbin, engine / playbin, system / playbin);
}
BENCHMARK(BM_PlayCpuRatio)->Iterations(kCpuRounds)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- seek ---------------------------------------------------------------------------

std::int64_t Units(Clock::duration d) { return std::chrono::duration_cast<std::chrono::nanoseconds>(d).count() / 100; }

bool PollUntil(const std::function<bool()>& done) {
  const auto start = Clock::now();
  while (!done()) {
    if (Clock::now() - start > kPollTimeout) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::int64_t Position(CGraphPlayer& player) {
  std::int64_t position = -1;
  return player.GetState() == State_Running && player.GetTimes(nullptr, &position) ? position : -1;
}

// A backward seek leaves the old, larger position showing for a while: the position must
// also be one the graph could have reached from `target` since the seek.
bool PlaysFrom(CGraphPlayer& player, std::int64_t target, Clock::time_point seeked) {
  const std::int64_t position = Position(player);
  return position >= target && position <= target + Units(Clock::now() - seeked) + kSecond / 10;
}

// Milliseconds until the graph plays on from `target`; nothing when it never does.
std::optional<double> SeekLatencyMs(CGraphPlayer& player, std::int64_t target) {
  const auto start = Clock::now();
  if (!player.Seek(target) || !PollUntil([&] { return PlaysFrom(player, target, start); })) return std::nullopt;
  return Ms(Clock::now() - start);
}

bool StartPlaying(CGraphPlayer& player, const std::string& file) {
  return player.Open(file) && player.Run() && PollUntil([&] { return Position(player) > 0; });
}

void BM_SeekLatency(benchmark::State& state) {
  const bool system = state.range(0) != 0;
  const std::string& file = system ? SystemStream() : ShortMp3();
  CGraphPlayer player([] { return GraphChoices{}; }, [] {});
  std::int64_t duration = 0;
  if (!StartPlaying(player, file) || !player.GetTimes(&duration, nullptr)) {
    return state.SkipWithError("could not start playing");
  }
  // Clear of the end, so the graph is still running at the next seek.
  std::uniform_int_distribution<std::int64_t> pick(kSecond, duration - 3 * kSecond);
  std::mt19937 random(20240601);
  std::vector<double> latencies;
  int failed = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(kPlayBetweenSeeks);
    const auto latency = SeekLatencyMs(player, pick(random));
    failed += latency ? 0 : 1;
    // A seek that never played on counts at the timeout: a floor, not its real time.
    latencies.push_back(latency.value_or(Ms(kPollTimeout)));
    state.SetIterationTime(latencies.back() / 1000);
  }
  player.Close();
  const double p50 = Percentile(latencies, 0.5);
  const double p95 = Percentile(latencies, 0.95);
  const double max = Percentile(latencies, 1.0);
  state.counters["p50_ms"] = p50;
  state.counters["p95_ms"] = p95;
  state.counters["max_ms"] = max;
  state.counters["failed"] = failed;
  Report(
      "Seek on running %s (%zu seeks): p50 %.1f ms p95 %.1f ms max %.1f ms (target p95 <= 100) | %d never "
      "played on",
      system ? "MPEG-1 system stream 30 s" : "MP3 30 s", latencies.size(), p50, p95, max, failed);
}
BENCHMARK(BM_SeekLatency)
    ->ArgName("mpeg_system")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kSeeks)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumivox

int main(int argc, char** argv) {
  std::string error;
  if (!lumivox::InitGStreamer(&error)) {
    std::fprintf(stderr, "engine_bench: %s\n", error.c_str());
    return 1;
  }
  return lumivox::bench::RunAndSummarise(argc, argv);
}
