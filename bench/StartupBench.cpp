// Start-up figures of the real player, each start in a home of its own (settings, data,
// runtime folder with the single-instance socket), so no start sees another or the user's:
//   empty      no automatic list, default view mode                      target 400 ms
//   bus        the same with a session bus, where the player answers as an MPRIS player
//              and watches for video to hold the screen saver        target empty + 20 ms
//   100k list  a 100,000-entry automatic list, playlist and video shown,
//              at the worst of 10 runs                                   target 400 ms
//   1M list    the same with 1,000,000 entries                          target 600 ms
//   hand-over  a second start handing two names to the running player    target 150 ms
//   one MP3    a start that plays an MP3              target 220 ms, and no slower than mpv
//              (when installed) takes to its window; the memory held while it plays, 55 MB
// The starts are timed to the "startup-time-ms:" line of --print-startup-time, both as the
// player prints it (from its process's start) and as seen from the spawn; the hand-over
// from the spawn to the exit. Every start but the bus case has no session bus. It needs an
// X display without a window manager:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/startup_bench

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "PrivateBus.h"
#include "WindowWatch.h"

namespace {

constexpr int kRuns = 7;
constexpr int kListRuns = 10;
constexpr int kListEntries = 100'000;
constexpr int kBigListEntries = 1'000'000;
constexpr int kLinksPerFile = 25'000;
constexpr int kLineTimeoutMs = 60'000;
constexpr int kExitTimeoutMs = 10'000;
constexpr int kSocketTimeoutMs = 5'000;
// The running player opens and plays the names it was handed before the next start.
constexpr int kSettleMs = 500;
// How long a started file plays before its memory is read.
constexpr int kPlayingMs = 2'000;
constexpr const char* kSocketName = "LUMIVOX_MAIN_WND";

struct Figures {
  std::vector<double> printed;
  std::vector<double> wall;
  std::vector<double> cpu;
  int failed = 0;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double Max(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double ElapsedMs(const QElapsedTimer& clock) { return static_cast<double>(clock.nsecsElapsed()) / 1e6; }

// CPU time of a running process, all its threads, in clock ticks' steps (10 ms). Unlike
// the wall time it hardly grows when other work shares the machine.
double ProcessCpuMs(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return 0;
  const QByteArray text = stat.readAll();
  // Fields after the name in parentheses, from the third (state) on: utime is the 14th.
  const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
  if (fields.size() < 13) return 0;
  const double ticks = fields[11].toDouble() + fields[12].toDouble();
  return ticks * 1000 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// CPU time of the children that have been waited for.
double ChildrenCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Files shared by every start: the media, and the caches of the machine (the GStreamer
// registry, fontconfig), which a real user's start finds filled.
class Scratch {
 public:
  Scratch() { QDir(dir_.path()).mkpath("cache"); }
  QString Path(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

// A user of their own for one player and the starts that talk to it, made afresh at the
// same place each time: GStreamer keys some plugins' registry entries on folders under
// HOME, and a new HOME would have every start rescan them, which a user's start never does.
// The user's session bus is `bus`; with none, a bus address nobody listens on.
class Home {
 public:
  explicit Home(const Scratch& scratch, const QString& bus = {})
      : dir_(scratch.Path("user")), cache_(scratch.Path("cache")), bus_(bus) {
    dir_.removeRecursively();
    for (const char* folder : {"home", "config", "data", "runtime"}) dir_.mkpath(folder);
    // Qt only takes a runtime folder that is private to its owner.
    QFile::setPermissions(Path("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  ~Home() { dir_.removeRecursively(); }
  Home(const Home&) = delete;
  Home& operator=(const Home&) = delete;

  QString Path(const QString& name) const { return dir_.filePath(name); }

  bool Write(const QString& name, const QByteArray& bytes) const {
    const QString file = Path(name);
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
  }

  QProcessEnvironment Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", Path("home"));
    environment.insert("XDG_CONFIG_HOME", Path("config"));
    environment.insert("XDG_DATA_HOME", Path("data"));
    environment.insert("XDG_RUNTIME_DIR", Path("runtime"));
    environment.insert("XDG_CACHE_HOME", cache_);
    environment.insert("DBUS_SESSION_BUS_ADDRESS", bus_.isEmpty() ? "unix:path=" + Path("no-bus") : bus_);
    return environment;
  }

  QString SocketFile() const { return Path("runtime") + "/" + kSocketName; }

 private:
  QDir dir_;
  QString cache_;
  QString bus_;
};

std::unique_ptr<QProcess> NewPlayer(const Home& home) {
  auto player = std::make_unique<QProcess>();
  player->setProcessEnvironment(home.Environment());
  player->setStandardErrorFile(QProcess::nullDevice());
  return player;
}

struct StartTimes {
  double printed;
  double wall;
  double cpu;
};

// Starts a player with --print-startup-time and the names, and waits for its line; it
// keeps running.
std::optional<StartTimes> StartToFirstPaint(QProcess& player, const QStringList& names = {}) {
  QElapsedTimer clock;
  clock.start();
  player.start(LUMIVOX_PLAYER, QStringList{"--print-startup-time"} + names);
  const QByteArray prefix = "startup-time-ms: ";
  while (clock.elapsed() < kLineTimeoutMs && player.waitForReadyRead(int(kLineTimeoutMs - clock.elapsed()))) {
    while (player.canReadLine()) {
      const QByteArray line = player.readLine().trimmed();
      if (!line.startsWith(prefix)) continue;
      const double wall = ElapsedMs(clock);
      const double cpu = ProcessCpuMs(player.processId());
      bool ok = false;
      const double printed = line.mid(prefix.size()).toDouble(&ok);
      if (ok) return StartTimes{printed, wall, cpu};
    }
  }
  return std::nullopt;
}

void Stop(QProcess& player) {
  if (player.state() == QProcess::NotRunning) return;
  player.terminate();
  if (!player.waitForFinished(kExitTimeoutMs)) {
    player.kill();
    player.waitForFinished();
  }
}

// A tone of `buffers` buffers of 1024 samples at 44.1 kHz, encoded by `encoder`.
bool Generate(const QString& file, int buffers, const QString& encoder) {
  QProcess gst;
  gst.start("gst-launch-1.0", {"-q", "audiotestsrc", "num-buffers=" + QString::number(buffers), "!", encoder, "!",
                               "filesink", "location=" + file});
  return gst.waitForFinished(30'000) && gst.exitStatus() == QProcess::NormalExit && gst.exitCode() == 0;
}

// Entry 1 is the generated file itself; the others are hard links to it (or to a copy:
// ext4 allows 65,000 links to a file) under names of their own, so every entry is a real
// file with a title of its own. Files an earlier list made are used again.
std::optional<QByteArray> MakeList(const Scratch& scratch, const QString& wav, int entries) {
  const std::filesystem::path folder = scratch.Path("songs").toStdString();
  std::filesystem::create_directories(folder);
  std::string source = wav.toStdString();
  QByteArray pls = "[playlist]\n";
  for (int i = 1; i <= entries; ++i) {
    std::string file = wav.toStdString();
    if (i > 1) {
      char name[96];
      std::snprintf(name, sizeof name, "%06d Title of the song number %06d.wav", i, i);
      file = (folder / name).string();
      std::error_code ec;
      if (i % kLinksPerFile == 0) {
        if (!std::filesystem::exists(file)) std::filesystem::copy_file(wav.toStdString(), file, ec);
        source = file;
      } else if (!std::filesystem::exists(file)) {
        std::filesystem::create_hard_link(source, file, ec);
      }
      if (ec) return std::nullopt;
    }
    const QByteArray n = QByteArray::number(i);
    const QByteArray title = QByteArray::fromStdString(std::filesystem::path(file).stem().string());
    pls += "File" + n + "=" + QByteArray::fromStdString(file) + "\nTitle" + n + "=" + title + "\nLength" + n + "=-1\n";
  }
  pls += "NumberOfEntries=" + QByteArray::number(entries) + "\nVersion=2\n";
  return pls;
}

// One start to first paint per run, each in a fresh home that `prepare` fills.
template <typename Prepare>
Figures TimeStarts(const Scratch& scratch, Prepare prepare, const QString& bus = {}, int runs = kRuns) {
  Figures figures;
  for (int run = 0; run < runs; ++run) {
    const Home home(scratch, bus);
    if (!prepare(home)) {
      ++figures.failed;
      continue;
    }
    const auto player = NewPlayer(home);
    const auto times = StartToFirstPaint(*player);
    Stop(*player);
    if (!times) {
      ++figures.failed;
      continue;
    }
    figures.printed.push_back(times->printed);
    figures.wall.push_back(times->wall);
    figures.cpu.push_back(times->cpu);
  }
  return figures;
}

bool WaitForFile(const QString& file) {
  QElapsedTimer clock;
  clock.start();
  while (!QFile::exists(file)) {
    if (clock.elapsed() > kSocketTimeoutMs) return false;
    QThread::msleep(5);
  }
  return true;
}

// Second starts against one running player: spawn to exit.
Figures TimeHandOvers(const Scratch& scratch, const QString& wav) {
  Figures figures;
  const Home home(scratch);
  const auto first = NewPlayer(home);
  if (!StartToFirstPaint(*first) || !WaitForFile(home.SocketFile())) {
    Stop(*first);
    figures.failed = kRuns;
    return figures;
  }
  // Run -1 is not counted: the player's first file makes it choose its outputs.
  for (int run = -1; run < kRuns; ++run) {
    const auto second = NewPlayer(home);
    second->setStandardOutputFile(QProcess::nullDevice());
    const double cpuBefore = ChildrenCpuMs();
    QElapsedTimer clock;
    clock.start();
    second->start(LUMIVOX_PLAYER, {wav, wav});
    const bool exited = second->waitForFinished(kExitTimeoutMs);
    const double wall = ElapsedMs(clock);
    // A start that did not find the running player opens a window and stays.
    if (!exited || second->exitStatus() != QProcess::NormalExit || second->exitCode() != 0) {
      Stop(*second);
      ++figures.failed;
    } else if (run >= 0) {
      figures.wall.push_back(wall);
      figures.cpu.push_back(ChildrenCpuMs() - cpuBefore);
    }
    QThread::msleep(kSettleMs);
  }
  Stop(*first);
  return figures;
}

struct Mp3Figures {
  Figures player;
  std::vector<double> playerMb;
  Figures mpv;  // spawn to its window
};

// Starts that play `mp3`, the player's and, interleaved, mpv's when `watch` sees windows.
Mp3Figures TimeMp3Starts(const Scratch& scratch, const QString& mp3, lumivox::bench::WindowWatch* watch) {
  Mp3Figures figures;
  for (int run = 0; run < kRuns; ++run) {
    const Home home(scratch);
    const auto player = NewPlayer(home);
    if (const auto times = StartToFirstPaint(*player, {mp3})) {
      figures.player.printed.push_back(times->printed);
      figures.player.wall.push_back(times->wall);
      figures.player.cpu.push_back(times->cpu);
      QThread::msleep(kPlayingMs);
      figures.playerMb.push_back(lumivox::bench::ResidentMb(player->processId()));
    } else {
      ++figures.player.failed;
    }
    Stop(*player);
    if (!watch) continue;
    QProcess mpv;
    mpv.setProcessEnvironment(home.Environment());
    mpv.setStandardOutputFile(QProcess::nullDevice());
    mpv.setStandardErrorFile(QProcess::nullDevice());
    watch->Clear();
    QElapsedTimer clock;
    clock.start();
    mpv.start("mpv", {"--no-config", "--force-window=yes", "--vo=x11", "--ao=null", mp3});
    if (const auto mapped = watch->NextMap(clock, kLineTimeoutMs)) {
      figures.mpv.wall.push_back(*mapped);
      figures.mpv.cpu.push_back(ProcessCpuMs(mpv.processId()));
    } else {
      ++figures.mpv.failed;
    }
    Stop(mpv);
  }
  return figures;
}

const char* Verdict(double ms, double target) { return ms <= target ? "ok" : "OVER"; }

void PrintRow(const char* name, const Figures& f, double target) {
  if (f.wall.empty()) {
    std::printf("%-32s all %d runs failed\n", name, kRuns);
    return;
  }
  char printed[32] = "       -        -";
  if (!f.printed.empty()) std::snprintf(printed, sizeof printed, "%8.1f %8.1f", Median(f.printed), Max(f.printed));
  std::printf("%-32s %4zu  %s  %8.1f %8.1f  %7.0f  %6.0f  %s / %s", name, f.wall.size(), printed, Median(f.wall),
              Max(f.wall), Median(f.cpu), target, Verdict(Median(f.wall), target), Verdict(Max(f.wall), target));
  if (f.failed) std::printf("   (%d failed)", f.failed);
  std::printf("\n");
}

std::string LoadAverage() {
  QFile file("/proc/loadavg");
  if (!file.open(QIODevice::ReadOnly)) return "?";
  const QList<QByteArray> fields = file.readAll().split(' ');
  return fields.size() < 3 ? "?" : (fields[0] + " " + fields[1] + " " + fields[2]).toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "startup_bench: no display; run it under xvfb-run -a\n");
    return 1;
  }
  const Scratch scratch;
  const QString wav = scratch.Path("tone.wav");
  const QString mp3 = scratch.Path("tone.mp3");
  for (const auto& [file, buffers, encoder] : {std::tuple{wav, 10, "wavenc"}, {mp3, 430, "lamemp3enc"}}) {
    if (!Generate(file, buffers, encoder)) {
      std::fprintf(stderr, "startup_bench: could not make %s with gst-launch-1.0\n", qPrintable(file));
      return 1;
    }
  }
  const auto list = MakeList(scratch, wav, kListEntries);
  const auto bigList = MakeList(scratch, wav, kBigListEntries);
  if (!list || !bigList) {
    std::fprintf(stderr, "startup_bench: could not make the list's files\n");
    return 1;
  }

  // The first start fills the shared caches; it is shown, not counted.
  std::optional<StartTimes> cold;
  {
    const Home home(scratch);
    const auto player = NewPlayer(home);
    cold = StartToFirstPaint(*player);
    Stop(*player);
  }
  if (!cold) {
    std::fprintf(stderr, "startup_bench: %s printed no start-up time\n", LUMIVOX_PLAYER);
    return 1;
  }

  const auto emptyHome = [](const Home&) { return true; };
  const Figures empty = TimeStarts(scratch, emptyHome);
  const lumivox::test::PrivateBus bus;
  Figures withBus;
  if (bus.address().isEmpty()) {
    std::fprintf(stderr, "startup_bench: dbus-daemon did not start\n");
  } else {
    withBus = TimeStarts(scratch, emptyHome, bus.address());
  }
  const auto withList = [](const QByteArray& pls) {
    return [&pls](const Home& home) {
      return home.Write("config/Halcyon/lumivox.conf", "[View]\nViewMode=0\n") &&
             home.Write("data/Halcyon/lumivox/lumivox.pls", pls);
    };
  };
  const Figures big = TimeStarts(scratch, withList(*list), {}, kListRuns);
  const Figures huge = TimeStarts(scratch, withList(*bigList), {}, kListRuns);
  const Figures handOver = TimeHandOvers(scratch, wav);
  lumivox::bench::WindowWatch watch;
  const bool withMpv = !QStandardPaths::findExecutable("mpv").isEmpty() && watch.ready();
  const Mp3Figures mp3Starts = TimeMp3Starts(scratch, mp3, withMpv ? &watch : nullptr);

  std::printf("\nlumivox start-up, milliseconds (%d runs a row, %d for the lists)\n", kRuns, kListRuns);
  std::printf("%-32s %4s  %17s  %17s  %7s  %6s  %s\n", "case", "runs", "printed med   max", "wall med      max",
              "cpu med", "target", "wall med / max");
  PrintRow("empty home, default view", empty, 400);
  PrintRow("the same, with a session bus", withBus, Median(empty.wall) + 20);
  PrintRow("100,000-entry list, ViewMode=0", big, 400);
  PrintRow("1,000,000-entry list, ViewMode=0", huge, 600);
  PrintRow("hand-over of 2 names, to exit", handOver, 150);
  PrintRow("playing one MP3", mp3Starts.player, 220);
  if (!withMpv) {
    std::printf(
        "mpv to its window: not measured: mpv is not installed (the setup script installs it for\n"
        "benchmarks when asked) or the display cannot be watched\n");
  } else if (mp3Starts.mpv.wall.empty() || mp3Starts.player.wall.empty()) {
    std::printf("mpv to its window: no ratio, every run of mpv or of the player failed\n");
  } else {
    const double ratio = Median(mp3Starts.player.wall) / Median(mp3Starts.mpv.wall);
    std::printf("%-32s %4zu  %17s  %8.1f %8.1f  %7.0f  the MP3 start at %.2fx of it, target 1.0x: %s\n",
                "mpv --vo=x11 to its window", mp3Starts.mpv.wall.size(), "", Median(mp3Starts.mpv.wall),
                Max(mp3Starts.mpv.wall), Median(mp3Starts.mpv.cpu), ratio, ratio <= 1.0 ? "ok" : "OVER");
  }
  const double mb = Median(mp3Starts.playerMb);
  std::printf("memory while the MP3 plays: %.1f MB median, %.1f max, target 55: %s\n", mb, Max(mp3Starts.playerMb),
              mb <= 55 ? "ok" : "OVER");
  std::printf(
      "\nprinted: the player's own figure, from its process's start to the first paint of its window.\n"
      "wall: from the spawn to the line's arrival (to the exit for the hand-over; to the window's\n"
      "mapping for mpv, which comes before its first paint).\n"
      "cpu: the player's CPU time over all its threads until then.\n"
      "First start with empty caches (GStreamer registry, fonts), not counted: printed %.1f, wall %.1f.\n"
      "Load average at the end: %s\n",
      cold->printed, cold->wall, LoadAverage().c_str());
  return 0;
}
