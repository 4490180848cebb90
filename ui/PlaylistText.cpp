#include "ui/PlaylistText.h"

#include <vector>

#include "ui/TimeText.h"

namespace lumivox {
namespace {

const QString kEllipsis = QStringLiteral("...");

// UTF-16 offsets where each character (code point) starts, and the text's end.
std::vector<qsizetype> CharacterStarts(const QString& text) {
  std::vector<qsizetype> starts;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!text.at(i).isLowSurrogate()) starts.push_back(i);
  }
  starts.push_back(text.size());
  return starts;
}

}  // namespace

bool FitsWhole(const QFontMetrics& metrics, const QString& text, int width, int extra) {
  return text.isEmpty() || metrics.horizontalAdvance(text) + extra <= width;
}

QString MakeShortString(const QFontMetrics& metrics, const QString& text, int width, int extra) {
  if (FitsWhole(metrics, text, width, extra)) return text;
  // Cut two characters at a time, counting code points so a surrogate pair is never split.
  const std::vector<qsizetype> starts = CharacterStarts(text);
  const int length = static_cast<int>(starts.size()) - 1;
  const int ellipsis = metrics.horizontalAdvance(kEllipsis);
  int keep = length;
  for (int cut = length % 2 == 0 ? length - 2 : length - 1; cut > 0; cut -= 2) {
    keep = cut;
    if (metrics.horizontalAdvance(text.left(starts[cut])) + ellipsis + extra <= width) break;
  }
  return text.left(starts[keep]) + kEllipsis;
}

QString DurationText(std::int64_t duration) {
  if (duration == -1) return {};
  return QString::fromStdString(FormatSeconds(duration / kUnitsPerSecond));
}

}  // namespace lumivox
