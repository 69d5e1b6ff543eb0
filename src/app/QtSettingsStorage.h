#pragma once
// The simulation settings' store: QSettings of organisation "radove", application
// "dediroz", group "config/simulation", one value per setting under its own name.

#include <QSettings>
#include <QString>
#include <memory>

#include "document/SimulationSettings.h"

namespace radove {

class QtSettingsStorage : public SettingsStorage {
 public:
  static constexpr const char* kGroup = "config/simulation";

  // The user's settings of this program.
  QtSettingsStorage();
  // Settings kept in an INI file of the given path (tests, portable installs).
  explicit QtSettingsStorage(const QString& iniPath);
  ~QtSettingsStorage() override;

  bool Exists() const override;
  std::optional<std::uint32_t> Read(const std::string& name) const override;
  bool Write(const std::string& name, std::uint32_t value) override;

 private:
  static QString Key(const std::string& name);

  std::unique_ptr<QSettings> settings_;
};

}  // namespace radove
