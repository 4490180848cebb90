#include "playlist/PathIndex.h"

#include <utility>

#include "playlist/PathText.h"

namespace lumivox {

std::uint64_t PathIndex::Hash(std::string_view path) {
  // Spread the bits: the table takes its slot from the low ones.
  std::uint64_t h = HashIgnoringCase(path);
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

void PathIndex::Grow() {
  const std::size_t size = slots_.empty() ? 1024 : 2 * slots_.size();
  PageArray<Slot> old = std::exchange(slots_, PageArray<Slot>(size));
  for (const Slot& s : old) {
    if (!s.entry) continue;
    std::size_t i = Home(s.hash);
    while (slots_[i].entry) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = s;
  }
}

void PathIndex::Add(const PlaylistEntry* entry, std::uint64_t hash) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  std::size_t i = Home(hash);
  while (slots_[i].entry) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = {hash, entry};
  ++used_;
}

void PathIndex::Remove(const PlaylistEntry* entry) {
  if (slots_.empty()) return;
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(Hash(entry->path()));
  while (slots_[i].entry != entry) {
    if (!slots_[i].entry) return;
    i = (i + 1) & mask;
  }
  // Backward-shift deletion keeps every probe run unbroken without tombstones.
  for (std::size_t j = (i + 1) & mask; slots_[j].entry; j = (j + 1) & mask) {
    const std::size_t home = Home(slots_[j].hash);
    const bool movable = i <= j ? (home <= i || home > j) : (home <= i && home > j);
    if (movable) {
      slots_[i] = slots_[j];
      i = j;
    }
  }
  slots_[i] = Slot{0, nullptr};
  --used_;
}

void PathIndex::Clear() {
  slots_ = {};
  used_ = 0;
}

bool PathIndex::Contains(std::string_view path, std::uint64_t hash) const {
  if (slots_.empty()) return false;
  for (std::size_t i = Home(hash); slots_[i].entry; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i].hash == hash && EqualIgnoringCase(slots_[i].entry->path(), path)) return true;
  }
  return false;
}

}  // namespace lumivox
