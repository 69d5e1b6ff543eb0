#pragma once
// "仿真参数": edits the three timing values and the five colours of the simulation
// settings in a property grid. Edits go to a working copy and are checked against
// their range at once; OK hands the copy back, Cancel drops it.

#include <QDialog>
#include <array>

#include "document/SimulationSettings.h"

class QPushButton;

namespace radove {

class CPropertyGrid;
struct PropertyRow;

class CGeneralSettingDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kOutOfRange = "您输入的数据超出了范围";

  CGeneralSettingDlg(const SimulationSettings& settings, QWidget* parent = nullptr);

  // The edited values; what OK accepts.
  const SimulationSettings& Working() const { return working_; }

  CPropertyGrid* Grid() const { return grid_; }
  QPushButton* DefaultsButton() const { return defaults_; }
  // The grid row of a setting, by its stored name ("excutetime", ...).
  PropertyRow* RowOf(const char* name) const;

  void RestoreDefaults();

 private:
  struct Item {
    const SimulationSettings::Descriptor* descriptor;
    PropertyRow* row;
  };
  const Item* ItemOf(const PropertyRow* row) const;
  void ShowWorkingValues();

  SimulationSettings working_;
  CPropertyGrid* grid_;
  QPushButton* defaults_;
  std::array<Item, 8> items_{};
};

}  // namespace radove
