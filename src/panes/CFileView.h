#pragma once
// The pin tree ("项目管理"): the current device with its pins and their direction.

#include <QWidget>
#include <string>

#include "core/Records.h"

class QTreeWidget;

namespace radove {

class CFileView : public QWidget {
  Q_OBJECT
 public:
  explicit CFileView(QWidget* parent = nullptr);

  // Empties the tree; unless empty is true, shows the device (its English type
  // name) with one row per pin. A null pin list leaves the tree empty.
  void RebuildPinTree(bool empty, const std::string& deviceTypeEn, const PinList* pins);

  QTreeWidget* Tree() const { return tree_; }

 private:
  QTreeWidget* tree_;
};

}  // namespace radove
