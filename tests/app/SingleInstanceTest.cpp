#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "ScopedEnv.h"
#include "TempDir.h"
#include "app/SingleInstance.h"

namespace lumivox::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(DropBlock, NamesRoundTripThroughTheShellLayout) {
  const std::vector<std::string> names = {"/music/a b.mp3", "/music/folder", "/ü/ç.wav"};
  const std::string block = BuildDropBlock(names);
  EXPECT_EQ(block.substr(0, 20), std::string("\x14\0\0\0\x0a\0\0\0\x0a\0\0\0\x01\0\0\0\0\0\0\0", 20));
  EXPECT_EQ(block.substr(20), std::string("/music/a b.mp3\0/music/folder\0/ü/ç.wav\0\0", 41));
  EXPECT_EQ(ParseDropBlock(block), names);
  for (const std::string& bad : {std::string(), block.substr(0, 19), block.substr(0, block.size() - 2) + "x",
                                 std::string("\x40\0\0\0", 4) + block.substr(4),  // names beyond the end
                                 block.substr(0, 16) + std::string("\1\0\0\0", 4) + block.substr(20)}) {
    EXPECT_TRUE(ParseDropBlock(bad).empty());
  }
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  // What the running instance told, in order: "raise" and one "drop" with its names.
  void Record(SingleInstance& running) {
    QObject::connect(&running, &SingleInstance::activateRequested, [this] { told.push_back("raise"); });
    QObject::connect(&running, &SingleInstance::filesDropped, [this](const Names& names) {
      std::string drop = "drop";
      for (const auto& name : names) drop += " " + name.substr(0, 40);
      told.push_back(drop);
    });
  }

  TempDir dir;
  Names told;
};

