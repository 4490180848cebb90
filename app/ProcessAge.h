#pragma once
// How long this process has existed, by the kernel's record of its start: the program's
// loading counts, not only what runs after main.

#include <chrono>
#include <optional>

namespace lumivox {

// None when /proc does not tell.
std::optional<std::chrono::nanoseconds> ProcessAge();

}  // namespace lumivox
