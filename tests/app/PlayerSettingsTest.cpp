#include "app/PlayerSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RecordingStore.h"
#include "TempDir.h"
#include "app/QSettingsStore.h"
#include "app/SettingsTable.h"

namespace lumivox {
namespace {

using test::RecordingStore;
using Op = RecordingStore::Op;

// The stored order of the application's values, written out independently of the code.
std::vector<RecordingStore::Call> StoredOrder(Op op) {
  std::vector<RecordingStore::Call> calls;
  for (const char* name : {"LastDir", "TrayIcon", "LoadLastList", "AddExisted", "Lumivault",
                           "VolumeMode", "RestoreVolume", "MpegSoftDecoder"}) {
    calls.push_back({op, "Settings", name});
  }
  calls.push_back({op, "View", "AspectRatio"});
  for (int i = 0; i < 5; ++i) calls.push_back({op, "View", "PlayerColor" + std::to_string(i)});
  for (int n = 0; n < 20; ++n) {
    calls.push_back({op, "Key", "Key" + std::to_string(n)});
    calls.push_back({op, "Key", "Virt" + std::to_string(n)});
  }
  return calls;
}

TEST(PlayerSettings, ConstructionValuesAndDefaultAccelerators) {
  RecordingStore store;
  const PlayerSettings settings(store);
  const PlayerOptions& o = settings.options();
  EXPECT_FALSE(o.lumivault);
  EXPECT_EQ(o.lastDir, "");
  EXPECT_FALSE(o.trayIcon);
  EXPECT_TRUE(settings.LoadLastList());
  EXPECT_TRUE(settings.AddExisted());
  EXPECT_TRUE(o.mpegSoftDecoder);
  EXPECT_EQ(settings.AspectRatio(), 3);
  EXPECT_EQ(o.playerColor, (std::array<ColorRef, 5>{0x000000, 0xFFFFFF, 0x808080, 0x00FF00, 0x0000FF}));
  EXPECT_EQ(o.keyTable, DefaultKeyTable());
  EXPECT_EQ(o.volumeMode, 0);
  EXPECT_FALSE(o.restoreVolume);
  EXPECT_EQ(settings.startVolume(), -1);
  ASSERT_NE(settings.accelTable(), nullptr);
  EXPECT_EQ(settings.accelTable()->Translate(FVIRTKEY | FCONTROL, 'Q'), 57665);
  EXPECT_TRUE(store.calls.empty());  // nothing is read before LoadSettings
}

TEST(PlayerSettings, LoadAndSaveWalkTheValuesInStoredOrder) {
  RecordingStore store;
  PlayerSettings settings(store);
  settings.LoadSettings();
  EXPECT_THAT(store.calls, testing::ElementsAreArray(StoredOrder(Op::Read)));

  store.calls.clear();
  settings.SaveSettings();
  auto writes = StoredOrder(Op::Write);
  writes.push_back({Op::Flush, "", ""});
  EXPECT_THAT(store.calls, testing::ElementsAreArray(writes));
}

TEST(PlayerSettings, EmptyStoreGivesEveryTableDefault) {
  RecordingStore saved;  // empty until the save below
  PlayerSettings settings(saved);
  settings.LoadSettings();
  EXPECT_EQ(settings.options(), PlayerOptions{});

  settings.SaveSettings();
  int checked = 0;
  for (const StoredSetting& s : AllStoredSettings()) {
    if (s.owner != SettingOwner::Application) continue;
    const auto value = saved.values.find(RecordingStore::Key(s.section, s.name));
    ASSERT_NE(value, saved.values.end()) << s.name << " is in the table but never saved";
    if (s.type == SettingType::String) {
      EXPECT_EQ(std::get<std::string>(value->second), s.defaultText) << s.name;
    } else {
      EXPECT_EQ(std::get<int>(value->second), s.defaultInt) << s.name;
    }
    ++checked;
  }
  EXPECT_EQ(checked, int(saved.values.size())) << "a saved value is missing from the table";
}

TEST(PlayerSettings, StoredNumbersAreTakenUncheckedKeepingTheLowBits) {
  RecordingStore store;
  store.values = {
      {{"Key", "Key3"}, 0x12345},  {{"Key", "Virt3"}, 0x1FF},      {{"Key", "Key4"}, -1},
      {{"Key", "Virt4"}, -2},      {{"Key", "Key5"}, 0},           {{"Key", "Virt5"}, 256},
      {{"View", "PlayerColor2"}, -1}, {{"View", "AspectRatio"}, 99}, {{"Settings", "VolumeMode"}, -7},
      {{"Settings", "TrayIcon"}, 2}, {{"Settings", "LoadLastList"}, 0},
      {{"Settings", "LastDir"}, std::string("/media/Müsik")},
      {{"Settings", "AddExisted"}, std::string("not a number")},
  };
  PlayerSettings settings(store);
  settings.LoadSettings();
  const PlayerOptions& o = settings.options();
  EXPECT_EQ(o.keyTable[3], (KeyEntry{0xFF, 0x2345, 32772}));  // the command is never stored
  EXPECT_EQ(o.keyTable[4], (KeyEntry{0xFE, 0xFFFF, 32777}));
  EXPECT_EQ(o.keyTable[5], (KeyEntry{0x00, 0x0000, 32776}));
  EXPECT_EQ(o.playerColor[2], 0xFFFFFFFFu);
  EXPECT_EQ(o.aspectRatio, 99);
  EXPECT_EQ(o.volumeMode, -7);
  EXPECT_TRUE(o.trayIcon);
  EXPECT_FALSE(settings.LoadLastList());
  EXPECT_TRUE(settings.AddExisted());  // unreadable: the current value stays
  EXPECT_EQ(o.lastDir, "/media/Müsik");

  settings.SaveSettings();
  EXPECT_EQ(std::get<int>(store.values[{"Key", "Key3"}]), 0x2345);
  EXPECT_EQ(std::get<int>(store.values[{"Key", "Virt3"}]), 0xFF);
  EXPECT_EQ(std::get<int>(store.values[{"View", "PlayerColor2"}]), -1);
}

TEST(PlayerSettings, LoadRebuildsTheAcceleratorsFromTheStoredKeys) {
  RecordingStore store;
  store.values = {{{"Key", "Key0"}, 'X'}, {{"Key", "Virt0"}, FVIRTKEY | FALT},
                  // index 5 takes index 4's Ctrl+F: the earlier entry keeps it
                  {{"Key", "Key5"}, 'F'}, {{"Key", "Virt5"}, FVIRTKEY | FCONTROL}};
  PlayerSettings settings(store);
  settings.LoadSettings();
  const AccelTable* table = settings.accelTable();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Translate(FVIRTKEY | FALT, 'X'), 32771);
  EXPECT_EQ(table->Translate(FVIRTKEY | FCONTROL | FSHIFT, 'P'), std::nullopt);
  EXPECT_EQ(table->Translate(FVIRTKEY | FCONTROL, 'F'), 32777);
  EXPECT_EQ(table->Translate(FVIRTKEY | FCONTROL, 'B'), std::nullopt);

