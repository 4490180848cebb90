#pragma once
// Writing a whole file so that a failure never leaves half a list behind.

#include <functional>
#include <string>

#include "playlist/formats/TextOutput.h"

namespace lumivox {

// Makes what `produce` writes to its sink the contents of the file `path`; `produce` is
// false when it could not write everything. The bytes go to a temporary file in the same
// folder that is then renamed over the target, so a crash, a full disk or any other
// failure leaves the old file as it was; the temporary file is removed on failure. An
// existing target keeps its permissions and a symbolic link stays a link. Only when no
// temporary file can be made (a folder that is not writable) is the target written in
// place. A target that exists but is not a regular file is left alone. True when written.
bool ReplaceFileContents(const std::string& path, const std::function<bool(ByteSink&)>& produce);

}  // namespace lumivox
