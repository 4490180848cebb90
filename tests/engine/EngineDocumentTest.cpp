// The real engine under the document and inside Qt windows: the device renderer, the video
// window placed in its owner, and the end of a stream reaching the document through the event
// loop as the main frame's graph-notify does.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWidget>

#include <filesystem>

#include "EngineFixture.h"
#include "ScopedEnv.h"
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

TEST_F(EngineDocumentTest, TheEndOfAFilePlaysTheNextAndTheLastStopsAtTheFirst) {
  for (const char* name : {"tone.wav", "tone.au", "tone.aiff"}) doc->AddFile(MediaPath(name), false);
  doc->OpenItemWithFallback(1, false, true);
  ASSERT_EQ(doc->GetCurrentIndex(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return doc->GetCurrentIndex() == 2; }, 3000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return doc->GetCurrentIndex() == 0; }, 3000));
  EXPECT_FALSE(doc->GetEntry(0)->cannotPlay);
  EXPECT_NEAR(doc->GetEntry(2)->duration, kSecond, kSecond / 100);
}

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

}  // namespace
}  // namespace lumivox::test
