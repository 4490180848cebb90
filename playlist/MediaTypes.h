#pragma once

#include <array>
#include <string_view>

namespace lumivox {

// The media extensions a folder scan accepts, in the order the file dialogs list them.
inline constexpr std::array<std::string_view, 18> kMediaExtensions = {
    "wav", "snd", "au",  "aif", "aifc", "aiff", "mpa", "mp2", "mp3",
    "wma", "avi", "mpg", "m1v", "mpv",  "m2p",  "m2v", "wmv", "asf"};

// A list file by the four-byte extension key (x.m3u8 counts as a list file).
bool IsPlaylistFile(std::string_view path);

// A media file: the text after the last '.', at most seven bytes of it, lower-cased, is
// one of the media extensions.
bool IsSupportedFile(std::string_view path);

}  // namespace lumivox
