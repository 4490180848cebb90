// The real engine under the document and inside Qt windows: the device renderer, the video
// window placed in its owner, the end of a stream reaching the document through the event
// loop as the main frame's graph-notify does, and streams from a server on the loopback.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "EngineFixture.h"
#include "ScopedEnv.h"
#include "StreamServer.h"
#include "TempDir.h"
#include "engine/VideoWindow.h"
#include "playlist/PlayerDoc.h"
#include "playlist/ScriptedEngine.h"
#include "settings/PlayerSettings.h"
#include "settings/QSettingsStore.h"

namespace lumivox::test {
namespace {

class VideoHost final : public QWidget, public IVideoHost {
 public:
  VideoSize ClientSize() const override { return {width(), height()}; }
  QWidget* HostWidget() override { return this; }
};

using EngineWindowTest = EngineFixture;

TEST_F(EngineWindowTest, TheDeviceRendererTakesTheVideoOnlyWhenTheDeviceIsThere) {
  TempDir dir;
  const std::string device = dir.Write("lumivault.raw", "");
  const ScopedEnv plugged("LUMIVOX_LUMIVAULT_DEVICE", device);
  choices.deviceRenderer = true;
  EXPECT_TRUE(player->ProbeDeviceRenderer());
  ASSERT_TRUE(player->Open(MediaPath("clip.avi")));
  EXPECT_TRUE(HasFilter(kDeviceRendererName));
  EXPECT_FALSE(HasFilter("Video Renderer"));
  EXPECT_FALSE(player->HasVideoWindow());
  std::int32_t width = 0;
  EXPECT_TRUE(player->GetVideoWidth(width));
  EXPECT_EQ(width, 176);
  ASSERT_TRUE(player->Run());
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(std::filesystem::file_size(device), 25u * 176 * 144 * 3 / 2) << "every picture, once";

  ASSERT_TRUE(player->Open(MediaPath("tone.wav")));
  EXPECT_FALSE(HasFilter(kDeviceRendererName)) << "no video: the renderer took no part";

  std::filesystem::remove(device);  // unplugged
  EXPECT_FALSE(player->ProbeDeviceRenderer());
  ASSERT_TRUE(player->Open(MediaPath("clip.avi")));
  EXPECT_FALSE(HasFilter(kDeviceRendererName));
  EXPECT_TRUE(HasFilter("Video Renderer"));
}

// The document with the real engine; graph-notify posts run ProcessGraphEvents on the UI
// thread, as the main frame does.
class EngineDocumentTest : public ::testing::Test {
 protected:
  EngineDocumentTest() {
    auto engine = std::make_unique<CGraphPlayer>(
        [] {
          return GraphChoices{false, false};
        },
        [this] {
          QMetaObject::invokeMethod(
              &context, [this] { doc->ProcessGraphEvents(); }, Qt::QueuedConnection);
        });
    doc = std::make_unique<CPlayerDoc>(std::move(engine), settings, dir / "lumivox.pls");
    frame.view = &view;
    frame.reconnectTimer = [this](int ms) { QTimer::singleShot(ms, &context, [this] { doc->OnReconnectTimer(); }); };
    doc->SetFrame(&frame);
  }
  ~EngineDocumentTest() override { doc->RemoveAll(); }

  std::int64_t Position() {
    std::int64_t duration = 0, position = -1;
    doc->GetDurationAndPosition(duration, position);
    return position;
  }

  TempDir dir;
  QObject context;  // queued calls die with it
  Journal journal;
  QSettingsStore store{dir / "lumivox.conf"};
  PlayerSettings settings{store};
  RecordingView view{journal};
  RecordingFrame frame{journal};
  std::unique_ptr<CPlayerDoc> doc;
};

// The placement rule itself is VideoPlacementTest's; here the real picture size reaches it.
TEST_F(EngineDocumentTest, TheVideoWindowIsPlacedByThePicturesOwnShape) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "video windows need an X display";
  VideoHost pane;
  pane.resize(500, 400);
  pane.show();
  doc->AddFile(MediaPath("clip.avi"), false);
  doc->OpenItemWithFallback(0, false, false);
  auto* engine = dynamic_cast<CGraphPlayer*>(&doc->engine());
  ASSERT_TRUE(engine && engine->GetVideoWindow());
  const QWidget* surface = engine->GetVideoWindow()->Surface();
  settings.options().aspectRatio = static_cast<int>(AspectRatio::SourceSize);
  doc->AttachVideo(&pane);
  EXPECT_EQ(surface->parentWidget(), &pane);
  EXPECT_EQ(surface->geometry(), QRect(6, 0, 488, 399)) << "176 x 144 kept";
}

TEST_F(EngineDocumentTest, AListOfStationsPlaysEachToItsEnd) {
  const StreamServer server({{".mp3", TempDir::Read(MediaPath("tone.mp3"))}});
  const char* stations[] = {"/one.mp3", "/two.mp3", "/three.mp3"};
  std::string pls = "[playlist]\n";
  for (int i = 0; i < 3; ++i) pls += "File" + std::to_string(i + 1) + "=" + server.Url(stations[i]) + "\n";
  doc->LoadPlaylistFile(dir.Write("radio.pls", pls + "NumberOfEntries=3\nVersion=2\n"));
  ASSERT_EQ(doc->GetCount(), 3);
  doc->OpenItemWithFallback(0, false, true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return doc->GetCurrentIndex() == 2; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return doc->GetCurrentIndex() == 0; }, 5000));
  EXPECT_EQ(doc->engine().GetState(), State_Stopped) << "the end of the list, as for files";
  for (int i = 0; i < 3; ++i) {
    const PlaylistEntry* entry = doc->GetEntry(i);
    EXPECT_EQ(entry->title(), stations[i] + 1);
    EXPECT_FALSE(entry->cannotPlay) << stations[i];
    EXPECT_NEAR(entry->duration, kSecond, kSecond / 10) << stations[i];
  }
}

