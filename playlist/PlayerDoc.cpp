#include "playlist/PlayerDoc.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "playlist/ListNames.h"

namespace lumivox {

CPlayerDoc::CPlayerDoc(std::unique_ptr<IGraphPlayer> engine, IPlayerSettings& settings, std::string autoListPath)
    : engine_(std::move(engine)), settings_(settings), autoListPath_(std::move(autoListPath)) {}

CPlayerDoc::~CPlayerDoc() = default;

PlaylistEntry* CPlayerDoc::GetEntry(int index) {
  if (index < 0 || index >= GetCount()) return nullptr;
  return entries_[static_cast<std::size_t>(index)];
}

const PlaylistEntry* CPlayerDoc::GetEntry(int index) const { return const_cast<CPlayerDoc*>(this)->GetEntry(index); }

IPlaylistView* CPlayerDoc::PlaylistView() const { return frame_ ? frame_->GetPlaylistPane() : nullptr; }

IVideoOwner* CPlayerDoc::VideoOwner() const {
  if (!frame_) return nullptr;
  if (IVideoOwner* full = frame_->GetFullScreenWnd()) return full;
  return frame_->GetVideoPane();
}

void CPlayerDoc::Changed() {
  if (frame_) frame_->DocumentChanged();
}

void CPlayerDoc::RedrawAndUpdate(int index) {
  if (IPlaylistView* view = PlaylistView()) {
    view->RedrawItem(index);
    view->UpdateWindow();
  }
}

void CPlayerDoc::StartPlaying() {
  ShowVideo();
  engine_->PlayPause();
  Changed();
}

bool CPlayerDoc::GetDurationAndPosition(std::int64_t& duration, std::int64_t& position) {
  PlaylistEntry* entry = GetEntry(currentIndex_);
  if (!entry) return false;
  if (!entry->durationKnown() && IsStreamName(entry->path())) {
    // A stream may never tell its length (-1): its position shows alone.
    engine_->GetTimes(&entry->duration, nullptr);
    duration = entry->duration;
    return engine_->GetTimes(nullptr, &position);
  }
  const bool ok = engine_->GetTimes(entry->durationKnown() ? nullptr : &entry->duration, &position);
  duration = entry->durationKnown() ? entry->duration : 0;
  return ok;
}

bool CPlayerDoc::OpenItem(int index) { return TryOpenItem(index) == OpenResult::Opened; }

// A search may pass thousands of entries whose files are gone. Each fails at once and
// leaves the engine as it was, so the windows hear about a run of them as one change:
// the rows it passed and the caption of where it stands.
class CPlayerDoc::Search {
 public:
  explicit Search(CPlayerDoc& doc) : doc_(doc) {}
  ~Search() { Settle(); }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  void OweRow(int row) {
    first_ = first_ < 0 ? row : std::min(first_, row);
    last_ = std::max(last_, row);
  }
  void OweTitle() { title_ = true; }
  // Tells the windows what is owed, as the attempts would have told them one by one.
  void Settle() {
    const int last = std::min(last_, doc_.GetCount() - 1);
    if (first_ >= 0 && first_ <= last) {
      if (IPlaylistView* view = doc_.PlaylistView()) {
        view->RedrawItems(first_, last);
        view->UpdateWindow();
      }
    }
    if (title_) doc_.UpdateTitle();
    first_ = last_ = -1;
    title_ = false;
  }

  // The first attempt stopped the position timer and every failure since left it stopped.
  bool timerStopped = false;

