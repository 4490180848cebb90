#pragma once

#include <cstdint>

namespace lumivox {

// The shuffle draw: the C runtime's linear congruential generator with its default
// seed, so the shuffle order repeats from run to run on every platform.
class ShuffleRandom {
 public:
  // 0..32767, the classic rand().
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

  // 0..count-1. Up to 32768 entries this is rand() % count; longer lists take two draws
  // for a 30-bit value, so every entry of a long list can come up.
  int NextBelow(int count) {
    if (count <= 0x8000) return Next() % count;
    const int high = Next();
    return static_cast<int>(((static_cast<std::uint32_t>(high) << 15) | static_cast<std::uint32_t>(Next())) %
                            static_cast<std::uint32_t>(count));
  }

 private:
  std::uint32_t state_ = 1;
};

}  // namespace lumivox
