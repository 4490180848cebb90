#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QPalette>
#include <QPixmap>
#include <QToolBar>

#include <cstdlib>
#include <set>
#include <vector>

#include "res/ResourceIds.h"
#include "ui/CommandTable.h"
#include "ui/ToolbarImages.h"

namespace lumivox::test {
namespace {

// A light and a dark theme, all roles worked out from the button colour as Qt does.
QPalette Light() { return QPalette(QColor(0xEF, 0xEF, 0xEF)); }
QPalette Dark() { return QPalette(QColor(0x35, 0x35, 0x35)); }
constexpr QRgb kRed = qRgb(0xB0, 0x10, 0x10);

// The colours of the visible pixels of the icon in `mode`.
std::set<QRgb> Inks(const QIcon& icon, QIcon::Mode mode = QIcon::Normal, QSize size = QSize(16, 15)) {
  const QImage image = icon.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32);
  std::set<QRgb> inks;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) inks.insert(image.pixel(x, y));
  return inks;
}

QRgb Ink(const QPalette& palette, QPalette::ColorGroup group) {
  return palette.color(group, QPalette::ButtonText).rgba();
}

// Loading from the resource also proves that the resources are linked into the executable.
TEST(ToolbarImages, EveryButtonHasItsOwnCellInkedInTheButtonTextAndGreyedWhenDisabled) {
  for (const QPalette& palette : {Light(), Dark()}) {
    const QRgb text = Ink(palette, QPalette::Normal), disabled = Ink(palette, QPalette::Disabled);
    const int background = qGray(palette.color(QPalette::Button).rgb());
    EXPECT_LT(std::abs(qGray(disabled) - background), std::abs(qGray(text) - background)) << "disabled reads fainter";
    std::vector<std::pair<int, QImage>> images;
    for (const int id : ToolbarButtons()) {
      if (id == kToolbarSeparator) continue;
      const QIcon icon = ToolbarIcon(id, palette);
      EXPECT_EQ(icon.actualSize(QSize(64, 64)), QSize(16, 15)) << id;
      EXPECT_EQ(Inks(icon), (id == ID_EDIT_DELETE ? std::set{kRed} : std::set{text})) << id;
      EXPECT_EQ(Inks(icon, QIcon::Disabled), std::set{disabled}) << id;
      const QImage image = icon.pixmap(QSize(16, 15)).toImage();
      for (const auto& [other, seen] : images) EXPECT_FALSE(image == seen) << id << " looks like " << other;
      images.emplace_back(id, image);
    }
  }
}

TEST(ToolbarImages, ButtonsFollowThePaletteOfTheirWindow) {
  QMainWindow window;
  auto* bar = new QToolBar;
  window.addToolBar(bar);
  QAction* play = bar->addAction("Play");
  play->setData(ID_TOOLBAR_PLAY);
  bar->addSeparator();
  new ToolbarGlyphs(*bar);
  EXPECT_EQ(Inks(play->icon()), std::set{Ink(bar->palette(), QPalette::Normal)});
  window.setPalette(Dark());
  EXPECT_EQ(Inks(play->icon()), std::set{Ink(Dark(), QPalette::Normal)});
  window.setPalette(Light());
  EXPECT_EQ(Inks(play->icon()), std::set{Ink(Light(), QPalette::Normal)});
}

TEST(ToolbarImages, IdsWithoutAButtonHaveNoImage) {
  for (const int id : {kToolbarSeparator, -1, ID_PLAY_PLAYPAUSE}) {
    EXPECT_TRUE(ToolbarIcon(id, Light()).isNull()) << id;
  }
}

TEST(ToolbarImages, TheProgramHasAVisibleIcon) {
  const QIcon program = ProgramIcon();
  ASSERT_FALSE(program.isNull());
  EXPECT_EQ(program.actualSize(QSize(64, 64)), QSize(32, 32));
  EXPECT_FALSE(Inks(program, QIcon::Normal, QSize(32, 32)).empty());
}

}  // namespace
}  // namespace lumivox::test
