// The seek bar as a real window: what it paints, when it repaints, and what the mouse does.

#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>

#include <algorithm>
#include <vector>

#include "ui/SeekBar.h"
#include "ui/TimeText.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = kUnitsPerSecond;
constexpr int kWidth = 600;  // track 5..495, time box 505..595; the thumb's left edge travels 5..485
constexpr int kHeight = 24;  // track rows 5..18, groove rows 11 and 12

// Every channel differs, so a swapped byte order shows.
const std::array<ColorRef, kPlayerColorCount> kColors = {0x00302010, 0x000000FF, 0x00405060, 0x0000FF00, 0x00FF0000};
const QRgb kBack = qRgb(0x10, 0x20, 0x30);
const QRgb kStrip = qRgb(0x60, 0x50, 0x40);
const QRgb kGrey = qRgb(192, 192, 192);
const QRgb kWhite = qRgb(255, 255, 255);

struct Pixel {
  int x, y;
  QRgb colour;
};

class PaintCounter : public QObject {
 public:
  int count = 0;
  QRegion painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count, painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

class SeekBarWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.SetColors(kColors);
    bar.SetSeekHandler([this](std::int64_t position) { seeks.push_back(position); });
    bar.resize(kWidth, kHeight);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QCoreApplication::processEvents();
    bar.installEventFilter(&paints);
  }

  void ExpectPixels(const std::vector<Pixel>& pixels) {
    const QImage image = bar.grab().toImage();
    for (const auto& p : pixels) EXPECT_EQ(QColor(image.pixel(p.x, p.y)), QColor(p.colour)) << p.x << "," << p.y;
  }

  void Mouse(QEvent::Type type, int x, int y = kHeight / 2, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, bar.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &event);
  }

  CSeekBar bar;
  PaintCounter paints;
  std::vector<std::int64_t> seeks;
};

TEST_F(SeekBarWindow, PaintsStripBackgroundAndGrooveOnTheSideAndInTheColoursGiven) {
  ExpectPixels({{0, 0, kStrip}, {599, 1, kStrip}, {300, 2, kBack}, {10, 11, kGrey}, {489, 12, kGrey},
                {9, 11, kBack}, {490, 11, kBack}, {250, 10, kBack}, {250, 13, kBack}, {5, 5, kBack},
                {500, 12, kBack}, {599, 23, kBack}});  // no thumb while nothing is open
  bar.SetDockedAtTop(true);
  auto colours = kColors;
  colours[PlayerColor_Background] = 0x00C0B0A0;
  bar.SetColors(colours);
  ExpectPixels({{300, 1, qRgb(0xA0, 0xB0, 0xC0)}, {0, 22, kStrip}, {599, 23, kStrip}, {500, 21, qRgb(0xA0, 0xB0, 0xC0)}});
}

TEST_F(SeekBarWindow, ThumbSitsAtTheScaledPositionAndCoversTheGroove) {
  const std::pair<std::int64_t, int> cases[] = {{0, 5}, {240, 245}, {100, 105}, {480, 485}, {600, 485}};
  for (const auto& [seconds, left] : cases) {
    bar.SetPosition(480 * kSecond, seconds * kSecond);
    ExpectPixels({{left, 5, kWhite}, {left, 18, kWhite}, {left + 9, 11, kWhite}, {left + 1, 6, kGrey},
                  {left + 8, 17, kGrey}, {left + 2, 11, kBack}, {left + 7, 12, kBack}, {left + 10, 6, kBack},
                  {std::max(left - 1, 0), 6, kBack}});
  }
}

