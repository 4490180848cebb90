#include "playlist/PlaylistFile.h"

#include <array>

#include "playlist/PathText.h"
#include "playlist/formats/AlbumFormat.h"
#include "playlist/formats/ByteSource.h"
#include "playlist/formats/FileReplacer.h"
#include "playlist/formats/LineReader.h"
#include "playlist/formats/LstFormat.h"
#include "playlist/formats/M3uFormat.h"
#include "playlist/formats/PlsFormat.h"

namespace lumivox {
namespace {

struct ExtensionFormat {
  std::string_view key;
  ListFormat format;
};

constexpr std::array<ExtensionFormat, 5> kExtensions = {{
    {".m3u", ListFormat::M3u},
    {".pls", ListFormat::Pls},
    {".lst", ListFormat::Lst},
    {".aal", ListFormat::Album},
    {".val", ListFormat::Album},
}};

const PlaylistFormat* FormatOf(std::string_view path) {
  static const M3uFormat m3u;
  static const PlsFormat pls;
  static const LstFormat lst;
  static const AlbumFormat album;
  switch (ListFormatOf(path)) {
    case ListFormat::M3u: return &m3u;
    case ListFormat::Pls: return &pls;
    case ListFormat::Lst: return &lst;
    case ListFormat::Album: return &album;
    case ListFormat::None: break;
  }
  return nullptr;
}

}  // namespace

ListFormat ListFormatOf(std::string_view path) {
  const std::string key = ListExtensionKey(path);
  for (const auto& extension : kExtensions) {
    if (extension.key == key) return extension.format;
  }
  return ListFormat::None;
}

bool ReadPlaylist(const std::string& path, std::vector<std::string>& names) {
  const PlaylistFormat* format = FormatOf(path);
  FileSource file;
  if (!format || !file.Open(path)) return false;
  LineReader lines(file);
  return format->Read(lines, names);
}

bool SavePlaylist(const std::string& path, const EntryList& entries) {
  const PlaylistFormat* format = FormatOf(path);
  if (!format) return false;
  const std::optional<std::string> bytes = format->Write(entries);
  return bytes && ReplaceFileContents(path, *bytes);
}

}  // namespace lumivox
