#pragma once
// The playlist document: the entries, the current entry, the order of play, the ways
// files are added, and the document's side of transport and video placement. It owns the
// engine and reaches the windows only through the interfaces of DocumentInterfaces.h.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/DocumentInterfaces.h"
#include "playlist/EntryList.h"
#include "playlist/IndexRange.h"
#include "playlist/PathIndex.h"
#include "playlist/PlayOrder.h"
#include "playlist/PlaylistEntry.h"
#include "playlist/PlaylistFile.h"

namespace lumivox {

inline constexpr std::string_view kAppTitle = "lumivox";
inline constexpr int kPositionTimerMs = 250;
// A stream that drops is connected anew this many times, this far apart, before it ends.
inline constexpr int kStreamReconnects = 3;
inline constexpr int kReconnectDelayMs = 1000;

// "Play"/"Repeat". The document keeps the number as read, so one that names no mode is
// written back unchanged.
enum class RepeatMode { None = 0, All = 1, One = 2 };
constexpr bool operator==(int stored, RepeatMode mode) { return stored == static_cast<int>(mode); }

class CPlayerDoc {
 public:
  CPlayerDoc(std::unique_ptr<IGraphPlayer> engine, IPlayerSettings& settings, std::string autoListPath);
  ~CPlayerDoc();
  CPlayerDoc(const CPlayerDoc&) = delete;
  CPlayerDoc& operator=(const CPlayerDoc&) = delete;

  // The main frame appears after the document and may go away before it.
  void SetFrame(IMainFrame* frame) { frame_ = frame; }
  // The system's device volume, for the volume commands outside the graph's own mode.
  void SetDeviceVolume(IDeviceVolume* device) { deviceVolume_ = device; }
  IGraphPlayer& engine() { return *engine_; }

  // --- queries
  int GetCount() const { return static_cast<int>(entries_.size()); }
  int GetCurrentIndex() const { return currentIndex_; }
  PlaylistEntry* GetEntry(int index);
  const PlaylistEntry* GetEntry(int index) const;
  const EntryList& entries() const { return entries_; }
  bool GetDurationAndPosition(std::int64_t& duration, std::int64_t& position);
  const std::string& title() const { return title_; }

  // --- play-order values (section "Play" of the settings)
  bool shuffle() const { return order_.shuffle(); }
  int repeatMode() const { return repeatMode_; }
  void setRepeatMode(RepeatMode mode) {
    repeatMode_ = static_cast<int>(mode);
    Changed();
  }
  int skipInterval() const { return skipInterval_; }
  void setSkipInterval(int seconds) { skipInterval_ = seconds; }
  bool deviceAvailable() const { return deviceAvailable_; }
  double videoScale() const { return videoScale_; }

  // --- opening and play order
  bool OpenItem(int index);
  void OpenItemWithFallback(int index, bool skipUnplayable, bool startPlaying);
  int NextIndex(bool wrap);
  int PrevIndex(bool wrap);
  void ClearPlayedFlags();
  void NextTrack();
  void PrevTrack();
  void ProcessGraphEvents();
  void OnEndOfStream();
  // The frame's call, a while after a stream dropped: connects to it anew.
  void OnReconnectTimer();

  // --- transport commands
  void PlayPause();
  void Play();
  void Pause();
  void Stop();
  void Rewind();
  void FastForward();
  void ToggleShuffle();
  void VolumeUp() { StepVolume(+5); }
  void VolumeDown() { StepVolume(-5); }
  // The volume the volume commands act on, in percent; -1 when it cannot be read.
  int Volume();
  // Sets that volume (clamped to 0..100), unless it cannot be read.
  void SetVolume(int percent);
  void SeekTo(std::int64_t position);

  // --- list editing
  void MoveItem(int from, int to);
  void RemoveItem(int index);
  // Block edits, one pass over the list each. RemoveItems leaves the list, the current
  // index and the engine as RemoveItem of each entry of `ranges`, from the last to the first,
  // would. MoveItems moves every entry of `ranges` `distance` places, as MoveItem of each
  // (from the last when moving down, from the first when moving up) would; when one would
  // leave the list nothing moves.
  void RemoveItems(const std::vector<IndexRange>& ranges);
  void MoveItems(const std::vector<IndexRange>& ranges, int distance);
  void RemoveAll();
  void UpdateTitle();

