// The real lumivox binary with an empty home folder: it plays, hands a second start's names
// to the running one as absolute paths, takes its keys on a Russian layout too, and writes its
// settings and the automatic list at exit.

#include <gtest/gtest.h>

#include <QProcess>
#include <QUrl>

#include <filesystem>

#include "MediaFixtures.h"
#include "PrivateDisplay.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

class PlayerRunTest : public ::testing::Test {
 protected:
  // Starts the player in `folder` (else here); what it logs goes to `log` in the home folder.
  void Start(QProcess& player, const QStringList& arguments, const std::string& log, const QString& folder = {}) {
    player.setProcessEnvironment(Environment());
    player.setWorkingDirectory(folder);
    player.setStandardErrorFile(QString::fromStdString(home / log));
    player.start(LUMIVOX_PLAYER, arguments);
    ASSERT_TRUE(player.waitForStarted());
  }
  QProcessEnvironment Environment() const {
    QProcessEnvironment environment = PlayerEnvironment(display, home);
    // What the player logs is shown when the test fails.
    environment.insert("QT_LOGGING_RULES", "lumivox.*=true");
    return environment;
  }
  // The id of the visible window whose title matches `pattern`, waiting up to 10 s for it.
  std::string WindowNamed(const std::string& pattern) const {
    QProcess search;
    search.setProcessEnvironment(Environment());
    search.start("timeout",
                 {"10", "xdotool", "search", "--sync", "--onlyvisible", "--name", QString::fromStdString(pattern)});
    search.waitForFinished(15000);
    return search.readAllStandardOutput().trimmed().toStdString();
  }
  // Types keys into the window, as a user would.
  void Keys(const std::string& window, const QStringList& keys) const {
    Run("xdotool", {"windowfocus", "--sync", QString::fromStdString(window)});
    Run("xdotool", QStringList{"key", "--delay", "400"} + keys);
  }
  void Run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.start(program, arguments);
    process.waitForFinished(15000);
  }

  PrivateDisplay display;
  TempDir home;
};

TEST_F(PlayerRunTest, PlaysTakesASecondStartsFilesFollowsMenuKeysAndWritesEverythingAtExit) {
  ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
  QProcess first, second;
  Start(first, {QString::fromStdString(MediaPath("clip.avi"))}, "first.log");
  ASSERT_FALSE(WindowNamed("^clip\\.avi - lumivox$").empty()) << "the title names the playing entry";

  // From another folder, by a relative name and a URI: the running player is handed absolute paths.
  const QString media = QString::fromStdString(std::filesystem::path(MediaPath("tone.wav")).parent_path());
  Start(second, {"tone.wav", QUrl::fromLocalFile(QString::fromStdString(MediaPath("tone.mp3"))).toString()},
        "second.log", media);
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitCode(), 0);
  const std::string window = WindowNamed("^tone\\.wav - lumivox$");
  const auto log = [this] { return "\n" + TempDir::Read(home / "first.log"); };
  ASSERT_FALSE(window.empty()) << "the hand-over replaced the list and plays its first file" << log();

  Keys(window, {"alt+p", "n"});  // Playback > Next Track
  EXPECT_FALSE(WindowNamed("^tone\\.mp3 - lumivox$").empty()) << log();
  Keys(window, {"ctrl+b"});  // the user's key for Previous Track
  EXPECT_FALSE(WindowNamed("^tone\\.wav - lumivox$").empty()) << log();
  Run("setxkbmap", {"ru"});
  Keys(window, {"alt+Cyrillic_em"});  // Alt+V on a Russian layout: Change View Mode, Video -> Playlist and Video
  Run("setxkbmap", {"us"});
  Keys(window, {"alt+f", "x"});  // File > Exit
  ASSERT_TRUE(first.waitForFinished(15000));
  EXPECT_EQ(first.exitCode(), 0);
  const std::string list = TempDir::Read(home / "data/Halcyon/lumivox/lumivox.pls");
  EXPECT_NE(list.find("File1=" + MediaPath("tone.wav")), std::string::npos) << list;
  EXPECT_NE(list.find("File2=" + MediaPath("tone.mp3")), std::string::npos) << list;
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
