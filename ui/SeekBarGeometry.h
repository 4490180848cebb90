#pragma once
// Where the seek bar puts its track, groove, thumb and time text, and how a point on the
// track maps to a play position. Pure arithmetic, so the rules are tested without a window.

#include <cstdint>
#include <optional>
#include <string>

namespace lumivox {

// A rectangle as the bar's rules give it: right and bottom lie just outside.
struct SeekRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  // Left and top inclusive, right and bottom exclusive.
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }

  friend bool operator==(const SeekRect&, const SeekRect&) = default;
};

// The two areas of a bar with client size cx x cy: the track on the left and a time box
// 5 pixels from the right edge, 10 pixels apart. The box is 90 pixels wide, wider when the
// font needs more for the longest time text.
inline constexpr int kTimeBoxWidth = 90;
struct SeekBarLayout {
  SeekRect track;
  SeekRect time;
};
SeekBarLayout LayoutSeekBar(int cx, int cy, int textWidth = 0);

// The 2-pixel groove across the middle of the track, 5 pixels in from either end.
SeekRect GrooveRect(const SeekRect& track);

inline constexpr int kThumbWidth = 10;

// The thumb for `position` of `duration` (100-ns units), as tall as the track; none when the
// duration is 0 or unknown (-1). From the track's left end at 0 to its right end at (or past) the duration.
std::optional<SeekRect> ThumbRect(const SeekRect& track, std::int64_t duration, std::int64_t position);

// The play position under x on the track, clamped to 0..duration. A track too narrow to map
// (10 pixels or less) yields 0 rather than dividing by zero.
std::int64_t PositionFromX(const SeekRect& track, std::int64_t duration, int x);

// The text of the time box: "elapsed/total", or "-remaining/total" in remaining mode; only
// "elapsed" for a stream of unknown length (-1).
std::string SeekTimeText(std::int64_t duration, std::int64_t position, bool remainingMode);

// True when both values show the same whole second, the only change the text can show.
bool SameWholeSecond(std::int64_t a, std::int64_t b);

// The average character width of a font whose 52 letters "A".."Z", "a".."z" measure
// `lettersWidth` pixels, rounded to the nearest pixel (halves up).
int DialogBaseUnitX(int lettersWidth);

// Dialog units to pixels: a horizontal unit is a quarter of the average character width,
// a vertical unit an eighth of the character height, rounded to the nearest pixel.
int DialogUnitsToPixelsX(int units, int baseUnitX);
int DialogUnitsToPixelsY(int units, int charHeight);

}  // namespace lumivox
