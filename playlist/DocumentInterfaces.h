#pragma once
// What the document reaches outside itself: the engine, the playlist view, the main
// frame with its video owners, and the application's settings. Small interfaces, so the
// document's rules run against a scripted engine in tests as well as against the real one.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/IndexRange.h"

namespace lumivox {

enum RunState : int { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

inline constexpr std::int32_t EC_COMPLETE = 1;
inline constexpr std::int32_t EC_ERRORABORT = 3;
inline constexpr std::int32_t EC_LENGTH_CHANGED = 0x54;   // the stream's duration changed
inline constexpr std::int32_t EC_TITLE_CHANGED = 0x8001;  // a stream's title tag: StreamTitle

struct GraphEvent {
  std::int32_t code = 0;
  std::intptr_t param1 = 0;
  std::intptr_t param2 = 0;
};

struct VideoSize {
  int width = 0;
  int height = 0;
};

class IVideoHost;  // the engine's: an owner with a window of its own to draw into

// A window that can host the engine's video window: the video pane or the full-screen
// window.
class IVideoOwner {
 public:
  virtual ~IVideoOwner() = default;
  virtual VideoSize ClientSize() const = 0;
  // None for an owner the engine cannot draw into (one of a test).
  virtual IVideoHost* VideoHost() { return nullptr; }
};

// The playback engine as the document drives it.
class IGraphPlayer {
 public:
  virtual ~IGraphPlayer() = default;

  virtual bool Open(const std::string& path) = 0;
  // The first step of Open alone: true when `path` names no file, which fails its open
  // at once as Open would, keeping the graph the engine has.
  virtual bool FailIfMissing(const std::string& path) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  virtual bool Run() = 0;
  virtual bool PlayPause() = 0;
  virtual bool PauseResume() = 0;
  virtual void Stop() = 0;  // also rewinds to the start
  virtual bool Seek(std::int64_t position) = 0;
  // Waits, a few seconds at most, for a pending change to settle.
  virtual RunState GetState() = 0;
  // The state the graph is in or was last asked to reach, at once: for rules that must
  // never wait on the graph.
  virtual RunState RequestedState() = 0;
  // Either pointer may be null; see the engine for the exact success rules.
  virtual bool GetTimes(std::int64_t* duration, std::int64_t* current) = 0;
  virtual bool GetEvent(GraphEvent& event) = 0;
  // What the open stream's last title tag said (a radio's StreamTitle); empty before one.
  virtual std::string StreamTitle() const = 0;

  // Basic video: present only for a graph with a video stream.
  virtual bool HasBasicVideo() const = 0;
  virtual bool GetVideoWidth(std::int32_t& width) = 0;
  virtual bool GetVideoHeight(std::int32_t& height) = 0;
  virtual bool GetBitRate(std::int32_t& bitRate) = 0;

  // Video window: present only for a graph that renders video.
  virtual bool HasVideoWindow() const = 0;
  virtual void SetVideoOwner(IVideoOwner* owner) = 0;  // null detaches
  virtual IVideoOwner* GetVideoOwner() const = 0;
  virtual void SetVideoAutoShow(bool autoShow) = 0;
  virtual void SetVideoVisible(bool visible) = 0;
  virtual void SetVideoWindowPosition(int x, int y) = 0;
  virtual void SetVideoWindowSize(int width, int height) = 0;

  // TRUE when the external device's renderer can be created on this machine.
  virtual bool ProbeDeviceRenderer() = 0;

  // The graph volume in percent, kept across graphs and applied to each new one.
  virtual int GetVolume() const = 0;
  virtual void SetVolume(int percent) = 0;
};

// The playlist view, told directly about every change but the full rebuild.
class IPlaylistView {
 public:
  virtual ~IPlaylistView() = default;
  virtual void AppendItem() = 0;
  virtual void InsertItemAt(int index) = 0;
  // After entries were inserted together: their indexes, in runs sorted and apart.
  virtual void InsertItems(const std::vector<IndexRange>& runs) = 0;
  virtual void RedrawItem(int index) = 0;
  virtual void RedrawItems(int first, int last) = 0;  // rows first..last, in one change
  virtual void UpdateWindow() = 0;                    // repaint what is invalid, at once
  virtual void OnDocumentUpdate() = 0;                // rebuild every row
};

class IMainFrame {
 public:
  virtual ~IMainFrame() = default;
  // The position timer: a synchronous tick, and its start and stop.
  virtual void SendPositionTick() = 0;
  virtual void StartPositionTimer(int periodMs) = 0;
  virtual void KillPositionTimer() = 0;
  // One call of the document's OnReconnectTimer after `ms`; a new start replaces the call due.
  virtual void StartReconnectTimer(int ms) = 0;

  virtual IPlaylistView* GetPlaylistPane() = 0;
  virtual IVideoOwner* GetVideoPane() = 0;
  // The full-screen window, only while it exists with a window.
  virtual IVideoOwner* GetFullScreenWnd() = 0;

  virtual void SetDocumentTitle(std::string_view title) = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  // Grows or shrinks the frame window, keeping its top-left corner.
  virtual void ResizeBy(int dx, int dy) = 0;
  // After a change that may enable, disable or mark a command: the engine's state, an open
  // or close, a list edit, a play-order value.
  virtual void DocumentChanged() = 0;
};

// The settings' "AspectRatio": the shape the video picture keeps. The settings hold the
// number as stored, so one that names no mode survives a run (it shapes like Source Size).
enum class AspectRatio { SourceSize = 0, FourThree = 1, SixteenNine = 2, NotFixed = 3 };
constexpr bool operator==(int stored, AspectRatio mode) { return stored == static_cast<int>(mode); }

// The settings' "VolumeMode": where the volume commands act. Held as stored; any number
// but Graph and Mixer acts as WaveOut.
enum class VolumeMode { Graph = 0, Mixer = 1, WaveOut = 2 };
constexpr bool operator==(int stored, VolumeMode mode) { return stored == static_cast<int>(mode); }

// The output device volume of the two device modes (the stored VolumeMode number), in percent.
class IDeviceVolume {
 public:
  virtual ~IDeviceVolume() = default;
  virtual int ReadVolume(int mode) = 0;  // 0..100, or -1 when none can be read
  virtual void WriteVolume(int mode, int percent) = 0;
};

// The application's values and settings store as the document uses them.
class IPlayerSettings {
 public:
  virtual ~IPlayerSettings() = default;
  virtual bool AddExisted() const = 0;
  virtual bool LoadLastList() const = 0;
  virtual int AspectRatio() const = 0;
  virtual int VolumeMode() const = 0;
  // The language of the interface's texts ("ja_JP"), empty for the untranslated English:
  // lists from machines of that language are read in their encoding when they do not
  // tell their own.
  virtual std::string_view UiLanguage() const = 0;
  virtual int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) = 0;
  virtual void WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
};

}  // namespace lumivox
