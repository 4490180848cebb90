#pragma once
// What every list reader promises for any input whatever. The fuzz targets and the
// corpus replay test share these checks; each is false when a promise is broken.

#include <string_view>

namespace lumivox::fuzz {

bool CheckM3u(std::string_view bytes);
bool CheckPls(std::string_view bytes);
bool CheckLst(std::string_view bytes);
bool CheckAlbum(std::string_view bytes);

}  // namespace lumivox::fuzz