  // --- adding media
  bool AddFile(std::string_view path, bool expand);
  bool InsertFile(int index, std::string_view path, bool expand);
  void AddFolder(const std::string& folder);
  void InsertFolder(int index, const std::string& folder);
  void LoadPlaylistFile(const std::string& path);
  void InsertPlaylistFile(int index, const std::string& path);
  bool IsInList(std::string_view path);
  // Insertions made while one lives, adding at the end among them, are held back and put in
  // their places together when the outermost ends: one pass over the list and one change
  // for the view. They count as made at once: where a later one goes, whether a name is
  // already in the list, the current index. Meanwhile the document is only added to.
  class InsertBlock {
   public:
    explicit InsertBlock(CPlayerDoc& doc) : doc_(doc) { ++doc_.insertBlocks_; }
    ~InsertBlock() {
      if (--doc_.insertBlocks_ == 0) doc_.PlaceHeld();
    }
    InsertBlock(const InsertBlock&) = delete;
    InsertBlock& operator=(const InsertBlock&) = delete;

   private:
    CPlayerDoc& doc_;
  };
  // Files dropped on the main window or handed over by a second start: they replace
  // the list and play.
  void OnDropFiles(const std::vector<std::string>& names);

  // --- video placement
  void AttachVideo(IVideoOwner* owner);
  void DetachVideo();
  void ShowVideo();
  void SetVideoPosition(int x, int y);
  void SetVideoSize(int width, int height);
  bool GetNativeVideoSize(VideoSize& size);
  void LayoutVideo(double scale);
  void SetVideoScale(double scale);
  void StepVideoScale();

  // --- life cycle
  void LoadPlaySettings();
  void OnNewDocument();
  bool OnOpenDocument(const std::string& path);
  void OnCloseDocument();
  // What the close writes, the automatic list and the "Play" values, written now.
  void SaveDocument();
  const std::string& autoListPath() const { return autoListPath_; }

 private:
  enum class OpenResult { Opened, Failed, Superseded };
  // An open waiting for the engine; what happens meanwhile may supersede it.
  struct PendingOpen {
    PlaylistEntry* entry;  // null once its row is removed
    bool superseded = false;
  };

  // What a search for a playable entry still owes the windows; defined with TryOpenItem.
  class Search;

  // `search` is the search this attempt belongs to, if any.
  OpenResult TryOpenItem(int index, Search* search = nullptr);
  void Redraw(int index, Search* search);
  void ReadEntryValues(PlaylistEntry& entry);
  void SupersedeOpen();
  void OnLengthChanged();
  // Streams: the end of one whose length is unknown, its title tag.
  bool PlaysEndlessStream() const;
  void OnStreamDropped();
  void ScheduleReconnect();
  void TakeStreamTitle();
  IPlaylistView* PlaylistView() const;
  IVideoOwner* VideoOwner() const;
  void StartPlaying();
  void RedrawAndUpdate(int index);
  // The duplicate rule. On admission `hash` is the path's key for the path index.
  bool Admit(std::string_view path, std::uint64_t& hash);
  PathIndex& EnsurePathIndex();
  bool Append(std::string_view path, std::uint64_t hash);
  bool InsertAt(int index, std::string_view path, std::uint64_t hash);
  // The entries with those an insert block holds back.
  int ListedCount() const { return GetCount() + static_cast<int>(entries_.held()); }
  void PlaceHeld();
  // Before an entry goes: nothing may point to it any more.
  void Forget(const PlaylistEntry* entry);
  // Accepted media files of a folder, in the order a file manager shows them.
  static std::vector<std::string> ScanFolder(const std::string& folder);
  void StepTrack(bool forward);
  void StepVolume(int delta);
  // Tells the frame that a command's state may have changed.
  void Changed();

  std::unique_ptr<IGraphPlayer> engine_;
  IPlayerSettings& settings_;
  IMainFrame* frame_ = nullptr;
  IDeviceVolume* deviceVolume_ = nullptr;
  std::string autoListPath_;

  int repeatMode_ = static_cast<int>(RepeatMode::None);
  int skipInterval_ = 5;
  bool deviceAvailable_ = false;
  int currentIndex_ = 0;
  EntryList entries_;
  double videoScale_ = 1.0;
  std::string title_;

  PlayOrder order_;
  PendingOpen* pendingOpen_ = nullptr;
  bool reconnectDue_ = false;  // the frame will call OnReconnectTimer
  int reconnectsLeft_ = 0;
  // Built on the first duplicate test and kept in step with the list from then on.
  std::optional<PathIndex> pathIndex_;
  int insertBlocks_ = 0;
};

}  // namespace lumivox
