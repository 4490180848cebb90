#include "playlist/formats/M3uFormat.h"

namespace lumivox {

bool M3uFormat::Read(LineReader& lines, std::vector<std::string>& names) const {
  for (std::string_view line; lines.Next(line);) {
    if (line.starts_with('#')) continue;
    names.emplace_back(PrepareListLine(line));
  }
  return !lines.failed();
}

std::optional<std::string> M3uFormat::Write(const EntryList& entries) const {
  std::size_t bytes = 8;
  for (const auto& entry : entries) bytes += entry->path().size() * 2 + 24;
  std::string out;
  out.reserve(bytes);
  out += "#EXTM3U\n";
  for (const auto& entry : entries) {
    out += "#EXTINF:";
    AppendDecimal(out, ListSeconds(*entry));
    out += ',';
    out += entry->title();
    out += '\n';
    out += entry->path();
    out += '\n';
  }
  return out;
}

}  // namespace lumivox
