#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// One name per line, nothing else: empty lines and lines beginning with '#' are names too.
class LstFormat final : public PlaylistFormat {
 public:
  bool Read(LineReader& lines, std::vector<std::string>& names) const override;
  std::optional<std::string> Write(const EntryList& entries) const override;
};

}  // namespace lumivox
