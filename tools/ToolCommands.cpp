#include "tools/ToolCommands.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string_view>

#include "playlist/ListOnlyEngine.h"
#include "playlist/PlayerDoc.h"
#include "playlist/PlaylistFile.h"
#include "playlist/formats/UniqueFd.h"

namespace lumivox::tool {
namespace {

// The tool never plays and leaves the user's settings alone.
struct ToolDocument {
  explicit ToolDocument(bool addExisted)
      : settings(addExisted), doc(std::make_unique<ListOnlyEngine>(), settings, {}) {}
  ListOnlySettings settings;
  CPlayerDoc doc;
};

// Why `in` cannot be read as a list, or nothing when it can. Never waits on a FIFO.
std::string UnreadableList(const std::string& in) {
  if (ListFormatOf(in) == ListFormat::None) return "not a list file";
  const UniqueFd fd(::open(in.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd) return std::strerror(errno);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) return std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  return {};
}

bool Writable(ListFormat format) { return format != ListFormat::None && format != ListFormat::Album; }

}  // namespace

int ReadList(const std::string& list, std::ostream& out) {
  // The names go out as they are read, a block at a time: a list of a million lines is
  // neither held whole nor written line by line.
  constexpr std::size_t kBlockBytes = 1 << 16;
  std::string block;
  const auto writeBlock = [&] {
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    block.clear();
  };
  const bool complete = ReadPlaylist(list, [&](std::string_view name) {
    block.append(name) += '\n';
    if (block.size() >= kBlockBytes) writeBlock();
  });
  writeBlock();
  out.flush();
  return complete ? kOk : kFailed;
}

int ConvertList(const std::string& in, const std::string& out, bool addExisted, std::ostream& err) {
  // Checked before anything is written, so that OUT never becomes an empty list by mistake.
  if (const std::string why = UnreadableList(in); !why.empty()) {
    err << "lumivox-tool: " << in << ": " << why << '\n';
    return kFailed;
  }
  if (!Writable(ListFormatOf(out))) {
    err << "lumivox-tool: " << out << ": not a list format that can be written\n";
    return kFailed;
  }
  ToolDocument tool(addExisted);
  tool.doc.LoadPlaylistFile(in);
  if (SavePlaylist(out, tool.doc.entries())) return kOk;
  err << "lumivox-tool: " << out << ": not written, the old file is kept\n";
  return kFailed;
}

int ScanFolder(const std::string& folder, bool addExisted, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    err << "lumivox-tool: " << folder << ": not a folder\n";
    return kFailed;
  }
  ToolDocument tool(addExisted);
  tool.doc.AddFolder(folder);
  for (const auto& entry : tool.doc.entries()) out << entry->path() << '\n';
  out.flush();
  return kOk;
}

}  // namespace lumivox::tool
