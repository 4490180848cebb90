#pragma once
// Stand-ins for the engine and the windows, for the document's rule tests: the engine
// opens or fails per path, reports scripted states, durations and queued events, and
// every call to it and to the windows is logged in one shared journal.

#include <deque>
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

  // Script
  std::set<std::string> failing;   // paths whose Open fails, closing the old graph
  std::set<std::string> missing;   // paths whose Open fails and keeps the old graph
  std::map<std::string, std::int64_t> durations;  // known durations; others stay unknown
  std::map<std::string, VideoSize> videos;         // paths with a video stream
  std::int64_t position = 0;
  bool deviceRenderer = false;
  bool timesFail = false;

  void QueueEvent(std::int32_t code) { events_.push_back({code, 0, 0}); }
  RunState state() const { return state_; }
  const std::string& openPath() const { return open_; }
  IVideoOwner* owner() const { return owner_; }
  bool visible() const { return visible_; }
  VideoSize windowPos() const { return pos_; }
  VideoSize windowSize() const { return size_; }

  bool Open(const std::string& path) override {
    log_.push_back("Open " + path);
    if (missing.count(path)) return false;
    Close();
    if (failing.count(path)) return false;
    open_ = path;
    state_ = State_Stopped;
    position = 0;
    return true;
  }
  void Close() override {
    open_.clear();
    state_ = State_Stopped;
    owner_ = nullptr;
    visible_ = false;
    events_.clear();
  }
  bool IsOpen() const override { return !open_.empty(); }

  bool Run() override { return Transition("Run", State_Running); }
  bool PlayPause() override {
    return Transition("PlayPause", state_ == State_Running ? State_Paused : State_Running);
  }
  bool PauseResume() override {
    return Transition("PauseResume", state_ == State_Paused ? State_Running : State_Paused);
  }
  void Stop() override {
    log_.push_back("Stop");
    if (IsOpen()) state_ = State_Stopped, position = 0;
  }
  bool Seek(std::int64_t t) override {
    log_.push_back("Seek " + std::to_string(t));
    if (!IsOpen()) return false;
    position = t;
    return true;
  }
  RunState GetState() override { return IsOpen() ? state_ : State_Stopped; }
  bool GetTimes(std::int64_t* duration, std::int64_t* current) override {
    if (!IsOpen() || timesFail || (!duration && !current)) return false;
    if (duration) {
      const auto it = durations.find(open_);
      if (it == durations.end()) return false;
      *duration = it->second;
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

  bool HasBasicVideo() const override { return IsOpen() && videos.count(open_); }
  bool GetVideoWidth(std::int32_t& w) override { return Video([&](VideoSize v) { w = v.width; }); }
  bool GetVideoHeight(std::int32_t& h) override { return Video([&](VideoSize v) { h = v.height; }); }
  bool GetBitRate(std::int32_t& b) override { return Video([&](VideoSize) { b = 1000; }); }

  bool HasVideoWindow() const override { return HasBasicVideo(); }
  void SetVideoOwner(IVideoOwner* owner) override { owner_ = owner; }
  IVideoOwner* GetVideoOwner() const override { return owner_; }
  void SetVideoAutoShow(bool) override {}
  void SetVideoVisible(bool visible) override { visible_ = visible; }
  void SetVideoWindowPosition(int x, int y) override { pos_ = {x, y}; }
  void SetVideoWindowSize(int w, int h) override { size_ = {w, h}; }
  bool ProbeDeviceRenderer() override { return deviceRenderer; }

 private:
  bool Transition(const char* name, RunState to) {
    log_.push_back(name);
    if (!IsOpen()) return false;
    state_ = to;
    return true;
  }
  template <class F>
  bool Video(F f) {
    if (!HasBasicVideo()) return false;
    f(videos.at(open_));
    return true;
  }

  Journal& log_;
  std::string open_;
  RunState state_ = State_Stopped;
  std::deque<GraphEvent> events_;
  IVideoOwner* owner_ = nullptr;
  bool visible_ = false;
  VideoSize pos_{-1, -1}, size_{-1, -1};
};

class RecordingView : public IPlaylistView {
 public:
  explicit RecordingView(Journal& journal) : log_(journal) {}
  void AppendItem() override { log_.push_back("AppendItem"); }
  void InsertItemAt(int i) override { log_.push_back("InsertItemAt " + std::to_string(i)); }
  void RedrawItem(int i) override { log_.push_back("RedrawItem " + std::to_string(i)); }
  void UpdateWindow() override { log_.push_back("UpdateWindow"); }
  void OnDocumentUpdate() override { log_.push_back("OnDocumentUpdate"); }

 private:
  Journal& log_;
};

class FixedOwner : public IVideoOwner {
 public:
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
  void StartPositionTimer(int ms) override {
    log_.push_back("SetTimer " + std::to_string(ms));
    timerRunning = true;
  }
  void KillPositionTimer() override {
    log_.push_back("KillTimer");
    timerRunning = false;
  }
  IPlaylistView* GetPlaylistPane() override { return view; }
  IVideoOwner* GetVideoPane() override { return videoPane; }
  IVideoOwner* GetFullScreenWnd() override { return fullScreen; }
  void SetDocumentTitle(std::string_view title) override { caption = std::string(title) + " - lumivox"; }
  void SetCaption(std::string_view text) override { caption = text; }
  void ResizeBy(int dx, int dy) override { log_.push_back("ResizeBy " + std::to_string(dx) + " " + std::to_string(dy)); }

 private:
  Journal& log_;
};

}  // namespace lumivox::test
