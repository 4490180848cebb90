#pragma once
// Memory for playlist records. A million-entry list is a hundred megabytes of small
// blocks; taken from the general heap they cost a page fault every 4 KB, which dominates
// loading a big list. Here blocks come in 16-byte size classes from chunks that, once the
// list is big, are huge pages (PageMapping.h). Freed blocks are reused by their class;
// everything goes back to the system at once with Release().

#include <cstddef>
#include <vector>

#include "playlist/PageMapping.h"

namespace lumivox {

class EntryPool {
 public:
  static constexpr std::size_t kGranule = 16;
  static constexpr std::size_t kLargestPooled = 4096;

  EntryPool() = default;
  EntryPool(const EntryPool&) = delete;
  EntryPool& operator=(const EntryPool&) = delete;

  // Throws std::bad_alloc like operator new.
  void* Allocate(std::size_t bytes);
  void Deallocate(void* block, std::size_t bytes);
  // Frees every block at once; blocks handed out before must not be used again.
  void Release();

 private:
  static std::size_t ClassOf(std::size_t bytes) { return (bytes + kGranule - 1) / kGranule; }
  void* Carve(std::size_t bytes);

  struct FreeBlock {
    FreeBlock* next;
  };
  std::vector<FreeBlock*> freeLists_ = std::vector<FreeBlock*>(kLargestPooled / kGranule + 1, nullptr);
  std::vector<PageMapping> chunks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
};

}  // namespace lumivox
