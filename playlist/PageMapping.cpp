#include "playlist/PageMapping.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace lumivox {

void PageUnmap::operator()(void* pages) const { munmap(pages, bytes); }

PageMapping MapPages(std::size_t bytes) {
  if (bytes == 0) return PageMapping(nullptr, PageUnmap{0});
  const int prot = PROT_READ | PROT_WRITE, flags = MAP_PRIVATE | MAP_ANONYMOUS;
  if (bytes < kHugePageBytes) {
    void* p = mmap(nullptr, bytes, prot, flags, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    return PageMapping(p, PageUnmap{bytes});
  }
  // Huge pages need 2 MB alignment: map one more huge page's worth and trim both ends.
  const std::size_t span = bytes + kHugePageBytes;
  void* p = mmap(nullptr, span, prot, flags, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t aligned = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  if (aligned > start) munmap(p, aligned - start);
  const std::uintptr_t tail = aligned + bytes;
  if (start + span > tail) munmap(reinterpret_cast<void*>(tail), start + span - tail);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return PageMapping(reinterpret_cast<void*>(aligned), PageUnmap{bytes});
}

}  // namespace lumivox
