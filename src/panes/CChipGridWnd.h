#pragma once
// The common body of the register and memory panes: a property grid that shows,
// chip by chip, either the register groups or the memory blocks of the view's
// inspection copy.
//
// Rows are reused from one update to the next and never deleted, only hidden: a
// full update (a new device or file) shows exactly the rows the inspection needs
// and hides the rest; a quick update (a single step, Stop) only rewrites what it
// reaches and keeps the expansion the user chose, so stepping does not disturb the
// grid. Values changed by a quick update are shown in bold.

#include <QWidget>
#include <vector>

#include "core/Records.h"

namespace radove {

class CPropertyGrid;
class PaneStatus;
struct PropertyRow;

class CChipGridWnd : public QWidget {
  Q_OBJECT
 public:
  enum class Source { Registers, Memory };
  enum UpdateMode { kQuick = 0, kFull = 1 };

  CChipGridWnd(Source source, QWidget* parent = nullptr);

  void SetStatus(PaneStatus* status) { status_ = status; }
  void UpdatePane(const InspectionSnapshot& inspection, int mode);
  void ClearPane();

  CPropertyGrid* Grid() const { return grid_; }
  bool Cleared() const { return cleared_; }

  struct RowCounts {
    int chips = 0, groups = 0, entries = 0;
    bool operator==(const RowCounts&) const = default;
  };
  // Rows ever created, and rows shown (neither they nor a row above them hidden).
  RowCounts Created() const;
  RowCounts Visible() const;
  // How many times ClearPane actually hid rows.
  int ClearPasses() const { return clearPasses_; }

 private:
  struct GroupRows {
    PropertyRow* row = nullptr;
    std::vector<PropertyRow*> entries;
  };
  struct ChipRows {
    PropertyRow* row = nullptr;
    std::vector<GroupRows> groups;
  };

  const std::vector<InspectionGroup>& GroupsOf(const ChipDescriptor& chip) const;

  Source source_;
  CPropertyGrid* grid_;
  PaneStatus* status_ = nullptr;
  std::vector<ChipRows> chips_;
  bool cleared_ = false;
  int clearPasses_ = 0;
  QString updateText_, clearText_;
};

}  // namespace radove