 private:
  CPlayerDoc& doc_;
  int first_ = -1;
  int last_ = -1;
  bool title_ = false;
};

void CPlayerDoc::Redraw(int index, Search* search) {
  if (search)
    search->OweRow(index);
  else
    RedrawAndUpdate(index);
}

// The engine keeps the window's event loop running while it opens, so anything the user
// does meanwhile may open another entry, empty the list or stop: the later action wins
// and this open ends without touching the document again.
CPlayerDoc::OpenResult CPlayerDoc::TryOpenItem(int index, Search* search) {
  PlaylistEntry* entry = GetEntry(index);
  if (!entry) return OpenResult::Failed;
  const std::string path(entry->path());
  // In a search, a missing file fails at once and leaves the engine as it was: the windows
  // hear of it with the rest of the run. Any other file makes the engine work with the
  // window's event loop running, so the windows are brought up to date first.
  const bool missing = search && engine_->FailIfMissing(path);
  Search* const owing = missing ? search : nullptr;
  if (search && !missing) search->Settle();
  // Once the timer is stopped, the entry that failed last has no position to refresh.
  if (frame_ && !(owing && owing->timerStopped)) {
    frame_->SendPositionTick();
    frame_->KillPositionTimer();
  }
  if (search) search->timerStopped = true;
  const int old = currentIndex_;
  currentIndex_ = index;
  if (old != index) Redraw(old, owing);

  SupersedeOpen();
  bool result = false;
  if (!missing) {
    PendingOpen pending{entry};
    pendingOpen_ = &pending;
    result = engine_->Open(path);
    if (pendingOpen_ == &pending) pendingOpen_ = nullptr;
    if (pending.superseded) return OpenResult::Superseded;
    entry = pending.entry;  // null once the row was removed meanwhile
  }
  if (result) {
    AttachVideo(VideoOwner());
    if (frame_) {
      frame_->StartPositionTimer(kPositionTimerMs);
      frame_->SendPositionTick();
    }
    if (entry) ReadEntryValues(*entry);
  } else if (entry) {
    entry->cannotPlay = true;
  }
  if (currentIndex_ != old) Redraw(currentIndex_, owing);
  if (owing)
    owing->OweTitle();
  else
    UpdateTitle();
  if (order_.shuffle() && entry) entry->playedInRound = true;
  Changed();
  return result ? OpenResult::Opened : OpenResult::Failed;
}

void CPlayerDoc::ReadEntryValues(PlaylistEntry& entry) {
  engine_->GetTimes(&entry.duration, nullptr);
  TakeStreamTitle();
  if (engine_->HasBasicVideo()) {
    engine_->GetVideoWidth(entry.videoWidth);
    engine_->GetVideoHeight(entry.videoHeight);
    engine_->GetBitRate(entry.bitRate);
  }
}

void CPlayerDoc::SupersedeOpen() {
  reconnectDue_ = false;
  if (!pendingOpen_) return;
  pendingOpen_->superseded = true;
  pendingOpen_ = nullptr;
}

void CPlayerDoc::OpenItemWithFallback(int index, bool skipUnplayable, bool startPlaying) {
  if (entries_.empty()) return;
  if (!skipUnplayable) {
    if (TryOpenItem(index) == OpenResult::Superseded) return;
  } else {
    OpenResult found;
    {
      Search search(*this);
      found = TryOpenItem(index, &search);
      while (found == OpenResult::Failed) {
        const int j = NextIndex(false);
        if (j < 0) break;
        found = TryOpenItem(j, &search);
      }
    }
    if (found == OpenResult::Superseded) return;
    if (found == OpenResult::Failed) {
      if (TryOpenItem(0) != OpenResult::Superseded) ClearPlayedFlags();
      return;
    }
  }
  if (startPlaying) StartPlaying();
}

int CPlayerDoc::NextIndex(bool wrap) { return order_.Next(entries_, currentIndex_, wrap); }

int CPlayerDoc::PrevIndex(bool wrap) { return order_.Previous(GetCount(), currentIndex_, wrap); }

void CPlayerDoc::ClearPlayedFlags() { PlayOrder::ClearPlayed(entries_); }

// Track stepping. An index outside the list ends the search like -1, so a current index
// of -1 cannot loop forever.
void CPlayerDoc::StepTrack(bool forward) {
  const auto step = [&](bool wrap) { return forward ? NextIndex(wrap) : PrevIndex(wrap); };
  // Backward with shuffle on would offer the entry that just failed again and again: end
  // as when no entry is left.
  const bool stuck = !forward && order_.shuffle();
  const RunState state = engine_->GetState();
  OpenResult found;
  {
    Search search(*this);
    found = TryOpenItem(step(true), &search);
    while (found == OpenResult::Failed) {
      const int j = stuck ? -1 : step(false);
      if (j < 0 || j >= GetCount()) break;
      found = TryOpenItem(j, &search);
    }
  }
  if (found == OpenResult::Superseded) return;
  if (found == OpenResult::Failed) {
    TryOpenItem(0);
    return;
  }
  if (state == State_Running) StartPlaying();
}

void CPlayerDoc::NextTrack() { StepTrack(true); }

void CPlayerDoc::PrevTrack() { StepTrack(false); }

void CPlayerDoc::ProcessGraphEvents() {
  GraphEvent event;
  while (engine_->GetEvent(event)) {
    if ((event.code == EC_COMPLETE || event.code == EC_ERRORABORT) && PlaysEndlessStream()) {
      OnStreamDropped();
    } else if (event.code == EC_COMPLETE) {
      OnEndOfStream();
    }
    if (event.code == EC_LENGTH_CHANGED) OnLengthChanged();
    if (event.code == EC_TITLE_CHANGED) TakeStreamTitle();
  }
  // Every event may have changed what the commands see, an error among them.
  Changed();
}

// GStreamer learns some lengths only as it plays; the list and the seek bar follow.
void CPlayerDoc::OnLengthChanged() {
  PlaylistEntry* entry = GetEntry(currentIndex_);
  std::int64_t duration = -1;
  if (!entry || !engine_->GetTimes(&duration, nullptr) || duration == entry->duration) return;
  entry->duration = duration;
  if (IPlaylistView* view = PlaylistView()) view->RedrawItem(currentIndex_);
}

void CPlayerDoc::OnEndOfStream() {
  engine_->Stop();
  engine_->Seek(0);
  if (repeatMode_ == RepeatMode::One) {
    StartPlaying();
    return;
  }
  const int count = GetCount();
  if (count == 1 && repeatMode_ == RepeatMode::None) return;
  const bool wrap = repeatMode_ == RepeatMode::All;
  // With wrap the search never runs out by itself; it ends once every entry has failed.
  std::vector<bool> failed(wrap ? entries_.size() : 0);
  std::size_t failures = 0;
  OpenResult found = OpenResult::Failed;
  {
    Search search(*this);
    for (int j = NextIndex(wrap); j >= 0 && j < GetCount(); j = NextIndex(wrap)) {
      found = TryOpenItem(j, &search);
      if (found != OpenResult::Failed) break;
      if (wrap && static_cast<std::size_t>(j) < failed.size() && !failed[static_cast<std::size_t>(j)]) {
        failed[static_cast<std::size_t>(j)] = true;
        if (++failures == failed.size()) break;
      }
    }
  }
  if (found == OpenResult::Superseded) return;
  if (found == OpenResult::Opened) {
    StartPlaying();
    return;
  }
  if (TryOpenItem(0) != OpenResult::Superseded) ClearPlayedFlags();
}

void CPlayerDoc::PlayPause() { StartPlaying(); }

void CPlayerDoc::Play() {
  ShowVideo();
  engine_->Run();
  Changed();
}

void CPlayerDoc::Pause() {
  engine_->PauseResume();
  Changed();
}

void CPlayerDoc::Stop() {
  SupersedeOpen();
  engine_->Stop();
  ClearPlayedFlags();
  Changed();
}

void CPlayerDoc::Rewind() {
  std::int64_t duration = 0, position = 0;
  if (!engine_->GetTimes(&duration, &position)) return;
  const std::int64_t step = static_cast<std::int64_t>(skipInterval_) * kUnitsPerSecond;
  engine_->Seek(std::max<std::int64_t>(position - step, 0));
  if (frame_) frame_->SendPositionTick();
}

void CPlayerDoc::FastForward() {
  std::int64_t duration = 0, position = 0;
  if (!engine_->GetTimes(&duration, &position)) return;
  const std::int64_t step = static_cast<std::int64_t>(skipInterval_) * kUnitsPerSecond;
  engine_->Seek(std::min(position + step, duration));
  if (frame_) frame_->SendPositionTick();
}

void CPlayerDoc::ToggleShuffle() {
  ClearPlayedFlags();
  order_.SetShuffle(!order_.shuffle());
  if (order_.shuffle()) {
    if (PlaylistEntry* current = GetEntry(currentIndex_)) current->playedInRound = true;
  }
  Changed();
}

int CPlayerDoc::Volume() {
  const int mode = settings_.VolumeMode();
  if (mode == VolumeMode::Graph) return engine_->GetVolume();
  return deviceVolume_ ? deviceVolume_->ReadVolume(mode) : -1;
}

void CPlayerDoc::SetVolume(int percent) {
  if (Volume() == -1) return;
  const int mode = settings_.VolumeMode();
  if (mode == VolumeMode::Graph) {
    engine_->SetVolume(std::clamp(percent, 0, 100));
  } else {
    deviceVolume_->WriteVolume(mode, std::clamp(percent, 0, 100));
  }
  Changed();
}

void CPlayerDoc::StepVolume(int delta) {
  if (const int percent = Volume(); percent != -1) SetVolume(percent + delta);
}

void CPlayerDoc::SeekTo(std::int64_t position) { engine_->Seek(position); }

void CPlayerDoc::MoveItem(int from, int to) {
  const int count = GetCount();
  if (count < 1 || from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  entries_.Move(static_cast<std::size_t>(from), static_cast<std::size_t>(to));

  if (currentIndex_ == from)
    currentIndex_ = to;
  else if (from < to && currentIndex_ > from && currentIndex_ <= to)
    --currentIndex_;
  else if (from > to && currentIndex_ >= to && currentIndex_ < from)
    ++currentIndex_;
  Changed();
}

void CPlayerDoc::MoveItems(const std::vector<IndexRange>& ranges, int distance) {
  const std::vector<IndexRange> runs = JoinRanges(ranges, GetCount());
  if (runs.empty() || distance == 0 || runs.front().first + distance < 0 || runs.back().last + distance >= GetCount())
    return;
  PlaylistEntry* const current = GetEntry(currentIndex_);
  entries_.Shift(runs, distance);
  // The current entry keeps its index unless it stood where the entries moved.
  const int low = std::min(runs.front().first, runs.front().first + distance);
  const int high = std::max(runs.back().last, runs.back().last + distance);
  if (current && currentIndex_ >= low && currentIndex_ <= high) {
    const auto span = entries_.begin() + low;
    currentIndex_ = low + static_cast<int>(std::find(span, span + (high - low + 1), current) - span);
  }
  Changed();
}

void CPlayerDoc::Forget(const PlaylistEntry* entry) {
  if (pathIndex_) pathIndex_->Remove(entry);
  if (pendingOpen_ && pendingOpen_->entry == entry) pendingOpen_->entry = nullptr;
}

void CPlayerDoc::RemoveItem(int index) {
  if (index < 0 || index >= GetCount()) return;
  Forget(entries_[static_cast<std::size_t>(index)]);
  entries_.Erase(static_cast<std::size_t>(index));
  if (currentIndex_ > index) --currentIndex_;
  if (currentIndex_ >= GetCount()) currentIndex_ = GetCount() - 1;
  Changed();
}

void CPlayerDoc::RemoveItems(const std::vector<IndexRange>& ranges) {
  const std::vector<IndexRange> runs = JoinRanges(ranges, GetCount());
  if (runs.empty()) return;
  for (const IndexRange& run : runs) {
    for (int i = run.first; i <= run.last; ++i) Forget(entries_[static_cast<std::size_t>(i)]);
  }
  entries_.Erase(runs);
  // A current entry that went gives way to the next one left, or to the last one.
  currentIndex_ = std::min(IndexAfterRemoving(runs, currentIndex_), GetCount() - 1);
  Changed();
}

void CPlayerDoc::RemoveAll() {
  SupersedeOpen();
  currentIndex_ = 0;
  DetachVideo();
  engine_->Close();
  if (pathIndex_) pathIndex_->Clear();
  entries_.clear();
  if (IPlaylistView* view = PlaylistView()) view->OnDocumentUpdate();
  UpdateTitle();
  Changed();
}

void CPlayerDoc::UpdateTitle() {
  if (const PlaylistEntry* entry = GetEntry(currentIndex_)) {
    title_ = entry->title();
    if (frame_) frame_->SetDocumentTitle(title_);
  } else {
    title_.clear();
    if (frame_) frame_->SetCaption(kAppTitle);
  }
}

// --- life cycle

void CPlayerDoc::LoadPlaySettings() {
  order_.SetShuffle(settings_.GetProfileInt("Play", "Shuffle", order_.shuffle() ? 1 : 0) != 0);
  repeatMode_ = settings_.GetProfileInt("Play", "Repeat", repeatMode_);
  skipInterval_ = settings_.GetProfileInt("Play", "SkipInterval", skipInterval_);
  if (engine_->ProbeDeviceRenderer()) deviceAvailable_ = true;
}

void CPlayerDoc::OnNewDocument() {
  LoadPlaySettings();
  if (settings_.LoadLastList()) {
    LoadPlaylistFile(autoListPath_);
    if (!entries_.empty()) OpenItemWithFallback(0, true, false);
  }
}

bool CPlayerDoc::OnOpenDocument(const std::string& path) {
  std::error_code ec;
  if (!IsStreamName(path) && (std::filesystem::is_directory(path, ec) || access(path.c_str(), R_OK) != 0)) return false;
  LoadPlaySettings();
  AddFile(path, true);
  OpenItemWithFallback(0, true, true);
  return true;
}

void CPlayerDoc::OnCloseDocument() {
  SaveDocument();
  engine_->Close();
  RemoveAll();
}

void CPlayerDoc::SaveDocument() {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(autoListPath_).parent_path(), ec);
  SavePlaylist(autoListPath_, entries_);
  settings_.WriteProfileInt("Play", "Shuffle", order_.shuffle() ? 1 : 0);
  settings_.WriteProfileInt("Play", "Repeat", repeatMode_);
  settings_.WriteProfileInt("Play", "SkipInterval", skipInterval_);
}

}  // namespace lumivox
