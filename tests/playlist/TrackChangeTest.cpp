// The document moving on from one entry to another: track steps, the end of a stream under
// each repeat mode, shuffle rounds, and searches past files that do not play.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "DocFixture.h"

namespace lumivox::test {
namespace {

using TrackChange = DocFixture;

TEST_F(TrackChange, AShuffleRoundCountsTheCurrentAndEachOpenedEntryUntilStopOrShuffleOff) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  const auto played = [this] {
    std::string flags;
    for (const PlaylistEntry* e : doc->entries()) flags += e->playedInRound ? 'x' : '.';
    return flags;
  };
  doc->ToggleShuffle();
  EXPECT_EQ(played(), "x..") << "the current entry";
  ASSERT_TRUE(doc->OpenItem(2));
  EXPECT_EQ(played(), "x.x");
  doc->PlayPause();
  doc->Stop();
  EXPECT_EQ(engine->state, State_Stopped);
  EXPECT_EQ(played(), "...") << "a stop starts a new round";
  ASSERT_TRUE(doc->OpenItem(1));
  doc->ToggleShuffle();
  EXPECT_EQ(played(), "...") << "so does turning shuffle off";
}

TEST_F(TrackChange, TrackSteppingWrapsAndKeepsThePlayState) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  doc->OpenItem(2);
  doc->PlayPause();
  doc->NextTrack();
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_EQ(engine->state, State_Running);
  doc->PrevTrack();
  EXPECT_EQ(doc->GetCurrentIndex(), 2);
  EXPECT_EQ(engine->state, State_Running);
  doc->Pause();
  doc->PrevTrack();
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  EXPECT_EQ(engine->state, State_Stopped);  // a paused player stays stopped on the new entry
}

TEST_F(TrackChange, TrackSteppingSkipsFailuresAndEndsOnEntryZero) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
  doc->OpenItem(0);
  doc->PlayPause();
  engine->failing = {"/m/b.mp3"};
  doc->NextTrack();
  EXPECT_EQ(doc->GetCurrentIndex(), 2);
  EXPECT_EQ(engine->state, State_Running);

  engine->failing = {"/m/d.mp3"};
  doc->NextTrack();  // d fails, nothing after it: a opened, not started
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_EQ(engine->open, "/m/a.mp3");
  EXPECT_EQ(engine->state, State_Stopped);

  doc->OpenItem(1);
  engine->failing = {"/m/a.mp3"};
  doc->PrevTrack();  // a fails, nothing before it: a again, marked
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_FALSE(engine->IsOpen());
}

TEST_F(TrackChange, PreviousWithShuffleReopensTheCurrentEntryAndStopsWhenItFails) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  doc->ToggleShuffle();
  doc->OpenItem(1);
  journal.clear();
  doc->PrevTrack();
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  EXPECT_EQ(Count("Open /m/b.mp3"), 1);

  engine->failing = {"/m/b.mp3"};
  journal.clear();
  doc->PrevTrack();  // must terminate
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_EQ(Count("Open /m/b.mp3"), 1);
  EXPECT_EQ(Count("Open /m/a.mp3"), 1);
}

TEST_F(TrackChange, EndOfStreamFollowsTheRepeatMode) {
  using enum RepeatMode;
  const struct {
    RepeatMode repeat;
    int count;
    bool expectReopen;
    int expectCurrent;
    RunState expectState;
  } cases[] = {
      {None, 3, true, 0, State_Stopped},  {All, 3, true, 0, State_Running}, {One, 3, false, 2, State_Running},
      {None, 1, false, 0, State_Stopped}, {All, 1, true, 0, State_Running}, {One, 1, false, 0, State_Running},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("repeat " + std::to_string(static_cast<int>(c.repeat)) + ", count " + std::to_string(c.count));
    doc->RemoveAll();
    for (int i = 0; i < c.count; ++i) doc->AddFile("/m/" + std::to_string(i) + ".mp3", false);
    doc->setRepeatMode(c.repeat);
    doc->OpenItem(c.count - 1);
    doc->PlayPause();
    engine->position = 99;
    journal.clear();
    engine->QueueEvent(3);  // other events are dropped
    engine->QueueEvent(EC_COMPLETE);
    doc->ProcessGraphEvents();
    ASSERT_GE(journal.size(), 2u);
    EXPECT_EQ(journal[0], "Stop");
    EXPECT_EQ(journal[1], "Seek 0");
    const bool reopened = std::any_of(journal.begin(), journal.end(), [](auto& l) { return l.rfind("Open", 0) == 0; });
    EXPECT_EQ(reopened, c.expectReopen);
    EXPECT_EQ(doc->GetCurrentIndex(), c.expectCurrent);
    EXPECT_EQ(engine->state, c.expectState);
    EXPECT_EQ(engine->position, 0);
  }
}

