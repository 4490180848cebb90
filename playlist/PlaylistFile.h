#pragma once
// Reading and writing list files. The format always follows the name's extension.

#include <functional>
#include <string>
#include <string_view>

#include "playlist/EntryList.h"

namespace lumivox {

enum class ListFormat { None, M3u, Pls, Lst, Album };

// By the four-byte extension key: ".m3u", ".pls", ".lst", ".aal" or ".val".
ListFormat ListFormatOf(std::string_view path);

// Receives each name a list file holds, in file order.
using NameSink = std::function<void(std::string_view name)>;

// Hands every name the list file holds to `sink`, in file order. TRUE when the reader ran
// to its normal end; names read before a failure have been handed on.
bool ReadPlaylist(const std::string& path, const NameSink& sink);

// Writes the entries in list order; TRUE when the file was written. Album files are
// never written.
bool SavePlaylist(const std::string& path, const EntryList& entries);

}  // namespace lumivox
