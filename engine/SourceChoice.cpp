#include "engine/SourceChoice.h"

#include <cstdint>
#include <fstream>

#include "playlist/PathText.h"

namespace lumivox {
namespace {

std::uint32_t Le32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

}  // namespace

SourceKind SourceFor(std::string_view path) {
  const auto dot = path.rfind('.');
  const std::string extension = dot == std::string_view::npos ? std::string() : Utf8ToLower(path.substr(dot));
  if (extension == ".wmv" || extension == ".wma" || extension == ".asf") return SourceKind::AsfReader;
  if (extension == ".cda") return SourceKind::CdReader;
  return SourceKind::AutoPlug;
}

std::optional<int> ReadCdaTrack(const std::string& path) {
  // A track file is 44 bytes; a little more leaves room for extra chunks before "fmt ".
  unsigned char data[512];
  std::ifstream file(path, std::ios::binary);
  file.read(reinterpret_cast<char*>(data), sizeof data);
  const auto size = static_cast<std::size_t>(file.gcount());
  if (size < 12 || std::string_view(reinterpret_cast<char*>(data), 4) != "RIFF" ||
      std::string_view(reinterpret_cast<char*>(data) + 8, 4) != "CDDA") {
    return std::nullopt;
  }
  for (std::size_t at = 12; at + 8 <= size;) {
    const std::uint32_t length = Le32(data + at + 4);
    if (std::string_view(reinterpret_cast<char*>(data) + at, 4) == "fmt ") {
      if (length < 4 || at + 8 + length > size) return std::nullopt;  // cut short
      const int track = data[at + 10] | data[at + 11] << 8;
      return track > 0 ? std::optional<int>(track) : std::nullopt;
    }
    if (length > size) return std::nullopt;
    at += 8 + length + (length & 1);  // chunks are padded to even sizes
  }
  return std::nullopt;
}

}  // namespace lumivox
