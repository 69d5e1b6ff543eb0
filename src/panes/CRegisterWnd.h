#pragma once
// The register pane ("寄存器"): the register groups of every chip.

#include "panes/CChipGridWnd.h"

namespace radove {

class CRegisterWnd : public CChipGridWnd {
 public:
  explicit CRegisterWnd(QWidget* parent = nullptr)
      : CChipGridWnd(Source::Registers, parent) {}
};

}  // namespace radove
