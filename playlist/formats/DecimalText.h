#pragma once

#include <charconv>
#include <cstdint>
#include <string>

namespace lumivox {

// printf's "%d" without the format parsing, for writers that emit a million numbers.
inline void AppendDecimal(std::string& out, std::int64_t value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

}  // namespace lumivox
