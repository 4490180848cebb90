#pragma once
// What the engine benchmarks share: a summary printed after Google Benchmark's table,
// spread figures, and media made once by a GStreamer pipeline.

#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "engine/GstPtr.h"

namespace lumivox::bench {

inline std::vector<std::string>& Summary() {
  static std::vector<std::string> lines;
  return lines;
}

template <typename... Args>
void Report(const char* format, Args... args) {
  char line[512];
  std::snprintf(line, sizeof line, format, args...);
  Summary().emplace_back(line);
}

inline double Mean(const std::vector<double>& values) {
  return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// Nearest-rank percentile.
inline double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

// Runs `description` with its "{file}" made a file sink into `file`, unless the file is
// there already. It is written under a scratch name and renamed, so that a run cut short
// leaves nothing half made. Aborts when the pipeline fails.
inline const std::string& MakeMedia(const std::string& file, const std::string& description) {
  if (std::filesystem::exists(file)) return file;
  const std::string partial = file + ".partial";
  std::string full = description;
  full.replace(full.find("{file}"), 6, "filesink location=\"" + partial + "\"");
  const auto start = std::chrono::steady_clock::now();
  GError* raw = nullptr;
  ElementRef pipeline = Sink(gst_parse_launch(full.c_str(), &raw));
  GErrorPtr error(raw);
  if (error || !pipeline) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), error ? error->message : "no pipeline");
    std::abort();
  }
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  const auto bus = Adopt(gst_element_get_bus(pipeline.get()));
  MessageRef end{
      gst_bus_timed_pop_filtered(bus.get(), GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))};
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  if (!end || GST_MESSAGE_TYPE(end.get()) != GST_MESSAGE_EOS) {
    std::fprintf(stderr, "could not make %s\n", file.c_str());
    std::abort();
  }
  std::filesystem::rename(partial, file);
  Report("Made %s in %.1f s", file.c_str(),
         std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return file;
}

// Google Benchmark's run, then the summary lines.
inline int RunAndSummarise(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n");
  for (const auto& line : Summary()) std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace lumivox::bench
