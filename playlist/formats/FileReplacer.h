#pragma once
// Writing a whole file so that a failure never leaves half a list behind.

#include <string>
#include <string_view>

namespace lumivox {

// Makes `bytes` the contents of the file `path`. They go to a temporary file in the same
// folder that is then renamed over the target, so a crash, a full disk or any other
// failure leaves the old file as it was; the temporary file is removed on failure. An
// existing target keeps its permissions and a symbolic link stays a link. Only when no
// temporary file can be made (a folder that is not writable) is the target written in
// place. A target that exists but is not a regular file is left alone. True when written.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace lumivox
