#pragma once
// The property grid shared by the register, memory and properties panes and the
// settings dialog: an optional one-item combo box and four-button toolbar, a
// two-column tree of groups and properties without a header, and a description
// area under it that names the current row and explains it.

#include <QPersistentModelIndex>
#include <QWidget>

#include "panes/PropertyGridModel.h"

class QAction;
class QComboBox;
class QLabel;
class QSplitter;
class QToolBar;
class QTreeView;

namespace radove {

class CPropertyGrid : public QWidget {
  Q_OBJECT
 public:
  // comboText empty: no combo box and no toolbar (as in dialogs).
  explicit CPropertyGrid(const QString& comboText, QWidget* parent = nullptr);

  PropertyGridModel* Model() const { return model_; }
  QTreeView* View() const { return view_; }
  QComboBox* Combo() const { return combo_; }
  QToolBar* ToolBar() const { return toolBar_; }
  QAction* ExpandAllAction() const { return expandAll_; }
  QAction* SortAction() const { return sort_; }

  void SetLeftColumnWidth(int pixels);
  void SetSortedAlphabetically(bool sorted);
  void ExpandAll();
  void SetCurrentRow(const PropertyRow* row);

  // What the description area shows now.
  QString DescriptionName() const;
  QString DescriptionText() const;

  // The choosers behind the "..." button of colour and file properties.
  void PickColour(const QPersistentModelIndex& index);
  void PickFile(const QPersistentModelIndex& index);

 private:
  void SyncExpansion();
  void ShowDescription(const QModelIndex& current);
  void CopyCurrent();

  PropertyGridModel* model_;
  QTreeView* view_;
  QComboBox* combo_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QAction* expandAll_ = nullptr;
  QAction* sort_ = nullptr;
  QLabel* descName_;
  QLabel* descText_;
  QSplitter* splitter_;
  bool syncing_ = false;
};

}  // namespace radove