  settings.DestroyAccelTable();
  EXPECT_EQ(settings.accelTable(), nullptr);
  settings.options().keyTable[1].key = 'Y';
  settings.CreateAccelTable();
  EXPECT_EQ(settings.accelTable()->Translate(FVIRTKEY | FCONTROL, 'Y'), 40020);
}

TEST(PlayerSettings, SaveThenLoadRoundTripsEveryValueThroughTheFile) {
  const test::TempDir dir;
  const std::string file = dir / "lumivox.conf";
  QSettingsStore writerStore(file);
  PlayerSettings writer(writerStore);
  PlayerOptions& o = writer.options();
  o.lumivault = 2;  // yes/no values are kept as stored
  o.lastDir = "/home/ünï/My Music, old";
  o.trayIcon = 1;
  o.loadLastList = 0;
  o.addExisted = 0;
  o.mpegSoftDecoder = 0;
  o.aspectRatio = 0;
  o.playerColor = {0x123456, 0xFFFFFFFF, 0x000001, 0x7F7F7F, 0x00ABCDEF};
  for (std::size_t n = 0; n < o.keyTable.size(); ++n) {
    o.keyTable[n].key = std::uint16_t(0xFFF0 + n);
    o.keyTable[n].flags = std::uint8_t(0xE0 + n);
  }
  o.volumeMode = 2;
  o.restoreVolume = 1;
  writer.SaveSettings();

  // Stores on one file share Qt's in-process cache; a copy is read from the disk alone,
  // so it holds only what the save flushed while the writer's store is still open.
  const std::string copy = dir / "copy.conf";
  ASSERT_TRUE(std::filesystem::exists(file));
  std::filesystem::copy_file(file, copy);
  QSettingsStore readerStore(copy);
  PlayerSettings reader(readerStore);
  reader.LoadSettings();
  EXPECT_EQ(reader.options(), writer.options());
}

TEST(PlayerSettings, ProfileValuesOfOtherPartsGoToTheStore) {
  RecordingStore store;
  PlayerSettings settings(store);
  IPlayerSettings& shared = settings;
  shared.WriteProfileInt("Play", "Repeat", 2);
  EXPECT_EQ(std::get<int>(store.values[{"Play", "Repeat"}]), 2);
  EXPECT_EQ(shared.GetProfileInt("Play", "Repeat", 0), 2);
  EXPECT_EQ(shared.GetProfileInt("Play", "SkipInterval", 5), 5);
}

class FakeDeviceVolume final : public IDeviceVolume {
 public:
  int volume = 40;
  std::vector<int> readModes;
  std::vector<std::pair<int, int>> writes;

