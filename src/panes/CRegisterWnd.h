#pragma once
// The register pane ("寄存器"): the register groups of every chip.

#include "panes/CInspectionGridWnd.h"

namespace radove {

class CRegisterWnd : public CInspectionGridWnd {
 public:
  explicit CRegisterWnd(QWidget* parent = nullptr)
      : CInspectionGridWnd(Source::Registers, parent) {}
};

}  // namespace radove
