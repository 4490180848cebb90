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

const M3uFormat kM3u;
const PlsFormat kPls;
const LstFormat kLst;
const AlbumFormat kAlbum;

struct FormatEntry {
  std::string_view extension;  // the four-byte key
  ListFormat format;
  const ListReader* reader;
  const ListWriter* writer;  // none for the formats that are only read
};

const std::array<FormatEntry, 5> kFormats = {{
    {".m3u", ListFormat::M3u, &kM3u, &kM3u},
    {".pls", ListFormat::Pls, &kPls, &kPls},
    {".lst", ListFormat::Lst, &kLst, &kLst},
    {".aal", ListFormat::Album, &kAlbum, nullptr},
    {".val", ListFormat::Album, &kAlbum, nullptr},
}};

const FormatEntry* FormatOf(std::string_view path) {
  const std::string key = ListExtensionKey(path);
  for (const auto& entry : kFormats) {
    if (entry.extension == key) return &entry;
  }
  return nullptr;
}

}  // namespace

ListFormat ListFormatOf(std::string_view path) {
  const FormatEntry* format = FormatOf(path);
  return format ? format->format : ListFormat::None;
}

bool ReadPlaylist(const std::string& path, const NameSink& sink) {
  const FormatEntry* format = FormatOf(path);
  FileSource file;
  if (!format || !file.Open(path)) return false;
  LineReader lines(file);
  return format->reader->Read(lines, sink);
}

bool SavePlaylist(const std::string& path, const EntryList& entries) {
  const FormatEntry* format = FormatOf(path);
  if (!format || !format->writer) return false;
  return ReplaceFileContents(path, [&](ByteSink& sink) {
    TextOutput out(sink);
    format->writer->Write(entries, out);
    return out.Finish();
  });
}

}  // namespace lumivox
