#pragma once
// The system's two named source filters: "WM ASF Reader" for Windows Media files and
// "WMP CD Reader" for audio CD track files. Each is made empty, added to a graph and then
// loaded with a file, as a file source filter is.

#include <string>
#include <vector>

#include "engine/GstPtr.h"

namespace lumivox {

inline constexpr const char* kAsfReaderName = "WM ASF Reader";
inline constexpr const char* kCdReaderName = "WMP CD Reader";

// Null when the elements it needs are not installed.
ElementRef CreateAsfReader();
ElementRef CreateCdReader();

// Points a reader at a file. An ASF reader takes only a file that starts with the ASF
// header object, or any stream's URI (a stream shows nothing before it plays: the demuxer
// judges it then); a CD reader only a track file naming its track (the disc itself is read
// by whatever element plays "cdda://" addresses). Its output pads come as it streams, then
// it signals "no-more-pads".
bool LoadAsfReader(GstElement* reader, const std::string& path);
bool LoadCdReader(GstElement* reader, const std::string& path);

// A stream's URI of a scheme that an installed element reads.
bool IsReadableStream(const std::string& name);
// "file" and the URI schemes that installed network sources read ("http", "rtsp", ...),
// sorted.
std::vector<std::string> ReadableSchemes();
// The element that reads a stream's URI; null when nothing installed reads its scheme.
ElementRef MakeStreamSource(const std::string& uri);
// A queue behind a network source that tells, in buffering messages, how full it is.
ElementRef MakeBufferingQueue();

}  // namespace lumivox
