#include "playlist/EntryPool.h"

#include <algorithm>
#include <new>

namespace lumivox {
namespace {

constexpr std::size_t kFirstChunk = 64 * 1024;

}  // namespace

void* EntryPool::Carve(std::size_t bytes) {
  if (static_cast<std::size_t>(end_ - next_) < bytes) {
    // Small lists stay small; from the sixth chunk on each one is a huge page.
    const std::size_t size = std::min(kHugePageBytes, kFirstChunk << std::min<std::size_t>(chunks_.size(), 5));
    chunks_.push_back(MapPages(size));
    next_ = static_cast<char*>(chunks_.back().get());
    end_ = next_ + size;
  }
  void* block = next_;
  next_ += bytes;
  return block;
}

void* EntryPool::Allocate(std::size_t bytes) {
  if (bytes > kLargestPooled) return ::operator new(bytes);
  const std::size_t cls = ClassOf(bytes);
  if (FreeBlock* block = freeLists_[cls]) {
    freeLists_[cls] = block->next;
    return block;
  }
  return Carve(cls * kGranule);
}

void EntryPool::Deallocate(void* block, std::size_t bytes) {
  if (bytes > kLargestPooled) {
    ::operator delete(block);
    return;
  }
  const std::size_t cls = ClassOf(bytes);
  freeLists_[cls] = new (block) FreeBlock{freeLists_[cls]};
}

void EntryPool::Release() {
  chunks_.clear();
  std::fill(freeLists_.begin(), freeLists_.end(), nullptr);
  next_ = end_ = nullptr;
}

}  // namespace lumivox
