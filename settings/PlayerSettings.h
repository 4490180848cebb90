#pragma once
// The application's settings: its option values, their loading at start and saving at
// exit, the accelerator table built from the key table, and the device volume remembered
// at start. The application object owns one for the whole run.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "playlist/DocumentInterfaces.h"
#include "settings/KeyTable.h"
#include "settings/PlayerOptions.h"
#include "settings/SettingsStore.h"

namespace lumivox {

class PlayerSettings final : public IPlayerSettings {
 public:
  // Starts with the construction values and an accelerator table of the default keys.
  explicit PlayerSettings(ISettingsStore& store);

  PlayerOptions& options() { return options_; }
  const PlayerOptions& options() const { return options_; }

  // Reads every option, each defaulting to its current value; then rebuilds the
  // accelerator table and remembers the start volume. Nothing read is validated: Key n
  // keeps its low 16 bits, Virt n its low 8 bits, colours all 32.
  void LoadSettings();
  // Writes every option in the same order, then flushes the store.
  void SaveSettings();

  // Replaces the accelerator table with one built from the key table as it is now.
  void CreateAccelTable();
  void DestroyAccelTable();
  const AccelTable* accelTable() const { return accelTable_ ? &*accelTable_ : nullptr; }

  // Until a device is attached the start volume stays -1 and nothing is restored.
  void SetDeviceVolume(IDeviceVolume* device) { deviceVolume_ = device; }
  void SaveStartVolume();
  void RestoreStartVolume();
  int startVolume() const { return startVolume_; }

  bool AddExisted() const override { return options_.addExisted != 0; }
  bool LoadLastList() const override { return options_.loadLastList != 0; }
  int AspectRatio() const override { return options_.aspectRatio; }
  int VolumeMode() const override { return options_.volumeMode; }
  std::string_view UiLanguage() const override { return uiLanguage_; }
  // Set by the application once it has picked its texts; not stored.
  void SetUiLanguage(std::string language) { uiLanguage_ = std::move(language); }
  int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) override;
  void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;

 private:
  ISettingsStore& store_;
  PlayerOptions options_;
  std::optional<AccelTable> accelTable_;
  IDeviceVolume* deviceVolume_ = nullptr;
  int startVolume_ = -1;
  std::string uiLanguage_;
};

}  // namespace lumivox
