#pragma once
// Stand-ins for the engine and the windows, for the document's rule tests: the engine
// opens or fails per path and reports scripted durations, video sizes and events; calls
// that matter for order are logged in one shared journal.

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "playlist/DocumentInterfaces.h"

namespace lumivox::test {

using Journal = std::vector<std::string>;

class ScriptedEngine : public IGraphPlayer {
 public:
  explicit ScriptedEngine(Journal& journal) : log_(journal) {}

  // The script, and what the document did to the engine.
  std::set<std::string> failing;  // Open fails, closing the old graph
  std::set<std::string> missing;  // Open fails, keeping the old graph
  std::map<std::string, std::int64_t> durations;
  std::map<std::string, VideoSize> videos;  // paths with a video stream
  std::string title;                        // the open stream's title tag
  std::int64_t position = 0;
  bool deviceRenderer = false;
  bool timesFail = false;
  int waits = 0;  // calls of GetState
  int volume = 100;
  std::string open;
  RunState state = State_Stopped;
  IVideoOwner* owner = nullptr;
  bool visible = false;
  VideoSize windowPos{-1, -1}, windowSize{-1, -1};

  // What the user does while the engine opens a path (its event loop keeps running); an
  // Open, Close or Stop meanwhile cancels that open.
  std::map<std::string, std::function<void()>> whileOpening;

  void QueueEvent(std::int32_t code) { events_.push_back({code, 0, 0}); }

  bool Open(const std::string& path) override {
    log_.push_back("Open " + path);
    if (missing.count(path)) return false;
    Close();
    const int ticket = ++ticket_;
    if (auto action = whileOpening.find(path); action != whileOpening.end()) {
      auto run = std::move(action->second);
      whileOpening.erase(action);
      run();
    }
    if (ticket != ticket_ || failing.count(path)) return false;
    open = path;
    position = 0;
    return true;
  }
  bool FailIfMissing(const std::string& path) override {
    if (!missing.count(path)) return false;
    log_.push_back("Open " + path);  // the whole of its open
    return true;
  }
  void Close() override {
    ++ticket_;
    open.clear();
    state = State_Stopped;
    owner = nullptr;
    visible = false;
    events_.clear();
  }
  bool IsOpen() const override { return !open.empty(); }
  bool Run() override { return Enter("Run", State_Running); }
  bool PlayPause() override { return Enter("PlayPause", state == State_Running ? State_Paused : State_Running); }
  bool PauseResume() override { return Enter("PauseResume", state == State_Paused ? State_Running : State_Paused); }
  void Stop() override {
    ++ticket_;
    log_.push_back("Stop");
    if (IsOpen()) state = State_Stopped, position = 0;
  }
  bool Seek(std::int64_t t) override {
    log_.push_back("Seek " + std::to_string(t));
    return IsOpen() && (position = t, true);
  }
  // The real engine may wait seconds here for a pending change to settle.
  RunState GetState() override { return ++waits, state; }
  RunState RequestedState() override { return state; }
  bool GetTimes(std::int64_t* duration, std::int64_t* current) override {
    if (!IsOpen() || timesFail || (!duration && !current)) return false;
    if (duration) {
      if (!durations.count(open)) return false;
      *duration = durations.at(open);
    }
    if (current) *current = position;
    return true;
  }
  bool GetEvent(GraphEvent& event) override {
    if (!IsOpen() || events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
  }
  std::string StreamTitle() const override { return IsOpen() ? title : std::string(); }
  bool HasBasicVideo() const override { return IsOpen() && videos.count(open); }
  bool GetVideoWidth(std::int32_t& w) override { return HasBasicVideo() && (w = videos.at(open).width, true); }
  bool GetVideoHeight(std::int32_t& h) override { return HasBasicVideo() && (h = videos.at(open).height, true); }
  bool GetBitRate(std::int32_t& b) override { return HasBasicVideo() && (b = 1000, true); }
  bool HasVideoWindow() const override { return HasBasicVideo(); }
  void SetVideoOwner(IVideoOwner* o) override { owner = o; }
  IVideoOwner* GetVideoOwner() const override { return owner; }
  void SetVideoAutoShow(bool) override {}
  void SetVideoVisible(bool v) override { visible = v; }
  void SetVideoWindowPosition(int x, int y) override { windowPos = {x, y}; }
  void SetVideoWindowSize(int w, int h) override { windowSize = {w, h}; }
  bool ProbeDeviceRenderer() override { return deviceRenderer; }
  int GetVolume() const override { return volume; }
  void SetVolume(int percent) override { volume = percent; }

 private:
  bool Enter(const char* name, RunState to) {
    log_.push_back(name);
    return IsOpen() && (state = to, true);
  }

  Journal& log_;
  std::deque<GraphEvent> events_;
  int ticket_ = 0;
};

class RecordingView : public IPlaylistView {
 public:
  explicit RecordingView(Journal& journal) : log_(journal) {}
  void AppendItem() override { log_.push_back("AppendItem"); }
  void InsertItemAt(int i) override { log_.push_back("InsertItemAt " + std::to_string(i)); }
  void InsertItems(const std::vector<IndexRange>& runs) override {
    std::string line = "InsertItems";
    for (const auto& [first, last] : runs) line += " " + std::to_string(first) + "-" + std::to_string(last);
    log_.push_back(line);
  }
  void RedrawItem(int i) override { log_.push_back("RedrawItem " + std::to_string(i)); }
  void RedrawItems(int first, int last) override {
    log_.push_back("RedrawItems " + std::to_string(first) + " " + std::to_string(last));
  }
  void UpdateWindow() override { log_.push_back("UpdateWindow"); }
  void OnDocumentUpdate() override { log_.push_back("OnDocumentUpdate"); }

 private:
  Journal& log_;
};

struct FixedOwner : IVideoOwner {
  explicit FixedOwner(VideoSize size) : size(size) {}
  VideoSize ClientSize() const override { return size; }
  VideoSize size;
};

class RecordingFrame : public IMainFrame {
 public:
  explicit RecordingFrame(Journal& journal) : log_(journal) {}
  IPlaylistView* view = nullptr;
  IVideoOwner* videoPane = nullptr;
  IVideoOwner* fullScreen = nullptr;
  std::string caption;
  bool timerRunning = false;

  void SendPositionTick() override { log_.push_back("Tick"); }
  void StartPositionTimer(int ms) override { log_.push_back("SetTimer " + std::to_string(ms)), timerRunning = true; }
  void KillPositionTimer() override { log_.push_back("KillTimer"), timerRunning = false; }
  void StartReconnectTimer(int ms) override {
    log_.push_back("ReconnectTimer " + std::to_string(ms));
    if (reconnectTimer) reconnectTimer(ms);
  }
  std::function<void(int ms)> reconnectTimer;  // a clock to run it on, if any
  IPlaylistView* GetPlaylistPane() override { return view; }
  IVideoOwner* GetVideoPane() override { return videoPane; }
  IVideoOwner* GetFullScreenWnd() override { return fullScreen; }
  void SetDocumentTitle(std::string_view title) override { caption = std::string(title) + " - lumivox"; }
  void SetCaption(std::string_view text) override { caption = text; }
  void ResizeBy(int dx, int dy) override {
    log_.push_back("ResizeBy " + std::to_string(dx) + " " + std::to_string(dy));
  }
  void DocumentChanged() override { ++changes; }
  int changes = 0;  // kept out of the journal, which records what the windows were told to do

 private:
  Journal& log_;
};

}  // namespace lumivox::test
