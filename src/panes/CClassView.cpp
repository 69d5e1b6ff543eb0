#include "panes/CClassView.h"

#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPalette>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/TextParse.h"
#include "panes/PaneIcons.h"

namespace radove {
namespace {

// internalId: 0 for the root, 1 for an item (its parent is the root), item + 2 for
// a child row of that item.
constexpr quintptr kRootId = 0;
constexpr quintptr kItemId = 1;
constexpr int kChildIcons[DataTreeModel::kChildren] = {3, 4, 5, 5, 6};

}  // namespace

DataTreeModel::DataTreeModel(QObject* parent)
    : QAbstractItemModel(parent), rootText_(QStringLiteral("没有数据")) {
  for (int i = 0; i < 7; ++i) icons_[i] = DataTreeIcon(i);
}

void DataTreeModel::ShowNoData() {
  beginResetModel();
  rootText_ = QStringLiteral("没有数据");
  rows_.clear();
  marked_ = -1;
  endResetModel();
}

void DataTreeModel::Rebuild(const PresetList* list) {
  beginResetModel();
  rootText_ = QStringLiteral("预置数据");
  rows_.clear();
  marked_ = -1;
  if (list) {
    rows_.reserve(list->size());
    for (const DataItem& item : *list) {
      Row r;
      r.index = LeadingNumber(item.index);
      r.command = item.kind == "0";
      r.additional = ParseHex64(item.additional).value_or(0);
      r.value = ParseDecimal64(item.value).value_or(0);
      r.remark = QString::fromStdString(item.remark);
      rows_.push_back(std::move(r));
    }
  }
  endResetModel();
}

QModelIndex DataTreeModel::ItemIndex(int item) const {
  if (item < 0 || item >= ItemCount()) return {};
  return createIndex(item, 0, kItemId);
}

int DataTreeModel::ItemOf(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() != kItemId) return -1;
  return index.row();
}

void DataTreeModel::SetMarked(int item) {
  const int old = marked_;
  marked_ = item;
  for (int i : {old, item}) {
    const QModelIndex idx = ItemIndex(i);
    if (idx.isValid()) emit dataChanged(idx, idx, {Qt::FontRole, Qt::BackgroundRole});
  }
}

QModelIndex DataTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row == 0 ? createIndex(0, 0, kRootId) : QModelIndex();
  if (parent.internalId() == kRootId) return row < ItemCount() ? createIndex(row, 0, kItemId) : QModelIndex();
  if (parent.internalId() == kItemId) {
    return row < kChildren ? createIndex(row, 0, static_cast<quintptr>(parent.row()) + 2) : QModelIndex();
  }
  return {};
}

QModelIndex DataTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  const quintptr id = child.internalId();
  if (id == kRootId) return {};
  if (id == kItemId) return createIndex(0, 0, kRootId);
  return createIndex(static_cast<int>(id - 2), 0, kItemId);
}

int DataTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return 1;
  if (parent.internalId() == kRootId) return ItemCount();
  if (parent.internalId() == kItemId) return kChildren;
  return 0;
}

int DataTreeModel::columnCount(const QModelIndex&) const { return 1; }

QString DataTreeModel::ChildText(const Row& row, int child) const {
  switch (child) {
    case 0:
      return row.command ? QStringLiteral("类型:命令") : QStringLiteral("类型:数据");
    case 1:
      return QString::asprintf("附加:%llx", static_cast<unsigned long long>(row.additional));
    case 2:
      return QString::asprintf("DEC:%lld", static_cast<long long>(row.value));
    case 3:
      return QString::asprintf("HEX:%llX", static_cast<unsigned long long>(row.value));
    default:
      return QStringLiteral("备注:") + row.remark;
  }
}

QVariant DataTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const quintptr id = index.internalId();
  if (id == kRootId) {
    if (role == Qt::DisplayRole) return rootText_;
    if (role == Qt::DecorationRole) return icons_[0];
    if (role == Qt::FontRole) {
      QFont f;
      f.setBold(true);
      return f;
    }
    return {};
  }
  if (id == kItemId) {
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) return QString::asprintf("%015lld", static_cast<long long>(row.index));
    if (role == Qt::DecorationRole) return icons_[1];
    if (index.row() == marked_) {
      if (role == Qt::FontRole) {
        QFont f;
        f.setBold(true);
        return f;
      }
      if (role == Qt::BackgroundRole) {
        QColor c = QGuiApplication::palette().color(QPalette::Highlight);
        c.setAlpha(60);
        return c;
      }
    }
    if (role == Qt::ToolTipRole) return row.remark.isEmpty() ? QVariant() : QVariant(row.remark);
    return {};
  }
  const int item = static_cast<int>(id - 2);
  if (item < 0 || item >= ItemCount() || index.row() >= kChildren) return {};
  if (role == Qt::DisplayRole) return ChildText(rows_[static_cast<std::size_t>(item)], index.row());
  if (role == Qt::DecorationRole) return icons_[kChildIcons[index.row()]];
  return {};
}

CClassView::CClassView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  model_ = new DataTreeModel(this);
  view_ = new QTreeView(this);
  view_->setModel(model_);
  view_->header()->hide();
  view_->setUniformRowHeights(true);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setFrameShape(QFrame::NoFrame);
  layout->addWidget(view_);
}

void CClassView::RebuildDataTree(bool empty, const PresetList* list) {
  model_->Rebuild(empty ? nullptr : list);
  if (empty || !list || list->empty()) return;
  view_->expand(model_->RootIndex());
  SelectFirstItem();
}

void CClassView::Select(const QModelIndex& index) {
  model_->SetMarked(model_->ItemOf(index));
  if (!index.isValid()) {
    view_->selectionModel()->clearSelection();
    view_->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    return;
  }
  view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  view_->expand(index);
  view_->scrollTo(index);
}

void CClassView::SelectFirstItem() {
  const QModelIndex current = view_->currentIndex();
  if (current.isValid()) view_->collapse(current);
  Select(model_->ItemIndex(0));
}

void CClassView::AdvanceSelection() {
  const QModelIndex current = view_->currentIndex();
  if (!current.isValid()) return;
  view_->collapse(current);
  Select(current.siblingAtRow(current.row() + 1));
}

int CClassView::SelectedItem() const { return model_->ItemOf(view_->currentIndex()); }

QString CClassView::SelectedText() const { return view_->currentIndex().data().toString(); }

}  // namespace radove
