#pragma once
// Dialog layouts given in dialog units: a quarter of the font's average letter width
// across (measured over the 52 letters, as the units were defined), an eighth of its
// height down.

#include <QFontMetrics>
#include <QRect>

namespace lumivox {

inline QRect DialogRect(const QFontMetrics& metrics, int x, int y, int width, int height) {
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  const int baseX = (letters / 26 + 1) / 2;
  const int baseY = metrics.height();
  return {x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8};
}

}  // namespace lumivox
