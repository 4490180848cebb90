#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QList>

#include "ui/PlayListText.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = 10'000'000;
const QString kDots = QStringLiteral("...");

class ShortString : public ::testing::Test {
 protected:
  int Width(const QString& text) const { return metrics.horizontalAdvance(text); }
  static qsizetype Characters(const QString& text) { return text.toUcs4().size(); }

  // What any result must be: the text when it fits, else an even number of its leading
  // characters and "...", the longest even cut that fits (or two characters).
  void ExpectWellCut(const QString& text, int width, int extra) const {
    const QString result = MakeShortString(metrics, text, width, extra);
    if (Width(text) + extra <= width) {
      EXPECT_EQ(result, text) << width;
      return;
    }
    ASSERT_TRUE(result.endsWith(kDots)) << width;
    const QString prefix = result.chopped(kDots.size());
    ASSERT_TRUE(text.startsWith(prefix)) << width;
    const qsizetype kept = Characters(prefix);
    const qsizetype length = Characters(text);
    EXPECT_FALSE(prefix.isEmpty() || prefix.back().isHighSurrogate()) << width;
    if (length <= 2) {
      EXPECT_EQ(prefix, text) << width;
      return;
    }
    EXPECT_EQ(kept % 2, 0) << width;
    if (kept > 2) {
      EXPECT_LE(Width(prefix) + Width(kDots) + extra, width) << width;
    }
    if (kept + 2 < length) {
      const QList<uint> characters = text.toUcs4();
      const QString longer = QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), kept + 2);
      EXPECT_GT(Width(longer) + Width(kDots) + extra, width) << width;
    }
  }

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
      {10, 6, 0, 6}, {10, 6, 1, 4},
      {10, 7, 0, 6},                                  // seven would fit, but cuts are even
      {9, 8, 0, 8},  {9, 7, 0, 6},                    // odd length: the first cut is at eight
      {10, 0, 99, 2}, {3, 0, 99, 2},                  // nothing fits: two letters stay
      {2, 0, 99, 2}, {1, 0, 99, 1},                   // one or two letters stay whole
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

TEST_F(ShortString, EveryWidthGivesAWellCutText) {
  const QString titles[] = {
      QStringLiteral("The Quick Brown Fox - Jumps Over (Live).mp3"),
      QStringLiteral("日本語のタイトル・第二章.wma"),
      QString::fromUtf8("\xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB6\xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB6\xF0\x9F\x8E\xB5 mix.ogg"),
      QStringLiteral("ab"),
  };
  for (const QString& title : titles) {
    for (int width = 0; width <= Width(title) + 14; ++width) ExpectWellCut(title, width, 4);
  }
}

TEST(DurationText, WholeSecondsOrNothingForAnUnknownDuration) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {-1, ""}, {0, "0:00"}, {60 * kSecond - 1, "0:59"},  // parts of a second are dropped
      {60 * kSecond, "1:00"}, {3599 * kSecond, "59:59"}, {3600 * kSecond, "1:00:00"},
      {(10 * 3600 + 61) * kSecond, "10:01:01"},
  };
  for (const auto& [duration, text] : cases) EXPECT_EQ(DurationText(duration), QString::fromLatin1(text)) << duration;
}

}  // namespace
}  // namespace lumivox::test
