#pragma once
// The texts of the playlist's cells: titles cut to their column, durations as times.

#include <cstdint>

#include <QFontMetrics>
#include <QString>

namespace lumivox {

// True when `text` plus `extra` pixels fits `width` as it is (an empty text always does).
bool FitsWhole(const QFontMetrics& metrics, const QString& text, int width, int extra);

// `text` itself when it fits `width` with `extra` pixels to spare; otherwise its longest
// prefix of an even number of characters that fits together with "...", followed by "...".
// A text that never fits keeps its first two characters (or its one or two) and "...".
QString MakeShortString(const QFontMetrics& metrics, const QString& text, int width, int extra);

// The duration column's text for a duration in 100-ns units: whole seconds as a time,
// empty for an unknown duration (-1).
QString DurationText(std::int64_t duration);

}  // namespace lumivox
