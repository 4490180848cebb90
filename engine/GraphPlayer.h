#pragma once
// The playback engine: one GStreamer graph for the current file, its transport, its events,
// its video window and its volume.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/PlayerOptions.h"
#include "engine/FilterGraph.h"
#include "engine/SourceChoice.h"
#include "playlist/DocumentInterfaces.h"

namespace lumivox {

class VideoWindow;

inline constexpr const char* kDeviceRendererName = "Halcyon LumivaultHD Renderer";
inline constexpr const char* kMpegVideoDecoderName = "Halcyon MPEG Video Decoder";
inline constexpr const char* kMpegAudioDecoderName = "Halcyon MPEG Audio Decoder";

class CGraphPlayer final : public IGraphPlayer {
 public:
  // Reads "Lumivault" and "MpegSoftDecoder" from `options` at every Open. `notify` is the
  // graph-notify post: called from GStreamer's threads when events wait for GetEvent.
  CGraphPlayer(const PlayerOptions& options, std::function<void()> notify);
  ~CGraphPlayer() override;

  bool Open(const std::string& path) override;
  void Close() override;
  bool IsOpen() const override { return graph_ != nullptr; }
  bool CreateGraph();
  void ReleaseGraph();
  // The graph's filters upstream to downstream; empty without a graph.
  std::vector<ElementRef> EnumFilters() const;

  bool Run() override;
  bool PlayPause() override;
  bool PauseResume() override;
  void Stop() override;
  bool Seek(std::int64_t position) override;
  RunState GetState() override;
  bool GetTimes(std::int64_t* duration, std::int64_t* current) override;
  bool GetEvent(GraphEvent& event) override;

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
  bool BuildFromSource(SourceKind kind, const std::string& path);
  bool AddSourceAndRender(SourceKind kind, const std::string& path);
  bool RenderWholeFile(const std::string& path);
  void AddPreferredFilters();
  void RemoveIdlePreferredFilters();
  bool SetState(GstState state);
  void WaitForState();  // for a pending change, a few seconds at most
  const OutputChoice& Outputs();

  const PlayerOptions& options_;
  std::function<void()> notify_;
  std::unique_ptr<FilterGraph> graph_;
  std::unique_ptr<VideoWindow> window_;
  std::optional<OutputChoice> outputs_;
  IVideoOwner* owner_ = nullptr;
  bool stopped_ = true;
  int volume_ = 100;
};

}  // namespace lumivox