// What the graph itself is in, whatever the engine tells the user.
GstState GraphState(CPlayerDoc& doc) {
  const auto filters = dynamic_cast<CGraphPlayer&>(doc.engine()).EnumFilters();
  GstState state = GST_STATE_NULL;
  if (!filters.empty()) gst_element_get_state(GST_ELEMENT_PARENT(filters.front().get()), &state, nullptr, 0);
  return state;
}

// The server sends two seconds of the radio, stalls before the player has buffered enough,
// sends one more second and drops the line.
TEST_F(EngineDocumentTest, ARadioShowsItsTitleWaitsOutAStallAndOutlivesADrop) {
  const StreamServer server({{".mp3", TempDir::Read(MediaPath("tone.mp3"))}});
  doc->AddFile(server.Url("/radio-drop"), true);
  doc->OpenItemWithFallback(0, false, true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame.caption == "Evening Tune - lumivox"; }, 5000));
  EXPECT_EQ(doc->GetEntry(0)->title(), "Evening Tune");
  int held = 0;
  const bool reconnected = QTest::qWaitFor(
      [&] {
        EXPECT_EQ(doc->engine().RequestedState(), State_Running) << "no flicker while it buffers";
        std::int64_t duration = 0, position = 0;
        EXPECT_TRUE(doc->GetDurationAndPosition(duration, position));
        EXPECT_EQ(duration, -1);
        held += GraphState(*doc) == GST_STATE_PAUSED;
        return std::count(journal.begin(), journal.end(), "SetTimer 250") == 2 && Position() > kSecond / 2;
      },
      12000);
  ASSERT_TRUE(reconnected);
  EXPECT_GT(held, 0) << "paused while it buffered";
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "ReconnectTimer 1000"), 1);
  EXPECT_EQ(doc->GetCurrentIndex(), 0);
  EXPECT_FALSE(doc->GetEntry(0)->cannotPlay);
}

TEST_F(EngineDocumentTest, BadNamesAndServersFailOrPlayWithinBoundsOfTimeAndMemory) {
  const StreamServer server({{".mp3", TempDir::Read(MediaPath("tone.mp3"))}});
  const struct {
    std::string name;
    bool plays;
  } cases[] = {
      {"file:///dev/zero", false},
      {"/dev/urandom", false},
      {server.Url("/404"), false},
      // No DNS query can carry a label over 63 bytes: the lookup fails without a packet.
      {"http://" + std::string(64, 'a') + ".invalid/radio", false},
      {server.Url("/silent"), false},
      {server.Url("/endless-header"), false},
      {server.Url("/lying-icy"), true},
  };
  std::string list = server.Url("/" + std::string(100 * 1024, 'x')) + "\n";  // too long to be a name
  for (const auto& c : cases) list += c.name + "\n";
  doc->LoadPlaylistFile(dir.Write("bad.m3u", list));
  ASSERT_EQ(doc->GetCount(), static_cast<int>(std::size(cases)));
  const auto peakKb = [] {
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : -1;
  };
  const long before = peakKb();
  for (int i = 0; i < doc->GetCount(); ++i) {
    SCOPED_TRACE(cases[i].name);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(doc->OpenItem(i), cases[i].plays);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(11)) << "the 10-second rule";
    EXPECT_EQ(doc->GetEntry(i)->cannotPlay, !cases[i].plays);
    if (!cases[i].plays) continue;
    doc->PlayPause();
    QTest::qWait(2000);
    EXPECT_EQ(doc->engine().RequestedState(), State_Running);
  }
  EXPECT_LT(peakKb() - before, 100 * 1024) << "kilobytes at the peak";
}

}  // namespace
}  // namespace lumivox::test
