#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>

#include "ui/SeekBar.h"
#include "ui/TimeText.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = kUnitsPerSecond;
constexpr int kWidth = 600;  // track 5..495, time box 505..595; the thumb's left edge travels 5..485
constexpr int kHeight = 24;  // track rows 5..18, groove rows 11 and 12
// Every channel differs, so a swapped byte order shows.
const std::array<ColorRef, kPlayerColorCount> kColors = {0x00302010, 0x000000FF, 0x00405060, 0x0000FF00, 0x00FF0000};
const QRgb kBack = qRgb(0x10, 0x20, 0x30), kStrip = qRgb(0x60, 0x50, 0x40), kGrey = qRgb(192, 192, 192);

class SeekBarWindow : public ::testing::Test, public QObject {
 protected:
  void SetUp() override {
    // Small enough for the longest time text to fit the standard 90-pixel box.
    QFont small = bar.font();
    small.setPixelSize(8);
    bar.setFont(small);
    bar.SetColors(kColors);
    bar.SetSeekHandler([this](std::int64_t position) { seeks.push_back(position); });
    bar.resize(kWidth, kHeight);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    bar.installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints, painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QImage ExpectPixels(const std::vector<std::tuple<int, int, QRgb>>& pixels) {
    const QImage image = bar.grab().toImage();
    for (const auto& [x, y, rgb] : pixels) EXPECT_EQ(QColor(image.pixel(x, y)), QColor(rgb)) << x << "," << y;
    return image;
  }
  void Mouse(QEvent::Type type, int x, int y = kHeight / 2, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, bar.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &event);
  }

  CSeekBar bar;
  int paints = 0;
  QRegion painted;
  std::vector<std::int64_t> seeks;
};

TEST_F(SeekBarWindow, PaintsStripGrooveThumbAndTimeInTheColoursGiven) {
  bar.SetPosition(480 * kSecond, 240 * kSecond);  // thumb at x 245..254: white outline, grey inside it
  const QRgb white = qRgb(255, 255, 255);
  const QImage image = ExpectPixels({{0, 0, kStrip},
                                     {599, 1, kStrip},
                                     {300, 2, kBack},
                                     {10, 11, kGrey},
                                     {489, 12, kGrey},
                                     {9, 11, kBack},
                                     {490, 11, kBack},
                                     {250, 10, kBack},
                                     {500, 12, kBack},
                                     {245, 5, white},
                                     {254, 18, white},
                                     {246, 6, kGrey},
                                     {253, 17, kGrey},
                                     {247, 11, kBack},
                                     {255, 6, kBack},
                                     {244, 6, kBack}});
  int maxX = -1;  // the rightmost red text ink: right-aligned in the time box
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (const QRgb p = image.pixel(x, y); qRed(p) > 128 && qGreen(p) < 0x30) maxX = std::max(maxX, x);
  EXPECT_NEAR(maxX, 593, 2);
  bar.SetDockedAtTop(true);  // the strip moves to the bottom edge
  ExpectPixels({{300, 1, kBack}, {0, 22, kStrip}, {599, 23, kStrip}});
}

TEST_F(SeekBarWindow, TheTimeBoxGrowsForAFontTooWideForItsLongestText) {
  QFont large = bar.font();
  large.setPixelSize(15);
  bar.setFont(large);
  bar.SetPosition((10 * 3600 - 1) * kSecond, 0);
  Mouse(QEvent::MouseButtonPress, kWidth - 10);  // remaining mode
  ASSERT_EQ(bar.TimeText(), "-9:59:59/9:59:59");
  const QImage image = bar.grab().toImage();
  int minX = kWidth, maxX = -1;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (const QRgb p = image.pixel(x, y); qRed(p) > 128 && qGreen(p) < 0x30)
        minX = std::min(minX, x), maxX = std::max(maxX, x);
  EXPECT_GT(maxX - minX + 1, 90) << "a larger font would not fit the 90-pixel box";
  EXPECT_GE(maxX - minX + 4, QFontMetrics(large).horizontalAdvance(bar.TimeText())) << "no digit is cut off";
}

TEST_F(SeekBarWindow, RepaintsTrackAndTimeOnlyWhenAWholeSecondChanges) {
  const std::tuple<std::int64_t, std::int64_t, bool> steps[] = {{-1, 0, true},  // nothing open, then a stream
                                                                {240 * kSecond, 102 * kSecond / 10, true},
                                                                {2405 * kSecond / 10, 109 * kSecond / 10, false},
                                                                {2405 * kSecond / 10, 11 * kSecond, true},
                                                                {241 * kSecond, 11 * kSecond, true}};
  for (const auto& [duration, position, repaints] : steps) {
    const int before = paints;
    bar.SetPosition(duration, position);
    EXPECT_EQ(paints > before, repaints) << position;
  }
  EXPECT_TRUE(painted.contains(QRect(5, 5, 490, 14)) && painted.contains(QRect(505, 5, 90, 14)));  // track, time
}

TEST_F(SeekBarWindow, DragMovesTheThumbAndSeeksOnceOnRelease) {
  const std::pair<int, std::int64_t> steps[] = {{100, 90}, {700, 480}, {-40, 0}, {250, 240}};  // x - 10 s, clamped
  bar.SetPosition(480 * kSecond, 3 * kSecond);
  for (const auto& [x, seconds] : steps) {
    Mouse(x == 100 ? QEvent::MouseButtonPress : QEvent::MouseMove, x);
    bar.SetPosition(480 * kSecond, 7 * kSecond);  // playback goes on but is not shown
    EXPECT_EQ(bar.Position(), seconds * kSecond) << x;
  }
  EXPECT_TRUE(seeks.empty()) << "moving the thumb does not seek";
  Mouse(QEvent::MouseButtonRelease, 260);
  Mouse(QEvent::MouseButtonRelease, 300);  // a stray second release
  EXPECT_EQ(seeks, std::vector<std::int64_t>{250 * kSecond});
  bar.SetPosition(-1, 3 * kSecond);  // a stream of unknown length cannot seek
  Mouse(QEvent::MouseButtonPress, 100);
  Mouse(QEvent::MouseButtonRelease, 100);
  EXPECT_EQ(seeks.size(), 1u);
  EXPECT_EQ(bar.Position(), 3 * kSecond);
}

TEST_F(SeekBarWindow, OnlyALeftClickInTheTimeBoxTogglesTheMode) {
  bar.SetPosition(240 * kSecond, 90 * kSecond);
  const std::tuple<int, int, Qt::MouseButton, bool> cases[] = {
      {550, 12, Qt::LeftButton, true},  {505, 5, Qt::LeftButton, true},   {594, 18, Qt::LeftButton, true},
      {595, 12, Qt::LeftButton, false}, {500, 12, Qt::LeftButton, false}, {550, 12, Qt::RightButton, false}};
  bool remaining = false;
  for (const auto& [x, y, button, toggles] : cases) {
    const int before = paints;
    Mouse(QEvent::MouseButtonPress, x, y, button);
    Mouse(QEvent::MouseButtonRelease, x, y, button);
    EXPECT_EQ(bar.TimeText(), (remaining ^= toggles) ? "-2:30/4:00" : "1:30/4:00") << x << "," << y;
    EXPECT_EQ(paints > before, toggles) << x << "," << y;
  }
}

}  // namespace
}  // namespace lumivox::test
