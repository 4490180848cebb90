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

// Next and Previous wrap round and keep the play state; they skip entries that fail, and
// when the search runs out entry zero is opened without playing. Shuffled, Previous reopens
// the current entry.
TEST_F(TrackChange, TrackSteppingWrapsKeepsThePlayStateAndSkipsFailures) {
  const struct {
    bool shuffle;
    int open;
    RunState before;
    const char* failing;
    bool next;
    int current;
    const char* opens;  // the letters of the files tried, in order
    RunState after;
  } cases[] = {
      {false, 3, State_Running, "", true, 0, "a", State_Running},
      {false, 0, State_Running, "", false, 3, "d", State_Running},
      {false, 3, State_Paused, "", false, 2, "c", State_Stopped},  // a paused player stops on the new entry
      {false, 0, State_Running, "b", true, 2, "bc", State_Running},
      {false, 2, State_Running, "d", true, 0, "da", State_Stopped},   // nothing after d
      {false, 1, State_Running, "a", false, 0, "aa", State_Stopped},  // nothing before a: entry zero again
      {true, 1, State_Running, "", false, 1, "b", State_Running},
      {true, 1, State_Running, "b", false, 0, "ba", State_Stopped},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.next ? "next from " : "previous from ") << c.open << " failing " << c.failing
                                    << (c.shuffle ? " shuffled" : ""));
    doc->RemoveAll();
    Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
    if (doc->shuffle() != c.shuffle) doc->ToggleShuffle();
    engine->failing.clear();
    ASSERT_TRUE(doc->OpenItem(c.open));
    doc->PlayPause();
    if (c.before == State_Paused) doc->Pause();
    if (*c.failing) engine->failing = {std::string("/m/") + c.failing + ".mp3"};
    journal.clear();
    c.next ? doc->NextTrack() : doc->PrevTrack();
    std::string opens;
    for (const std::string& line : journal) {
      if (line.starts_with("Open /m/")) opens += line[8];
    }
    EXPECT_EQ(opens, c.opens);
    EXPECT_EQ(doc->GetCurrentIndex(), c.current);
    const std::string last(1, opens.empty() ? '-' : opens.back());
    EXPECT_EQ(engine->open, last == c.failing ? "" : "/m/" + last + ".mp3") << "the last file tried, if it opened";
    EXPECT_EQ(engine->state, c.after);
    if (*c.failing) {
      EXPECT_TRUE(doc->GetEntry(*c.failing - 'a')->cannotPlay);
    }
  }
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
