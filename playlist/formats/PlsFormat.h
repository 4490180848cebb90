#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// PLS: a profile file with a "playlist" section of File<n>, Title<n> and Length<n> keys,
// NumberOfEntries and Version=2.
class PlsFormat final : public PlaylistFormat {
 public:
  bool Read(LineReader& lines, std::vector<std::string>& names) const override;
  std::optional<std::string> Write(const EntryList& entries) const override;
};

}  // namespace lumivox
