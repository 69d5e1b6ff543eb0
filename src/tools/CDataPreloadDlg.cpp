#include "tools/CDataPreloadDlg.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "panes/PaneStatus.h"
#include "tools/CBulkDataDlg.h"
#include "tools/PresetCsv.h"

namespace radove {
namespace {

struct ColumnSpec {
  const char* header;
  int width;
};
constexpr ColumnSpec kColumns[kPresetColumnCount] = {
    {"序号", 60}, {"类型", 100}, {"附加", 100}, {"十进制", 150}, {"十六进制", 150}, {"自定义备注", 341},
};
constexpr int kHeaderHeight = 30;
const QColor kDataCellColour(255, 255, 224);

// The type column's drop-down: the two kinds and nothing else.
class KindDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
    auto* combo = new QComboBox(parent);
    combo->addItems({QString::fromUtf8(kKindCommand), QString::fromUtf8(kKindData)});
    // A choice takes effect as soon as it is made.
    connect(combo, &QComboBox::activated, this, [this, combo] {
      auto* self = const_cast<KindDelegate*>(this);
      emit self->commitData(combo);
      emit self->closeEditor(combo);
    });
    return combo;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentIndex(std::max(0, combo->findText(index.data(Qt::EditRole).toString())));
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
  }
};

}  // namespace

// ---- PresetGridModel --------------------------------------------------------------

PresetGridModel::PresetGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void PresetGridModel::Load(const PresetList& items, const PresetTable::Progress& progress) {
  beginResetModel();
  table_.Load(items, progress);
  endResetModel();
}

void PresetGridModel::PositionsChangedFrom(int row) {
  if (row < table_.RowCount()) emit dataChanged(index(row, kColumnIndex), index(table_.RowCount() - 1, kColumnIndex));
}

void PresetGridModel::RowsChanged(int first, int last) {
  emit dataChanged(index(first, 0), index(last, kPresetColumnCount - 1));
}

int PresetGridModel::InsertRows(int position, std::vector<PresetRow> rows) {
  position = std::clamp(position, 0, table_.RowCount());
  if (rows.empty()) return position;
  const int count = static_cast<int>(rows.size());
  beginInsertRows({}, position, position + count - 1);
  table_.Insert(position, std::move(rows));
  endInsertRows();
  PositionsChangedFrom(position + count);
  return position;
}

bool PresetGridModel::MoveToTop(int row) {
  if (row < 1 || row >= table_.RowCount()) return false;
  beginMoveRows({}, row, row, {}, 0);
  table_.MoveToTop(row);
  endMoveRows();
  PositionsChangedFrom(0);
  return true;
}

bool PresetGridModel::MoveUp(int row) {
  if (!table_.MoveUp(row)) return false;
  RowsChanged(row - 1, row);
  return true;
}

bool PresetGridModel::MoveDown(int row) {
  if (!table_.MoveDown(row)) return false;
  RowsChanged(row, row + 1);
  return true;
}

bool PresetGridModel::MoveToBottom(int row) {
  if (row < 0 || row >= table_.RowCount() - 1) return false;
  beginMoveRows({}, row, row, {}, table_.RowCount());
  table_.MoveToBottom(row);
  endMoveRows();
  PositionsChangedFrom(row);
  return true;
}

bool PresetGridModel::Remove(int row) {
  if (row < 0 || row >= table_.RowCount()) return false;
  beginRemoveRows({}, row, row);
  table_.Remove(row);
  endRemoveRows();
  PositionsChangedFrom(row);
  return true;
}

void PresetGridModel::Clear() {
  beginResetModel();
  table_.Clear();
  endResetModel();
}

int PresetGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.RowCount();
}

int PresetGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kPresetColumnCount;
}

QVariant PresetGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= table_.RowCount()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return QString::fromStdString(table_.Text(index.row(), index.column()));
    case Qt::BackgroundRole:
      return kDataCellColour;
    default:
      return {};
  }
}

QVariant PresetGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= kPresetColumnCount) return {};
  return QString::fromUtf8(kColumns[section].header);
}

Qt::ItemFlags PresetGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() != kColumnIndex) f |= Qt::ItemIsEditable;
  return f;
}

bool PresetGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const EditResult result = table_.Edit(index.row(), index.column(), value.toString().toStdString());
  switch (result.status) {
    case EditResult::kUnchanged:
      return true;
    case EditResult::kAccepted:
      // Editing one value column rewrites the other.
      emit dataChanged(this->index(index.row(), kColumnKind), this->index(index.row(), kColumnRemark));
      return true;
    case EditResult::kRefused:
      if (!result.message.empty()) emit EditRefused(QString::fromStdString(result.message));
      return false;
  }
  return false;
}

