#pragma once
// lumivox-tool probe: a file opened by the playback engine, as the player would open it.

#include <iosfwd>
#include <string>

namespace lumivox::tool {

struct ProbeOptions {
  bool lumivault = false;       // "Lumivault" 1 for this run
  bool mpegSoftDecoder = true;  // "MpegSoftDecoder" 0 with --no-mpeg-decoder
  bool play = false;            // run the graph to its end
};

// Prints "open: ok|failed" ("error: TEXT" after a failure), "filter: NAME" per element,
// "duration: N" (100-ns units, -1 unknown), "video: WxH|none", and with `play`
// "complete: MS|timeout" (or "error: TEXT" when the graph stops on an error). kFailed when
// the file does not open or does not complete in time.
int ProbeFile(const std::string& path, const ProbeOptions& options, std::ostream& out);

}  // namespace lumivox::tool