TEST_F(SingleInstanceTest, ALaterStartRaisesTheRunningOneBeforeHandingItsNames) {
  SingleInstance second(dir.path());
  EXPECT_FALSE(second.FindPreviousInstance({"/a.mp3"})) << "nobody runs yet";

  SingleInstance running(dir.path());
  ASSERT_TRUE(running.Listen());
  Record(running);
  EXPECT_TRUE(second.FindPreviousInstance({"/a.mp3", "/music"}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() >= 2; }));
  EXPECT_TRUE(second.FindPreviousInstance({}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() >= 3; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(told, (Names{"raise", "drop /a.mp3 /music", "raise"}));
}

TEST_F(SingleInstanceTest, TheSocketACrashedPlayerLeftIsTakenOver) {
  dir.Write(kMainWindowClass, "");
  SingleInstance next(dir.path());
  EXPECT_FALSE(next.FindPreviousInstance({"/a.mp3"})) << "nobody answers there";
  EXPECT_TRUE(next.Listen());
}

// Another user who could make the socket first could take the names, or keep the player
// from starting.
TEST_F(SingleInstanceTest, TheSocketOnlyLivesInAFolderOfTheUserThatOthersCannotWrite) {
  const struct {
    const char* folder;
    mode_t mode;
    bool used;
  } cases[] = {{"private", 0700, true}, {"readable", 0755, true}, {"group", 0770, false}, {"all", 0777, false}};
  for (const auto& c : cases) {
    const fs::path folder = dir.path() / c.folder;
    fs::create_directory(folder);
    ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
    SingleInstance instance(folder);
    EXPECT_FALSE(instance.FindPreviousInstance({}));
    EXPECT_EQ(instance.Listen(), c.used) << c.folder;
    EXPECT_EQ(fs::is_socket(folder / kMainWindowClass), c.used) << c.folder;
  }
  SingleInstance shared("/tmp");  // the shared /tmp is everybody's
  EXPECT_FALSE(shared.Listen());
  // Someone else's folder: only root can make one here.
  const fs::path foreign = dir.path() / "foreign";
  fs::create_directory(foreign);
  if (::chown(foreign.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0) {
    EXPECT_FALSE(SingleInstance(foreign).Listen());
  }
}

// The runtime folder when it is private, else never the shared /tmp but a folder of the
// user's cache that only the user may enter.
TEST_F(SingleInstanceTest, WithoutAPrivateRuntimeFolderTheSocketGoesToTheUsersCache) {
  QCoreApplication::setOrganizationName("Halcyon");
  QCoreApplication::setApplicationName("lumivox");
  const ScopedEnv cache("XDG_CACHE_HOME", dir / "cache");
  const fs::path privateRuntime = dir.path() / "run";
  fs::create_directory(privateRuntime);
  ASSERT_EQ(::chmod(privateRuntime.c_str(), 0700), 0);
  const fs::path fallback = dir.path() / "cache/Halcyon/lumivox/instance";
  const struct {
    std::optional<std::string> runtime;
    fs::path socketFolder;
  } cases[] = {{std::nullopt, fallback}, {"/tmp", fallback}, {privateRuntime, privateRuntime}};
  for (const auto& c : cases) {
    const ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime);
    SingleInstance instance;
    ASSERT_TRUE(instance.Listen()) << c.runtime.value_or("unset");
    EXPECT_TRUE(fs::is_socket(c.socketFolder / kMainWindowClass)) << c.runtime.value_or("unset");
    EXPECT_FALSE(fs::exists(fs::path("/tmp") / kMainWindowClass));
  }
  EXPECT_EQ(fs::status(fallback).permissions(), fs::perms::owner_all);
}

// A second user is stood in for by a peer check that refuses; the real check has seen this
// user at the other end first.
TEST_F(SingleInstanceTest, AHandOverFromAnotherUserIsRefusedUnseen) {
  std::vector<bool> sameUser;
  SingleInstance running(dir.path(), [&](int fd) {
    sameUser.push_back(PeerIsThisUser(fd));
    return false;
  });
  ASSERT_TRUE(running.Listen());
  Record(running);
  EXPECT_TRUE(SingleInstance(dir.path()).FindPreviousInstance({"/a.mp3"}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !sameUser.empty(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(sameUser, std::vector<bool>{true});
  EXPECT_TRUE(told.empty());

  // Nor are names handed to a running instance of another user.
  SingleInstance ours(dir.path() / "ours");
  fs::create_directory(dir.path() / "ours");
  SingleInstance theirs(dir.path() / "ours", [](int) { return false; });
  ASSERT_TRUE(ours.Listen());
  EXPECT_FALSE(theirs.FindPreviousInstance({"/a.mp3"}));
}

TEST_F(SingleInstanceTest, AHandOverLongerThanTheLimitIsCutOff) {
  SingleInstance running(dir.path());
  ASSERT_TRUE(running.Listen());
  Record(running);
  const std::size_t framing = BuildDropBlock({""}).size();
  for (const std::size_t size : {kMaxHandOverBytes, kMaxHandOverBytes + 1}) {
    told.clear();
    const std::string block = BuildDropBlock({"/" + std::string(size - framing - 1, 'a')});
    QLocalSocket sender;
    sender.connectToServer(QString::fromStdString(dir / kMainWindowClass));
    ASSERT_TRUE(sender.waitForConnected(1000));
    sender.write(block.data(), static_cast<qint64>(block.size()));
    const bool cutOff = size > kMaxHandOverBytes;
    if (!cutOff) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return sender.bytesToWrite() == 0; }));
      sender.disconnectFromServer();
    }
    // Cut off: the player drops the connection; the sender never ends it itself.
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return sender.state() == QLocalSocket::UnconnectedState && told.size() >= 1u + !cutOff;
    })) << size;
    QCoreApplication::processEvents();
    const Names expected = cutOff ? Names{"raise"} : Names{"raise", "drop /" + std::string(39, 'a')};
    EXPECT_EQ(told, expected) << size;
  }
}

}  // namespace
}  // namespace lumivox::test
