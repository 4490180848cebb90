#pragma once
// Writing a whole file so that a failure never leaves half a list behind.

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

#include "playlist/formats/TextOutput.h"

namespace lumivox {

// The calls that put new bytes on the disk. Virtual so that a test can fail them the way
// a full disk or an exhausted quota does.
class FileCalls {
 public:
  virtual ~FileCalls() = default;
  virtual int OpenAt(int folder, const char* name, int flags, mode_t mode);
  virtual ssize_t Write(int fd, const void* bytes, std::size_t size);
  virtual int SyncData(int fd);
};

// Makes what `produce` writes to its sink the contents of the file `path`; `produce` is
// false when it could not write everything. The bytes go to a temporary file in the same
// folder, ".NAME.lumivox-<16 hex digits>.tmp", that is then renamed over the target, so a
// crash, a full disk or any other failure leaves the old file as it was; the temporary
// file is removed on failure. Temporary files of this target that an interrupted save
// left behind are removed first; one that a running save holds (it keeps an advisory
// lock on it) is left alone. An existing target keeps its permissions and a symbolic link
// stays a link. Only when the folder forbids new files but the target may be written
// (EACCES, EPERM, EROFS) is the target written in place; a full disk or quota keeps the
// old file and fails. A target that exists but is not a regular file is left alone.
// True when written.
bool ReplaceFileContents(const std::string& path, const std::function<bool(ByteSink&)>& produce);
bool ReplaceFileContents(const std::string& path, const std::function<bool(ByteSink&)>& produce, FileCalls& calls);

}  // namespace lumivox
