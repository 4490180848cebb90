#pragma once
// The settings store on QSettings: the user's "Halcyon"/"lumivox" settings
// ($XDG_CONFIG_HOME/Halcyon/lumivox.conf, by default ~/.config), or an INI file of its own.
// A section is a QSettings group. A file that is there but is no regular file (a FIFO, a
// device, a folder) is neither read nor written: the values start from their defaults and
// this run's changes stay in memory, so whatever sits under that name is left as it is.

#include <QString>
#include <QVariantMap>

#include <memory>
#include <string>

#include "settings/SettingsStore.h"

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
  std::string GetProfileString(std::string_view section, std::string_view name, std::string_view defaultValue) override;
  void WriteProfileString(std::string_view section, std::string_view name, std::string_view value) override;
  void Flush() override;

  std::string FileName() const;

 private:
  QVariant Value(const QString& key) const;
  void SetValue(const QString& key, const QVariant& value);

  std::string file_;
  std::unique_ptr<QSettings> settings_;  // none when the file is not a regular file
  QVariantMap unsaved_;                  // the values then
};

}  // namespace lumivox
