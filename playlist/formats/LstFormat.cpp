#include "playlist/formats/LstFormat.h"

namespace lumivox {

bool LstFormat::Read(LineReader& lines, const NameSink& sink) const {
  for (std::string_view line; lines.Next(line);) sink(PrepareListLine(line));
  return !lines.failed();
}

void LstFormat::Write(const EntryList& entries, TextOutput& out) const {
  for (const PlaylistEntry* entry : entries) {
    out.Append(entry->path());
    out.Append("\n");
  }
}

}  // namespace lumivox
