#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "TempDir.h"
#include "app/SingleInstance.h"

namespace lumivox::test {
namespace {

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

TEST(SingleInstance, ALaterStartHandsItsNamesToTheRunningOne) {
  int argc = 0;
  QCoreApplication app(argc, nullptr);
  TempDir dir;
  const QString name = QString::fromStdString(dir / "LUMIVOX_MAIN_WND");
  SingleInstance second(name);
  EXPECT_FALSE(second.FindPreviousInstance({"/a.mp3"})) << "nobody runs yet";

  SingleInstance running(name);
  ASSERT_TRUE(running.Listen());
  std::vector<std::vector<std::string>> drops;
  int raised = 0;
  QObject::connect(&running, &SingleInstance::filesDropped, [&](std::vector<std::string> n) { drops.push_back(n); });
  QObject::connect(&running, &SingleInstance::activateRequested, [&] { ++raised; });
  EXPECT_TRUE(second.FindPreviousInstance({"/a.mp3", "/music"}));
  EXPECT_TRUE(second.FindPreviousInstance({}));
  QElapsedTimer timer;
  timer.start();
  while ((drops.empty() || raised == 0) && timer.elapsed() < 3000) QCoreApplication::processEvents();
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], (std::vector<std::string>{"/a.mp3", "/music"}));
  EXPECT_EQ(raised, 1);

  // A player that crashed left its socket behind; nobody answers there.
  const std::string stale = dir.Write("stale", "");
  SingleInstance next(QString::fromStdString(stale));
  EXPECT_FALSE(next.FindPreviousInstance({"/a.mp3"}));
  EXPECT_TRUE(next.Listen());
}

}  // namespace
}  // namespace lumivox::test
