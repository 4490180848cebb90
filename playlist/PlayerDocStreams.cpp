// The document's side of network streams: a stream that drops is connected anew, and one
// that names what it plays shows that name.

#include "playlist/ListNames.h"
#include "playlist/PlayerDoc.h"

namespace lumivox {

// Only a stream of unknown length ends by dropping: one with a length ends as a file does.
bool CPlayerDoc::PlaysEndlessStream() const {
  const PlaylistEntry* entry = GetEntry(currentIndex_);
  return entry && !entry->durationKnown() && IsStreamName(entry->path());
}

void CPlayerDoc::OnStreamDropped() {
  if (reconnectDue_) return;  // one drop, told by more than one event
  reconnectsLeft_ = kStreamReconnects;
  ScheduleReconnect();
}

// Without a frame there is no clock to wait on: the stream ends at once.
void CPlayerDoc::ScheduleReconnect() {
  if (!frame_ || reconnectsLeft_ == 0) {
    OnEndOfStream();
    return;
  }
  --reconnectsLeft_;
  reconnectDue_ = true;
  frame_->StartReconnectTimer(kReconnectDelayMs);
}

// Anything the user opened, stopped or emptied meanwhile called the reconnection off.
void CPlayerDoc::OnReconnectTimer() {
  if (!reconnectDue_) return;
  reconnectDue_ = false;
  switch (TryOpenItem(currentIndex_)) {
    case OpenResult::Opened: StartPlaying(); break;
    case OpenResult::Failed: ScheduleReconnect(); break;
    case OpenResult::Superseded: break;
  }
}

void CPlayerDoc::TakeStreamTitle() {
  PlaylistEntry* entry = GetEntry(currentIndex_);
  if (!entry || !IsStreamName(entry->path())) return;
  const std::string title = engine_->StreamTitle();
  if (title.empty() || title == entry->title()) return;
  entries_.SetTitle(*entry, title);
  if (IPlaylistView* view = PlaylistView()) view->RedrawItem(currentIndex_);
  UpdateTitle();
}

}  // namespace lumivox
