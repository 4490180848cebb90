// The document's rules for network streams, against the scripted engine: no network here.

#include <gtest/gtest.h>

#include "DocFixture.h"

namespace lumivox::test {
namespace {

using Streams = DocFixture;

const std::string kRadio = "http://radio.test/live";

TEST_F(Streams, AStreamsTitleTagNamesItsEntryAndTheCaption) {
  Fill({"/m/a.mp3", kRadio.c_str()});
  engine->title = "Evening Tune";
  ASSERT_TRUE(doc->OpenItem(0));
  engine->QueueEvent(EC_TITLE_CHANGED);
  doc->ProcessGraphEvents();
  EXPECT_EQ(doc->GetEntry(0)->title(), "a.mp3") << "a file keeps its name";

  engine->title.clear();
  ASSERT_TRUE(doc->OpenItem(1));
  EXPECT_EQ(doc->GetEntry(1)->title(), "live") << "no tag yet";
  for (const char* tag : {"Evening Tune", "", "Night Tune"}) {
    engine->title = tag;
    engine->QueueEvent(EC_TITLE_CHANGED);
    journal.clear();
    doc->ProcessGraphEvents();
    const std::string shown = *tag ? tag : "Evening Tune";  // an empty tag changes nothing
    EXPECT_EQ(doc->GetEntry(1)->title(), shown);
    EXPECT_EQ(frame.caption, shown + " - lumivox");
    EXPECT_EQ(journal, *tag ? Journal{"RedrawItem 1"} : Journal{});
  }
  EXPECT_EQ(doc->GetEntry(1)->path(), kRadio);
  engine->title = "Morning Tune";
  ASSERT_TRUE(doc->OpenItem(1));
  EXPECT_EQ(doc->GetEntry(1)->title(), "Morning Tune") << "a tag that came while it opened";
}

TEST_F(Streams, ADroppedStreamIsConnectedAnewThreeTimesASecondApartThenEnds) {
  const std::string finite = "http://radio.test/song.mp3";
  Fill({kRadio.c_str(), finite.c_str(), "/m/c.mp3"});
  engine->durations[finite] = 5 * kUnitsPerSecond;
  doc->OpenItemWithFallback(0, false, true);
  for (const std::int32_t drop : {EC_COMPLETE, EC_ERRORABORT}) {
    journal.clear();
    engine->QueueEvent(drop);
    doc->ProcessGraphEvents();
    EXPECT_EQ(journal, Journal{"ReconnectTimer 1000"});
    doc->OnReconnectTimer();
    EXPECT_EQ(Count("Open " + kRadio), 1);
    EXPECT_EQ(engine->state, State_Running);
  }

  engine->failing.insert(kRadio);  // the server is gone
  engine->QueueEvent(EC_COMPLETE);
  engine->QueueEvent(EC_ERRORABORT);  // one drop can tell twice
  journal.clear();
  doc->ProcessGraphEvents();
  for (int attempt = 0; attempt < kStreamReconnects; ++attempt) {
    EXPECT_EQ(Count("ReconnectTimer 1000"), attempt + 1);
    doc->OnReconnectTimer();
  }
  EXPECT_EQ(Count("Open " + kRadio), 3);
  EXPECT_EQ(engine->open, finite) << "ended: the next entry plays";
  EXPECT_EQ(engine->state, State_Running);

  journal.clear();
  engine->QueueEvent(EC_COMPLETE);
  doc->ProcessGraphEvents();
  EXPECT_EQ(engine->open, "/m/c.mp3") << "a stream with a length ends as a file does";
  EXPECT_EQ(Count("ReconnectTimer 1000"), 0);

  engine->failing.clear();
  doc->OpenItemWithFallback(0, false, true);
  engine->QueueEvent(EC_COMPLETE);
  doc->ProcessGraphEvents();
  doc->Stop();
  journal.clear();
  doc->OnReconnectTimer();
  EXPECT_TRUE(journal.empty()) << "the user's stop called it off";
}

}  // namespace
}  // namespace lumivox::test
