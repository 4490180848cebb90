#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// The album files (.aal audio, .val video) of the album software; read only. After the
// "_1.00" marker line, lines keyed "file_000", "file_001", ... in that order carry one
// name each between the first and the last '"' of the line.
class AlbumFormat final : public PlaylistFormat {
 public:
  bool Read(LineReader& lines, std::vector<std::string>& names) const override;
  std::optional<std::string> Write(const EntryList& entries) const override;
};

}  // namespace lumivox
