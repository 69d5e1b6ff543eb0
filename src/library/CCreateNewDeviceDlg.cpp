#include "library/CCreateNewDeviceDlg.h"

#include <QBrush>
#include <QColor>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "library/NewDevice.h"

namespace radove {
namespace {

const QString kCaption = QStringLiteral("Radove");

struct ColumnSpec {
  const char* header;
  int width;
  const char* initial;  // a new pin's text
};
constexpr std::array<ColumnSpec, NewPinGridModel::kColumnCount> kColumns{{
    {"序号", 40, ""},
    {"名称", 140, "PIN"},
    {"引脚号", 60, "0"},
    {"类型", 70, ""},
    {"有效电平", 70, ""},
    {"默认输出", 65, "-"},
    {"触发边沿", 80, ""},
    {"特殊功能", 80, ""},
}};
constexpr int kHeaderHeight = 30;
constexpr int kMaxPinNumber = 9999;

QString Required(const char* label) {
  return QString::fromUtf8(label) + QStringLiteral("<span style=\"color:#c00000\">*</span>");
}

}  // namespace

// --- the pin grid -----------------------------------------------------------------------------

NewPinGridModel::NewPinGridModel(QObject* parent) : QAbstractTableModel(parent) {}

QStringList NewPinGridModel::Options(int column) {
  switch (column) {
    case kType:
      return {QStringLiteral("输入"), QStringLiteral("输出"), QStringLiteral("双向")};
    case kActiveLevel:
    case kOutputLevel:
      return {QStringLiteral("-"), QStringLiteral("1"), QStringLiteral("0")};
    case kEdge:
      return {QStringLiteral("-"), QStringLiteral("上升沿"), QStringLiteral("下降沿"),
              QStringLiteral("双边沿")};
    case kFunction:
      return {QStringLiteral("-")};
    default:
      return {};
  }
}

int NewPinGridModel::AddPin() {
  const int row = PinCount();
  Row r;
  for (int c = 0; c < kColumnCount; ++c)
    r[static_cast<std::size_t>(c)] =
        QString::fromUtf8(kColumns[static_cast<std::size_t>(c)].initial);
  beginInsertRows({}, row, row);
  rows_.push_back(std::move(r));
  endInsertRows();
  return row;
}

bool NewPinGridModel::RemovePin(int row) {
  if (row < 0 || row >= PinCount()) return false;
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
  // The rows below move up one number.
  if (row < PinCount()) emit dataChanged(index(row, kNumber), index(PinCount() - 1, kNumber));
  return true;
}

void NewPinGridModel::RemoveAll() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

int NewPinGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : PinCount();
}

int NewPinGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant NewPinGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= PinCount()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      if (index.column() == kNumber) return QString::number(index.row() + 1);
      return rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    case Qt::BackgroundRole:
      return QBrush(QColor::fromRgb(kCellColour));
    case Qt::ForegroundRole:
      return QBrush(Qt::black);
    case Qt::TextAlignmentRole:
      if (index.column() == kName) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
      }
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
      return {};
  }
}

QVariant NewPinGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumnCount) {
    return {};
  }
  return QString::fromUtf8(kColumns[static_cast<std::size_t>(section)].header);
}

Qt::ItemFlags NewPinGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() != kNumber) f |= Qt::ItemIsEditable;
  return f;
}

bool NewPinGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() == kNumber ||
      index.row() >= PinCount()) {
    return false;
  }
  QString text = value.toString().trimmed();
  switch (index.column()) {
    case kName:
      if (text.isEmpty()) return false;
      break;
    case kPinNumber: {
      bool ok = false;
      const int n = text.toInt(&ok);
      if (!ok || n < 0 || n > kMaxPinNumber) return false;
      text = QString::number(n);
      break;
    }
    default:
      if (!Options(index.column()).contains(text)) return false;
      break;
  }
  rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())] = text;
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

// --- the choice editor ------------------------------------------------------------------------

QWidget* PinChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  const QStringList options = NewPinGridModel::Options(index.column());
  if (options.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
  auto* combo = new QComboBox(parent);
  combo->addItems(options);
  connect(combo, &QComboBox::activated, this, [this, combo] {
    auto* self = const_cast<PinChoiceDelegate*>(this);
    emit self->commitData(combo);
    emit self->closeEditor(combo);
  });
  return combo;
}

void PinChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
    return;
  }
  QStyledItemDelegate::setEditorData(editor, index);
}

void PinChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    if (combo->currentIndex() >= 0) model->setData(index, combo->currentText(), Qt::EditRole);
    return;
  }
  QStyledItemDelegate::setModelData(editor, model, index);
}

// --- the dialog -------------------------------------------------------------------------------

