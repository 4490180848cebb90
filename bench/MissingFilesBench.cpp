// The search for the next playable entry at the end of a file, in the real main window with
// its playlist shown and the real engine: one 1-second WAV, then 200,000 entries whose
// files are gone. The figure is how long the window is blocked: the search, the events it
// queued and a paint; it should stay under a second. It needs an X display:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/missing_files_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "MediaBench.h"
#include "TempDir.h"
#include "engine/GraphPlayer.h"
#include "engine/GstRuntime.h"
#include "playlist/PlayerDoc.h"
#include "settings/PlayerSettings.h"
#include "settings/QSettingsStore.h"
#include "ui/MainFrame.h"

namespace lumivox {
namespace {

using bench::Percentile;
using bench::Report;
using Clock = std::chrono::steady_clock;

constexpr int kMissing = 200'000;
constexpr int kRounds = 3;
constexpr double kTargetMs = 1000;

const test::TempDir& Scratch() {
  static const test::TempDir dir;
  return dir;
}

// The real file first, then the missing ones, in a folder that does not exist.
const std::string& List() {
  static const std::string list = [] {
    const std::string wav = bench::MakeMedia(
        Scratch() / "real.wav",
        "audiotestsrc num-buffers=10 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! wavenc ! {file}");
    std::string names = wav + '\n';
    for (int i = 0; i < kMissing; ++i) names += Scratch() / ("gone/missing " + std::to_string(i) + ".mp3") + '\n';
    return Scratch().Write("list.m3u", names);
  }();
  return list;
}

// The application's objects as it wires them, with the playlist beside the video.
struct Player {
  Player() {
    frame.SetViewMode(ViewMode::PlaylistAndVideo);
    frame.ApplyViewMode();
    frame.resize(640, 700);
    frame.show();
    while (!frame.windowHandle() || !frame.windowHandle()->isExposed()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
  }
  ~Player() { doc.SetFrame(nullptr); }

  QSettingsStore store{Scratch() / "lumivox.conf"};
  PlayerSettings settings{store};
  CMainFrame* notifyTarget = nullptr;
  CPlayerDoc doc{std::make_unique<CGraphPlayer>([] { return GraphChoices{}; },
                                                [this] {
                                                  if (notifyTarget) notifyTarget->PostGraphNotify();
                                                }),
                 settings, Scratch() / "auto.pls"};
  CMainFrame frame{doc, settings};
};

// Every missing entry marked, the real file open on entry 0 and stopped.
bool Settled(CPlayerDoc& doc) {
  if (doc.GetCurrentIndex() != 0 || !doc.engine().IsOpen() || doc.GetEntry(0)->cannotPlay) return false;
  for (int i = 1; i < doc.GetCount(); ++i) {
    if (!doc.GetEntry(i)->cannotPlay) return false;
  }
  return doc.engine().GetState() == State_Stopped;
}

void BM_SearchPastMissingFiles(benchmark::State& state) {
  Player player;
  player.notifyTarget = &player.frame;
  CPlayerDoc& doc = player.doc;
  std::vector<double> times;
  bool settled = true;
  for (auto _ : state) {
    doc.RemoveAll();
    doc.LoadPlaylistFile(List());
    if (!doc.OpenItem(0)) {
      state.SkipWithError("the real file did not open");
      return;
    }
    doc.PlayPause();
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    doc.OnEndOfStream();  // what the end of the real file sets off
    QCoreApplication::processEvents();
    player.frame.repaint();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    state.SetIterationTime(times.back() / 1000);
    settled = settled && Settled(doc);
  }
  const double median = Percentile(times, 0.5);
  state.counters["median_ms"] = median;
  state.counters["max_ms"] = Percentile(times, 1.0);
  state.counters["entries_per_s"] = kMissing / (median / 1000);
  Report(
      "End of a file, then %d missing entries searched in the shown window: median %.0f ms, max %.0f ms "
      "(target < %.0f)%s",
      kMissing, median, Percentile(times, 1.0), kTargetMs, settled ? "" : " | WRONG OUTCOME");
}
BENCHMARK(BM_SearchPastMissingFiles)->Iterations(kRounds)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumivox

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::string error;
  if (!lumivox::InitGStreamer(&error)) {
    std::fprintf(stderr, "missing_files_bench: %s\n", error.c_str());
    return 1;
  }
  return lumivox::bench::RunAndSummarise(argc, argv);
}
