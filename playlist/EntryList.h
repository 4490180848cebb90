#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "playlist/EntryPool.h"
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
  void reserve(std::size_t count) { items_.reserve(count); }
  void clear();

 private:
  PlaylistEntry* Make(std::string_view path);
  void Free(PlaylistEntry* entry);

  std::vector<PlaylistEntry*> items_;
  EntryPool pool_;
  // The few titles that are not the path's file-name part: streams' titles.
  std::unordered_map<const PlaylistEntry*, std::string> titles_;
};

}  // namespace lumivox
