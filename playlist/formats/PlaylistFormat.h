#pragma once
// The two small interfaces of the list formats: every format reads names, most also
// write entries.

#include <cstdint>
#include <string>
#include <vector>

#include "playlist/EntryList.h"
#include "playlist/PlaylistFile.h"
#include "playlist/formats/LineReader.h"
#include "playlist/formats/TextOutput.h"

namespace lumivox {

class ListReader {
 public:
  virtual ~ListReader() = default;
  // Hands on the names the list holds, in file order. True when the list was read to its
  // normal end; names read before a failure have been handed on.
  virtual bool Read(LineReader& lines, const NameSink& sink) const = 0;
};

class ListWriter {
 public:
  virtual ~ListWriter() = default;
  // Writes the list of `entries`, in list order.
  virtual void Write(const EntryList& entries, TextOutput& out) const = 0;
};

// The whole seconds stored for an entry: -1 when its duration is unknown, otherwise the
// 64-bit quotient truncated toward zero and kept to 32 bits, as older players read it.
inline std::int32_t ListSeconds(const PlaylistEntry& entry) {
  if (!entry.durationKnown()) return -1;
  return static_cast<std::int32_t>(entry.duration / kUnitsPerSecond);
}

}  // namespace lumivox
