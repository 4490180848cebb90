#pragma once
// Text rules for file names: case folding, titles, folders and extensions.
// Names are UTF-8 byte strings; invalid sequences pass through unchanged.

#include <cstddef>
#include <string>
#include <string_view>

namespace lumivox {

// Unicode simple lower-casing of a UTF-8 string (bytes of invalid sequences are kept).
std::string Utf8ToLower(std::string_view text);

// Case-insensitive equality and hash consistent with Utf8ToLower, without allocating.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
std::size_t HashIgnoringCase(std::string_view text);

// The text shown for a path: everything after its last '/', or the whole path.
std::string_view TitleOf(std::string_view path);

// Folder and name joined by exactly one '/'; a trailing '/' of the folder is dropped
// first, except for the root itself.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder part of a file name: up to its last '/', "/" for a name in the root, and
// empty for a name without any '/'.
std::string FolderOf(std::string_view name);

// The list-file key of a path: the text from its last '.', cut to four bytes and
// lower-cased (".m3u8" -> ".m3u"); empty when the path has no '.'.
std::string ListExtensionKey(std::string_view path);

}  // namespace lumivox
