#include "fuzz/Mpeg2Guard.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

extern "C" {
#include <mpeg2.h>
}

namespace lumivox::fuzz {
namespace {

constexpr std::size_t kAlignment = 64;  // what libmpeg2 gives its own blocks

struct Mapping {
  std::uint8_t* base;
  std::size_t length;
};

Mpeg2Guard::Freed freed_mode = Mpeg2Guard::Freed::kUnmapped;

std::map<void*, Mapping>& Blocks() {
  static std::map<void*, Mapping> blocks;
  return blocks;
}

std::vector<Mapping>& Unreadable() {
  static std::vector<Mapping> unreadable;
  return unreadable;
}

std::size_t RoundUp(std::size_t size, std::size_t unit) { return (size + unit - 1) / unit * unit; }

void* Allocate(unsigned size, mpeg2_alloc_t) {
  if (size == 0) return nullptr;
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t data = RoundUp(size, page);
  const std::size_t length = data + 2 * page;
  void* pages = mmap(nullptr, length, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) return nullptr;
  auto* base = static_cast<std::uint8_t*>(pages);
  if (mprotect(base + page, data, PROT_READ | PROT_WRITE) != 0) {
    munmap(base, length);
    return nullptr;
  }
  std::uint8_t* block = base + page + data - RoundUp(size, kAlignment);
  Blocks().emplace(block, Mapping{base, length});
  return block;
}

int Free(void* block) {
  const auto found = Blocks().find(block);
  if (found == Blocks().end()) return 0;  // libmpeg2 made it before the guard
  const Mapping mapping = found->second;
  Blocks().erase(found);
  if (freed_mode == Mpeg2Guard::Freed::kUnmapped) {
    munmap(mapping.base, mapping.length);
  } else {
    mprotect(mapping.base, mapping.length, PROT_NONE);
    Unreadable().push_back(mapping);
  }
  return 1;
}

}  // namespace

Mpeg2Guard::Mpeg2Guard(Freed freed) {
  freed_mode = freed;
  mpeg2_malloc_hooks(Allocate, Free);
}

Mpeg2Guard::~Mpeg2Guard() {
  mpeg2_malloc_hooks(nullptr, nullptr);
  for (const Mapping& mapping : Unreadable()) munmap(mapping.base, mapping.length);
  Unreadable().clear();
}

}  // namespace lumivox::fuzz
