#include "playlist/PlayOrder.h"

#include <algorithm>

namespace lumivox {

int PlayOrder::Next(const EntryList& entries, int current, bool wrap) {
  const int count = static_cast<int>(entries.size());
  if (count == 0) return -1;
  if (count == 1) return wrap ? 0 : -1;
  if (!shuffle_) {
    if (wrap) return (current + 1) % count;
    return current < count - 1 ? current + 1 : -1;
  }
  const bool anyLeft = std::any_of(entries.begin(), entries.end(), [](const auto* e) { return !e->playedInRound; });
  if (!anyLeft) {
    ClearPlayed(entries);
    return wrap ? Next(entries, current, true) : -1;
  }
  for (;;) {
    const int r = random_.NextBelow(count);
    if (!entries[static_cast<std::size_t>(r)]->playedInRound) return r;
  }
}

int PlayOrder::Previous(int count, int current, bool wrap) const {
  if (count == 1) return wrap ? 0 : -1;
  if (shuffle_) return current;
  if (!wrap) return current - 1;
  return current == 0 ? count - 1 : current - 1;
}

void PlayOrder::ClearPlayed(const EntryList& entries) {
  for (PlaylistEntry* e : entries) e->playedInRound = false;
}

}  // namespace lumivox
