#include "engine/GstRuntime.h"

#include <gst/gst.h>

#include <cstdlib>
#include <mutex>
#include <sstream>

#include "engine/GstPtr.h"

namespace lumivox {
namespace {

std::string PluginPath() {
  if (const char* path = std::getenv("LUMIVOX_PLUGIN_PATH")) return path;
  return std::string(LUMIVOX_BUILD_PLUGIN_DIR) + ":" + LUMIVOX_INSTALL_PLUGIN_DIR;
}

void LoadHalcyonModule() {
  std::istringstream folders(PluginPath());
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (folder.empty()) continue;
    const std::string file = folder + "/libgsthalcyon.so";
    if (!g_file_test(file.c_str(), G_FILE_TEST_IS_REGULAR)) continue;
    // Loaded for this process only, so the shared registry cache never remembers it.
    if (auto plugin = Adopt(gst_plugin_load_file(file.c_str(), nullptr))) return;
  }
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
