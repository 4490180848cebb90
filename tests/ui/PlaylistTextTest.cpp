#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

#include "ui/PlaylistText.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = 10'000'000;
const QString kDots = QStringLiteral("...");

class ShortString : public ::testing::Test {
 protected:
  int Width(const QString& text) const { return metrics.horizontalAdvance(text); }

  QFont font{QStringLiteral("DejaVu Sans"), 10};
  QFontMetrics metrics{font};
};

TEST_F(ShortString, CutsAtTheLongestEvenPrefixThatFits) {
  // Texts of one letter wider than "...", so that a cut really saves room.
  const QChar wide(0x0428);
  ASSERT_GT(Width(wide), Width(kDots));
  const auto letters = [&](int count) { return QString(count, wide); };
  struct Case {
    int length;
    int room;  // the column holds this many letters, "..." and the extra
    int less;  // pixels taken off that width
    int kept;  // letters before the "..."
  };
  const Case cases[] = {
      {10, 6, 0, 6},  {10, 6, 1, 4}, {10, 7, 0, 6},  // seven would fit, but cuts are even
      {9, 8, 0, 8},   {9, 7, 0, 6},                  // odd length: the first cut is at eight
      {10, 0, 99, 2}, {3, 0, 99, 2},                 // nothing fits: two letters stay
      {2, 0, 99, 2},  {1, 0, 99, 1},                 // one or two letters stay whole
  };
  for (const int extra : {4, 12}) {
    for (const Case& c : cases) {
      const QString text = letters(c.length);
      const int width = Width(letters(c.room)) + Width(kDots) + extra - c.less;
      EXPECT_EQ(MakeShortString(metrics, text, width, extra), letters(c.kept) + kDots)
          << c.length << " in " << c.room << " less " << c.less << " extra " << extra;
    }
  }
}

TEST(DurationText, WholeSecondsOrNothingForAnUnknownDuration) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {-1, ""},
      {0, "0:00"},
      {60 * kSecond - 1, "0:59"},  // parts of a second are dropped
      {60 * kSecond, "1:00"},
      {3599 * kSecond, "59:59"},
      {3600 * kSecond, "1:00:00"},
      {(10 * 3600 + 61) * kSecond, "10:01:01"},
  };
  for (const auto& [duration, text] : cases) EXPECT_EQ(DurationText(duration), QString::fromLatin1(text)) << duration;
}

}  // namespace
}  // namespace lumivox::test
