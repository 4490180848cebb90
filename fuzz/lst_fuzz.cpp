#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!lumivox::fuzz::CheckLst({reinterpret_cast<const char*>(data), size})) std::abort();
  return 0;
}
