#pragma once
// Reading and writing list files. The format always follows the name's extension.

#include <string>
#include <string_view>
#include <vector>

#include "playlist/EntryList.h"

namespace lumivox {

enum class ListFormat { None, M3u, Pls, Lst, Album };

// By the four-byte extension key: ".m3u", ".pls", ".lst", ".aal" or ".val".
ListFormat ListFormatOf(std::string_view path);

// Appends the names the list file holds, in file order. TRUE when the reader ran to its
// normal end; names read before a failure stay in `names`.
bool ReadPlaylist(const std::string& path, std::vector<std::string>& names);

// Writes the entries in list order; TRUE when the file was written. Album files are
// never written.
bool SavePlaylist(const std::string& path, const EntryList& entries);

}  // namespace lumivox
