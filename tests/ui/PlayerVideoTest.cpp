// The real lumivox binary on a display of its own, once with the video output it chooses
// there (X images scaled in the graph: Xvfb has no XVideo adaptor and no hardware GL) and
// once with each sink forced: double clicks over the playing picture sent through the X
// server, the full-screen window as a window manager sees it, the picture stretched over
// its whole window, and the Background colour wherever no picture is.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <X11/keysym.h>

#include <functional>

#include "MediaFixtures.h"
#include "PrivateDisplay.h"
#include "TempDir.h"
#include "XClient.h"

namespace lumivox::test {
namespace {

const QColor kBackground(0x80, 0x60, 0x40);  // stored as 0x00BBGGRR
constexpr const char* kChosen = "chosen";    // no sink forced: the player's own choice

class PlayerVideoTest : public ::testing::TestWithParam<const char*> {
 protected:
  ~PlayerVideoTest() override {
    player.terminate();
    player.waitForFinished(10000);
  }

  // Starts the player on this test's sink, playing the clip over and over with the tone
  // next in the list, and waits for its window. Skips the test when the player finds that
  // a forced sink cannot draw on this display.
  void SetUp() override {
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    ASSERT_TRUE(x.connected());
    home.Write("config/Halcyon/lumivox.conf", "[View]\nViewMode=1\nAspectRatio=2\nPlayerColor0=" +
                                                  std::to_string(0x00406080) + "\n[Play]\nRepeat=2\n");
    QProcessEnvironment environment = PlayerEnvironment(display, home);
    const bool forced = std::string(GetParam()) != kChosen;
    if (forced) environment.insert("LUMIVOX_VIDEO_SINK", GetParam());
    environment.insert("QT_LOGGING_RULES", "lumivox.engine*=true");
    player.setProcessEnvironment(environment);
    player.setProcessChannelMode(QProcess::MergedChannels);
    const std::string list = home.Write("list.m3u", MediaPath("clip.avi") + "\n" + MediaPath("tone.wav") + "\n");
    player.start(LUMIVOX_PLAYER, {QString::fromStdString(list)});
    const std::string chosen = forced ? std::string("video sink ") + GetParam() + " chosen by LUMIVOX_VIDEO_SINK"
                                      : "video sink ximagesink scaled in the graph on a display with no XVideo and "
                                        "no hardware GL";
    const std::string refused = std::string("LUMIVOX_VIDEO_SINK names ") + GetParam();
    ASSERT_TRUE(WaitFor([&] { return Logged(chosen) || Logged(refused); })) << "which sink?\n" << log;
    if (Logged(refused)) GTEST_SKIP() << "the player cannot draw with " << GetParam() << " on this display";
    main = WaitForWindow("clip.avi - lumivox");
    ASSERT_NE(main, 0u) << log;
  }

  bool Logged(const std::string& text) const { return log.find(text) != std::string::npos; }

  bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
      if (timer.elapsed() > milliseconds) return false;
      if (!player.waitForReadyRead(50)) QThread::msleep(50);
      log += player.readAll().toStdString();
    }
    return true;
  }

  xcb_window_t WaitForWindow(const std::string& title) {
    xcb_window_t window = 0;
    WaitFor([&] { return (window = x.TopLevelNamed(title)) != 0; });
    return window;
  }

  // The picture: the window the sink draws into, where `owner` holds it. Empty while there is none.
  QRect Picture(xcb_window_t owner) {
    const auto children = x.MappedChildren(owner);
    return children.empty() ? QRect() : x.Geometry(children.front());
  }

  // The mapped top-level window that covers the screen, or 0.
  xcb_window_t FullScreenWindow() {
    for (xcb_window_t window : x.MappedChildren()) {
      if (window != main && x.Geometry(window) == x.Screen()) return window;
    }
    return 0;
  }

