#include "settings/QSettingsStore.h"

#include <sys/stat.h>

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

#include "settings/SettingsLog.h"

namespace lumivox {
namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString KeyOf(std::string_view section, std::string_view name) { return ToQString(section) + u'/' + ToQString(name); }

std::int32_t WrapToInt32(std::uint64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

// An INI file gives text; values written during this run are still the numbers that
// were set.
std::optional<std::int32_t> IntOf(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong: return WrapToInt32(std::uint64_t(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULongLong: return WrapToInt32(value.toULongLong());
    case QMetaType::QString: return ParseProfileInt(value.toString().toStdString());
    case QMetaType::QByteArray: return ParseProfileInt(value.toByteArray().toStdString());
    default: return std::nullopt;
  }
}

// A missing value is an invalid variant, which converts to nothing. An unquoted comma in
// a hand-edited INI line makes a list: not a readable text either.
std::optional<std::string> TextOf(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList || !value.canConvert<QString>()) return std::nullopt;
  return value.toString().toStdString();
}

// The file QSettings("Halcyon", "lumivox") reads on Linux, named here so that it can be
// looked at before QSettings opens it.
std::string UserSettingsFile() {
  return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Halcyon/lumivox.conf")
      .toStdString();
}

// QSettings reads the whole file when it is made: a FIFO would keep it waiting for a
// writer and a device would never end. A file that does not exist yet is fine.
bool IsRegularOrMissing(const std::string& file) {
  struct stat info;
  return ::stat(file.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

std::unique_ptr<QSettings> OpenSettings(const std::string& file) {
  if (!IsRegularOrMissing(file)) {
    qCWarning(lcSettings, "%s is not a regular file: the settings start from their defaults and are not saved",
              file.c_str());
    return nullptr;
  }
  auto settings = std::make_unique<QSettings>(ToQString(file), QSettings::IniFormat);
  // Saves go to a temporary file that replaces the old one, never half written.
  settings->setAtomicSyncRequired(true);
  // Only the user's own values count: no system-wide file fills in what the user's
  // store lacks.
  settings->setFallbacksEnabled(false);
  return settings;
}

}  // namespace

QSettingsStore::QSettingsStore() : QSettingsStore(UserSettingsFile()) {}

QSettingsStore::QSettingsStore(const std::string& iniFile) : file_(iniFile), settings_(OpenSettings(iniFile)) {}

QSettingsStore::~QSettingsStore() = default;

QVariant QSettingsStore::Value(const QString& key) const {
  return settings_ ? settings_->value(key) : unsaved_.value(key);
}

void QSettingsStore::SetValue(const QString& key, const QVariant& value) {
  if (settings_) {
    settings_->setValue(key, value);
  } else {
    unsaved_.insert(key, value);
  }
}

int QSettingsStore::GetProfileInt(std::string_view section, std::string_view name, int defaultValue) {
  return IntOf(Value(KeyOf(section, name))).value_or(defaultValue);
}

void QSettingsStore::WriteProfileInt(std::string_view section, std::string_view name, int value) {
  SetValue(KeyOf(section, name), value);
}

std::string QSettingsStore::GetProfileString(std::string_view section, std::string_view name,
                                             std::string_view defaultValue) {
  return TextOf(Value(KeyOf(section, name))).value_or(std::string(defaultValue));
}

void QSettingsStore::WriteProfileString(std::string_view section, std::string_view name, std::string_view value) {
  SetValue(KeyOf(section, name), ToQString(value));
}

void QSettingsStore::Flush() {
  if (!settings_) {
    if (!unsaved_.isEmpty()) qCWarning(lcSettings, "settings not saved: %s is not a regular file", file_.c_str());
    return;
  }
  settings_->sync();
  if (settings_->status() != QSettings::NoError) qCWarning(lcSettings, "settings not saved to %s", file_.c_str());
}

std::string QSettingsStore::FileName() const { return file_; }

}  // namespace lumivox
