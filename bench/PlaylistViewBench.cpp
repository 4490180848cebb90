// Playlist view figures with 100,000 rows in a shown view: building the rows, rebuilding
// them, scrolling through them by pages and to the end, repainting a screenful, and
// select all; then block edits of a 1,000,000-entry list: deleting its first 20,000 rows
// and dropping a 10,000-entry list on its row 0. Every figure is how long the window is
// blocked: the step itself, the events it queued and a paint. None may pass 100 ms, the
// block edits 50 and 80 ms. It needs an X display:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/playlist_view_bench

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "playlist/ListOnlyEngine.h"
#include "playlist/PlayerDoc.h"
#include "ui/PlayListView.h"
#include "ui/PlaylistIcons.h"
#include "ui/PlaylistModel.h"

namespace lumivox {
namespace {

constexpr int kRows = 100'000;
constexpr double kTargetMs = 100;
constexpr int kBigRows = 1'000'000;
constexpr int kDeletedRows = 20'000;
constexpr int kDroppedRows = 10'000;
constexpr double kDeleteTargetMs = 50;
constexpr double kDropTargetMs = 80;
constexpr int kRepaints = 20;
constexpr int kRounds = 5;
constexpr int kWidth = 420;
constexpr int kHeight = 700;

// The frame as the document sees it: only its playlist pane matters here.
class PaneFrame final : public IMainFrame {
 public:
  IPlaylistView* pane = nullptr;

  void SendPositionTick() override {}
  void StartPositionTimer(int) override {}
  void KillPositionTimer() override {}
  void StartReconnectTimer(int) override {}
  IPlaylistView* GetPlaylistPane() override { return pane; }
  IVideoOwner* GetVideoPane() override { return nullptr; }
  IVideoOwner* GetFullScreenWnd() override { return nullptr; }
  void SetDocumentTitle(std::string_view) override {}
  void SetCaption(std::string_view) override {}
  void ResizeBy(int, int) override {}
  void DocumentChanged() override {}
};

// 100 artists, 20 albums each, 50 songs an album.
std::string SongPath(int i) {
  char path[128];
  std::snprintf(path, sizeof path, "/music/Artist %03d/Album %02d/%02d Title of the song number %05d.mp3", i / 1000,
                i / 50 % 20, i % 50 + 1, i);
  return path;
}

struct Lists {
  std::string m3u;
  std::string pls;  // the automatic list's format: three lines an entry
};

Lists MakeLists(const test::TempDir& dir) {
  std::string m3u = "#EXTM3U\n";
  std::string pls = "[playlist]\n";
  for (int i = 0; i < kRows; ++i) {
    const std::string path = SongPath(i);
    const std::string n = std::to_string(i + 1);
    m3u += path + '\n';
    pls += "File" + n + "=" + path + "\nTitle" + n + "=" + path.substr(path.rfind('/') + 1) + "\nLength" + n + "=-1\n";
  }
  pls += "NumberOfEntries=" + std::to_string(kRows) + "\nVersion=2\n";
  return {dir.Write("big.m3u", m3u), dir.Write("big.pls", pls)};
}

// Durations as a tag reader leaves them: known for most songs, not for all.
void SetDurations(CPlayerDoc& doc) {
  for (int i = 0; i < doc.GetCount(); ++i) {
    doc.GetEntry(i)->duration = i % 7 ? (120 + i % 300) * kUnitsPerSecond : -1;
  }
}

// Wall time, and the CPU time of this thread: the second hardly grows when other work
// shares the machine, so it tells a slow step from a step that had to wait its turn.
struct Sample {
  double wall = 0;
  double cpu = 0;
  Sample operator-(const Sample& other) const { return {wall - other.wall, cpu - other.cpu}; }
};

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

class Stopwatch {
 public:
  Stopwatch() : cpu_(ThreadCpuMs()) { clock_.start(); }
  Sample Read() const { return {static_cast<double>(clock_.nsecsElapsed()) / 1e6, ThreadCpuMs() - cpu_}; }

