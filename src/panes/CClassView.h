#pragma once
// The data tree ("接口数据"): the current device's preset list, one row per data
// item with its kind, additional value, value in decimal and hexadecimal, and
// remark below it. The selected row is the item the next single step executes; it
// is also marked so it stays visible when the user looks at other rows.

#include <QAbstractItemModel>
#include <QIcon>
#include <QWidget>
#include <vector>

#include "core/Records.h"

class QTreeView;

namespace radove {

// A preset list as the tree shows it. Texts are made when the view asks for them,
// so lists of many thousand items cost little.
class DataTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit DataTreeModel(QObject* parent = nullptr);

  // Root "预置数据" with the items of the list (none when list is nullptr).
  void Rebuild(const PresetList* list);
  // Root "没有数据" and nothing below it.
  void ShowNoData();

  int ItemCount() const { return static_cast<int>(rows_.size()); }
  QModelIndex RootIndex() const { return index(0, 0); }
  QModelIndex ItemIndex(int item) const;
  // -1 for the root and for child rows.
  int ItemOf(const QModelIndex& index) const;
  void SetMarked(int item);
  int Marked() const { return marked_; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  static constexpr int kChildren = 5;

 private:
  struct Row {
    qint64 index = 0;
    bool command = false;
    quint64 additional = 0;
    qint64 value = 0;
    QString remark;
  };
  QString ChildText(const Row& row, int child) const;

  QString rootText_;
  std::vector<Row> rows_;
  int marked_ = -1;
  QIcon icons_[7];
};

class CClassView : public QWidget {
  Q_OBJECT
 public:
  explicit CClassView(QWidget* parent = nullptr);

  // Rebuilds the tree from the list: root only when empty is true or there is no
  // list; otherwise every item, the root expanded and the first item selected.
  void RebuildDataTree(bool empty, const PresetList* list);
  void SelectFirstItem();
  // Collapses the selected row, then selects, marks and expands the next one.
  void AdvanceSelection();

  // The item the selection is on (0-based), or -1.
  int SelectedItem() const;
  QString SelectedText() const;
  QTreeView* View() const { return view_; }
  DataTreeModel* Model() const { return model_; }

 private:
  void Select(const QModelIndex& index);

  QTreeView* view_;
  DataTreeModel* model_;
};

}  // namespace radove
