#include "playlist/formats/LstFormat.h"

namespace lumivox {

bool LstFormat::Read(LineReader& lines, std::vector<std::string>& names) const {
  for (std::string_view line; lines.Next(line);) names.emplace_back(PrepareListLine(line));
  return !lines.failed();
}

std::optional<std::string> LstFormat::Write(const EntryList& entries) const {
  std::size_t bytes = 0;
  for (const auto& entry : entries) bytes += entry->path().size() + 1;
  std::string out;
  out.reserve(bytes);
  for (const auto& entry : entries) {
    out += entry->path();
    out += '\n';
  }
  return out;
}

}  // namespace lumivox
