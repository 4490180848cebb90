#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// Extended M3U: "#EXTINF" lines carry seconds and title on writing; on reading every line
// that begins with '#' is a comment and every other line is a name.
class M3uFormat final : public PlaylistFormat {
 public:
  bool Read(LineReader& lines, std::vector<std::string>& names) const override;
  std::optional<std::string> Write(const EntryList& entries) const override;
};

}  // namespace lumivox
