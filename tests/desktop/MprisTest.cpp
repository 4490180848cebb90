// The real player driven by playerctl, the client behind many desktops' media keys and
// panel widgets, over a session bus of the test's own.

#include <gtest/gtest.h>

#include <QTest>

#include "DesktopPlayer.h"
#include "MediaFixtures.h"
#include "StreamServer.h"

namespace lumivox::test {
namespace {

class MprisTest : public ::testing::Test {
 protected:
  // Whether playerctl comes to print `expected` for `arguments` (a query) within 10 s.
  bool Shows(const QStringList& arguments, const std::string& expected) const {
    return QTest::qWaitFor([&] { return player.Ctl(arguments) == expected; }, 10000);
  }

  DesktopPlayer player;
};

TEST_F(MprisTest, PlayerctlControlsThePlayerThroughItsCommands) {
  ASSERT_TRUE(player.Ready()) << "Xvfb or dbus-daemon did not start";
  player.Start(MediaPath("tone.wav") + "\n" + MediaPath("tone.mp3") + "\n", "[Play]\nRepeat=2\n");
  ASSERT_TRUE(Shows({"status"}, "Playing")) << player.Log();
  EXPECT_EQ(player.Ctl({"metadata", "title"}), "tone.wav");
  EXPECT_EQ(player.Ctl({"metadata", "xesam:url"}), "file://" + MediaPath("tone.wav"));
  EXPECT_EQ(player.Ctl({"loop"}), "Track");
  EXPECT_EQ(player.Ctl({"shuffle"}), "Off");
  EXPECT_EQ(player.Ctl({"volume"}), "1.000000");

  // A follower hears of each change from the player's PropertiesChanged signals alone.
  QProcess follower;
  follower.setProcessEnvironment(player.Environment());
  follower.start("playerctl", {"--player=lumivox", "--follow", "status"});
  std::string followed;
  const auto hears = [&](const std::string& lines) {
    return QTest::qWaitFor(
        [&] {
          followed += follower.readAllStandardOutput().toStdString();
          return followed == lines;
        },
        10000);
  };
  ASSERT_TRUE(hears("Playing\n"));
  player.Ctl({"play-pause"});
  EXPECT_TRUE(hears("Playing\nPaused\n")) << followed;
  player.Ctl({"play-pause"});
  EXPECT_TRUE(hears("Playing\nPaused\nPlaying\n")) << followed;
  follower.kill();
  follower.waitForFinished();

  player.Ctl({"next"});  // Next Track
  EXPECT_TRUE(Shows({"metadata", "title"}, "tone.mp3")) << player.Log();
  EXPECT_EQ(player.Ctl({"status"}), "Playing");
  player.Ctl({"loop", "Playlist"});
  EXPECT_TRUE(Shows({"loop"}, "Playlist"));
  player.Ctl({"shuffle", "On"});
  EXPECT_TRUE(Shows({"shuffle"}, "On"));
  player.Ctl({"volume", "0.35"});
  EXPECT_TRUE(Shows({"volume"}, "0.350000"));

  // OpenUri takes a stream's URL as a drop of it would (playerctl's "open" would make a
  // local path of it without GIO's network backends).
  const StreamServer server({{".mp3", TempDir::Read(MediaPath("tone.mp3"))}});
  const std::string url = server.Url("/tune.mp3");
  player.Run("dbus-send",
             {"--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.lumivox", "/org/mpris/MediaPlayer2",
              "org.mpris.MediaPlayer2.Player.OpenUri", QString::fromStdString("string:" + url)});
  EXPECT_TRUE(Shows({"metadata", "xesam:url"}, url)) << player.Log();

  player.Quit();
  ASSERT_TRUE(player.process().waitForFinished(15000)) << "Quit did not end the player";
  EXPECT_EQ(player.process().exitCode(), 0);
  // Quit ran File > Exit: the values the commands set are saved.
  const std::string settings = TempDir::Read(player.home() / "config/Halcyon/lumivox.conf");
  for (const char* value : {"Repeat=1", "Shuffle=1"}) {
    EXPECT_NE(settings.find(value), std::string::npos) << value << "\n" << settings;
  }
}

}  // namespace
}  // namespace lumivox::test