  int ReadVolume(int mode) override {
    readModes.push_back(mode);
    return volume;
  }
  void WriteVolume(int mode, int percent) override { writes.emplace_back(mode, percent); }
};

TEST(PlayerSettings, StartVolumeIsReadAtLoadAndRestoredOnlyWhenAsked) {
  struct Case {
    int volumeMode;
    int restoreVolume;
    int deviceVolume;
    int startVolume;
    bool restored;
  };
  const Case cases[] = {
      {0, 1, 40, -1, false},  // the pipeline's volume is not the device's
      {1, 1, 40, 40, true},
      {2, 1, 65, 65, true},
      {2, 0, 65, 65, false},
      {1, 1, -1, -1, false},  // nothing could be read
  };
  for (const Case& c : cases) {
    RecordingStore store;
    store.values = {{{"Settings", "VolumeMode"}, c.volumeMode},
                    {{"Settings", "RestoreVolume"}, c.restoreVolume}};
    FakeDeviceVolume device;
    device.volume = c.deviceVolume;
    PlayerSettings settings(store);
    settings.SetDeviceVolume(&device);
    settings.LoadSettings();
    EXPECT_EQ(settings.startVolume(), c.startVolume) << "mode " << c.volumeMode;
    settings.RestoreStartVolume();
    const std::vector<std::pair<int, int>> expected =
        c.restored ? std::vector{std::pair{c.volumeMode, c.startVolume}} : std::vector<std::pair<int, int>>{};
    EXPECT_EQ(device.writes, expected) << "mode " << c.volumeMode << " restore " << c.restoreVolume;
  }
}

TEST(PlayerSettings, WithoutADeviceNoStartVolumeIsKept) {
  RecordingStore store;
  store.values = {{{"Settings", "VolumeMode"}, 1}, {{"Settings", "RestoreVolume"}, 1}};
  PlayerSettings settings(store);
  settings.LoadSettings();
  settings.RestoreStartVolume();
  EXPECT_EQ(settings.startVolume(), -1);
}

}  // namespace
}  // namespace lumivox
