#include "playlist/formats/M3uFormat.h"

namespace lumivox {

bool M3uFormat::Read(LineReader& lines, const NameSink& sink) const {
  for (std::string_view line; lines.Next(line);) {
    if (line.starts_with('#')) continue;
    sink(PrepareListLine(line));
  }
  return !lines.failed();
}

void M3uFormat::Write(const EntryList& entries, TextOutput& out) const {
  out.Append("#EXTM3U\n");
  for (const PlaylistEntry* entry : entries) {
    out.Append("#EXTINF:");
    out.AppendNumber(ListSeconds(*entry));
    out.Append(",");
    out.Append(entry->title());
    out.Append("\n");
    out.Append(entry->path());
    out.Append("\n");
  }
}

}  // namespace lumivox
