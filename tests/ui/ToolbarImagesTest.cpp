#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include <vector>

#include "res/ResourceIds.h"
#include "ui/CommandTable.h"
#include "ui/ToolbarImages.h"

namespace lumivox::test {
namespace {

bool HasVisiblePixel(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return true;
  return false;
}

// Loading from the resource also proves that the resources are linked into the executable.
TEST(ToolbarImages, EveryButtonHasItsOwnVisibleCell) {
  std::vector<std::pair<int, QImage>> images;
  for (const int id : ToolbarButtons()) {
    if (id == kToolbarSeparator) continue;
    const QIcon icon = ToolbarIcon(id);
    EXPECT_EQ(icon.actualSize(QSize(64, 64)), QSize(16, 15)) << id;
    const QPixmap pixmap = icon.pixmap(QSize(16, 15));
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_TRUE(HasVisiblePixel(image)) << id;
    for (const auto& [other, seen] : images) EXPECT_FALSE(image == seen) << id << " looks like " << other;
    images.emplace_back(id, image);
  }
  EXPECT_EQ(images.size(), 10u);
}

TEST(ToolbarImages, UnknownIdsHaveNoImageAndTheProgramHasAnIcon) {
  for (const int id : {kToolbarSeparator, -1, ID_PLAY_PLAYPAUSE, 40021}) EXPECT_TRUE(ToolbarIcon(id).isNull()) << id;
  const QIcon program = ProgramIcon();
  ASSERT_FALSE(program.isNull());
  EXPECT_EQ(program.actualSize(QSize(64, 64)), QSize(32, 32));
  EXPECT_TRUE(HasVisiblePixel(program.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32)));
}

}  // namespace
}  // namespace lumivox::test
