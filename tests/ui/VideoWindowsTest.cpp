// The video pane, the full-screen window and the splitter, on real windows with the
// document over a scripted engine.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

#include "playlist/DocFixture.h"
#include "res/ResourceIds.h"
#include "ui/FullScreenWnd.h"
#include "ui/PlayerSplitter.h"
#include "ui/VideoView.h"

namespace lumivox::test {
namespace {

class VideoWindowsTest : public DocFixture {
 protected:
  VideoWindowsTest() {
    options.playerColor = {0x00102030, 0x00FFFFFF, 0x00405060, 0x0000FF00, 0x000000FF};
    site.options = &options;
    site.sendCommand = [this](int id) { commands.push_back(id); };
    site.popupMenu = [this](std::string_view menu, QPoint, int defaultId) {
      menus.push_back(std::string(menu) + " " + std::to_string(defaultId));
    };
    site.dropFiles = [this](std::vector<std::string> names) { drops.push_back(std::move(names)); };
    site.reattachVideo = [this] { ++reattached; };
    engine->videos["/v/clip.avi"] = {352, 240};
    Fill({"/v/clip.avi"});
    doc->OpenItem(0);
  }
  static QColor Pixel(QWidget& widget, QPoint at) { return widget.grab().toImage().pixelColor(at); }

  ViewSite site;
  std::vector<int> commands;
  std::vector<std::string> menus;
  std::vector<std::vector<std::string>> drops;
  int reattached = 0;
};

void Click(QWidget& widget, QEvent::Type type, Qt::MouseButton button) {
  QMouseEvent event(type, QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)), button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

TEST_F(VideoWindowsTest, TheVideoPaneShowsTheBackgroundAndFitsThePictureToItsSize) {
  CVideoView view(*doc, site);
  view.resize(500, 400);
  view.show();
  EXPECT_EQ(Pixel(view, {250, 200}), QColor(0x30, 0x20, 0x10)) << "the Background colour";
  options.aspectRatio = static_cast<int>(AspectRatio::SourceSize);
  doc->AttachVideo(&view);
  EXPECT_EQ(engine->owner, &view);
  EXPECT_EQ(engine->windowPos.width, 1);
  EXPECT_EQ(engine->windowSize.width, 498);
  view.resize(600, 400);
  EXPECT_EQ(engine->windowSize.width, 586) << "a size change fits the picture again";
}

// Its right-click menu is shown and checked by MainFrameTest.
TEST_F(VideoWindowsTest, ADoubleClickOnTheVideoPaneAsksForFullScreen) {
  CVideoView view(*doc, site);
  Click(view, QEvent::MouseButtonDblClick, Qt::LeftButton);
  EXPECT_EQ(commands, std::vector<int>{ID_VIEW_FULLSCREEN});
}

TEST_F(VideoWindowsTest, TheVideoPaneTakesDroppedFilesOnly) {
  CVideoView view(*doc, site);
  QMimeData files, text;
  files.setUrls({QUrl::fromLocalFile("/m/a b.mp3"), QUrl::fromLocalFile("/m/folder")});
  text.setText("/m/a.mp3");
  for (QMimeData* data : {&files, &text}) {
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(view).event(&drop);  // straight to the view: no drag is in progress
    EXPECT_EQ(drop.isAccepted(), data == &files);
  }
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], (std::vector<std::string>{"/m/a b.mp3", "/m/folder"}));
}

TEST_F(VideoWindowsTest, FullScreenOwnsTheVideoUntilEscape) {
  CFullScreenWnd fullScreen(*doc, site);
  EXPECT_EQ(fullScreen.Window(), nullptr);
  fullScreen.EnterFullScreen();
  ASSERT_NE(fullScreen.Window(), nullptr);
  QWidget* window = fullScreen.Window()->HostWidget();
  EXPECT_EQ(window->geometry(), QGuiApplication::primaryScreen()->geometry());
  EXPECT_EQ(engine->owner, fullScreen.Window());
  Click(*window, QEvent::MouseButtonRelease, Qt::RightButton);
  EXPECT_EQ(menus, std::vector<std::string>{"FullScreen " + std::to_string(ID_VIEW_FULLSCREEN)});

  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &escape);
  QCoreApplication::processEvents();
  EXPECT_EQ(fullScreen.Window(), nullptr);
  EXPECT_EQ(engine->owner, nullptr);
  EXPECT_EQ(reattached, 1);
  fullScreen.EnterFullScreen();
  EXPECT_NE(fullScreen.Window(), nullptr) << "the object stays for the next time";
}

TEST_F(VideoWindowsTest, TheSplitterIsPaintedInThePlayerColours) {
  CPlayerSplitter splitter(site);
  splitter.AddPane(new QWidget);
  splitter.AddPane(new QWidget);
  splitter.resize(400, 200);
  splitter.show();
  const QImage image = splitter.grab().toImage();
  const int bar = splitter.handle(1)->geometry().center().x();
  EXPECT_EQ(image.pixelColor(bar, 100), QColor(0x60, 0x50, 0x40)) << "Splitter colour";
  EXPECT_EQ(image.pixelColor(1, 100), QColor(0x30, 0x20, 0x10)) << "pane frame in the Background colour";
}

}  // namespace
}  // namespace lumivox::test
