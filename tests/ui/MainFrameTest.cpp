// The main frame over the document with a scripted engine: layouts, command routing with
// enable and mark rules, the position timer.

#include <gtest/gtest.h>

#include "playlist/DocFixture.h"
#include "ui/MainFrame.h"
#include "ui/SeekBar.h"

namespace lumivox::test {
namespace {

class MainFrameTest : public DocFixture {
 protected:
  MainFrameTest() { frame.ApplyViewMode(); }
  ~MainFrameTest() override { doc->SetFrame(nullptr); }
  CMainFrame frame{*doc, options};
};

TEST_F(MainFrameTest, LayoutsGiveTheirPanesAndTheViewModeCommandCycles) {
  const struct {
    int command;
    int mode;
    bool playlist, video;
  } cases[] = {{32810, 0, true, true}, {32820, 2, true, false}, {32820, 1, false, true},
               {32820, 0, true, true}, {32782, 2, true, false}, {32811, 1, false, true}};
  for (const auto& c : cases) {
    ASSERT_TRUE(frame.OnCommand(c.command)) << c.command;
    EXPECT_EQ(frame.viewMode(), c.mode);
    EXPECT_EQ(frame.GetPlaylistPane() != nullptr, c.playlist) << c.mode;
    EXPECT_EQ(frame.GetVideoPane() != nullptr, c.video) << c.mode;
    EXPECT_TRUE(frame.StateOf(c.mode == 0 ? 32810 : c.mode == 1 ? 32811 : 32782).checked);
  }
}

TEST_F(MainFrameTest, DocumentCommandsFollowTheirRules) {
  EXPECT_FALSE(frame.StateOf(32771).enabled) << "Play / Pause needs an open file";
  EXPECT_FALSE(frame.OnCommand(32772)) << "a disabled command does not run";
  EXPECT_FALSE(frame.StateOf(32777).enabled) << "Next Track needs two entries";
  Fill({"/m/a.mp3", "/m/b.mp3"});
  doc->OpenItem(0);
  EXPECT_TRUE(frame.StateOf(32777).enabled);
  EXPECT_TRUE(frame.StateOf(40020).enabled);
  EXPECT_FALSE(frame.StateOf(32772).enabled) << "stopped";
  ASSERT_TRUE(frame.OnCommand(32771));
  EXPECT_TRUE(frame.StateOf(32772).enabled);
  EXPECT_FALSE(frame.StateOf(40020).enabled) << "already running";
  for (const auto& [command, check] : {std::pair{32839, 30}, {32843, 120}}) {
    ASSERT_TRUE(frame.OnCommand(command));
    EXPECT_EQ(doc->skipInterval(), check);
    EXPECT_TRUE(frame.StateOf(command).checked);
  }
  ASSERT_TRUE(frame.OnCommand(32805));
  EXPECT_EQ(doc->repeatMode(), 1);
  EXPECT_FALSE(frame.StateOf(32781).checked);
  const int aspect = options.aspectRatio;
  ASSERT_TRUE(frame.OnCommand(32822));
  EXPECT_EQ(options.aspectRatio, (aspect + 1) % 4);
}

TEST_F(MainFrameTest, ThePositionTickFeedsTheSeekBar) {
  engine->durations["/m/a.mp3"] = 90 * 10'000'000LL;
  Fill({"/m/a.mp3"});
  doc->OpenItem(0);
  engine->position = 30 * 10'000'000LL;
  frame.SendPositionTick();
  EXPECT_EQ(frame.seekBar().Duration(), 90 * 10'000'000LL);
  EXPECT_EQ(frame.seekBar().Position(), 30 * 10'000'000LL);
}

}  // namespace
}  // namespace lumivox::test