TEST_F(TrackChange, RepeatAllGivesUpWhenEveryEntryFails) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  doc->setRepeatMode(RepeatMode::All);
  doc->OpenItem(0);
  doc->PlayPause();
  engine->failing = {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"};
  engine->QueueEvent(EC_COMPLETE);
  doc->ProcessGraphEvents();  // must terminate
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_FALSE(engine->IsOpen());

  doc->ToggleShuffle();
  engine->failing = {"/m/b.mp3", "/m/c.mp3"};
  doc->OpenItem(0);
  engine->failing.insert("/m/a.mp3");
  engine->QueueEvent(EC_COMPLETE);
  doc->ProcessGraphEvents();
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(doc->GetEntry(i)->playedInRound);
}

TEST_F(TrackChange, ShuffleWithoutRepeatEndsAfterEveryEntryPlayedOnce) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
  doc->ToggleShuffle();
  doc->OpenItemWithFallback(0, true, true);
  std::set<int> played = {doc->GetCurrentIndex()};
  for (int i = 0; i < 3; ++i) {
    engine->QueueEvent(EC_COMPLETE);
    doc->ProcessGraphEvents();
    EXPECT_EQ(engine->state, State_Running);
    played.insert(doc->GetCurrentIndex());
  }
  EXPECT_EQ(played.size(), 4u);
  engine->QueueEvent(EC_COMPLETE);
  doc->ProcessGraphEvents();
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_EQ(engine->state, State_Stopped);
}

// 200,000 entries whose files are gone after the one that ends, one that cannot be
// played halfway: each is tried once in order and marked, and the windows hear about a
// run of missing files as one change, brought up to date before the engine works on a file.
TEST_F(TrackChange, TheSearchPastManyMissingFilesMarksEachAndTellsTheWindowsOnce) {
  constexpr int kLast = 200'000;
  constexpr int kBroken = 100'000;
  const auto path = [](int i) -> std::string {
    return i == 0 ? "/m/real.mp3" : i == kBroken ? "/m/broken.mp3" : "/gone/" + std::to_string(i) + ".mp3";
  };
  for (int i = 0; i <= kLast; ++i) {
    if (i > 0 && i != kBroken) engine->missing.insert(path(i));
    doc->AddFile(path(i), false);
  }
  engine->failing = {path(kBroken)};
  // With repeat all the search wraps round to the real file and plays it.
  const struct {
    RepeatMode repeat;
    RunState state;
  } cases[] = {{RepeatMode::None, State_Stopped}, {RepeatMode::All, State_Running}};
  for (const auto& c : cases) {
    SCOPED_TRACE("repeat " + std::to_string(static_cast<int>(c.repeat)));
    doc->setRepeatMode(c.repeat);
    ASSERT_TRUE(doc->OpenItem(0));
    doc->PlayPause();
    journal.clear();
    std::string captionAtBroken;
    engine->whileOpening[path(kBroken)] = [&] { captionAtBroken = frame.caption; };
    engine->QueueEvent(EC_COMPLETE);
    doc->ProcessGraphEvents();

    Journal opens, windows;
    for (const std::string& line : journal) {
      if (line.rfind("Open ", 0) == 0)
        opens.push_back(line.substr(5));
      else if (line != "Stop" && line.rfind("Seek", 0) != 0 && line != "PlayPause")
        windows.push_back(line);
    }
    Journal tried;
    for (int i = 1; i <= kLast; ++i) tried.push_back(path(i));
    tried.push_back(path(0));
    EXPECT_TRUE(opens == tried) << opens.size() << " opens";
    for (int i = 1; i <= kLast; ++i) ASSERT_TRUE(doc->GetEntry(i)->cannotPlay) << i;
    EXPECT_FALSE(doc->GetEntry(0)->cannotPlay);
    EXPECT_EQ(doc->GetCurrentIndex(), 0);
    EXPECT_EQ(engine->open, path(0));
    EXPECT_EQ(engine->state, c.state);
    EXPECT_EQ(frame.caption, "real.mp3 - lumivox");
    EXPECT_EQ(captionAtBroken, std::to_string(kBroken - 1) + ".mp3 - lumivox");
    const std::string broken = std::to_string(kBroken), before = std::to_string(kBroken - 1);
    const Journal expected = {"Tick",
                              "KillTimer",  // the first try
                              "RedrawItems 0 " + before,
                              "UpdateWindow",  // the run, before the broken file
                              "Tick",
                              "KillTimer",
                              "RedrawItem " + before,
                              "UpdateWindow",  // the broken file, as any open
                              "RedrawItem " + broken,
                              "UpdateWindow",  //
                              "RedrawItems " + broken + " " + std::to_string(kLast),
                              "UpdateWindow",  // the second run
                              "Tick",
                              "KillTimer",
                              "RedrawItem " + std::to_string(kLast),
                              "UpdateWindow",  // the real file
                              "SetTimer 250",
                              "Tick",
                              "RedrawItem 0",
                              "UpdateWindow"};
    EXPECT_EQ(windows, expected);
  }
}

}  // namespace
}  // namespace lumivox::test
