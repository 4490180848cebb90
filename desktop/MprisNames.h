#pragma once
// The names the player goes by on the session bus.

namespace lumivox {

// The desktop entry's name without ".desktop"; desktop shells find the program's icon and
// name through it.
inline constexpr char kDesktopEntry[] = LUMIVOX_APP_ID;

inline constexpr char kMprisService[] = "org.mpris.MediaPlayer2.lumivox";
inline constexpr char kMprisPath[] = "/org/mpris/MediaPlayer2";
inline constexpr char kMprisPlayerInterface[] = "org.mpris.MediaPlayer2.Player";

}  // namespace lumivox
