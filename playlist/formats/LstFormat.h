#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// One name per line, nothing else: empty lines and lines beginning with '#' are names too.
class LstFormat final : public ListReader, public ListWriter {
 public:
  bool Read(LineReader& lines, const NameSink& sink) const override;
  void Write(const EntryList& entries, TextOutput& out) const override;
};

}  // namespace lumivox
