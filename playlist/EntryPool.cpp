#include "playlist/EntryPool.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace lumivox {
namespace {

constexpr std::size_t kFirstChunk = 64 * 1024;
constexpr std::size_t kHugeChunk = 2 * 1024 * 1024;

}  // namespace

void EntryPool::ChunkUnmap::operator()(void* chunk) const { munmap(chunk, bytes); }

EntryPool::Chunk EntryPool::MapChunk(std::size_t bytes) {
  if (bytes < kHugeChunk) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    return Chunk(p, ChunkUnmap{bytes});
  }
  // Huge pages need 2 MB alignment: map one more huge page's worth and trim both ends.
  const std::size_t span = bytes + kHugeChunk;
  void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t aligned = (start + kHugeChunk - 1) & ~(kHugeChunk - 1);
  if (aligned > start) munmap(p, aligned - start);
  const std::uintptr_t tail = aligned + bytes;
  if (start + span > tail) munmap(reinterpret_cast<void*>(tail), start + span - tail);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return Chunk(reinterpret_cast<void*>(aligned), ChunkUnmap{bytes});
}

void* EntryPool::Carve(std::size_t bytes) {
  if (static_cast<std::size_t>(end_ - next_) < bytes) {
    // Small lists stay small; from the sixth chunk on each one is a huge page.
    const std::size_t size = std::min(kHugeChunk, kFirstChunk << std::min<std::size_t>(chunks_.size(), 5));
    chunks_.push_back(MapChunk(size));
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