// ---- CDataPreloadDlg --------------------------------------------------------------

CDataPreloadDlg::CDataPreloadDlg(const PresetList& items, GeneratorParameters& generator, QWidget* parent,
                                 PaneStatus* status)
    : QDialog(parent), generator_(generator), model_(new PresetGridModel(this)), grid_(new QTableView(this)) {
  setWindowTitle(QStringLiteral("数据预置"));

  grid_->setModel(model_);
  grid_->setItemDelegateForColumn(kColumnKind, new KindDelegate(grid_));
  grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setSortingEnabled(false);
  grid_->setWordWrap(false);
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  // Fixed row heights keep long lists cheap: the view never measures rows.
  QHeaderView* rows = grid_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
  rows->hide();
  QHeaderView* header = grid_->horizontalHeader();
  header->setFixedHeight(kHeaderHeight);
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  for (int c = 0; c < kPresetColumnCount; ++c) grid_->setColumnWidth(c, kColumns[c].width);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  auto* bar = new QHBoxLayout;
  auto addButton = [&](const char* text, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    bar->addWidget(b);
    return b;
  };
  // The buttons act as if no row had been clicked: they append.
  addButton("插入数据", [this] { clickedRow_ = -1; InsertRow(true, clickedRow_); });
  addButton("插入命令", [this] { clickedRow_ = -1; InsertRow(false, clickedRow_); });
  addButton("批量插入...", [this] { clickedRow_ = -1; BulkInsert(clickedRow_); });
  addButton("导入...", [this] { clickedRow_ = -1; ChooseImportFile(clickedRow_); });
  addButton("导出...", [this] { ChooseExportFile(); });
  bar->addWidget(new QLabel(QStringLiteral("进度："), this));
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);  // a plain bar, like the status bar's progress pane
  bar->addWidget(progress_, 1);
  // No default button: Enter in the grid must not end the dialog.
  addButton("确定", [this] { accept(); });
  addButton("取消", [this] { reject(); });
  layout->addLayout(bar);

  BuildMenu();
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    const QModelIndex index = grid_->indexAt(pos);
    if (index.isValid()) grid_->setCurrentIndex(index);
    ShowContextMenu(index.isValid() ? index.row() + 1 : -1, grid_->viewport()->mapToGlobal(pos));
  });
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint& pos) {
    ShowContextMenu(0, header->mapToGlobal(pos));
  });
  // Shown once the editor has closed, so that losing its focus to the message box
  // does not commit the refused text a second time.
  connect(model_, &PresetGridModel::EditRefused, this, &CDataPreloadDlg::ShowMessage, Qt::QueuedConnection);

  if (status && !items.empty()) {
    status->BeginProgress(static_cast<int>(std::min<std::size_t>(items.size(), INT32_MAX)));
    status->SetPrompt(QStringLiteral("添加预置数据"));
  }
  model_->Load(items, [status](std::size_t done, std::size_t) {
    if (status) status->StepProgress(static_cast<int>(std::min<std::size_t>(done, INT32_MAX)));
  });
  if (status && !items.empty()) {
    status->EndProgress();
    status->SetPrompt(QStringLiteral("就绪"));
  }

  int width = 0;
  for (const ColumnSpec& c : kColumns) width += c.width;
  resize(width + 60, 520);
}

void CDataPreloadDlg::BuildMenu() {
  menu_ = new QMenu(this);
  auto add = [this](const char* text, auto slot) {
    connect(menu_->addAction(QString::fromUtf8(text)), &QAction::triggered, this, slot);
  };
  add("插入数据", [this] { InsertRow(true, clickedRow_); });
  add("插入命令", [this] { InsertRow(false, clickedRow_); });
  menu_->addSeparator();
  add("批量插入", [this] { BulkInsert(clickedRow_); });
  add("导入...", [this] { ChooseImportFile(clickedRow_); });
  menu_->addSeparator();
  add("移至顶部", [this] { MoveRow(PresetMove::kTop, clickedRow_); });
  add("上移一行", [this] { MoveRow(PresetMove::kUp, clickedRow_); });
  add("下移一行", [this] { MoveRow(PresetMove::kDown, clickedRow_); });
  add("移至底部", [this] { MoveRow(PresetMove::kBottom, clickedRow_); });
  menu_->addSeparator();
  add("删除", [this] { DeleteRow(clickedRow_); });
  menu_->addSeparator();
  add("删除所有", [this] { DeleteAll(); });
}

