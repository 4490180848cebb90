#include "tools/ToolCommands.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <vector>

#include "playlist/PlayerDoc.h"
#include "playlist/PlaylistFile.h"

namespace lumivox::tool {
namespace {

// The tool never plays: its engine holds no graph, so every transport call fails
// quietly as the document expects of an engine without a file.
class NoPlayback final : public IGraphPlayer {
 public:
  bool Open(const std::string&) override { return false; }
  void Close() override {}
  bool IsOpen() const override { return false; }
  bool Run() override { return false; }
  bool PlayPause() override { return false; }
  bool PauseResume() override { return false; }
  void Stop() override {}
  bool Seek(std::int64_t) override { return false; }
  RunState GetState() override { return State_Stopped; }
  bool GetTimes(std::int64_t*, std::int64_t*) override { return false; }
  bool GetEvent(GraphEvent&) override { return false; }
  bool HasBasicVideo() const override { return false; }
  bool GetVideoWidth(std::int32_t&) override { return false; }
  bool GetVideoHeight(std::int32_t&) override { return false; }
  bool GetBitRate(std::int32_t&) override { return false; }
  bool HasVideoWindow() const override { return false; }
  void SetVideoOwner(IVideoOwner*) override {}
  IVideoOwner* GetVideoOwner() const override { return nullptr; }
  void SetVideoAutoShow(bool) override {}
  void SetVideoVisible(bool) override {}
  void SetVideoWindowPosition(int, int) override {}
  void SetVideoWindowSize(int, int) override {}
  bool ProbeDeviceRenderer() override { return false; }
};

// The tool's settings: the duplicate rule from the command line, the user's store untouched.
class ToolSettings final : public IPlayerSettings {
 public:
  explicit ToolSettings(bool addExisted) : addExisted_(addExisted) {}
  bool AddExisted() const override { return addExisted_; }
  bool LoadLastList() const override { return false; }
  int AspectRatio() const override { return 3; }
  int GetProfileInt(std::string_view, std::string_view, int defaultValue) override { return defaultValue; }
  void WriteProfileInt(std::string_view, std::string_view, int) override {}

 private:
  bool addExisted_;
};

struct ToolDocument {
  explicit ToolDocument(bool addExisted) : settings(addExisted), doc(std::make_unique<NoPlayback>(), settings, {}) {}
  ToolSettings settings;
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
