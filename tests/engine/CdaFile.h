#pragma once

#include <cstdint>
#include <string>

namespace lumivox::test {

// A CD track file as the system writes it: RIFF, CDDA, a "fmt " chunk of 24 bytes.
inline std::string CdaFile(std::uint16_t track, const std::string& before = "") {
  std::string fmt(24, '\0');
  fmt[0] = 1;  // version
  fmt[2] = static_cast<char>(track & 0xFF);
  fmt[3] = static_cast<char>(track >> 8);
  const std::string body = "CDDA" + before + "fmt " + std::string("\x18\0\0\0", 4) + fmt;
  const auto n = static_cast<std::uint32_t>(body.size());
  return "RIFF" + std::string{char(n & 0xFF), char(n >> 8 & 0xFF), 0, 0} + body;
}

}  // namespace lumivox::test
