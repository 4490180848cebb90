#pragma once

#include "playlist/formats/PlaylistFormat.h"

namespace lumivox {

// PLS: a profile file with a "playlist" section of File<n>, Title<n> and Length<n> keys,
// NumberOfEntries and Version=2.
class PlsFormat final : public ListReader, public ListWriter {
 public:
  bool Read(LineReader& lines, const NameSink& sink) const override;
  void Write(const EntryList& entries, TextOutput& out) const override;
};

}  // namespace lumivox
