#include "app/QSettingsStore.h"

#include <QSettings>
#include <QString>
#include <QVariant>

namespace lumivox {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString KeyOf(std::string_view section, std::string_view name) {
  return ToQString(section) + u'/' + ToQString(name);
}

std::int32_t WrapToInt32(std::uint64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// An INI file gives text; values written during this run are still the variants that
// were set, and the Windows registry gives numbers for DWORDs.
std::optional<std::int32_t> IntOf(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
      return WrapToInt32(std::uint64_t(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULongLong:
      return WrapToInt32(value.toULongLong());
    case QMetaType::QString:
      return ParseProfileInt(value.toString().toStdString());
    case QMetaType::QByteArray:
      return ParseProfileInt(value.toByteArray().toStdString());
    default:
      return std::nullopt;
  }
}

// A missing value is an invalid variant, which converts to nothing. An unquoted comma in
// a hand-edited INI line makes a list: not a readable text either.
std::optional<std::string> TextOf(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList || !value.canConvert<QString>()) return std::nullopt;
  return value.toString().toStdString();
}

void Prepare(QSettings& settings) {
  // Saves go to a temporary file that replaces the old one, never half written.
  settings.setAtomicSyncRequired(true);
  // Only the user's own values count: no system-wide file (or machine registry key)
  // fills in what the user's store lacks.
  settings.setFallbacksEnabled(false);
}

}  // namespace

QSettingsStore::QSettingsStore() : settings_(std::make_unique<QSettings>("Halcyon", "lumivox")) {
  Prepare(*settings_);
}

QSettingsStore::QSettingsStore(const std::string& iniFile)
    : settings_(std::make_unique<QSettings>(ToQString(iniFile), QSettings::IniFormat)) {
  Prepare(*settings_);
}

QSettingsStore::~QSettingsStore() = default;

int QSettingsStore::GetProfileInt(std::string_view section, std::string_view name, int defaultValue) {
  return IntOf(settings_->value(KeyOf(section, name))).value_or(defaultValue);
}

void QSettingsStore::WriteProfileInt(std::string_view section, std::string_view name, int value) {
  settings_->setValue(KeyOf(section, name), value);
}

std::string QSettingsStore::GetProfileString(std::string_view section, std::string_view name,
                                             std::string_view defaultValue) {
  return TextOf(settings_->value(KeyOf(section, name))).value_or(std::string(defaultValue));
}

void QSettingsStore::WriteProfileString(std::string_view section, std::string_view name,
                                        std::string_view value) {
  settings_->setValue(KeyOf(section, name), ToQString(value));
}

void QSettingsStore::Flush() { settings_->sync(); }

std::string QSettingsStore::FileName() const { return settings_->fileName().toStdString(); }

}  // namespace lumivox
