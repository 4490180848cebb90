#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "playlist/EntryPool.h"
#include "playlist/IndexRange.h"
#include "playlist/PageMapping.h"
#include "playlist/PlaylistEntry.h"

namespace lumivox {

// The playlist's records in play order. Owns them; hands out borrowed pointers that stay
// valid until that entry is removed.
class EntryList {
 public:
  // Longer names are no file names on any system; they are not taken.
  static constexpr std::size_t kMaxPathBytes = 64 * 1024;

  EntryList() = default;
  ~EntryList() { clear(); }
  EntryList(const EntryList&) = delete;
  EntryList& operator=(const EntryList&) = delete;

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  PlaylistEntry* operator[](std::size_t i) const { return items_[i]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  // New entries with their initial values; nullptr for a name over kMaxPathBytes.
  PlaylistEntry* Append(std::string_view path);
  PlaylistEntry* Insert(std::size_t index, std::string_view path);
  void Erase(std::size_t index);
  // Shows `title` for the entry in place of its file-name part from now on.
  void SetTitle(PlaylistEntry& entry, std::string_view title);
  // Moves the entry at `from` so that it stands at `to`.
  void Move(std::size_t from, std::size_t to);

  // Block edits, each one pass over the part of the list it changes. `runs` are sorted and
  // apart. Erase removes their entries; Shift moves them `distance` places each (every
  // run stays in the list), the other entries keeping their order in the places left.
  void Erase(const std::vector<IndexRange>& runs);
  void Shift(const std::vector<IndexRange>& runs, int distance);
  // Insertions held back and placed together: each is made at `index` of the list as it
  // would stand with the ones held before it in. Until PlaceHeld the list leaves them out;
  // PlaceHeld puts them where inserting them one by one would have, and returns the runs
  // of their indexes.
  PlaylistEntry* Hold(std::size_t index, std::string_view path);
  std::size_t held() const { return held_.size(); }
  std::vector<IndexRange> PlaceHeld();
  void reserve(std::size_t count) { items_.reserve(count); }
  void clear();

 private:
  PlaylistEntry* Make(std::string_view path);
  void Free(PlaylistEntry* entry);

  struct Held {
    std::size_t index;
    PlaylistEntry* entry;
  };

  // A million-entry list's pointers alone are 8 MB, grown by copying.
  std::vector<PlaylistEntry*, PageAllocator<PlaylistEntry*>> items_;
  std::vector<Held> held_;
  EntryPool pool_;
  // The few titles that are not the path's file-name part: streams' titles.
  std::unordered_map<const PlaylistEntry*, std::string> titles_;
};

}  // namespace lumivox
