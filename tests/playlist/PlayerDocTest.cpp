// The document over a scripted engine: opening entries, times, list edits, the video's
// place, and what it keeps between runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "DocFixture.h"

namespace lumivox::test {
namespace {

using Doc = DocFixture;

TEST_F(Doc, OpenItemRefreshesTimerAndStoresWhatTheEngineReports) {
  Fill({"/m/a.mp3", "/m/b.avi"});
  engine->durations["/m/b.avi"] = 42 * kUnitsPerSecond;
  engine->videos["/m/b.avi"] = {352, 240};
  FixedOwner pane({500, 400});
  frame.videoPane = &pane;

  ASSERT_TRUE(doc->OpenItem(1));
  const Journal expected = {"Tick",         "KillTimer", "RedrawItem 0", "UpdateWindow", "Open /m/b.avi",
                            "SetTimer 250", "Tick",      "RedrawItem 1", "UpdateWindow"};
  EXPECT_EQ(journal, expected);
  const PlaylistEntry& b = *doc->GetEntry(1);
  EXPECT_EQ(std::tuple(b.duration, b.videoWidth, b.videoHeight, b.bitRate, b.cannotPlay),
            std::tuple(42 * kUnitsPerSecond, 352, 240, 1000, false));
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  EXPECT_EQ(frame.caption, "b.avi - lumivox");
  EXPECT_EQ(engine->owner, &pane);  // attached, laid out, not shown while stopped
  EXPECT_FALSE(engine->visible);
  EXPECT_EQ(engine->state, State_Stopped);  // opening never starts playback
}

TEST_F(Doc, OpenItemFailureMarksTheEntryAndLeavesTheTimerStopped) {
  Fill({"/m/a.mp3", "/m/bad.mp3", "/m/gone.mp3"});
  for (const int index : {3, -1}) EXPECT_FALSE(doc->OpenItem(index)) << "outside the list: " << index;
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  engine->failing = {"/m/bad.mp3"};
  engine->missing = {"/m/gone.mp3"};
  ASSERT_TRUE(doc->OpenItem(0));
  doc->PlayPause();
  EXPECT_FALSE(doc->OpenItem(2));  // a missing file keeps the old graph playing
  EXPECT_EQ(engine->open, "/m/a.mp3");
  EXPECT_EQ(engine->state, State_Running);
  EXPECT_EQ(doc->GetCurrentIndex(), 2);
  EXPECT_FALSE(frame.timerRunning);
  EXPECT_FALSE(doc->OpenItem(1));  // any other failure leaves no graph
  EXPECT_FALSE(engine->IsOpen());
  EXPECT_EQ(std::tuple(doc->GetEntry(0)->cannotPlay, doc->GetEntry(1)->cannotPlay, doc->GetEntry(2)->cannotPlay),
            std::tuple(false, true, true));
  EXPECT_EQ(frame.caption, "bad.mp3 - lumivox");
}

TEST_F(Doc, FallbackSkipsUnplayableEntriesAndOpensEntryZeroWhenNoneIsLeft) {
  Fill({"/m/x.mp3", "/m/y.mp3", "/m/z.mp3"});
  engine->failing = {"/m/x.mp3"};
  doc->OpenItemWithFallback(0, true, false);
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  EXPECT_TRUE(doc->GetEntry(0)->cannotPlay);
  EXPECT_EQ(engine->state, State_Stopped);

  engine->failing = {"/m/x.mp3", "/m/y.mp3", "/m/z.mp3"};
  doc->OpenItemWithFallback(1, true, true);
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_FALSE(engine->IsOpen());
  EXPECT_EQ(Count("PlayPause"), 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(doc->GetEntry(i)->cannotPlay);

  doc->OpenItemWithFallback(2, false, true);  // no skipping: the failure is not looked at
  EXPECT_EQ(doc->GetCurrentIndex(), 2);
  EXPECT_EQ(Count("PlayPause"), 1);
}

TEST_F(Doc, WhatTheUserDoesWhileAnEntryOpensWinsOverThatOpen) {
  struct Case {
    const char* name;
    std::function<void(CPlayerDoc&)> meanwhile;
    int current;         // afterwards
    const char* open;    // the engine's file afterwards
    int playPauses;      // only the later action may start playback
    bool opens = false;  // a.mp3 itself; a superseded open that would fail must not mark it
  };
  const Case cases[] = {
      {"another entry opens", [](CPlayerDoc& d) { d.OpenItemWithFallback(2, true, true); }, 2, "/m/c.mp3", 1},
      {"stop", [](CPlayerDoc& d) { d.Stop(); }, 0, "", 0},
      {"the list is emptied", [](CPlayerDoc& d) { d.RemoveAll(); }, 0, "", 0},
      // Not superseded: the open goes on, the rest of the list keeps its rules.
      {"its own row is removed", [](CPlayerDoc& d) { d.RemoveItem(0); }, 0, "/m/a.mp3", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc->RemoveAll();
    Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
    engine->failing.clear();
    if (!c.opens) engine->failing.insert("/m/a.mp3");
    engine->whileOpening["/m/a.mp3"] = [&] { c.meanwhile(*doc); };
    doc->OpenItemWithFallback(0, true, true);
    EXPECT_EQ(doc->GetCurrentIndex(), c.current);
    EXPECT_EQ(engine->open, c.open);
    EXPECT_EQ(Count("Open /m/b.mp3"), 0);
    EXPECT_EQ(Count("PlayPause"), c.playPauses);
    for (int i = 0; i < doc->GetCount(); ++i) EXPECT_FALSE(doc->GetEntry(i)->cannotPlay) << i;
  }
}

TEST_F(Doc, ALengthGStreamerLearnsLaterReachesTheEntryAndItsRow) {
  Fill({"/m/a.mp3", "/m/b.mp3"});
  engine->durations["/m/b.mp3"] = 5 * kUnitsPerSecond;
  ASSERT_TRUE(doc->OpenItem(1));
  engine->durations["/m/b.mp3"] = 4 * kUnitsPerSecond;
  engine->QueueEvent(EC_LENGTH_CHANGED);
  journal.clear();
  doc->ProcessGraphEvents();
  EXPECT_EQ(doc->GetEntry(1)->duration, 4 * kUnitsPerSecond);
  EXPECT_EQ(journal, Journal{"RedrawItem 1"});
  std::int64_t duration = 0, position = 0;
  ASSERT_TRUE(doc->GetDurationAndPosition(duration, position));
  EXPECT_EQ(duration, 4 * kUnitsPerSecond);
}

TEST_F(Doc, DurationIsFetchedUntilKnownThenKept) {
  Fill({"/m/a.mp3"});
  std::int64_t duration = -5, position = -5;
  EXPECT_FALSE(doc->GetDurationAndPosition(duration, position));  // no graph
  EXPECT_EQ(duration, 0);
  doc->OpenItem(0);
  engine->position = 7;
  EXPECT_FALSE(doc->GetDurationAndPosition(duration, position));  // duration not yet known
  EXPECT_EQ(duration, 0);
  engine->durations["/m/a.mp3"] = 300;
  EXPECT_TRUE(doc->GetDurationAndPosition(duration, position));
  EXPECT_EQ(duration, 300);
  EXPECT_EQ(position, 7);
  engine->durations["/m/a.mp3"] = 999;  // known durations are not asked again
  EXPECT_TRUE(doc->GetDurationAndPosition(duration, position));
  EXPECT_EQ(duration, 300);

  doc->RemoveItem(0);
  duration = position = 11;
  EXPECT_FALSE(doc->GetDurationAndPosition(duration, position));
  EXPECT_EQ(duration, 11);  // no current entry: outputs untouched

  Fill({"http://radio.test/live"});  // a stream may never tell its length: the position shows alone
  doc->OpenItem(0);
  engine->position = 42;
  EXPECT_TRUE(doc->GetDurationAndPosition(duration, position));
  EXPECT_EQ(duration, -1);
  EXPECT_EQ(position, 42);
}

TEST_F(Doc, SkipCommandsStepByTheIntervalWithinTheFile) {
  Fill({"/m/a.mp3"});
  engine->durations["/m/a.mp3"] = 100 * kUnitsPerSecond;
  doc->OpenItem(0);
  doc->PlayPause();
  doc->setSkipInterval(5);
  const struct {
    std::int64_t from;
    bool forward;
    std::int64_t to;
  } cases[] = {{97 * kUnitsPerSecond, true, 100 * kUnitsPerSecond},
               {2 * kUnitsPerSecond, false, 0},
               {50 * kUnitsPerSecond, true, 55 * kUnitsPerSecond},
               {50 * kUnitsPerSecond, false, 45 * kUnitsPerSecond}};
  for (const auto& c : cases) {
    engine->position = c.from;
    c.forward ? doc->FastForward() : doc->Rewind();
    EXPECT_EQ(engine->position, c.to);
    EXPECT_EQ(engine->state, State_Running);
  }
  engine->timesFail = true;
  journal.clear();
  doc->FastForward();
  EXPECT_TRUE(journal.empty()) << "no seek without the times";
}

TEST_F(Doc, MoveItemReordersAndFollowsTheCurrentEntry) {
  const struct {
    int from, to, current, expectCurrent;
    const char* expectOrder;
  } cases[] = {
      {0, 2, 1, 0, "bca"}, {0, 2, 0, 2, "bca"}, {2, 0, 0, 1, "cab"}, {2, 0, 2, 0, "cab"},
      {1, 2, 0, 0, "acb"}, {0, 3, 1, 1, "abc"}, {1, 1, 1, 1, "abc"}, {-1, 0, 0, 0, "abc"},
  };
  for (const auto& c : cases) {
    doc->RemoveAll();
    Fill({"/a", "/b", "/c"});
    doc->OpenItem(c.current);
    doc->MoveItem(c.from, c.to);
    EXPECT_EQ(Titles(), c.expectOrder) << c.from << "->" << c.to;
    EXPECT_EQ(doc->GetCurrentIndex(), c.expectCurrent) << c.from << "->" << c.to;
  }
}

TEST_F(Doc, RemoveItemKeepsTheCurrentIndexOnTheList) {
  Fill({"/a", "/b", "/c", "/d"});
  doc->OpenItem(2);
  doc->RemoveItem(0);  // above the current one
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  doc->OpenItem(2);
  doc->RemoveItem(2);  // the current, last one
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  doc->RemoveItem(7);
  doc->RemoveItem(1);
  doc->RemoveItem(0);
  EXPECT_EQ(doc->GetCurrentIndex(), -1);
  EXPECT_EQ(doc->GetEntry(-1), nullptr);
  EXPECT_TRUE(engine->IsOpen());  // removing rows never closes the engine
}

// Block edits against the same edits made one entry at a time on a second document.
class BlockEdit : public DocFixture {
 protected:
  // Both documents: entries a to h, `current` open, shuffle as asked, every third entry
  // played.
  void Prepare(int current, bool shuffle) {
    for (CPlayerDoc* d : {doc.get(), &one}) {
      d->RemoveAll();
      for (char c = 'a'; c <= 'h'; ++c) d->AddFile(std::string("/m/") + c, false);
      if (d->shuffle() != shuffle) d->ToggleShuffle();
      d->OpenItem(current);
      for (int i = 0; i < d->GetCount(); i += 3) d->GetEntry(i)->playedInRound = true;
    }
    journal.clear();
  }
  // Titles with their played marks, the current index, and the next picks of the order.
  static std::string State(CPlayerDoc& d) {
    std::string state;
    for (const PlaylistEntry* e : d.entries()) state += std::string(e->title()) + (e->playedInRound ? "*" : "");
    state += " @" + std::to_string(d.GetCurrentIndex()) + " next";
    for (int i = 0; i < 3; ++i) state += " " + std::to_string(d.NextIndex(true));
    return state;
  }
  // The indexes of `ranges` in the list, ascending.
  std::vector<int> Indexes(const std::vector<IndexRange>& ranges) const {
    std::set<int> indexes;
    for (const auto& [first, last] : ranges) {
      for (int i = std::max(first, 0); i <= std::min(last, one.GetCount() - 1); ++i) indexes.insert(i);
    }
    return {indexes.begin(), indexes.end()};
  }

  Journal oneJournal;
  CPlayerDoc one{std::make_unique<ScriptedEngine>(oneJournal), settings, dir / "one.pls"};
};

TEST_F(BlockEdit, RemovingOrMovingRunsKeepsTheRulesOfOneEntryAtATime) {
  const struct {
    std::vector<IndexRange> ranges;
    int distance;  // 0: removed
    int current;
    bool shuffle;
  } cases[] = {
      {{{2, 4}}, 0, 1, false},          {{{2, 4}}, 0, 3, true},         {{{0, 1}, {3, 3}, {6, 7}}, 0, 5, true},
      {{{5, 7}}, 0, 6, false},  // the current entry and all after it
      {{{6, 7}, {0, 0}}, 0, 7, true},   {{{0, 7}}, 0, 2, false},        {{{3, 3}, {4, 5}}, 0, 4, false},
      {{{-2, 1}, {7, 12}}, 0, 0, true},  // cut to the list
      {{{1, 2}}, 3, 0, false},          {{{0, 0}, {3, 4}}, 2, 3, true}, {{{5, 6}}, -4, 2, true},
      {{{2, 2}, {5, 5}}, -2, 4, false}, {{{0, 1}, {4, 4}}, 3, 2, true}, {{{6, 7}}, -6, 7, false},
  };
  for (const auto& c : cases) {
    Prepare(c.current, c.shuffle);
    std::vector<int> indexes = Indexes(c.ranges);
    if (c.distance == 0) {
      doc->RemoveItems(c.ranges);
      for (auto i = indexes.rbegin(); i != indexes.rend(); ++i) one.RemoveItem(*i);
    } else {
      doc->MoveItems(c.ranges, c.distance);
      if (c.distance > 0) std::reverse(indexes.begin(), indexes.end());
      for (const int i : indexes) one.MoveItem(i, i + c.distance);
    }
    EXPECT_EQ(State(*doc), State(one)) << c.current << " " << c.distance;
    EXPECT_TRUE(journal.empty()) << "the view changes its own rows";
  }
  Prepare(7, false);
  doc->MoveItems({{6, 7}}, 1);  // the last entry would leave the list
  EXPECT_EQ(Titles(), "abcdefgh");
}

TEST_F(BlockEdit, InsertionsHeldInABlockLandAsOneByOneWithOneViewChange) {
  options.addExisted = 0;
  const struct {
    std::vector<std::pair<int, const char*>> inserts;
    int current;
    bool shuffle;
    const char* viewChange;
  } cases[] = {
      {{{2, "/n/x"}, {3, "/n/y"}, {4, "/n/z"}}, 3, false, "InsertItems 2-4"},
      // One place per name, also for one already in the list.
      {{{5, "/n/x"}, {6, "/m/b"}, {7, "/n/y"}}, 5, true, "InsertItems 5-5 7-7"},
      {{{0, "/n/x"}, {0, "/n/y"}, {-3, "/n/z"}, {1, "/n/w"}}, 0, false, "InsertItems 0-2 11-11"},  // -3: at the end
      {{{1, "/n/x"}, {3, "/n/y"}, {9, "/n/z"}, {10, "/n/w"}, {30, "/n/v"}}, 6, true, "InsertItems 1-1 3-3 9-10 12-12"},
  };
  for (const auto& c : cases) {
    Prepare(c.current, c.shuffle);
    std::vector<bool> taken, takenOne;
    {
      const CPlayerDoc::InsertBlock block(*doc);
      const CPlayerDoc::InsertBlock inner(*doc);
      for (const auto& [index, name] : c.inserts) taken.push_back(doc->InsertFile(index, name, false));
    }
    for (const auto& [index, name] : c.inserts) takenOne.push_back(one.InsertFile(index, name, false));
    EXPECT_EQ(taken, takenOne) << c.viewChange;
    EXPECT_EQ(State(*doc), State(one)) << c.viewChange;
    EXPECT_EQ(journal, Journal{c.viewChange});
  }
}

TEST_F(Doc, RemoveAllClosesTheEngineAndRebuildsTheView) {
  Fill({"/m/a.avi", "/m/b.mp3"});
  engine->videos["/m/a.avi"] = {320, 240};
  FixedOwner pane({320, 240});
  frame.videoPane = &pane;
  doc->OpenItem(1);
  doc->OpenItem(0);
  doc->PlayPause();
  EXPECT_TRUE(engine->visible);
  journal.clear();
  doc->RemoveAll();
  EXPECT_EQ(doc->GetCount(), 0);
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_FALSE(engine->IsOpen());
  EXPECT_EQ(engine->owner, nullptr);
  EXPECT_EQ(Count("OnDocumentUpdate"), 1);
  EXPECT_EQ(frame.caption, "lumivox");
}

// Where the picture goes is VideoPlacementTest's; here the scale steps and the frame grows
// for it, but not in full screen.
TEST_F(Doc, VideoScaleStepsGrowingTheFrameToHoldThePictureAndSitsOutFullScreen) {
  Fill({"/m/v.avi"});
  engine->videos["/m/v.avi"] = {352, 240};
  options.aspectRatio = static_cast<int>(AspectRatio::SourceSize);
  FixedOwner pane({500, 400});
  frame.videoPane = &pane;
  doc->OpenItem(0);
  doc->StepVideoScale();
  EXPECT_EQ(doc->videoScale(), 2.0);
  EXPECT_EQ(engine->windowSize.width, 704);
  EXPECT_EQ(engine->windowSize.height, 480);
  EXPECT_EQ(Count("ResizeBy 204 80"), 1);
  for (double s : {3.0, 0.5, 1.0}) {
    doc->StepVideoScale();
    EXPECT_EQ(doc->videoScale(), s);
  }
  FixedOwner full({1920, 1080});
  frame.fullScreen = &full;
  doc->StepVideoScale();
  EXPECT_EQ(doc->videoScale(), 1.0);
  frame.videoPane = nullptr;
}

TEST_F(Doc, PlaySettingsAreReadWithTheCurrentValuesAsDefaults) {
  store.WriteProfileInt("Play", "Shuffle", 1);
  store.WriteProfileInt("Play", "Repeat", 2);
  store.WriteProfileInt("Play", "SkipInterval", 7);
  engine->deviceRenderer = true;
  doc->LoadPlaySettings();
  EXPECT_TRUE(doc->shuffle());
  EXPECT_EQ(doc->repeatMode(), RepeatMode::One);
  EXPECT_EQ(doc->skipInterval(), 7);  // not a menu value, used unchanged
  EXPECT_TRUE(doc->deviceAvailable());
  engine->deviceRenderer = false;
  doc->LoadPlaySettings();
  EXPECT_TRUE(doc->deviceAvailable());  // never reset
}

TEST_F(Doc, CloseWritesTheAutomaticListAndANewDocumentReadsItBack) {
  Fill({"/nonexistent/x.mp3", "/m/y.mp3", "/m/z.mp3"});
  doc->setRepeatMode(RepeatMode::All);
  doc->setSkipInterval(30);
  doc->OnCloseDocument();
  EXPECT_EQ(doc->GetCount(), 0);
  EXPECT_FALSE(engine->IsOpen());
  EXPECT_EQ(store.GetProfileInt("Play", "Repeat", -9), 1);
  EXPECT_EQ(store.GetProfileInt("Play", "SkipInterval", -9), 30);
  EXPECT_EQ(store.GetProfileInt("Play", "Shuffle", -9), 0);
  const std::string saved = TempDir::Read(doc->autoListPath());
  EXPECT_NE(saved.find("File2=/m/y.mp3\n"), std::string::npos) << saved;

  engine->failing = {"/nonexistent/x.mp3"};
  doc->OnNewDocument();
  ASSERT_EQ(doc->GetCount(), 3);
  EXPECT_TRUE(doc->GetEntry(0)->cannotPlay);
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  EXPECT_EQ(engine->state, State_Stopped);
  EXPECT_EQ(doc->repeatMode(), RepeatMode::All);

  doc->RemoveAll();
  options.loadLastList = 0;
  doc->OnNewDocument();
  EXPECT_EQ(doc->GetCount(), 0);
}

TEST_F(Doc, OpenDocumentAddsTheFileOrStreamAndPlaysIt) {
  EXPECT_FALSE(doc->OnOpenDocument(dir / "absent.mp3"));
  EXPECT_FALSE(doc->OnOpenDocument(dir.path().string()));
  EXPECT_EQ(doc->GetCount(), 0);
  for (const std::string& name : {dir.Write("song.mp3", ""), std::string("http://radio.test/live")}) {
    doc->RemoveAll();
    ASSERT_TRUE(doc->OnOpenDocument(name)) << "a stream has no file to look for";
    EXPECT_EQ(doc->GetCount(), 1);
    EXPECT_EQ(engine->open, name);
    EXPECT_EQ(engine->state, State_Running);
  }
}

}  // namespace
}  // namespace lumivox::test
