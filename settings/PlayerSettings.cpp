#include "settings/PlayerSettings.h"

#include "settings/SettingsTable.h"

namespace lumivox {
namespace {

// The one list of the application's stored values, walked by both loading and saving so
// the two can never disagree on order or names.
template <class Io>
void TransferOptions(Io& io, PlayerOptions& o) {
  io.Text(kSettingsSection, "LastDir", o.lastDir);
  io.Number(kSettingsSection, "TrayIcon", o.trayIcon);
  io.Number(kSettingsSection, "LoadLastList", o.loadLastList);
  io.Number(kSettingsSection, "AddExisted", o.addExisted);
  io.Number(kSettingsSection, "Lumivault", o.lumivault);
  io.Number(kSettingsSection, "VolumeMode", o.volumeMode);
  io.Number(kSettingsSection, "RestoreVolume", o.restoreVolume);
  io.Number(kSettingsSection, "MpegSoftDecoder", o.mpegSoftDecoder);
  io.Number(kViewSection, "AspectRatio", o.aspectRatio);
  for (std::size_t i = 0; i < o.playerColor.size(); ++i) {
    io.Number(kViewSection, NumberedName("PlayerColor", int(i)), o.playerColor[i]);
  }
  for (std::size_t n = 0; n < o.keyTable.size(); ++n) {
    io.Number(kKeySection, NumberedName("Key", int(n)), o.keyTable[n].key);
    io.Number(kKeySection, NumberedName("Virt", int(n)), o.keyTable[n].flags);
  }
}

// Every whole number is stored as a 32-bit int; a narrower member keeps the low bits of
// what is stored.
struct Loader {
  ISettingsStore& store;

  template <class T>
  void Number(std::string_view section, std::string_view name, T& value) {
    value = static_cast<T>(store.GetProfileInt(section, name, static_cast<int>(value)));
  }
  void Text(std::string_view section, std::string_view name, std::string& value) {
    value = store.GetProfileString(section, name, value);
  }
};

struct Saver {
  ISettingsStore& store;

  template <class T>
  void Number(std::string_view section, std::string_view name, const T& value) {
    store.WriteProfileInt(section, name, static_cast<int>(value));
  }
  void Text(std::string_view section, std::string_view name, const std::string& value) {
    store.WriteProfileString(section, name, value);
  }
};

}  // namespace

PlayerSettings::PlayerSettings(ISettingsStore& store) : store_(store) { CreateAccelTable(); }

void PlayerSettings::LoadSettings() {
  Loader loader{store_};
  TransferOptions(loader, options_);
  CreateAccelTable();
  SaveStartVolume();
}

void PlayerSettings::SaveSettings() {
  Saver saver{store_};
  TransferOptions(saver, options_);
  store_.Flush();
}

void PlayerSettings::CreateAccelTable() { accelTable_.emplace(options_.keyTable); }

void PlayerSettings::DestroyAccelTable() { accelTable_.reset(); }

void PlayerSettings::SaveStartVolume() {
  if (options_.volumeMode == VolumeMode::Graph || !deviceVolume_) return;
  startVolume_ = deviceVolume_->ReadVolume(options_.volumeMode);
}

void PlayerSettings::RestoreStartVolume() {
  if (options_.volumeMode == VolumeMode::Graph || !options_.restoreVolume || startVolume_ == -1 || !deviceVolume_) {
    return;
  }
  deviceVolume_->WriteVolume(options_.volumeMode, startVolume_);
}

int PlayerSettings::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) {
  return store_.GetProfileInt(section, entry, defaultValue);
}

void PlayerSettings::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
  store_.WriteProfileInt(section, entry, value);
}

}  // namespace lumivox