 private:
  QElapsedTimer clock_;
  double cpu_;
};

struct Row {
  std::string name;
  std::vector<Sample> samples;
  double target;
};

std::vector<Row>& Rows() {
  static std::vector<Row> rows;
  return rows;
}

void Record(std::string name, std::vector<Sample> samples, double target = kTargetMs) {
  Rows().push_back({std::move(name), std::move(samples), target});
}

// `step`, then what it queued for the window, then a paint: the time the window was blocked.
Sample Block(CPlayListView& view, const std::function<void()>& step) {
  const Stopwatch watch;
  step();
  QCoreApplication::processEvents();
  view.viewport()->repaint();
  return watch.Read();
}

Sample Time(const std::function<void()>& step) {
  const Stopwatch watch;
  step();
  return watch.Read();
}

bool ShowAndWait(QWidget& window) {
  window.resize(kWidth, kHeight);
  window.show();
  QElapsedTimer clock;
  clock.start();
  while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
    if (clock.elapsed() > 5000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  // The queued column fit and the first paint.
  QCoreApplication::processEvents();
  return true;
}

void SendKey(QWidget& view, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QCoreApplication::sendEvent(&view, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QCoreApplication::sendEvent(&view, &release);
}

// A document with the view attached as its playlist pane, as the main frame makes it.
struct Pane {
  explicit Pane(CPlayerDoc& doc) : doc(doc), view(doc, icons, colors) {
    frame.pane = &view.playlistModel();
    doc.SetFrame(&frame);
  }
  ~Pane() { doc.SetFrame(nullptr); }
  Pane(const Pane&) = delete;
  Pane& operator=(const Pane&) = delete;

  CPlayerDoc& doc;
  PlaylistIcons icons;
  std::array<ColorRef, kPlayerColorCount> colors = DefaultPlayerColors();
  CPlayListView view;
  PaneFrame frame;
};

struct Doc {
  ListOnlySettings settings{true};
  CPlayerDoc doc{std::make_unique<ListOnlyEngine>(), settings, {}};
};

void Building(const Lists& lists) {
  std::vector<Sample> alone, blocks, loads, rests, plsBlocks, made, painted;
  for (int round = 0; round < kRounds; ++round) {
    {
      Doc bare;
      alone.push_back(Time([&] { bare.doc.LoadPlaylistFile(lists.m3u); }));
    }
    Doc d;
    Pane pane(d.doc);
    if (!ShowAndWait(pane.view)) return;
    Sample load;
    blocks.push_back(Block(pane.view, [&] { load = Time([&] { d.doc.LoadPlaylistFile(lists.m3u); }); }));
    loads.push_back(load);
    rests.push_back(blocks.back() - load);

    // The other way round: a view made over a full document.
    std::unique_ptr<Pane> late;
    made.push_back(Time([&] { late = std::make_unique<Pane>(d.doc); }));
    if (!ShowAndWait(late->view)) return;
    painted.push_back(Time([&] { late->view.viewport()->repaint(); }));
    late.reset();

    Doc other;
    Pane plsPane(other.doc);
    if (!ShowAndWait(plsPane.view)) return;
    plsBlocks.push_back(Block(plsPane.view, [&] { other.doc.LoadPlaylistFile(lists.pls); }));
  }
  Record("load 100k M3U, no view attached (baseline)", alone);
  Record("(a) build: load 100k M3U into the shown view", blocks);
  Record("    of which the load with the view told", loads);
  Record("    of which the events and first paint", rests);
  Record("(a) build: load 100k PLS into the shown view", plsBlocks);
  Record("(a') make a view over 100k entries", made);
  Record("    first full paint of it", painted);
}

void Rebuilding(Pane& pane, const std::string& list) {
  CPlayerDoc& doc = pane.doc;
  std::vector<Sample> removals, inDoc, loads, resets;
  for (int round = 0; round < kRounds; ++round) {
    Sample removal;
    removals.push_back(Block(pane.view, [&] { removal = Time([&] { doc.RemoveAll(); }); }));
    inDoc.push_back(removal);
    loads.push_back(Block(pane.view, [&] { doc.LoadPlaylistFile(list); }));
    resets.push_back(Block(pane.view, [&] { pane.view.playlistModel().OnDocumentUpdate(); }));
  }
  Record("(b) rebuild: RemoveAll", removals);
  Record("    of which RemoveAll itself", inDoc);
  Record("(b) rebuild: load 100k again", loads);
  Record("(b) rebuild: document update (model reset)", resets);
}

void Scrolling(Pane& pane) {
  CPlayListView& view = pane.view;
  QScrollBar& bar = *view.verticalScrollBar();
  std::vector<Sample> pages;
  bar.setValue(0);
  while (bar.value() < bar.maximum()) pages.push_back(Block(view, [&] { bar.setValue(bar.value() + bar.pageStep()); }));
  Record("(c) scroll bar, page by page to the end", pages);

  std::vector<Sample> keys;
  view.setFocus();
  SendKey(view, Qt::Key_Home, Qt::ControlModifier);
  QCoreApplication::processEvents();
  while (view.currentIndex().row() < kRows - 1) {
    const int before = view.currentIndex().row();
    keys.push_back(Block(view, [&] { SendKey(view, Qt::Key_PageDown); }));
    if (view.currentIndex().row() == before) break;
  }
  Record("(c) PageDown keys, top to bottom", keys);

  bar.setValue(0);
  Block(view, [] {});
  Record("(c) scroll bar jump, top to end", {Block(view, [&] { bar.setValue(bar.maximum()); })});
  SendKey(view, Qt::Key_Home, Qt::ControlModifier);
  Block(view, [] {});
  Record("(c) Ctrl+End key, top to end", {Block(view, [&] { SendKey(view, Qt::Key_End, Qt::ControlModifier); })});
}

void Repainting(Pane& pane, const std::string& name) {
  CPlayListView& view = pane.view;
  QScrollBar& bar = *view.verticalScrollBar();
  std::vector<Sample> paints;
  for (const int at : {bar.minimum(), bar.maximum() / 2, bar.maximum()}) {
    bar.setValue(at);
    QCoreApplication::processEvents();
    for (int i = 0; i < kRepaints; ++i) paints.push_back(Time([&] { view.viewport()->repaint(); }));
  }
  Record(name, paints);
}

void Working(const std::string& list) {
  Doc d;
  Pane pane(d.doc);
  if (!ShowAndWait(pane.view)) return;
  Block(pane.view, [&] { d.doc.LoadPlaylistFile(list); });
  Rebuilding(pane, list);
  SetDurations(d.doc);

  Scrolling(pane);
  Repainting(pane, "(d) repaint a screenful (top, middle, end)");

  pane.view.setFocus();
  std::vector<Sample> selects, deletes;
  for (int round = 0; round < kRounds; ++round) {
    if (round > 0) Block(pane.view, [&] { d.doc.LoadPlaylistFile(list); });
    selects.push_back(Block(pane.view, [&] { SendKey(pane.view, Qt::Key_A, Qt::ControlModifier); }));
    if (round == 0) Repainting(pane, "(d) repaint a screenful, all selected");
    deletes.push_back(Block(pane.view, [&] { SendKey(pane.view, Qt::Key_Delete); }));
    if (d.doc.GetCount() != 0) std::printf("warning: %d entries left after deleting all\n", d.doc.GetCount());
  }
  Record("select all (Ctrl+A) and paint", selects);
  Record("delete all selected (Del) and paint", deletes);
}

std::string WriteList(const test::TempDir& dir, const std::string& name, int entries, const char* folder) {
  std::string m3u = "#EXTM3U\n";
  for (int i = 0; i < entries; ++i) m3u += folder + SongPath(i) + '\n';
  return dir.Write(name, m3u);
}

void BlockEdits(const test::TempDir& dir) {
  const std::string big = WriteList(dir, "million.m3u", kBigRows, "");
  const std::string dropped = WriteList(dir, "dropped.m3u", kDroppedRows, "/dropped");
  Doc d;
  d.doc.LoadPlaylistFile(big);
  // The current entry stays out of the deleted rows: deleting it would open the next one.
  d.doc.OpenItem(kBigRows / 2);
  Pane pane(d.doc);
  if (!ShowAndWait(pane.view)) return;
  CPlayListView& view = pane.view;
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
  // A shell drag of the list entering row 0 and dropped there.
  const auto dropOnRowZero = [&] {
    const QPoint at = view.visualRect(view.model()->index(0, 0)).center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &drop);
  };
  const auto toTop = [&] {
    view.scrollToTop();
    QCoreApplication::processEvents();
  };
  std::vector<Sample> deletes, drops;
  for (int round = 0; round < kRounds; ++round) {
    toTop();
    view.selectionModel()->select(QItemSelection(view.model()->index(0, 0), view.model()->index(kDeletedRows - 1, 1)),
                                  QItemSelectionModel::ClearAndSelect);
    deletes.push_back(Block(view, [&] { SendKey(view, Qt::Key_Delete); }));
    toTop();
    drops.push_back(Block(view, dropOnRowZero));
    if (!d.doc.GetEntry(0)->path().starts_with("/dropped")) std::printf("warning: the list did not land on row 0\n");
    toTop();
    Block(view, dropOnRowZero);  // back to a million rows, untimed
    if (d.doc.GetCount() != kBigRows) std::printf("warning: %d entries after a round\n", d.doc.GetCount());
  }
  Record("delete the first 20,000 of 1,000,000 rows", deletes, kDeleteTargetMs);
  Record("drop a 10,000-entry list on row 0 of them", drops, kDropTargetMs);
}

// Nearest rank, so a single sample is its own median and 99th percentile.
double Percentile(const std::vector<Sample>& samples, double Sample::*field, double fraction) {
  std::vector<double> values;
  for (const Sample& sample : samples) values.push_back(sample.*field);
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

std::string LoadAverage() {
  char text[64] = "?";
  if (FILE* f = std::fopen("/proc/loadavg", "r")) {
    if (!std::fgets(text, sizeof text, f)) text[0] = '\0';
    std::fclose(f);
  }
  std::string line = text;
  return line.substr(0, line.find(' ', line.find(' ', line.find(' ') + 1) + 1));
}

void PrintTable() {
  std::printf("\nplaylist view, %d rows (block edits: %d), %dx%d window, milliseconds the window is blocked\n", kRows,
              kBigRows, kWidth, kHeight);
  std::printf("%-46s %6s %8s %8s %8s %8s %8s  %s\n", "step", "count", "median", "p99", "max", "cpu med", "cpu max",
              "max <= target");
  for (const Row& row : Rows()) {
    if (row.samples.empty()) continue;
    const auto wall = [&](double fraction) { return Percentile(row.samples, &Sample::wall, fraction); };
    const auto cpu = [&](double fraction) { return Percentile(row.samples, &Sample::cpu, fraction); };
    const bool part = row.name.starts_with("    ") || row.name.find("baseline") != std::string::npos;
    char verdict[32] = "";
    if (!part) std::snprintf(verdict, sizeof verdict, "%s (%.0f)", wall(1) <= row.target ? "ok" : "OVER", row.target);
    std::printf("%-46s %6zu %8.2f %8.2f %8.2f %8.2f %8.2f  %s\n", row.name.c_str(), row.samples.size(), wall(0.5),
                wall(0.99), wall(1), cpu(0.5), cpu(1), verdict);
  }
  // A lone step over the target amid fast ones, with a small CPU time, had to wait its turn.
  std::printf("p99 is the nearest rank; cpu is this thread's CPU time; load average at the end: %s\n",
              LoadAverage().c_str());
}

}  // namespace
}  // namespace lumivox

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const lumivox::test::TempDir dir;
  const lumivox::Lists lists = lumivox::MakeLists(dir);
  lumivox::Building(lists);
  lumivox::Working(lists.m3u);
  lumivox::BlockEdits(dir);
  lumivox::PrintTable();
  return 0;
}
