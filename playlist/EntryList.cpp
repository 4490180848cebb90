#include "playlist/EntryList.h"

#include <algorithm>
#include <memory>
#include <new>

namespace lumivox {

PlaylistEntry* EntryList::Make(std::string_view path) {
  if (path.size() > kMaxPathBytes) return nullptr;
  void* block = pool_.Allocate(PlaylistEntry::BlockSize(path.size()));
  return new (block) PlaylistEntry(path);
}

void EntryList::Free(PlaylistEntry* entry) {
  if (entry->ownTitle_) titles_.erase(entry);
  const std::size_t bytes = PlaylistEntry::BlockSize(entry->path().size());
  std::destroy_at(entry);
  pool_.Deallocate(entry, bytes);
}

PlaylistEntry* EntryList::Append(std::string_view path) {
  PlaylistEntry* entry = Make(path);
  if (entry) items_.push_back(entry);
  return entry;
}

PlaylistEntry* EntryList::Insert(std::size_t index, std::string_view path) {
  PlaylistEntry* entry = Make(path);
  if (entry) items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), entry);
  return entry;
}

void EntryList::Erase(std::size_t index) {
  Free(items_[index]);
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void EntryList::SetTitle(PlaylistEntry& entry, std::string_view title) {
  std::string& held = titles_[&entry];
  held.assign(title);
  entry.ownTitle_ = &held;
}

void EntryList::Move(std::size_t from, std::size_t to) {
  const auto first = items_.begin();
  const auto f = static_cast<std::ptrdiff_t>(from), t = static_cast<std::ptrdiff_t>(to);
  if (from < to)
    std::rotate(first + f, first + f + 1, first + t + 1);
  else
    std::rotate(first + t, first + f, first + f + 1);
}

void EntryList::clear() {
  // Blocks too big for the pool came from the heap; the rest go with the chunks.
  for (PlaylistEntry* entry : items_) {
    if (PlaylistEntry::BlockSize(entry->path().size()) > EntryPool::kLargestPooled) Free(entry);
  }
  items_.clear();
  titles_.clear();
  pool_.Release();
}

}  // namespace lumivox
