#include "tools/ToolCommands.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <vector>

#include "playlist/ListOnlyEngine.h"
#include "playlist/PlayerDoc.h"
#include "playlist/PlaylistFile.h"

namespace lumivox::tool {
namespace {

// The tool never plays and leaves the user's settings alone.
struct ToolDocument {
  explicit ToolDocument(bool addExisted) : settings(addExisted), doc(std::make_unique<ListOnlyEngine>(), settings, {}) {}
  ListOnlySettings settings;
  CPlayerDoc doc;
};

}  // namespace

int ReadList(const std::string& list, std::ostream& out) {
  std::vector<std::string> names;
  const bool complete = ReadPlaylist(list, names);
  for (const auto& name : names) out << name << '\n';
  out.flush();
  return complete ? kOk : kFailed;
}

int ConvertList(const std::string& in, const std::string& out, bool addExisted) {
  ToolDocument tool(addExisted);
  tool.doc.LoadPlaylistFile(in);
  return SavePlaylist(out, tool.doc.entries()) ? kOk : kFailed;
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
