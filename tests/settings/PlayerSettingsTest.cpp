#include "settings/PlayerSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "RecordingDeviceVolume.h"
#include "TempDir.h"
#include "res/ResourceIds.h"
#include "settings/QSettingsStore.h"
#include "settings/SettingsTable.h"

namespace lumivox {
namespace {

using sv = std::string_view;

// Logs every call in order and keeps whole numbers by "Section/Name"; texts are only logged.
struct RecordingStore final : ISettingsStore {
  std::map<std::string, int> ints;
  std::vector<std::string> calls;

  int GetProfileInt(sv s, sv n, int dflt) override {
    const auto it = ints.find(Log("read", s, n));
    return it == ints.end() ? dflt : it->second;
  }
  std::string GetProfileString(sv s, sv n, sv dflt) override {
    Log("read", s, n);
    return std::string(dflt);
  }
  void WriteProfileInt(sv s, sv n, int v) override { ints[Log("write", s, n)] = v; }
  void WriteProfileString(sv s, sv n, sv) override { Log("write", s, n); }
  void Flush() override { calls.push_back("flush"); }
  std::string Log(const char* op, sv section, sv name) {
    std::string key = std::string(section) + '/' + std::string(name);
    calls.push_back(op + (' ' + key));
    return key;
  }
};

TEST(PlayerSettings, AnEmptyStoreGivesTheDefaultsAndSaveWritesEveryValueOfTheTable) {
  RecordingStore store;
  PlayerSettings settings(store);
  settings.LoadSettings();
  EXPECT_EQ(settings.options(), PlayerOptions{});
  settings.SaveSettings();

  std::vector<std::string> read, written;
  for (const std::string& call : store.calls) {
    if (call.starts_with("read ")) read.push_back(call.substr(5));
    if (call.starts_with("write ")) written.push_back(call.substr(6));
  }
  EXPECT_EQ(read, written) << "load reads what save writes";
  EXPECT_EQ(store.calls.back(), "flush");
  // The application's rows of the table, whole numbers with their defaults, and no other.
  std::size_t rows = 0;
  for (const StoredSetting& s : AllStoredSettings()) {
    if (s.owner != SettingOwner::Application) continue;
    const std::string key = std::string(s.section) + '/' + s.name;
    EXPECT_NE(std::ranges::find(written, key), written.end()) << key;
    if (s.type == SettingType::Int) {
      EXPECT_EQ(store.ints.at(key), s.defaultInt) << key;
    }
    ++rows;
  }
  EXPECT_EQ(rows, written.size());
}

TEST(PlayerSettings, LoadKeepsLowBitsUncheckedAndRebuildsTheAccelerators) {
  RecordingStore store;
  store.ints = {{"Key/Key3", 0x12345},
                {"Key/Virt3", 0x1FF},
                {"Key/Key4", -1},
                {"Key/Virt4", -2},
                {"View/PlayerColor2", -1},
                {"View/AspectRatio", 99},
                {"Settings/TrayIcon", 2},
                {"Settings/LoadLastList", 0},
                // index 6 takes index 5's new Ctrl+F: the earlier entry keeps it
                {"Key/Key5", 'F'},
                {"Key/Virt5", FVIRTKEY | FCONTROL},
                {"Key/Key6", 'F'},
                {"Key/Virt6", FVIRTKEY | FCONTROL}};
  PlayerSettings settings(store);
  settings.LoadSettings();
  const PlayerOptions& o = settings.options();
  EXPECT_EQ(o.keyTable[3], (KeyEntry{0xFF, 0x2345, ID_PLAY_STOP}));  // the command is never stored
  EXPECT_EQ(o.keyTable[4], (KeyEntry{0xFE, 0xFFFF, ID_PLAY_NEXT_TRACK}));
  EXPECT_EQ(o.playerColor[2], 0xFFFFFFFFu);
  EXPECT_EQ(settings.AspectRatio(), 99);
  EXPECT_EQ(o.trayIcon, 2);
  EXPECT_FALSE(settings.LoadLastList());
  EXPECT_EQ(settings.accelTable()->Translate(FVIRTKEY | FCONTROL, 'F'), ID_PLAY_PREVIOUS_TRACK);
  EXPECT_EQ(settings.accelTable()->Translate(FVIRTKEY | FCONTROL, 'B'), std::nullopt);
}

TEST(PlayerSettings, SaveThenLoadRoundTripsEveryValueThroughTheFile) {
  const test::TempDir dir;
  const std::string file = dir / "lumivox.conf";
  QSettingsStore writerStore(file);
  PlayerSettings writer(writerStore);
  PlayerOptions& o = writer.options();
  o = {.lumivault = 2,  // yes/no values are kept as stored
       .lastDir = "/home/ünï/My Music, old",
       .trayIcon = 1,
       .loadLastList = 0,
       .addExisted = 0,
       .mpegSoftDecoder = 0,
       .aspectRatio = 0,
       .playerColor = {0x123456, 0xFFFFFFFF, 0x000001, 0x7F7F7F, 0x00ABCDEF},
       .volumeMode = 2,
       .restoreVolume = 1};
  for (std::size_t n = 0; n < o.keyTable.size(); ++n) {
    o.keyTable[n] = {std::uint8_t(0xE0 + n), std::uint16_t(0xFFF0 + n), o.keyTable[n].command};
  }
  writer.SaveSettings();

  // Stores on one file share Qt's in-process cache; a copy is read from the disk alone,
  // so it holds only what the save flushed while the writer's store is still open.
  ASSERT_TRUE(std::filesystem::exists(file));
  std::filesystem::copy_file(file, dir / "copy.conf");
  QSettingsStore readerStore(dir / "copy.conf");
  PlayerSettings reader(readerStore);
  reader.LoadSettings();
  EXPECT_EQ(reader.options(), writer.options());
}

TEST(PlayerSettings, StartVolumeIsReadAtLoadAndRestoredOnlyWhenAsked) {
  struct Case {
    int volumeMode, restoreVolume, deviceVolume, attached, startVolume;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {0, 1, 40, true, -1, {}},  // the pipeline's volume is not the device's
      {1, 1, 40, true, 40, {"read 1", "write 1 40"}},
      {2, 1, 65, true, 65, {"read 2", "write 2 65"}},
      {2, 0, 65, true, 65, {"read 2"}},
      {1, 1, -1, true, -1, {"read 1"}},  // nothing could be read
      {1, 1, 40, false, -1, {}},
  };
  for (const Case& c : cases) {
    RecordingStore store;
    store.ints = {{"Settings/VolumeMode", c.volumeMode}, {"Settings/RestoreVolume", c.restoreVolume}};
    test::RecordingDeviceVolume device;
    device.volume[c.volumeMode] = c.deviceVolume;
    PlayerSettings settings(store);
    if (c.attached) settings.SetDeviceVolume(&device);
    settings.LoadSettings();
    settings.RestoreStartVolume();
    EXPECT_EQ(settings.startVolume(), c.startVolume) << "mode " << c.volumeMode;
    EXPECT_EQ(device.calls, c.calls) << "restore " << c.restoreVolume;
  }
}

}  // namespace
}  // namespace lumivox
