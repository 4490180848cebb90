// Playlist figures: loading a 1,000,000-line M3U (against `wc -l` on the same file),
// writing 1,000,000 entries as PLS, memory per entry, and a 10,000-file folder scan.
//
//   build/bench/playlist_bench            all of them
//   build/bench/playlist_bench --benchmark_filter=Load

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "TempDir.h"
#include "playlist/PlayerDoc.h"

namespace lumivox {
namespace {

constexpr int kListLines = 1'000'000;
constexpr int kFolderFiles = 10'000;

class NoPlayback final : public IGraphPlayer {
 public:
  bool Open(const std::string&) override { return false; }
  void Close() override {}
  bool IsOpen() const override { return false; }
  bool Run() override { return false; }
  bool PlayPause() override { return false; }
  bool PauseResume() override { return false; }
  void Stop() override {}
  bool Seek(std::int64_t) override { return false; }
  RunState GetState() override { return State_Stopped; }
  bool GetTimes(std::int64_t*, std::int64_t*) override { return false; }
  bool GetEvent(GraphEvent&) override { return false; }
  bool HasBasicVideo() const override { return false; }
  bool GetVideoWidth(std::int32_t&) override { return false; }
  bool GetVideoHeight(std::int32_t&) override { return false; }
  bool GetBitRate(std::int32_t&) override { return false; }
  bool HasVideoWindow() const override { return false; }
  void SetVideoOwner(IVideoOwner*) override {}
  IVideoOwner* GetVideoOwner() const override { return nullptr; }
  void SetVideoAutoShow(bool) override {}
  void SetVideoVisible(bool) override {}
  void SetVideoWindowPosition(int, int) override {}
  void SetVideoWindowSize(int, int) override {}
  bool ProbeDeviceRenderer() override { return false; }
};

class BenchSettings final : public IPlayerSettings {
 public:
  bool addExisted = true;
  bool AddExisted() const override { return addExisted; }
  bool LoadLastList() const override { return false; }
  int AspectRatio() const override { return 3; }
  int GetProfileInt(std::string_view, std::string_view, int d) override { return d; }
  void WriteProfileInt(std::string_view, std::string_view, int) override {}
};

struct Doc {
  explicit Doc(bool addExisted) { settings.addExisted = addExisted; }
  BenchSettings settings;
  CPlayerDoc doc{std::make_unique<NoPlayback>(), settings, {}};
};

const test::TempDir& Scratch() {
  static const test::TempDir dir;
  return dir;
}

// Paths of the shape a music library has: artist/album/track, mixed case.
std::string LibraryPath(int i) {
  char line[128];
  std::snprintf(line, sizeof line, "/home/user/Music/Artist %04d/Album %03d/%02d Track Title %07d.mp3",
                i / 1000, i / 20 % 1000, i % 20, i);
  return line;
}

const std::string& BigM3u() {
  static const std::string path = [] {
    std::string text = "#EXTM3U\n";
    for (int i = 0; i < kListLines - 1; ++i) text += LibraryPath(i) + '\n';
    return Scratch().Write("big.m3u", text);
  }();
  return path;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

double WcSeconds(const std::string& file) {
  const std::string command = "wc -l '" + file + "' >/dev/null";
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
  }
  return best;
}

void BM_LoadM3u(benchmark::State& state) {
  const bool addExisted = state.range(0) != 0;
  const std::string& file = BigM3u();
  const double wc = WcSeconds(file);
  double seconds = 0;
  std::size_t pathBytes = 0;
  double heapPerEntry = 0;
  for (auto _ : state) {
    const std::size_t heapBefore = mallinfo2().uordblks;
    auto doc = std::make_unique<Doc>(addExisted);
    const auto start = std::chrono::steady_clock::now();
    doc->doc.LoadPlaylistFile(file);
    if (!addExisted) benchmark::DoNotOptimize(doc->doc.IsInList("/nowhere"));
    const auto took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(Seconds(took));
    seconds = Seconds(took);
    const std::size_t heapAfter = mallinfo2().uordblks;
    pathBytes = 0;
    for (const auto& e : doc->doc.entries()) pathBytes += e->path().size();
    heapPerEntry = static_cast<double>(heapAfter - heapBefore - pathBytes) / doc->doc.GetCount();
    if (doc->doc.GetCount() != kListLines - 1) state.SkipWithError("wrong entry count");
  }
  state.counters["seconds"] = seconds;
  state.counters["wc_l_seconds"] = wc;
  state.counters["x_wc_l"] = seconds / wc;
  state.counters["bytes_per_entry_beyond_path"] = heapPerEntry;
  state.counters["entries_per_s"] = benchmark::Counter(kListLines - 1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadM3u)->ArgName("AddExisted")->Arg(1)->Arg(0)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SavePls(benchmark::State& state) {
  Doc doc(true);
  doc.doc.LoadPlaylistFile(BigM3u());
  for (int i = 0; i < doc.doc.GetCount(); i += 2) doc.doc.GetEntry(i)->duration = 2455LL * kUnitsPerSecond / 10;
  const std::string out = Scratch() / "big.pls";
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!SavePlaylist(out, doc.doc.entries())) state.SkipWithError("save failed");
    seconds = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(seconds);
  }
  state.counters["seconds"] = seconds;
  state.counters["entries"] = doc.doc.GetCount();
}
BENCHMARK(BM_SavePls)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_AddFolder(benchmark::State& state) {
  const std::string folder = Scratch() / "folder";
  static const bool made = [&] {
    std::filesystem::create_directories(folder);
    for (int i = 0; i < kFolderFiles; ++i) {
      const char* ext = i % 10 == 9 ? ".txt" : i % 3 ? ".mp3" : ".WAV";
      std::ofstream(folder + "/" + (i % 2 ? "Track " : "track ") + std::to_string(i) + ext);
    }
    return true;
  }();
  benchmark::DoNotOptimize(made);
  double seconds = 0;
  int added = 0;
  for (auto _ : state) {
    Doc doc(true);
    const auto start = std::chrono::steady_clock::now();
    doc.doc.AddFolder(folder);
    seconds = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(seconds);
    added = doc.doc.GetCount();
  }
  state.counters["seconds"] = seconds;
  state.counters["files_added"] = added;
}
BENCHMARK(BM_AddFolder)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumivox

BENCHMARK_MAIN();
