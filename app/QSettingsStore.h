#pragma once
// The settings store on QSettings: the user's "Halcyon"/"lumivox" settings (on Linux
// ~/.config/Halcyon/lumivox.conf, the registry key on Windows), or an INI file of its own.
// A section is a QSettings group.

#include <memory>
#include <string>

#include "app/SettingsStore.h"

class QSettings;

namespace lumivox {

class QSettingsStore final : public ISettingsStore {
 public:
  QSettingsStore();
  explicit QSettingsStore(const std::string& iniFile);
  ~QSettingsStore() override;
  QSettingsStore(const QSettingsStore&) = delete;
  QSettingsStore& operator=(const QSettingsStore&) = delete;

  int GetProfileInt(std::string_view section, std::string_view name, int defaultValue) override;
  void WriteProfileInt(std::string_view section, std::string_view name, int value) override;
  std::string GetProfileString(std::string_view section, std::string_view name,
                               std::string_view defaultValue) override;
  void WriteProfileString(std::string_view section, std::string_view name,
                          std::string_view value) override;
  void Flush() override;

  std::string FileName() const;

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace lumivox
