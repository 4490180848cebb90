#pragma once
// The one interface every list format implements.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "playlist/PlaylistEntry.h"
#include "playlist/PlaylistFile.h"
#include "playlist/formats/DecimalText.h"
#include "playlist/formats/LineReader.h"

namespace lumivox {

class PlaylistFormat {
 public:
  virtual ~PlaylistFormat() = default;

  // Appends the names the list holds, in file order. True when the list was read to its
  // normal end; names read before a failure stay in `names`.
  virtual bool Read(LineReader& lines, std::vector<std::string>& names) const = 0;

  // The bytes of a list of `entries`, or nothing for a format that is only read.
  virtual std::optional<std::string> Write(const EntryList& entries) const = 0;
};

// The whole seconds stored for an entry: -1 when its duration is unknown, otherwise the
// 64-bit quotient truncated toward zero and kept to 32 bits, as older players read it.
inline std::int32_t ListSeconds(const PlaylistEntry& entry) {
  if (!entry.durationKnown()) return -1;
  return static_cast<std::int32_t>(std::min<std::int64_t>(INT32_MAX, entry.duration / kUnitsPerSecond));
}

}  // namespace lumivox
