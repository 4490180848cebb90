#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// The album files (.aal audio, .val video) of the album software; read only. After the
// "_1.00" marker line, lines keyed "file_000", "file_001", ... in that order carry one
// name each between the first and the last '"' of the line.
class AlbumFormat final : public ListReader {
 public:
  bool Read(LineReader& lines, const NameSink& sink) const override;
};

}  // namespace lumivox
