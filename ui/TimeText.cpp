#include "ui/TimeText.h"

#include <cstdio>

namespace lumivox {

std::string FormatSeconds(std::int64_t seconds) {
  char text[48];
  const auto s = static_cast<long long>(seconds);
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s % 3600 / 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  }
  return text;
}

}  // namespace lumivox
