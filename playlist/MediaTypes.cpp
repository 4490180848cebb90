#include "playlist/MediaTypes.h"

#include <algorithm>

#include "playlist/PathText.h"
#include "playlist/PlaylistFile.h"

namespace lumivox {

bool IsPlaylistFile(std::string_view path) { return ListFormatOf(path) != ListFormat::None; }

bool IsSupportedFile(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string ext = Utf8ToLower(path.substr(dot + 1, 7));
  return std::find(kMediaExtensions.begin(), kMediaExtensions.end(), ext) != kMediaExtensions.end();
}

}  // namespace lumivox
