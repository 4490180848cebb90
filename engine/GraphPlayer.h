#pragma once
// The playback engine: one GStreamer graph for the current file, its transport, its events,
// its video window and its volume.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/FilterGraph.h"
#include "engine/SourceChoice.h"
#include "playlist/DocumentInterfaces.h"

namespace lumivox {

class VideoWindow;

inline constexpr const char* kDeviceRendererName = "Halcyon LumivaultHD Renderer";
inline constexpr const char* kMpegVideoDecoderName = "Halcyon MPEG Video Decoder";
inline constexpr const char* kMpegAudioDecoderName = "Halcyon MPEG Audio Decoder";

// What a graph is built with of the user's settings.
struct GraphChoices {
  bool deviceRenderer = false;  // "Lumivault": the video goes to the LumivaultHD device
  bool mpegSoftDecoder = true;  // "MpegSoftDecoder": the maker's MPEG decoders come first
};

class CGraphPlayer final : public IGraphPlayer {
 public:
  // Asks `choices` at every Open. `notify` is the graph-notify post: called from
  // GStreamer's threads when events wait for GetEvent.
  CGraphPlayer(std::function<GraphChoices()> choices, std::function<void()> notify);
  ~CGraphPlayer() override;

  // Builds and prerolls with the caller's event loop kept running (the window repaints
  // and takes input meanwhile). A second Open, a Close or a Stop while it builds cancels
  // it: it then returns false and leaves the engine to the call that cancelled it.
  bool Open(const std::string& path) override;
  bool FailIfMissing(const std::string& path) override;
  // Why the last Open failed, or why the open graph stopped; empty when nothing went wrong.
  std::string LastError() const;
  void Close() override;
  bool IsOpen() const override { return graph_ != nullptr; }
  void ReleaseGraph();
  // The graph's filters upstream to downstream; empty without a graph.
  std::vector<ElementRef> EnumFilters() const;

  bool Run() override;
  bool PlayPause() override;
  bool PauseResume() override;
  void Stop() override;
  bool Seek(std::int64_t position) override;
  RunState GetState() override;
  RunState RequestedState() override;
  bool GetTimes(std::int64_t* duration, std::int64_t* current) override;
  bool GetEvent(GraphEvent& event) override;
  std::string StreamTitle() const override;

  bool HasBasicVideo() const override;
  bool GetVideoWidth(std::int32_t& width) override;
  bool GetVideoHeight(std::int32_t& height) override;
  bool GetBitRate(std::int32_t& bitRate) override;

  bool HasVideoWindow() const override;
  void SetVideoOwner(IVideoOwner* owner) override;
  IVideoOwner* GetVideoOwner() const override { return owner_; }
  void SetVideoAutoShow(bool) override {}  // the window shows only when told to
  void SetVideoVisible(bool visible) override;
  void SetVideoWindowPosition(int x, int y) override;
  void SetVideoWindowSize(int width, int height) override;
  // The native video window, for tests and the windows that host it; null without a GUI.
  VideoWindow* GetVideoWindow() const { return window_.get(); }

  bool ProbeDeviceRenderer() override;

  int GetVolume() const override { return volume_; }
  void SetVolume(int percent) override;

 private:
  std::unique_ptr<FilterGraph> CreateGraph();
  bool Build(FilterGraph& graph, SourceKind kind, const std::string& path);
  bool AddSourceAndRender(FilterGraph& graph, SourceKind kind, const std::string& path);
  // Waits for the graph to stand ready while it keeps moving (a stream: for 10 seconds at
  // most); false on a failure, on a stall, or when the open was cancelled meanwhile.
  bool WaitUntilPrerolled(FilterGraph& graph, std::uint64_t ticket, bool stream);
  void WaitForProgress(FilterGraph& graph);
  // The true length of a stream whose headers do not tell it, in nanoseconds.
  std::optional<std::int64_t> MeasureLength(FilterGraph& graph, const std::string& path, std::uint64_t ticket);
  void CancelOpen();
  void Fail(const std::string& path, std::string reason);
  void AddPreferredFilters(FilterGraph& graph);
  static void RemoveIdlePreferredFilters(FilterGraph& graph);
  bool SetState(GstState state);
  // The run state once a pending change settles or `timeout` passes; the target while pending.
  RunState StateAfter(GstClockTime timeout);
  void WaitForState();  // for a pending change, a few seconds at most
  const OutputChoice& Outputs();
  // On X the sink draws into the video window; elsewhere it has no handle to draw into.
  bool EmbedsVideo() const;

  std::function<GraphChoices()> choices_;
  std::function<void()> notify_;
  std::function<void()> wakeUi_;  // from any thread: the UI thread's event loop looks again
  std::unique_ptr<FilterGraph> graph_;
  FilterGraph* building_ = nullptr;  // owned by the Open that builds it
  std::uint64_t openTicket_ = 0;     // moves on with every Open and every cancel
  std::string lastError_;
  std::optional<std::int64_t> length_;  // measured from the file; GStreamer's guess otherwise
  std::unique_ptr<VideoWindow> window_;
  std::optional<OutputChoice> outputs_;
  std::shared_ptr<VideoOutputChoice> videoOutput_;  // for the graphs' threads; null without a GUI
  IVideoOwner* owner_ = nullptr;
  bool stopped_ = true;
  int volume_ = 100;
};

}  // namespace lumivox
