#include "playlist/PlaylistEntry.h"

#include <cstring>

#include "playlist/PathText.h"

namespace lumivox {

PlaylistEntry::PlaylistEntry(std::string_view path)
    : pathLength_(static_cast<std::uint32_t>(path.size())),
      titleOffset_(static_cast<std::uint32_t>(path.size() - TitleOf(path).size())) {
  char* text = reinterpret_cast<char*>(this + 1);
  std::memcpy(text, path.data(), path.size());
  text[path.size()] = '\0';
}

}  // namespace lumivox
