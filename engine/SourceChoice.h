#pragma once
// How a file's graph starts: the source by extension, and the track a CD track file names.

#include <optional>
#include <string>
#include <string_view>

namespace lumivox {

enum class SourceKind {
  AsfReader,  // "WM ASF Reader", falling back to auto-plugging on the same graph
  CdReader,   // "WMP CD Reader", no second way
  AutoPlug,   // the system's own choice
};

// By the text from the last '.' of the whole path, lower-cased and compared exactly:
// ".wmv", ".wma", ".asf" and ".cda" (a dot in a folder name matches nothing).
SourceKind SourceFor(std::string_view path);

// The track number a .cda file names: a RIFF "CDDA" file whose "fmt " chunk holds the
// version, then the track as a 16-bit little-endian number. Nothing for any other file.
std::optional<int> ReadCdaTrack(const std::string& path);

}  // namespace lumivox