TEST_F(SeekBarWindow, TimeIsRightAlignedAndCentredInTheTextColour) {
  constexpr int kTall = 40;  // time box rows 5..34, well taller than the text
  bar.resize(kWidth, kTall);
  QCoreApplication::processEvents();
  bar.SetPosition(240 * kSecond, 90 * kSecond);
  ASSERT_EQ(bar.TimeText(), "1:30/4:00");
  // Pure red text over a dark background: anti-aliased ink still has little green or blue.
  const QImage image = bar.grab().toImage();
  int minX = kWidth, maxX = -1, minY = kTall, maxY = -1;
  for (int y = 0; y < kTall; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const QColor c(image.pixel(x, y));
      if (c.red() <= 128 || c.green() > 0x20 || c.blue() > 0x30) continue;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  ASSERT_GE(maxX, 0) << "no text in the text colour";
  const QFontMetrics metrics(bar.font());
  EXPECT_NEAR(minX, 595 - metrics.horizontalAdvance(bar.TimeText()), 3);
  EXPECT_NEAR(maxX, 593, 2);
  // The line box is centred; the digits' ink runs from cap height down to the baseline.
  const double lineTop = 5 + (30 - metrics.height()) / 2.0;
  EXPECT_NEAR(minY, lineTop + metrics.ascent() - metrics.capHeight(), 2.5);
  EXPECT_NEAR(maxY + 1, lineTop + metrics.ascent(), 2.5);
}

TEST_F(SeekBarWindow, RepaintsTrackAndTimeOnlyWhenAWholeSecondChanges) {
  struct Step {
    std::int64_t duration, position;
    bool repaints;
  } const steps[] = {
      {240 * kSecond, 102 * kSecond / 10, true}, {240 * kSecond, 109 * kSecond / 10, false},
      {240 * kSecond, 11 * kSecond, true},       {2405 * kSecond / 10, 115 * kSecond / 10, false},
      {241 * kSecond, 115 * kSecond / 10, true}, {0, 0, true},
      {kSecond / 2, kSecond / 2, false},
  };
  std::int64_t shown = 0;
  for (const auto& s : steps) {
    const int before = paints.count;
    bar.SetPosition(s.duration, s.position);
    QCoreApplication::processEvents();
    if (s.repaints) shown = s.position;
    EXPECT_EQ(paints.count > before, s.repaints) << s.position;
    EXPECT_EQ(bar.Position(), shown) << s.position;
  }
  EXPECT_TRUE(paints.painted.contains(QRect(QPoint(5, 5), QPoint(494, 18))));
  EXPECT_TRUE(paints.painted.contains(QRect(QPoint(505, 5), QPoint(594, 18))));
}

TEST_F(SeekBarWindow, DragMovesTheThumbAndSeeksOnlyOnRelease) {
  // 480 s over a 480-pixel travel: the thumb centre at x means x - 10 seconds.
  const auto at = [](int x) { return std::clamp<std::int64_t>(x - 10, 0, 480) * kSecond; };
  const std::vector<int> drags[] = {{100, 300, 700}, {100, 50, -40}, {250}, {5}, {494, 200, 494}};
  for (const auto& xs : drags) {
    seeks.clear();
    bar.SetPosition(480 * kSecond, 3 * kSecond);
    Mouse(QEvent::MouseButtonPress, xs.front());
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const int x = xs[i];
      if (i > 0) Mouse(QEvent::MouseMove, x);
      bar.SetPosition(480 * kSecond, 7 * kSecond);  // playback goes on but is not shown
      EXPECT_TRUE(bar.IsDragging());
      EXPECT_EQ(bar.Position(), at(x)) << x;
    }
    EXPECT_TRUE(seeks.empty()) << "moving the thumb does not seek";
    const int before = paints.count;
    Mouse(QEvent::MouseButtonRelease, xs.back());
    QCoreApplication::processEvents();
    EXPECT_EQ(seeks, std::vector<std::int64_t>{at(xs.back())}) << xs.front();
    EXPECT_EQ(paints.count, before) << "the next timer tick shows the new position";
    EXPECT_FALSE(bar.IsDragging());
  }
}

TEST_F(SeekBarWindow, OnlyALeftClickInTheTimeBoxTogglesElapsedAndRemaining) {
  bar.SetPosition(240 * kSecond, 90 * kSecond);
  struct Case {
    int x, y;
    Qt::MouseButton button;
    bool toggles;
  } const cases[] = {
      {550, 12, Qt::LeftButton, true},  {505, 5, Qt::LeftButton, true},   {594, 18, Qt::LeftButton, true},
      {550, 12, Qt::LeftButton, true},  {500, 12, Qt::LeftButton, false}, {595, 12, Qt::LeftButton, false},
      {550, 19, Qt::LeftButton, false}, {550, 4, Qt::LeftButton, false},  {550, 12, Qt::RightButton, false},
      {200, 12, Qt::RightButton, false},
  };
  bool remaining = false;
  for (const auto& c : cases) {
    const int before = paints.count;
    Mouse(QEvent::MouseButtonPress, c.x, c.y, c.button);
    Mouse(QEvent::MouseButtonRelease, c.x, c.y, c.button);
    remaining ^= c.toggles;
    EXPECT_EQ(bar.TimeText(), remaining ? "-2:30/4:00" : "1:30/4:00") << c.x << "," << c.y;
    EXPECT_EQ(paints.count > before, c.toggles) << c.x << "," << c.y;
  }
  EXPECT_TRUE(seeks.empty());
  EXPECT_EQ(bar.Position(), 90 * kSecond);
}

TEST_F(SeekBarWindow, NothingOpenOrTooNarrowToMapSeeksToZeroWithoutDividingByZero) {
  // At 120 pixels the track is 10 wide and maps nothing; at 110 and less it is gone.
  struct Case {
    int width;
    std::int64_t duration;
    std::vector<std::int64_t> seeks;
  } const cases[] = {{600, 0, {0}}, {121, 60 * kSecond, {60 * kSecond}}, {120, 60 * kSecond, {0}},
                     {110, 60 * kSecond, {}}, {8, 60 * kSecond, {}}};
  for (const auto& c : cases) {
    seeks.clear();
    bar.resize(c.width, kHeight);
    QCoreApplication::processEvents();
    bar.SetPosition(c.duration, 30 * kSecond);
    EXPECT_FALSE(bar.grab().isNull()) << c.width;
    Mouse(QEvent::MouseButtonPress, 10);
    Mouse(QEvent::MouseMove, 12);
    Mouse(QEvent::MouseButtonRelease, 11);
    EXPECT_EQ(seeks, c.seeks) << c.width;
    bar.SetPosition(0, 0);
  }
}

TEST_F(SeekBarWindow, PreferredSizeIsTheTemplateInTheFontsDialogUnits) {
  for (const int pixelSize : {11, 17}) {
    QFont font = bar.font();
    font.setPixelSize(pixelSize);
    bar.setFont(font);
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double baseX = (letters / 26 + 1) / 2;  // Windows' average letter width
    EXPECT_EQ(bar.sizeHint(), QSize(qRound(330 * baseX / 4), qRound(14 * metrics.height() / 8.0))) << pixelSize;
  }
  EXPECT_EQ(bar.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
}

}  // namespace
}  // namespace lumivox::test
