#pragma once
// The memory pane ("内存"): the memory blocks of every chip.

#include "panes/CChipGridWnd.h"

namespace radove {

class CMemoryWnd : public CChipGridWnd {
 public:
  explicit CMemoryWnd(QWidget* parent = nullptr) : CChipGridWnd(Source::Memory, parent) {}
};

}  // namespace radove
