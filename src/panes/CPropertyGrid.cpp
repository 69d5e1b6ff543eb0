#include "panes/CPropertyGrid.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "panes/PaneIcons.h"

namespace radove {
namespace {

// Keyboard and mouse edits on the name column go to the value beside it.
class GridTreeView : public QTreeView {
 public:
  using QTreeView::QTreeView;

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
    if (index.isValid() && index.column() == 0 && index.model()->flags(index.siblingAtColumn(1)) &
                                                      Qt::ItemIsEditable) {
      if (trigger == SelectedClicked || trigger == DoubleClicked || trigger == EditKeyPressed) {
        return QTreeView::edit(index.siblingAtColumn(1), trigger, event);
      }
    }
    return QTreeView::edit(index, trigger, event);
  }
};

class GridDelegate : public QStyledItemDelegate {
 public:
  GridDelegate(CPropertyGrid* grid, PropertyGridModel* model)
      : QStyledItemDelegate(grid), grid_(grid), model_(model) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    const PropertyRow* row = model_->RowAt(index);
    if (!row || row->IsGroup()) return nullptr;
    switch (row->kind) {
      case PropertyKind::Choice: {
        auto* combo = new QComboBox(parent);
        combo->addItems(row->options);
        combo->setEditable(false);
        // A choice takes effect as soon as it is made.
        connect(combo, &QComboBox::activated, this, [this, combo] {
          auto* self = const_cast<GridDelegate*>(this);
          emit self->commitData(combo);
          emit self->closeEditor(combo);
        });
        return combo;
      }
      case PropertyKind::Colour:
      case PropertyKind::File: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        QAction* browse = edit->addAction(
            grid_->style()->standardIcon(row->kind == PropertyKind::File
                                             ? QStyle::SP_DirOpenIcon
                                             : QStyle::SP_DesktopIcon),
            QLineEdit::TrailingPosition);
        browse->setToolTip(row->kind == PropertyKind::File ? QStringLiteral("浏览...")
                                                           : QStringLiteral("选择颜色..."));
        const QPersistentModelIndex target(index);
        const bool file = row->kind == PropertyKind::File;
        connect(browse, &QAction::triggered, this, [this, edit, target, file] {
          // Close the editor first: the chooser is modal and takes the focus.
          auto* self = const_cast<GridDelegate*>(this);
          emit self->commitData(edit);
          emit self->closeEditor(edit);
          QPointer<CPropertyGrid> grid(grid_);
          QMetaObject::invokeMethod(
              grid_,
              [grid, target, file] {
                if (!grid) return;
                if (file) {
                  grid->PickFile(target);
                } else {
                  grid->PickColour(target);
                }
              },
              Qt::QueuedConnection);
        });
        return edit;
      }
      case PropertyKind::Integer: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        // Digits only; the range is the owner's to check.
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[-+]?\\d{0,12}")), edit));
        return edit;
      }
      default:
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const PropertyRow* row = model_->RowAt(index);
    if (!row) return;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      combo->setCurrentIndex(std::max(0, static_cast<int>(row->options.indexOf(row->value.toString()))));
      return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      edit->setText(PropertyValueText(*row));
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    const PropertyRow* row = model_->RowAt(index);
    if (!row) return;
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      text = combo->currentText();
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      text = edit->text();
    } else {
      QStyledItemDelegate::setModelData(editor, model, index);
      return;
    }
    // An unchanged text is no edit (a colour shown as #RRGGBB would otherwise be
    // parsed back and compared needlessly).
    if (text == PropertyValueText(*row)) return;
    model->setData(index, text, Qt::EditRole);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(std::max(s.height(), option.fontMetrics.height() + 6));
    return s;
  }

 private:
  CPropertyGrid* grid_;
  PropertyGridModel* model_;
};

}  // namespace

