#pragma once

#include <array>
#include <string_view>

namespace lumivox {

// The media extensions a folder scan accepts, in the order the file dialogs list them:
// the classic ones first, then the common types of the Linux desktop.
inline constexpr std::array<std::string_view, 29> kMediaExtensions = {
    "wav", "snd", "au",  "aif",  "aifc", "aiff", "mpa",  "mp2", "mp3", "wma", "avi", "mpg", "m1v",  "mpv", "m2p",
    "m2v", "wmv", "asf", "flac", "ogg",  "oga",  "opus", "m4a", "mp4", "m4v", "mkv", "mka", "webm", "mov"};

// A list file by the four-byte extension key (x.m3u8 counts as a list file).
bool IsPlaylistFile(std::string_view path);

// A media file: the text after the last '.', at most seven bytes of it, lower-cased, is
// one of the media extensions.
bool IsSupportedFile(std::string_view path);

}  // namespace lumivox
