#include "playlist/formats/AlbumFormat.h"

#include <charconv>
#include <cstdint>

namespace lumivox {
namespace {

// "file_%03d": at least three digits, more once the count passes 999.
std::string AlbumKey(std::uint64_t index) {
  char text[24];
  std::string digits(text, std::to_chars(text, text + sizeof text, index).ptr);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return "file_" + digits;
}

}  // namespace

bool AlbumFormat::Read(LineReader& lines, const NameSink& sink) const {
  std::string_view line;
  if (!lines.Next(line) || !line.starts_with("_1.00")) return false;
  std::uint64_t index = 0;
  std::string key = AlbumKey(index);
  while (lines.Next(line)) {
    if (!line.starts_with(key)) continue;
    const auto first = line.find('"');
    const auto last = line.rfind('"');
    if (first == std::string_view::npos || first == last) continue;
    sink(line.substr(first + 1, last - first - 1));
    key = AlbumKey(++index);
  }
  return !lines.failed();
}

}  // namespace lumivox