CPropertyGrid::CPropertyGrid(const QString& comboText, QWidget* parent)
    : QWidget(parent), model_(new PropertyGridModel(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  if (!comboText.isEmpty()) {
    combo_ = new QComboBox(this);
    combo_->addItem(comboText);
    layout->addWidget(combo_);

    toolBar_ = new QToolBar(this);
    toolBar_->setIconSize(QSize(16, 16));
    expandAll_ = toolBar_->addAction(PaneIconFor(PaneIcon::ExpandAll), QStringLiteral("全部展开"));
    connect(expandAll_, &QAction::triggered, this, &CPropertyGrid::ExpandAll);
    sort_ = toolBar_->addAction(PaneIconFor(PaneIcon::SortAlphabetic), QStringLiteral("按字母排序"));
    sort_->setCheckable(true);
    connect(sort_, &QAction::toggled, this, &CPropertyGrid::SetSortedAlphabetically);
    QAction* list = toolBar_->addAction(PaneIconFor(PaneIcon::PropertyList), QStringLiteral("属性"));
    QAction* pages = toolBar_->addAction(PaneIconFor(PaneIcon::PropertyPages), QStringLiteral("属性页"));
    // These two have no function in this program; they are shown as unavailable.
    list->setEnabled(false);
    pages->setEnabled(false);
    layout->addWidget(toolBar_);
  }

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setChildrenCollapsible(false);
  view_ = new GridTreeView(splitter_);
  view_->setModel(model_);
  view_->setItemDelegate(new GridDelegate(this, model_));
  view_->header()->hide();
  view_->header()->setStretchLastSection(true);
  view_->header()->setSectionResizeMode(0, QHeaderView::Interactive);
  view_->setUniformRowHeights(true);
  view_->setAlternatingRowColors(false);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed);
  view_->setAllColumnsShowFocus(true);
  view_->setRootIsDecorated(true);
  view_->setIndentation(14);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  view_->setColumnWidth(0, 160);

  auto* desc = new QFrame(splitter_);
  desc->setFrameShape(QFrame::StyledPanel);
  desc->setBackgroundRole(QPalette::Window);
  auto* descLayout = new QVBoxLayout(desc);
  descLayout->setContentsMargins(6, 4, 6, 4);
  descName_ = new QLabel(desc);
  QFont bold = descName_->font();
  bold.setBold(true);
  descName_->setFont(bold);
  descName_->setTextFormat(Qt::PlainText);
  descText_ = new QLabel(desc);
  descText_->setWordWrap(true);
  descText_->setTextFormat(Qt::PlainText);
  descText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  descText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  descLayout->addWidget(descName_);
  descLayout->addWidget(descText_, 1);
  splitter_->addWidget(view_);
  splitter_->addWidget(desc);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({300, 70});
  layout->addWidget(splitter_, 1);

  connect(model_, &PropertyGridModel::ExpansionChanged, this, &CPropertyGrid::SyncExpansion);
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { ShowDescription({}); });
  connect(view_, &QTreeView::expanded, this, [this](const QModelIndex& i) {
    if (PropertyRow* row = model_->RowAt(i)) row->expanded = true;
  });
  connect(view_, &QTreeView::collapsed, this, [this](const QModelIndex& i) {
    if (PropertyRow* row = model_->RowAt(i)) row->expanded = false;
  });
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { ShowDescription(current); });
  connect(model_, &QAbstractItemModel::dataChanged, this, [this] {
    ShowDescription(view_->currentIndex());
  });
  connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("复制(&C)"));
    copy->setEnabled(view_->currentIndex().isValid());
    menu.addSeparator();
    QAction* expand = menu.addAction(QStringLiteral("全部展开"));
    QAction* collapse = menu.addAction(QStringLiteral("全部折叠"));
    QAction* chosen = menu.exec(view_->viewport()->mapToGlobal(pos));
    if (chosen == copy) CopyCurrent();
    if (chosen == expand) ExpandAll();
    if (chosen == collapse) model_->SetAllExpanded(false);
  });
  auto* copyShortcut = new QAction(this);
  copyShortcut->setShortcut(QKeySequence::Copy);
  copyShortcut->setShortcutContext(Qt::WidgetShortcut);
  view_->addAction(copyShortcut);
  connect(copyShortcut, &QAction::triggered, this, &CPropertyGrid::CopyCurrent);
  ShowDescription({});
}

void CPropertyGrid::SetLeftColumnWidth(int pixels) { view_->setColumnWidth(0, pixels); }

void CPropertyGrid::SetSortedAlphabetically(bool sorted) {
  if (sort_ && sort_->isChecked() != sorted) {
    sort_->setChecked(sorted);  // comes back here through toggled
    return;
  }
  model_->SetSorted(sorted);
}

void CPropertyGrid::ExpandAll() { model_->SetAllExpanded(true); }

void CPropertyGrid::SetCurrentRow(const PropertyRow* row) {
  const QModelIndex index = model_->IndexOf(row, 1);
  if (index.isValid()) view_->setCurrentIndex(index);
}

QString CPropertyGrid::DescriptionName() const { return descName_->text(); }
QString CPropertyGrid::DescriptionText() const { return descText_->text(); }

void CPropertyGrid::SyncExpansion() {
  if (syncing_) return;
  syncing_ = true;
  view_->setUpdatesEnabled(false);
  model_->ForEachShown([this](PropertyRow* row) {
    if (!row->IsGroup()) return;
    const QModelIndex index = model_->IndexOf(row, 0);
    view_->setFirstColumnSpanned(index.row(), index.parent(), true);
    const bool expanded = row->expanded;
    if (view_->isExpanded(index) != expanded) view_->setExpanded(index, expanded);
    row->expanded = expanded;
  });
  view_->setUpdatesEnabled(true);
  syncing_ = false;
}

void CPropertyGrid::ShowDescription(const QModelIndex& current) {
  const PropertyRow* row = model_->RowAt(current);
  descName_->setText(row ? row->name : QString());
  descText_->setText(row ? row->description : QString());
}

void CPropertyGrid::CopyCurrent() {
  const PropertyRow* row = model_->RowAt(view_->currentIndex());
  if (!row) return;
  QString text = row->name;
  if (!row->IsGroup()) text += QLatin1Char('\t') + PropertyValueText(*row);
  QApplication::clipboard()->setText(text);
}

void CPropertyGrid::PickColour(const QPersistentModelIndex& index) {
  const PropertyRow* row = model_->RowAt(index);
  if (!row || row->kind != PropertyKind::Colour) return;
  const qint64 v = row->value.toLongLong();
  const QColor initial(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                       static_cast<int>((v >> 16) & 0xFF));
  const QColor chosen = QColorDialog::getColor(initial, this, row->name);
  if (chosen.isValid() && index.isValid()) model_->setData(index, chosen, Qt::EditRole);
}

void CPropertyGrid::PickFile(const QPersistentModelIndex& index) {
  const PropertyRow* row = model_->RowAt(index);
  if (!row || row->kind != PropertyKind::File) return;
  QFileDialog dialog(this, row->name, QFileInfo(row->value.toString()).absolutePath(),
                     row->filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setDefaultSuffix(QStringLiteral("bmp"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  if (index.isValid()) model_->setData(index, dialog.selectedFiles().constFirst(), Qt::EditRole);
}

}  // namespace radove
