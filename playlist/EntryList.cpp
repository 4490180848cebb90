#include "playlist/EntryList.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <new>

namespace lumivox {
namespace {

std::size_t LowestBit(std::size_t i) { return i & (~i + 1); }

}  // namespace

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

void EntryList::Erase(const std::vector<IndexRange>& runs) {
  if (runs.empty()) return;
  const auto at = [this](int index) { return items_.begin() + index; };
  auto kept = at(runs.front().first);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    std::for_each(at(runs[r].first), at(runs[r].last + 1), [this](PlaylistEntry* entry) { Free(entry); });
    const auto next = r + 1 < runs.size() ? at(runs[r + 1].first) : items_.end();
    kept = std::move(at(runs[r].last + 1), next, kept);
  }
  items_.erase(kept, items_.end());
}

void EntryList::Shift(const std::vector<IndexRange>& runs, int distance) {
  if (runs.empty() || distance == 0) return;
  // Only the span from the first place a run leaves or takes to the last one changes.
  const int low = std::min(runs.front().first, runs.front().first + distance);
  const int high = std::max(runs.back().last, runs.back().last + distance);
  const std::vector<PlaylistEntry*> old(items_.begin() + low, items_.begin() + high + 1);
  const auto was = [&](int index) { return old[static_cast<std::size_t>(index - low)]; };
  auto target = runs.begin(), source = runs.begin();
  int other = low;  // the next old index that may hold one of the other entries
  for (int place = low; place <= high; ++place) {
    if (target != runs.end() && place >= target->first + distance) {
      items_[static_cast<std::size_t>(place)] = was(place - distance);
      if (place == target->last + distance) ++target;
      continue;
    }
    if (source != runs.end() && other == source->first) other = (source++)->last + 1;
    items_[static_cast<std::size_t>(place)] = was(other++);
  }
}

PlaylistEntry* EntryList::Hold(std::size_t index, std::string_view path) {
  PlaylistEntry* entry = Make(path);
  if (entry) held_.push_back({index, entry});
  return entry;
}

// The last entry held keeps its index. Going back, each earlier one takes the free place
// of its index's rank among the places the later ones left, found in a Fenwick tree of
// free places over the list from the lowest index held on.
std::vector<IndexRange> EntryList::PlaceHeld() {
  if (held_.empty()) return {};
  const std::size_t low = std::min_element(held_.begin(), held_.end(), [](const Held& a, const Held& b) {
                            return a.index < b.index;
                          })->index;
  const std::size_t size = items_.size() + held_.size() - low;
  std::vector<std::uint32_t> free(size + 1);
  for (std::size_t i = 1; i <= size; ++i) free[i] = static_cast<std::uint32_t>(LowestBit(i));
  for (auto h = held_.rbegin(); h != held_.rend(); ++h) {
    std::size_t place = 0, rank = h->index - low + 1;
    for (std::size_t step = std::bit_floor(size); step > 0; step >>= 1) {
      if (place + step <= size && free[place + step] < rank) {
        place += step;
        rank -= free[place];
      }
    }
    for (std::size_t i = place + 1; i <= size; i += LowestBit(i)) --free[i];
    h->index = low + place;
  }
  std::sort(held_.begin(), held_.end(), [](const Held& a, const Held& b) { return a.index < b.index; });

  // From the end down: the new entries to their places, the old ones closing up behind.
  std::size_t from = items_.size();
  items_.resize(items_.size() + held_.size());
  auto next = held_.rbegin();
  for (std::size_t to = items_.size(); next != held_.rend();) {
    --to;
    items_[to] = to == next->index ? (next++)->entry : items_[--from];
  }
  std::vector<IndexRange> runs;
  for (const Held& h : held_) {
    const int index = static_cast<int>(h.index);
    if (!runs.empty() && runs.back().last + 1 == index) {
      runs.back().last = index;
    } else {
      runs.push_back({index, index});
    }
  }
  held_.clear();
  return runs;
}

void EntryList::clear() {
  // Blocks too big for the pool came from the heap; the rest go with the chunks.
  for (PlaylistEntry* entry : items_) {
    if (PlaylistEntry::BlockSize(entry->path().size()) > EntryPool::kLargestPooled) Free(entry);
  }
  for (const Held& h : held_) {
    if (PlaylistEntry::BlockSize(h.entry->path().size()) > EntryPool::kLargestPooled) Free(h.entry);
  }
  items_.clear();
  titles_.clear();
  held_.clear();
  pool_.Release();
}

}  // namespace lumivox
