#pragma once
// The application icon and the toolbar icons that Qt's style does not provide,
// drawn by the program itself.

#include <QIcon>

namespace radove {

QIcon ApplicationIcon();

enum class ToolIcon { Copy, Paste, AddDevice, PresetData };
QIcon ToolBarIcon(ToolIcon which);

}  // namespace radove