CCreateNewDeviceDlg::CCreateNewDeviceDlg(const LibraryDb& db, QWidget* parent)
    : QDialog(parent), db_(db) {
  setWindowTitle(QStringLiteral("新建器件"));

  library_ = new QComboBox(this);
  library_->addItem(QString::fromUtf8(kUserLibraryName));
  library_->setCurrentIndex(0);
  category_ = new QComboBox(this);
  category_->setEditable(true);
  category_->setInsertPolicy(QComboBox::NoInsert);
  category_->addItem(QStringLiteral("光电器件"));
  category_->setCurrentIndex(0);
  model_ = new QLineEdit(QStringLiteral("SINGLE_RED_LED"), this);
  name_ = new QLineEdit(QStringLiteral("单个发光二极管,红色"), this);
  description_ = new QLineEdit(QStringLiteral("单个发光二极管,红色"), this);
  className_ = new QLineEdit(QStringLiteral("SingleRedLed"), this);
  preview_ = new QComboBox(this);
  preview_->addItems({QStringLiteral("W1000H1000"), QStringLiteral("W1000H800"),
                      QStringLiteral("W1000H600"), QStringLiteral("W1000H400"),
                      QStringLiteral("W1000H1000"), QStringLiteral("W800H1000"),
                      QStringLiteral("W600H1000"), QStringLiteral("W400H1000"),
                      QStringLiteral("W200H1000"), QStringLiteral("W100H1000")});
  preview_->setCurrentIndex(-1);

  auto* form = new QFormLayout;
  form->addRow(Required("器件库："), library_);
  form->addRow(Required("类别："), category_);
  form->addRow(Required("型号："), model_);
  form->addRow(Required("名称："), name_);
  form->addRow(QStringLiteral("描述："), description_);
  form->addRow(Required("模型名："), className_);
  form->addRow(QStringLiteral("预览："), preview_);

  auto* previewFrame = new QFrame(this);
  previewFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  previewFrame->setFixedSize(250, 135);

  auto* top = new QHBoxLayout;
  top->addLayout(form, 1);
  top->addWidget(previewFrame, 0, Qt::AlignTop);

  pins_ = new NewPinGridModel(this);
  grid_ = new QTableView(this);
  grid_->setModel(pins_);
  grid_->setItemDelegate(new PinChoiceDelegate(grid_));
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(24);
  grid_->horizontalHeader()->setFixedHeight(kHeaderHeight);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  int width = 0;
  for (int c = 0; c < NewPinGridModel::kColumnCount; ++c) {
    grid_->setColumnWidth(c, kColumns[static_cast<std::size_t>(c)].width);
    width += kColumns[static_cast<std::size_t>(c)].width;
  }
  grid_->setMinimumSize(width + 24, 180);

  menu_ = new QMenu(this);
  menu_->addAction(QStringLiteral("添加引脚"), this, &CCreateNewDeviceDlg::AddPin);
  menu_->addAction(QStringLiteral("删除"), this, [this] { DeletePin(clickedRow_); });
  menu_->addAction(QStringLiteral("删除所有"), this, &CCreateNewDeviceDlg::DeleteAllPins);
  connect(grid_, &QWidget::customContextMenuRequested, this, &CCreateNewDeviceDlg::ShowContextMenu);

  auto* addPin = new QPushButton(QStringLiteral("添加引脚"), this);
  addPin->setAutoDefault(false);
  connect(addPin, &QPushButton::clicked, this, &CCreateNewDeviceDlg::AddPin);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(addPin);
  bottom->addStretch(1);
  bottom->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
  layout->addLayout(bottom);
}

NewDeviceEntry CCreateNewDeviceDlg::Entry() const {
  NewDeviceEntry e;
  e.category = category_->currentText().toStdString();
  e.model = model_->text().toStdString();
  e.name = name_->text().toStdString();
  e.description = description_->text().toStdString();
  e.className = className_->text().toStdString();
  return e;
}

void CCreateNewDeviceDlg::AddPin() {
  const int row = pins_->AddPin();
  grid_->scrollTo(pins_->index(row, 0));
}

void CCreateNewDeviceDlg::DeletePin(int gridRow) {
  if (gridRow < 1) return;
  pins_->RemovePin(gridRow - 1);
}

void CCreateNewDeviceDlg::DeleteAllPins() { pins_->RemoveAll(); }

void CCreateNewDeviceDlg::ShowContextMenu(const QPoint& pos) {
  const QModelIndex index = grid_->indexAt(pos);
  clickedRow_ = index.isValid() ? index.row() + 1 : -1;
  menu_->popup(grid_->viewport()->mapToGlobal(pos));
}

void CCreateNewDeviceDlg::Tell(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
  box.exec();
}

void CCreateNewDeviceDlg::accept() {
  const NewDeviceOutcome outcome = StoreNewDevice(db_, Entry());
  const QString caption = QString::fromUtf8(kNewDeviceErrorCaption);
  switch (outcome.problem) {
    case NewDeviceProblem::kNone:
      newRowId_ = outcome.id;
      QDialog::accept();
      return;
    case NewDeviceProblem::kMissingText:
      Tell(caption, QString::fromUtf8(kNewDeviceMissingMessage));
      return;
    case NewDeviceProblem::kModelExists:
      Tell(caption, QString::fromUtf8(kNewDeviceExistsMessage));
      model_->setFocus();
      model_->selectAll();
      return;
    case NewDeviceProblem::kLibraryUnreadable:
      QMessageBox::critical(
          this, kCaption,
          QString::fromUtf8(kLibraryOpenFailedMessage) +
              QStringLiteral("\n%1\n器件没有保存。").arg(QString::fromStdString(outcome.error)));
      return;
    case NewDeviceProblem::kInsertFailed:
      QMessageBox::critical(
          this, kCaption,
          QStringLiteral("器件没有保存到器件库：\n%1").arg(QString::fromStdString(outcome.error)));
      return;
  }
}

}  // namespace radove
