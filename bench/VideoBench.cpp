// Window CPU: a minute of video played into a window, the engine against mpv's X11 output
// (`mpv --no-config --vo=x11 --ao=null`) on the same file and window size, taken in turns
// on one private Xvfb whose own CPU is counted beside each player's:
//   Mpeg1   352x240 MPEG-1 with MPEG audio, in a 704x480 window
//   Mpeg4   640x480 MPEG-4 AVI with MP3 audio, in an 800x600 window
//
// The media are made once into the build folder and kept. mpv is installed only for
// benchmarks: scripts/setup --bench.
//   build/bench/video_bench
//   build/bench/video_bench --benchmark_filter=Mpeg4

#include <benchmark/benchmark.h>
#include <gst/gst.h>
#include <signal.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "MediaBench.h"
#include "engine/GraphPlayer.h"
#include "engine/GstRuntime.h"
#include "engine/VideoWindow.h"

namespace lumivox {
namespace {

using bench::Percentile;
using bench::Report;

constexpr int kRounds = 5;
constexpr int kSeconds = 60;
constexpr qint64 kPlayLimitMs = (kSeconds + 30) * 1000;

// An X server of the benchmark's own. -displayfd takes the lowest free number, so mpv
// counts the display as local and draws through shared memory, as on a desktop.
class XServer {
 public:
  XServer() {
    int pipe[2] = {-1, -1};
    if (::pipe(pipe) != 0) return;
    pid_ = bench::Spawn({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"},
                        pipe[1]);
    ::close(pipe[1]);
    char number[16] = {};
    const ssize_t got = pid_ ? ::read(pipe[0], number, sizeof number - 1) : 0;
    ::close(pipe[0]);
    if (got > 0) display_ = ":" + std::to_string(std::atoi(number));
  }
  ~XServer() {
    if (pid_) ::kill(pid_, SIGTERM);
    bench::Reap(pid_);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  const std::string& Display() const { return display_; }  // empty when it did not start
  // The server's CPU seconds so far.
  double CpuSeconds() const {
    std::ifstream file("/proc/" + std::to_string(pid_) + "/stat");
    const std::string stat(std::istreambuf_iterator<char>(file), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));  // past the name, at the state
    std::string skipped;
    for (int i = 0; i < 11; ++i) fields >> skipped;
    long user = 0, system = 0;
    fields >> user >> system;
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
  }

 private:
  pid_t pid_ = 0;
  std::string display_;
};

XServer& Server() {
  static XServer server;
  return server;
}

struct Clip {
  std::string file;
  int width;  // of the window
  int height;
};

std::string Generate(const std::string& name, const std::string& description) {
  std::filesystem::create_directories(LUMIVOX_BENCH_MEDIA);
  return bench::MakeMedia((std::filesystem::path(LUMIVOX_BENCH_MEDIA) / name).string(), description);
}

std::string Tone() {
  return "audiotestsrc num-buffers=" + std::to_string(kSeconds * 10) +
         " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! ";
}

// A moving picture, so every frame is decoded and drawn anew.
std::string Picture(int width, int height, const char* rate, int frames) {
  return "videotestsrc pattern=ball num-buffers=" + std::to_string(frames) +
         " ! video/x-raw,format=I420,width=" + std::to_string(width) + ",height=" + std::to_string(height) +
         ",framerate=" + rate + " ! ";
}

const Clip& Mpeg1() {
  static const Clip clip{Generate("sif-60s.mpg", Picture(352, 240, "30000/1001", kSeconds * 30000 / 1001) +
                                                     "mpeg2enc format=0 b-per-refframe=0 ! mpegvideoparse ! "
                                                     "avmux_mpeg name=mux ! {file} " +
                                                     Tone() + "twolamemp2enc ! mpegaudioparse ! mux."),
                         704, 480};
  return clip;
}

const Clip& Mpeg4() {
  static const Clip clip{Generate("vga-60s.avi", Picture(640, 480, "25/1", kSeconds * 25) +
                                                     "avenc_mpeg4 bitrate=1500000 ! avimux name=mux ! {file} " +
                                                     Tone() + "lamemp3enc ! mux."),
                         800, 600};
  return clip;
}

class Host final : public QWidget, public IVideoHost {
 public:
  VideoSize ClientSize() const override { return {width(), height()}; }
  QWidget* HostWidget() override { return this; }
};

struct Run {
  double cpu = 0;     // the player's
  double server = 0;  // the X server's meanwhile
};

// The engine plays the clip to its end, its picture filling a shown window, as the player's
// video pane does; frames the sink dropped are added to `dropped`.
std::optional<Run> PlayInEngine(CGraphPlayer& player, const Clip& clip, std::uint64_t& dropped) {
  Host host;
  host.resize(clip.width, clip.height);
  host.show();
  const double server = Server().CpuSeconds();
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  if (!player.Open(clip.file)) return std::nullopt;
  player.SetVideoOwner(&host);
  player.SetVideoWindowPosition(0, 0);
  player.SetVideoWindowSize(clip.width, clip.height);
  player.SetVideoVisible(true);
  player.Run();
  QElapsedTimer timer;
  timer.start();
  bool ended = false;
  for (GraphEvent event; !ended && timer.elapsed() < kPlayLimitMs;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    while (player.GetEvent(event)) ended = ended || event.code == EC_COMPLETE;
    if (!ended) QThread::msleep(100);
  }
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  for (const auto& filter : player.EnumFilters()) {
    GstStructure* stats = nullptr;
    if (std::string(GST_OBJECT_NAME(filter.get())) != "Video Renderer") continue;
    g_object_get(filter.get(), "stats", &stats, nullptr);
    guint64 count = 0;
    if (stats && gst_structure_get_uint64(stats, "dropped", &count)) dropped += count;
    if (stats) gst_structure_free(stats);
  }
  player.Close();
  if (!ended) return std::nullopt;
  return Run{bench::CpuSeconds(after) - bench::CpuSeconds(before), Server().CpuSeconds() - server};
}

std::optional<Run> PlayInMpv(const Clip& clip) {
  const double server = Server().CpuSeconds();
  const auto cpu = bench::Reap(
      bench::Spawn({"mpv", "--no-config", "--vo=x11", "--ao=null", "--really-quiet",
                    "--geometry=" + std::to_string(clip.width) + "x" + std::to_string(clip.height), clip.file}));
  if (!cpu) return std::nullopt;
  return Run{*cpu, Server().CpuSeconds() - server};
}

void BM_WindowCpuRatio(benchmark::State& state, const Clip& (*clipOf)(), const char* what) {
  if (GCharPtr mpv{g_find_program_in_path("mpv")}; !mpv) {
    return state.SkipWithError("mpv is not installed: scripts/setup --bench installs it");
  }
  const Clip& clip = clipOf();
  CGraphPlayer player([] { return GraphChoices{}; }, [] {});
  std::vector<double> engine, engineServer, mpv, mpvServer;
  std::uint64_t dropped = 0;
  for (auto _ : state) {
    // Alternates which player goes first, so neither always finds the caches warmer.
    std::optional<Run> ours, theirs;
    if (engine.size() % 2 == 0) {
      ours = PlayInEngine(player, clip, dropped);
      theirs = PlayInMpv(clip);
    } else {
      theirs = PlayInMpv(clip);
      ours = PlayInEngine(player, clip, dropped);
    }
    if (!ours || !theirs) return state.SkipWithError("a player failed");
    engine.push_back(ours->cpu);
    engineServer.push_back(ours->server);
    mpv.push_back(theirs->cpu);
    mpvServer.push_back(theirs->server);
    state.SetIterationTime(ours->cpu + theirs->cpu);
  }
  const double ratio = Percentile(engine, 0.5) / Percentile(mpv, 0.5);
  const double withServer =
      (Percentile(engine, 0.5) + Percentile(engineServer, 0.5)) / (Percentile(mpv, 0.5) + Percentile(mpvServer, 0.5));
  state.counters["ratio"] = ratio;
  state.counters["ratio_with_server"] = withServer;
  Report(
      "Window CPU, %d s %s in %dx%d (median of %zu interleaved runs): engine %.2f s + X server %.2f s | mpv "
      "--vo=x11 %.2f s + X server %.2f s | ratio engine/mpv %.2f (target <= 1.0), with the server %.2f | engine "
      "dropped %llu frames in all",
      kSeconds, what, clip.width, clip.height, engine.size(), Percentile(engine, 0.5), Percentile(engineServer, 0.5),
      Percentile(mpv, 0.5), Percentile(mpvServer, 0.5), ratio, withServer, static_cast<unsigned long long>(dropped));
}
BENCHMARK_CAPTURE(BM_WindowCpuRatio, Mpeg1, &Mpeg1, "352x240 MPEG-1")
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_WindowCpuRatio, Mpeg4, &Mpeg4, "640x480 MPEG-4 AVI")
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace lumivox

int main(int argc, char** argv) {
  if (lumivox::Server().Display().empty()) {
    std::fprintf(stderr, "video_bench: Xvfb did not start\n");
    return 1;
  }
  setenv("DISPLAY", lumivox::Server().Display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  QApplication app(argc, argv);
  if (std::string error; !lumivox::InitGStreamer(&error)) {
    std::fprintf(stderr, "video_bench: %s\n", error.c_str());
    return 1;
  }
  return lumivox::bench::RunAndSummarise(argc, argv);
}
