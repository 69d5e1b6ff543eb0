#include "app/QtSettingsStorage.h"

namespace radove {

QtSettingsStorage::QtSettingsStorage()
    : settings_(std::make_unique<QSettings>(QStringLiteral("radove"), QStringLiteral("dediroz"))) {}

QtSettingsStorage::QtSettingsStorage(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QtSettingsStorage::~QtSettingsStorage() = default;

QString QtSettingsStorage::Key(const std::string& name) {
  return QString::fromLatin1(kGroup) + QLatin1Char('/') + QString::fromStdString(name);
}

bool QtSettingsStorage::Exists() const {
  settings_->beginGroup(QString::fromLatin1(kGroup));
  const bool any = !settings_->allKeys().isEmpty();
  settings_->endGroup();
  return any;
}

std::optional<std::uint32_t> QtSettingsStorage::Read(const std::string& name) const {
  const QVariant v = settings_->value(Key(name));
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  const qlonglong n = v.toLongLong(&ok);
  if (!ok || n < 0 || n > 0xFFFFFFFFLL) return std::nullopt;
  return static_cast<std::uint32_t>(n);
}

bool QtSettingsStorage::Write(const std::string& name, std::uint32_t value) {
  settings_->setValue(Key(name), static_cast<qlonglong>(value));
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace radove
