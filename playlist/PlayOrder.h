#pragma once
// The order the entries play in: one after another, or shuffled in rounds in which every
// entry comes up once. The played flags live in the entries; the order reads and clears
// them.

#include "playlist/EntryList.h"
#include "playlist/ShuffleRandom.h"

namespace lumivox {

class PlayOrder {
 public:
  bool shuffle() const { return shuffle_; }
  void SetShuffle(bool on) { shuffle_ = on; }

  // The entry after `current`, -1 when there is none. With `wrap` the list starts over
  // (sequential) or a new round begins (shuffled).
  int Next(const EntryList& entries, int current, bool wrap);
  // The entry before `current`; shuffled, `current` itself. -1 (or below) when none.
  int Previous(int count, int current, bool wrap) const;
  // A new round: no entry has played in it.
  static void ClearPlayed(const EntryList& entries);

 private:
  bool shuffle_ = false;
  ShuffleRandom random_;
};

}  // namespace lumivox
