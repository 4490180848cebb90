#pragma once
// Times as the windows show them.

#include <cstdint>
#include <string>

#include "playlist/PlaylistEntry.h"  // kUnitsPerSecond, the 100-ns units of times

namespace lumivox {

// "h:mm:ss" from one hour up, else "m:ss": 59 -> "0:59", 3600 -> "1:00:00".
std::string FormatSeconds(std::int64_t seconds);

}  // namespace lumivox
