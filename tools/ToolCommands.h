#pragma once
// The commands of lumivox-tool, apart from argument handling, so tests can run them.

#include <iosfwd>
#include <string>

namespace lumivox::tool {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// Prints every name the list reader produced; kFailed when the reader stopped early.
int ReadList(const std::string& list, std::ostream& out);

// Loads `in` into an empty playlist and saves it as `out` in the format of its extension.
// An `in` that is no readable list file, or an `out` of a format that is never written,
// leaves `out` untouched; each failure is one line on `err`.
int ConvertList(const std::string& in, const std::string& out, bool addExisted, std::ostream& err);

// Prints the entries a folder scan adds, in list order.
int ScanFolder(const std::string& folder, bool addExisted, std::ostream& out, std::ostream& err);

}  // namespace lumivox::tool
