// The real lumivox binary with an empty home folder: it plays, hands a second start's names
// to the running one as absolute paths, takes its keys on a Russian layout too, and writes its
// settings and the automatic list at exit.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <QUrl>

#include <X11/keysym.h>

#include <filesystem>

#include "MediaFixtures.h"
#include "PrivateDisplay.h"
#include "TempDir.h"
#include "XClient.h"

namespace lumivox::test {
namespace {

class PlayerRunTest : public ::testing::Test {
 protected:
  // Starts the player in `folder` (else here); what it logs goes to `log` in the home folder.
  void Start(QProcess& player, const QStringList& arguments, const std::string& log, const QString& folder = {}) {
    QProcessEnvironment environment = PlayerEnvironment(display, home);
    // What the player logs is shown when the test fails.
    environment.insert("QT_LOGGING_RULES", "lumivox.*=true");
    player.setProcessEnvironment(environment);
    player.setWorkingDirectory(folder);
    player.setStandardErrorFile(QString::fromStdString(home / log));
    player.start(LUMIVOX_PLAYER, arguments);
    ASSERT_TRUE(player.waitForStarted());
  }
  // The window titled `title`, waiting up to 10 s for it; 0 when it never shows.
  xcb_window_t Window(const std::string& title) {
    xcb_window_t window = 0;
    return QTest::qWaitFor([&] { return (window = x.TopLevelNamed(title)) != 0; }, 10000) ? window : 0;
  }
  // Types each chord into the window as a user would, giving the menus time to open.
  void Keys(xcb_window_t window, const std::vector<std::vector<std::uint32_t>>& chords) {
    for (const auto& chord : chords) {
      x.Focus(window);
      x.Keys(chord);
      QTest::qWait(400);
    }
  }

  PrivateDisplay display;
  XClient x{display.name().toStdString()};
  TempDir home;
};

// Four-second files, so that no key press meets the end of one.
TEST_F(PlayerRunTest, PlaysTakesASecondStartsFilesFollowsMenuKeysAndWritesEverythingAtExit) {
  ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
  ASSERT_TRUE(x.connected());
  QProcess first, second;
  Start(first, {QString::fromStdString(MediaPath("clip.avi"))}, "first.log");
  ASSERT_NE(Window("clip.avi - lumivox"), 0u) << "the title names the playing entry";

  // From another folder, by a relative name and a URI: the running player is handed absolute paths.
  const std::string flac = MediaPath("tone.flac"), mp3 = MediaPath("vbr.mp3");
  const QString media = QString::fromStdString(std::filesystem::path(flac).parent_path());
  Start(second, {"tone.flac", QUrl::fromLocalFile(QString::fromStdString(mp3)).toString()}, "second.log", media);
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitCode(), 0);
  const xcb_window_t window = Window("tone.flac - lumivox");
  const auto log = [this] { return "\n" + TempDir::Read(home / "first.log"); };
  ASSERT_NE(window, 0u) << "the hand-over replaced the list and plays its first file" << log();

  Keys(window, {{XK_Alt_L, XK_p}, {XK_n}});  // Playback > Next Track
  EXPECT_NE(Window("vbr.mp3 - lumivox"), 0u) << log();
  Keys(window, {{XK_Control_L, XK_b}});  // the user's key for Previous Track
  EXPECT_NE(Window("tone.flac - lumivox"), 0u) << log();
  QProcess::execute("setxkbmap", {"-display", display.name(), "ru"});
  // Alt+V on a Russian layout: Change View Mode, Video -> Playlist and Video
  Keys(window, {{XK_Alt_L, XK_Cyrillic_em}});
  QProcess::execute("setxkbmap", {"-display", display.name(), "us"});
  Keys(window, {{XK_Alt_L, XK_f}, {XK_x}});  // File > Exit
  // The test's waits run its events: the player may be known to have ended already.
  ASSERT_TRUE(first.state() == QProcess::NotRunning || first.waitForFinished(15000)) << log();
  EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(first.exitCode(), 0);
  const std::string list = TempDir::Read(home / "data/Halcyon/lumivox/lumivox.pls");
  EXPECT_NE(list.find("File1=" + flac), std::string::npos) << list;
  EXPECT_NE(list.find("File2=" + mp3), std::string::npos) << list;
  EXPECT_EQ(list.find("clip.avi"), std::string::npos) << list;
  const std::string settings = TempDir::Read(home / "config/Halcyon/lumivox.conf");
  for (const char* value :
       {"ViewMode=0", "SeekBar=1", "ToolBar=1", "TopMost=0", "MpegSoftDecoder=1", "SkipInterval=5"}) {
    EXPECT_NE(settings.find(value), std::string::npos) << value << "\n" << settings;
  }
  EXPECT_NE(settings.find("Left="), std::string::npos) << settings;
}

}  // namespace
}  // namespace lumivox::test
