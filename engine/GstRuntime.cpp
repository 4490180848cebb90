#include "engine/GstRuntime.h"

#include <gst/gst.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sstream>

#include "engine/EngineLog.h"
#include "engine/GstPtr.h"

namespace lumivox {
namespace {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec) qCWarning(lcEngine) << "the program's own path is unknown:" << ec.message().c_str();
  return ec ? fs::path() : program.parent_path();
}

bool IsInside(const fs::path& path, const fs::path& folder) {
  return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

// An installed program takes the module installed beside it, wherever its prefix has been
// moved; only a program run from the build folder takes the module built there.
std::string PluginPath() {
  if (const char* path = std::getenv("LUMIVOX_PLUGIN_PATH")) return path;
  const fs::path program = ProgramFolder();
  if (program.empty()) return {};
  std::string path = (program / LUMIVOX_INSTALLED_PLUGIN_DIR).lexically_normal().string();
  std::error_code ec;
  const fs::path buildFolder = fs::weakly_canonical(LUMIVOX_BUILD_DIR, ec);
  if (!ec && IsInside(program, buildFolder)) path += std::string(":") + LUMIVOX_BUILD_PLUGIN_DIR;
  return path;
}

void LoadHalcyonModule() {
  const std::string path = PluginPath();
  std::istringstream folders(path);
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (folder.empty()) continue;
    const std::string file = folder + "/libgsthalcyon.so";
    if (!g_file_test(file.c_str(), G_FILE_TEST_IS_REGULAR)) continue;
    // Loaded for this process only, so the shared registry cache never remembers it.
    GError* raw = nullptr;
    auto plugin = Adopt(gst_plugin_load_file(file.c_str(), &raw));
    const GErrorPtr failure(raw);
    if (plugin) {
      qCDebug(lcEngine) << "maker's module:" << file.c_str();
      return;
    }
    qCWarning(lcEngine) << "maker's module" << file.c_str() << "not loaded:" << (failure ? failure->message : "");
  }
  qCDebug(lcEngine) << "no maker's module in" << path.c_str();
}

}  // namespace

bool InitGStreamer(std::string* error) {
  static std::once_flag once;
  static bool ok = false;
  static std::string reason;
  std::call_once(once, [] {
    GError* raw = nullptr;
    ok = gst_init_check(nullptr, nullptr, &raw);
    GErrorPtr failure(raw);
    if (!ok) {
      reason = failure ? failure->message : "GStreamer could not be initialised";
      return;
    }
    LoadHalcyonModule();
  });
  if (!ok && error) *error = reason;
  return ok;
}

}  // namespace lumivox