void CDataPreloadDlg::ShowContextMenu(int gridRow, const QPoint& globalPos) {
  clickedRow_ = gridRow;
  menu_->popup(globalPos);
}

void CDataPreloadDlg::ScrollTo(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, kColumnKind);
  grid_->scrollTo(index);
  grid_->setCurrentIndex(index);
}

void CDataPreloadDlg::InsertRow(bool isData, int gridRow) {
  const int at = PresetTable::InsertPosition(gridRow, model_->rowCount());
  ScrollTo(model_->InsertRows(at, {PresetRow::Make(isData, 0)}));
}

void CDataPreloadDlg::BulkInsert(int gridRow) {
  CBulkDataDlg dialog(generator_, this);
  if (dialog.exec() == QDialog::Accepted) {
    InsertGenerated(gridRow);
  } else {
    progress_->setValue(0);
  }
}

void CDataPreloadDlg::InsertGenerated(int gridRow) {
  progress_->setValue(0);
  std::vector<PresetRow> rows;
  rows.reserve(generator_.result.size());
  for (std::int64_t v : generator_.result) {
    const GeneratedRow r = RowFor(generator_.insertType, v);
    rows.push_back(PresetRow::Make(r.isData, r.value));
  }
  if (!rows.empty()) {
    const int count = static_cast<int>(rows.size());
    const int at = model_->InsertRows(PresetTable::InsertPosition(gridRow, model_->rowCount()), std::move(rows));
    // Inserted: show the row they were put before; appended: the last new row.
    ScrollTo(std::min(at + count, model_->rowCount() - 1));
  }
  progress_->setValue(100);
  progress_->setValue(0);
}

bool CDataPreloadDlg::ImportCsv(const QString& path, int gridRow) {
  PresetList items;
  try {
    items = ReadPresetCsvFile(path.toStdString());
  } catch (const std::exception& e) {
    ShowMessage(QStringLiteral("导入失败，表格没有改动：\n%1").arg(QString::fromStdString(e.what())));
    return false;
  }
  std::vector<PresetRow> rows;
  rows.reserve(items.size());
  for (const DataItem& item : items) rows.push_back(PresetRow::FromItem(item));
  const int count = static_cast<int>(rows.size());
  const int at = model_->InsertRows(PresetTable::InsertPosition(gridRow, model_->rowCount()), std::move(rows));
  if (count > 0) ScrollTo(at);
  return true;
}

bool CDataPreloadDlg::ExportCsv(const QString& path) {
  try {
    WritePresetCsvFile(path.toStdString(), model_->Save());
  } catch (const std::exception& e) {
    ShowMessage(QStringLiteral("导出失败：\n%1").arg(QString::fromStdString(e.what())));
    return false;
  }
  return true;
}

void CDataPreloadDlg::ChooseImportFile(int gridRow) {
  const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("导入预置数据"), QString(),
                                                    QStringLiteral("预置数据 (*.csv);;所有文件 (*)"));
  if (!path.isEmpty()) ImportCsv(path, gridRow);
}

void CDataPreloadDlg::ChooseExportFile() {
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出预置数据"), QString(),
                                              QStringLiteral("预置数据 (*.csv)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
  ExportCsv(path);
}

bool CDataPreloadDlg::MoveRow(PresetMove move, int gridRow) {
  const int row = gridRow - 1;
  if (gridRow < 1 || row >= model_->rowCount()) return false;
  switch (move) {
    case PresetMove::kTop: return model_->MoveToTop(row);
    case PresetMove::kUp: return model_->MoveUp(row);
    case PresetMove::kDown: return model_->MoveDown(row);
    case PresetMove::kBottom: return model_->MoveToBottom(row);
  }
  return false;
}

bool CDataPreloadDlg::DeleteRow(int gridRow) { return gridRow >= 1 && model_->Remove(gridRow - 1); }

void CDataPreloadDlg::DeleteAll() { model_->Clear(); }

void CDataPreloadDlg::accept() {
  progress_->setValue(0);
  result_ = model_->Save([this](std::size_t done, std::size_t total) {
    progress_->setValue(static_cast<int>(std::min<std::size_t>(98, done * 100 / std::max<std::size_t>(total, 1))));
  });
  progress_->setValue(0);
  QDialog::accept();
}

void CDataPreloadDlg::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, this);
  box.exec();
}

}  // namespace radove
