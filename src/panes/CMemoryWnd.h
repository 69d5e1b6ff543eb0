#pragma once
// The memory pane ("内存"): the memory blocks of every chip.

#include "panes/CInspectionGridWnd.h"

namespace radove {

class CMemoryWnd : public CInspectionGridWnd {
 public:
  explicit CMemoryWnd(QWidget* parent = nullptr) : CInspectionGridWnd(Source::Memory, parent) {}
};

}  // namespace radove