  // Empty when every pixel of `area` is `colour`, else where one is not.
  std::string Stray(const QRect& area, const QColor& colour) {
    const QImage image = x.Grab(area);
    if (image.isNull()) return "cannot read the screen there";
    for (int row = 0; row < image.height(); ++row) {
      for (int column = 0; column < image.width(); ++column) {
        if (image.pixelColor(column, row) != colour) {
          return image.pixelColor(column, row).name().toStdString() + " at (" + std::to_string(area.x() + column) +
                 ", " + std::to_string(area.y() + row) + ")";
        }
      }
    }
    return {};
  }

  // The bands just above and below the picture, where the 16 : 9 shape leaves bars.
  void ExpectBackgroundAround(const QRect& picture) {
    for (const QRect band : {QRect(picture.left(), picture.top() - 4, picture.width(), 4),
                             QRect(picture.left(), picture.bottom() + 1, picture.width(), 4)}) {
      std::string stray;
      EXPECT_TRUE(WaitFor([&] { return (stray = Stray(band, kBackground)).empty(); }, 5000)) << stray;
    }
  }

  // The clip's colour bars stretched over the whole picture: green in the middle, grey at
  // the top left, blue at the top right and the dark blue of the bottom row at the bottom left.
  bool ShowsTheClip(const QRect& picture) {
    const QImage image = x.Grab(picture);
    if (image.isNull()) return false;
    const QColor middle = image.pixelColor(image.rect().center());
    const QColor grey = image.pixelColor(3, 3);
    const QColor blue = image.pixelColor(image.width() - 4, 3);
    const QColor darkBlue = image.pixelColor(3, image.height() - 4);
    return middle.green() > 120 && middle.red() < 80 && middle.blue() < 80 && grey.red() > 150 && grey.green() > 150 &&
           grey.blue() > 150 && blue.blue() > 120 && blue.red() < 60 && blue.green() < 60 && darkBlue.blue() > 50 &&
           darkBlue.red() < 40 && darkBlue.green() < darkBlue.blue();
  }

  PrivateDisplay display;
  XClient x{display.name().toStdString()};
  TempDir home;
  QProcess player;
  std::string log;
  xcb_window_t main = 0;
};

TEST_P(PlayerVideoTest, DoubleClicksOverThePictureOpenAndCloseAFullScreenWindowOwnedByTheMainWindow) {
  QRect picture;
  ASSERT_TRUE(WaitFor([&] { return !(picture = Picture(main)).isEmpty() && ShowsTheClip(picture); }))
      << "the clip plays in the pane";

  x.DoubleClick(picture.center());
  xcb_window_t fullScreen = 0;
  ASSERT_TRUE(WaitFor([&] { return (fullScreen = FullScreenWindow()) != 0; })) << "a double click over the picture";
  EXPECT_EQ(x.Property(fullScreen, "WM_TRANSIENT_FOR"), std::vector<std::uint32_t>{main});
  EXPECT_THAT(x.Property(fullScreen, "_NET_WM_STATE"), ::testing::Contains(x.Atom("_NET_WM_STATE_FULLSCREEN")));
  ASSERT_TRUE(
      WaitFor([&] { return (picture = Picture(fullScreen)).contains(x.Screen().center()) && ShowsTheClip(picture); }));
  ExpectBackgroundAround(picture);

  x.DoubleClick(x.Screen().center());
  EXPECT_TRUE(WaitFor([&] { return FullScreenWindow() == 0; })) << "a double click over the full-screen picture";
  EXPECT_TRUE(WaitFor([&] { return !Picture(main).isEmpty(); })) << "the picture is back in the pane";
}

