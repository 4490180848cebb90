#include "app/ProcessAge.h"

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace lumivox {

std::optional<std::chrono::nanoseconds> ProcessAge() {
  std::ifstream file("/proc/self/stat");
  const std::string stat{std::istreambuf_iterator<char>(file), {}};
  // The name in field 2 may hold spaces and parentheses: count from its last ')'.
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(nameEnd + 1));
  std::string skipped;
  for (int field = 3; field < 22; ++field) fields >> skipped;
  // Field 22: the start, in clock ticks after boot.
  unsigned long long startTicks = 0;
  timespec now{};
  const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
  if (!(fields >> startTicks) || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
    return std::nullopt;
  }
  const auto hz = static_cast<unsigned long long>(ticksPerSecond);
  const auto started =
      std::chrono::seconds(startTicks / hz) + std::chrono::nanoseconds((startTicks % hz) * 1'000'000'000 / hz);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec) - started;
}

}  // namespace lumivox
