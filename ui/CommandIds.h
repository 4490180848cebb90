#pragma once
// Command ids the windows send or handle by name; CommandTable holds them all.

namespace lumivox {

inline constexpr int ID_VIEW_FULLSCREEN = 32783;

}  // namespace lumivox