TEST_P(PlayerVideoTest, ThePaneShowsTheBackgroundWhereverThereIsNoPicture) {
  QRect picture;
  ASSERT_TRUE(WaitFor([&] { return !(picture = Picture(main)).isEmpty() && ShowsTheClip(picture); }));
  ExpectBackgroundAround(picture);

  x.Focus(main);
  // Paused, the clip no longer starts over, which would have the sink draw afresh anyway.
  x.Keys({XK_Shift_L, XK_p});
  x.Keys({XK_Alt_L, XK_v});  // Change View Mode: Video -> Playlist and Video
  const QRect whole = picture;
  ASSERT_TRUE(WaitFor([&] {
    picture = Picture(main);
    return !picture.isEmpty() && picture.width() < whole.width() && ShowsTheClip(picture);
  })) << "the picture moves into the new pane and is drawn there";
  ExpectBackgroundAround(picture);

  x.Keys({XK_Control_L, XK_f});  // Next Track: the tone has no picture
  ASSERT_NE(WaitForWindow("tone.wav - lumivox"), 0u);
  std::string stray;
  EXPECT_TRUE(WaitFor([&] { return (stray = Stray(picture, kBackground)).empty(); }, 5000))
      << "where the picture was: " << stray;
}

// Off the X platform (a Wayland desktop without an X server) the sink has no window of the
// player's to draw into and shows the video in one of its own, rather than nowhere.
TEST(PlayerOwnVideoWindow, OffTheXPlatformTheVideoPlaysInAWindowOfTheSinksOwn) {
  PrivateDisplay display;
  ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
  XClient x(display.name().toStdString());
  TempDir home;
  home.Write("config/Halcyon/lumivox.conf", "[Play]\nRepeat=2\n");
  QProcessEnvironment environment = PlayerEnvironment(display, home);
  environment.insert("QT_QPA_PLATFORM", "offscreen");  // the player's own windows are on no display
  environment.insert("QT_LOGGING_RULES", "lumivox.engine*=true");
  QProcess player;
  player.setProcessEnvironment(environment);
  player.start(LUMIVOX_PLAYER, {QString::fromStdString(MediaPath("clip.avi"))});
  const auto showsTheClip = [&x] {
    for (const xcb_window_t window : x.MappedChildren()) {
      const QImage middle = x.Grab(QRect(x.Geometry(window).center(), QSize(1, 1)));
      if (!middle.isNull() && middle.pixelColor(0, 0).green() > 120 && middle.pixelColor(0, 0).red() < 80) return true;
    }
    return false;
  };
  EXPECT_TRUE(QTest::qWaitFor(showsTheClip, 10000)) << player.readAllStandardError().toStdString();
  player.terminate();
  EXPECT_TRUE(player.waitForFinished(10000));
}

// Audio alone makes no video output: no sink is chosen for it and no GL driver is loaded.
TEST(PlayerAudioOnly, AnAudioFileMakesNoVideoOutput) {
  PrivateDisplay display;
  ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
  XClient x(display.name().toStdString());
  TempDir home;
  QProcessEnvironment environment = PlayerEnvironment(display, home);
  environment.insert("QT_LOGGING_RULES", "lumivox.engine*=true");
  QProcess player;
  player.setProcessEnvironment(environment);
  player.setProcessChannelMode(QProcess::MergedChannels);
  player.start(LUMIVOX_PLAYER, {QString::fromStdString(MediaPath("tone.mp3"))});
  const std::string maps = "/proc/" + std::to_string(player.processId()) + "/maps";
  // Decoded audio on its way means a built graph: a video output would have been made by then.
  const auto playing = [&] {
    return x.TopLevelNamed("tone.mp3 - lumivox") && TempDir::Read(maps).find("libgstaudioconvert") != std::string::npos;
  };
  ASSERT_TRUE(QTest::qWaitFor(playing, 10000));
  const std::string mapped = TempDir::Read(maps);
  for (const char* library : {"libgstxvimagesink", "libgstximagesink", "libgstopengl", "libGLX_mesa", "libLLVM"}) {
    EXPECT_EQ(mapped.find(library), std::string::npos) << library;
  }
  player.terminate();
  EXPECT_TRUE(player.waitForFinished(10000));
  const std::string log = player.readAll().toStdString();
  EXPECT_EQ(log.find("video sink"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Sinks, PlayerVideoTest, ::testing::Values(kChosen, "xvimagesink", "glimagesink"),
                         [](const ::testing::TestParamInfo<const char*>& sink) { return std::string(sink.param); });

}  // namespace
}  // namespace lumivox::test
