#pragma once
// Small icons drawn by the program itself for the panes, their trees and toolbars,
// so no artwork has to be shipped. Each call draws the icon afresh: callers that
// show many rows keep the icons they use.

#include <QIcon>

namespace radove {

enum class PaneIcon {
  // the panes themselves
  DataTree,
  PinTree,
  Output,
  Properties,
  Registers,
  Memory,
  // the grid toolbars
  ExpandAll,
  SortAlphabetic,
  PropertyPages,
  PropertyList,
};

QIcon PaneIconFor(PaneIcon which);

// The data tree's image list: 0 root, 1 data item, 2 unused, 3 kind, 4 additional
// value, 5 decimal/hexadecimal value, 6 remark.
QIcon DataTreeIcon(int index);

// The pin tree's image list: 0 device, 1 pin of unknown direction, 2 input,
// 3 output, 4 bidirectional.
QIcon PinTreeIcon(int index);

}  // namespace radove
