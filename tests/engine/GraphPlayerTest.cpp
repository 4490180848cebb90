#include <gtest/gtest.h>

#include <chrono>

#include "CdaFile.h"
#include "EngineFixture.h"
#include "StreamServer.h"
#include "TempDir.h"
#include "TestCdDrive.h"
#include "engine/SourceFilters.h"

namespace lumivox::test {
namespace {

using GraphPlayerTest = EngineFixture;

TEST_F(GraphPlayerTest, AMissingFileLeavesThePlayingGraphAlone) {
  ASSERT_TRUE(player->Open(MediaPath("tone.wav")));
  ASSERT_TRUE(player->Run());
  const auto before = Filters();
  EXPECT_FALSE(player->Open(MediaPath("tone.wav") + ".missing"));
  EXPECT_TRUE(player->IsOpen());
  EXPECT_EQ(player->GetState(), State_Running);
  EXPECT_EQ(Filters(), before);
}

enum class Op { Run, PlayPause, PauseResume, Stop, Seek };

TEST_F(GraphPlayerTest, TransportFollowsTheStateTable) {
  struct Case {
    RunState from;
    Op op;
    RunState to;
  };
  const Case cases[] = {
      {State_Stopped, Op::Run, State_Running},        {State_Stopped, Op::PlayPause, State_Running},
      {State_Stopped, Op::PauseResume, State_Paused}, {State_Stopped, Op::Stop, State_Stopped},
      {State_Stopped, Op::Seek, State_Stopped},       {State_Paused, Op::Run, State_Running},
      {State_Paused, Op::PlayPause, State_Running},   {State_Paused, Op::PauseResume, State_Running},
      {State_Paused, Op::Stop, State_Stopped},        {State_Paused, Op::Seek, State_Paused},
      {State_Running, Op::Run, State_Running},        {State_Running, Op::PlayPause, State_Paused},
      {State_Running, Op::PauseResume, State_Paused}, {State_Running, Op::Stop, State_Stopped},
      {State_Running, Op::Seek, State_Running},
  };
  const std::int64_t target = kSecond / 2;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.from << " op " << static_cast<int>(c.op));
    ASSERT_TRUE(player->Open(MediaPath("tone.wav")));
    if (c.from == State_Paused) player->PauseResume();
    if (c.from == State_Running) player->Run();
    ASSERT_EQ(player->GetState(), c.from);
    switch (c.op) {
      case Op::Run: EXPECT_TRUE(player->Run()); break;
      case Op::PlayPause: EXPECT_TRUE(player->PlayPause()); break;
      case Op::PauseResume: EXPECT_TRUE(player->PauseResume()); break;
      case Op::Stop: player->Stop(); break;
      case Op::Seek: EXPECT_TRUE(player->Seek(target)); break;
    }
    EXPECT_EQ(player->GetState(), c.to);
    if (c.op == Op::Stop) {
      EXPECT_EQ(Position(), 0);
    } else if (c.op == Op::Seek && c.to != State_Running) {
      EXPECT_EQ(Position(), target);
    } else if (c.op == Op::Seek) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return Position() >= target; }, 2000));
    }
  }
}

// A Windows Media stream is read by the ASF reader as a file is.
TEST_F(GraphPlayerTest, EndOfStreamIsPostedAndQueuedForTheUiThread) {
  const StreamServer server(
      {{".mp3", TempDir::Read(MediaPath("tone.mp3"))}, {".wma", TempDir::Read(MediaPath("tone.wma"))}});
  ASSERT_TRUE(player->Open(server.Url("/tone.wma")));
  EXPECT_EQ(Filters().front(), kAsfReaderName);
  std::int64_t duration = 0;
  ASSERT_TRUE(player->GetTimes(&duration, nullptr));
  EXPECT_NEAR(duration, kSecond, kSecond / 5);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(player->Run());
  ASSERT_TRUE(WaitForCompletion(3000));
  EXPECT_TRUE(QTest::qWaitFor([this] { return posts > 0; }, 1000));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900)) << "played in real time";
  player->Close();
  GraphEvent event;
  EXPECT_FALSE(player->GetEvent(event));
}

TEST_F(GraphPlayerTest, CdTracksPlayTheTrackTheirFileNames) {
  RegisterTestCdDrive();
  TempDir dir;
  ASSERT_TRUE(player->Open(dir.Write("Track03.cda", CdaFile(3))));
  EXPECT_EQ(Filters().front(), kCdReaderName);
  std::int64_t duration = 0;
  ASSERT_TRUE(player->GetTimes(&duration, nullptr));
  EXPECT_NEAR(duration, 3 * kSecond / 5, kSecond / 100);
  // A track file naming no track fails without a second way through auto-plugging.
  EXPECT_FALSE(player->Open(dir.Write("Track00.cda", CdaFile(0))));
  EXPECT_FALSE(player->Open(dir.Write("Wave.cda", TempDir::Read(MediaPath("tone.wav")))));
}

}  // namespace
}  // namespace lumivox::test
