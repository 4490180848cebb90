#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "playlist/PageMapping.h"
#include "playlist/PlaylistEntry.h"

namespace lumivox {

// The entries' paths, case-insensitively, so the duplicate test does not scan the list:
// an open-addressing table of (folded-path hash, entry). Holds borrowed pointers: the
// owner removes an entry here before deleting it.
class PathIndex {
 public:
  static std::uint64_t Hash(std::string_view path);

  void Add(const PlaylistEntry* entry, std::uint64_t hash);
  void Add(const PlaylistEntry* entry) { Add(entry, Hash(entry->path())); }
  void Remove(const PlaylistEntry* entry);
  void Clear();
  bool Contains(std::string_view path, std::uint64_t hash) const;
  bool Contains(std::string_view path) const { return Contains(path, Hash(path)); }
  // Starts loading the slot where a lookup of `hash` begins.
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[Home(hash)]);
  }

 private:
  struct Slot {
    std::uint64_t hash;
    const PlaylistEntry* entry;  // null: empty
  };
  std::size_t Home(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & (slots_.size() - 1); }
  void Grow();

  PageArray<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace lumivox
