#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// Extended M3U: "#EXTINF" lines carry seconds and title on writing; on reading every line
// that begins with '#' is a comment and every other line is a name.
class M3uFormat final : public ListReader, public ListWriter {
 public:
  bool Read(LineReader& lines, const NameSink& sink) const override;
  void Write(const EntryList& entries, TextOutput& out) const override;
};

}  // namespace lumivox
