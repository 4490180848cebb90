// Playlist figures: loading a 1,000,000-line M3U (against `wc -l` on the same file),
// writing 1,000,000 entries as PLS, memory per entry, and a 10,000-file folder scan.
//
//   build/bench/playlist_bench            all of them
//   build/bench/playlist_bench --benchmark_filter=Load

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "TempDir.h"
#include "playlist/ListOnlyEngine.h"
#include "playlist/PlayerDoc.h"

namespace lumivox {
namespace {

constexpr int kListLines = 1'000'000;
constexpr int kFolderFiles = 10'000;

struct Doc {
  explicit Doc(bool addExisted) : settings(addExisted) {}
  ListOnlySettings settings;
  CPlayerDoc doc{std::make_unique<ListOnlyEngine>(), settings, {}};
};

const test::TempDir& Scratch() {
  static const test::TempDir dir;
  return dir;
}

// Paths of the shape a music library has: artist/album/track, mixed case.
std::string LibraryPath(int i) {
  char line[128];
  std::snprintf(line, sizeof line, "/home/user/Music/Artist %04d/Album %03d/%02d Track Title %07d.mp3", i / 1000,
                i / 20 % 1000, i % 20, i);
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

// Resident memory now, in bytes.
std::size_t ResidentBytes() {
  std::size_t pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%zu %zu", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
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
    const std::size_t before = ResidentBytes();
    auto doc = std::make_unique<Doc>(addExisted);
    const auto start = std::chrono::steady_clock::now();
    doc->doc.LoadPlaylistFile(file);
    if (!addExisted) benchmark::DoNotOptimize(doc->doc.IsInList("/nowhere"));
    const auto took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(Seconds(took));
    seconds += Seconds(took) / static_cast<double>(state.max_iterations);
    const std::size_t after = ResidentBytes();
    pathBytes = 0;
    for (const auto& e : doc->doc.entries()) pathBytes += e->path().size();
    heapPerEntry = (static_cast<double>(after) - static_cast<double>(before) - static_cast<double>(pathBytes)) /
                   doc->doc.GetCount();
    if (doc->doc.GetCount() != kListLines - 1) state.SkipWithError("wrong entry count");
  }
  state.counters["mean_seconds"] = seconds;
  state.counters["wc_l_seconds"] = wc;
  state.counters["x_wc_l"] = seconds / wc;
  state.counters["bytes_per_entry_beyond_path"] = heapPerEntry;
  state.counters["entries_per_s"] = benchmark::Counter(kListLines - 1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadM3u)
    ->ArgName("AddExisted")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_SavePls(benchmark::State& state) {
  Doc doc(true);
  doc.doc.LoadPlaylistFile(BigM3u());
  for (int i = 0; i < doc.doc.GetCount(); i += 2) doc.doc.GetEntry(i)->duration = 2455LL * kUnitsPerSecond / 10;
  const std::string out = Scratch() / "big.pls";
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!SavePlaylist(out, doc.doc.entries())) state.SkipWithError("save failed");
    const double took = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(took);
    seconds += took / static_cast<double>(state.max_iterations);
  }
  state.counters["mean_seconds"] = seconds;
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
    const double took = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(took);
    seconds += took / static_cast<double>(state.max_iterations);
    added = doc.doc.GetCount();
  }
  state.counters["mean_seconds"] = seconds;
  state.counters["files_added"] = added;
}
BENCHMARK(BM_AddFolder)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumivox

BENCHMARK_MAIN();
