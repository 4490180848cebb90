#pragma once
// Dialog layouts given in dialog units: a quarter of the font's average character width
// across, an eighth of its height down.

#include <QFontMetrics>
#include <QRect>

namespace lumivox {

inline QRect DialogRect(const QFontMetrics& metrics, int x, int y, int width, int height) {
  const int baseX = metrics.averageCharWidth();
  const int baseY = metrics.height();
  return {x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8};
}

}  // namespace lumivox
