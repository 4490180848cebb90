#pragma once
// What the engine benchmarks share: a summary printed after Google Benchmark's table,
// spread figures, and media made once by a GStreamer pipeline.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <gst/gst.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "engine/GstPtr.h"

extern char** environ;

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

inline double CpuSeconds(const rusage& usage) {
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs `argv` with its output into `output`, or thrown away; 0 when it could not start.
inline pid_t Spawn(const std::vector<std::string>& argv, int output = -1) {
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output >= 0) {
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = 0;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The child's own CPU seconds, or nothing when it failed.
inline std::optional<double> Reap(pid_t pid) {
  int status = 0;
  rusage usage{};
  if (pid == 0 || wait4(pid, &status, 0, &usage) != pid) return std::nullopt;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return CpuSeconds(usage);
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
