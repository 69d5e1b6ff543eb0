#include "library/CGpioAssignDlg.h"

#include <QBrush>
#include <QColor>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

#include "library/LibraryDb.h"

namespace radove {
namespace {

const QString kCaption = QStringLiteral("Radove");

struct ColumnSpec {
  const char* header;
  int width;
};
constexpr std::array<ColumnSpec, PinGridModel::kColumnCount> kColumns{{
    {"序号", 60},
    {"器件类型", 130},
    {"器件名称", 300},
    {"引脚名", 120},
    {"引脚类型", 80},
    {"有效电平", 70},
    {"默认输出", 70},
    {"引脚电平", 70},
}};
constexpr int kHeaderHeight = 30;

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// --- the grid ---------------------------------------------------------------------------------

PinGridModel::PinGridModel(const PinList& pins, const ConnectionLabels& labels, QObject* parent)
    : QAbstractTableModel(parent),
      pins_(pins),
      labels_(labels),
      choices_(ConnectionChoices(labels)) {
  texts_.reserve(pins.size());
  for (const PinRecord& pin : pins) texts_.push_back(ConnectionLabel(pin.connection, labels));
}

int PinGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(pins_.size());
}

int PinGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant PinGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const PinRecord& pin = pins_[row];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      switch (index.column()) {
        case kNumber:
          return QString::number(index.row() + 1);
        case kDeviceType:
          return Q(pin.deviceType);
        case kDeviceName:
          return Q(pin.deviceName);
        case kPinName:
          return Q(pin.nameEn);
        case kIoType:
          return Q(IoTypeText(pin.ioType));
        case kActiveLevel:
          return Q(LevelText(pin.activeLevel));
        case kOutputLevel:
          return Q(LevelText(pin.outputLevel));
        case kConnection:
          return Q(texts_[row]);
        default:
          return {};
      }
    case Qt::BackgroundRole:
      return QBrush(QColor::fromRgb(IsClockPin(pin) ? kClockColour : kCellColour));
    case Qt::ForegroundRole:
      return QBrush(Qt::black);
    case Qt::TextAlignmentRole:
      if (index.column() == kDeviceType || index.column() == kDeviceName ||
          index.column() == kPinName) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
      }
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
      return {};
  }
}

QVariant PinGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole)
    return QString::fromUtf8(kColumns[static_cast<std::size_t>(section)].header);
  return {};
}

Qt::ItemFlags PinGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == kConnection) f |= Qt::ItemIsEditable;
  return f;
}

bool PinGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != kConnection ||
      index.row() >= rowCount()) {
    return false;
  }
  const std::string typed = TrimBlanks(value.toString().toStdString());
  auto& text = texts_[static_cast<std::size_t>(index.row())];
  if (typed == text) return true;
  if (!ConnectionOf(typed, labels_)) {
    if (typed.empty()) return false;
    if (labels_.labelToNumber.empty()) {
      emit EditRefused(QStringLiteral("没有读到目标板的引脚，引脚连接不能更改。"));
    } else {
      emit EditRefused(
          QStringLiteral("“%1”不是可用的引脚连接，请选择“-”、“VCC”、“GND”或目标板的引脚号。"
                         "\n引脚%2仍为“%3”。")
              .arg(Q(typed))
              .arg(index.row() + 1)
              .arg(Q(text)));
    }
    return false;
  }
  text = typed;
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

// --- the connection editor --------------------------------------------------------------------

QWidget* ConnectionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  if (const auto* grid = qobject_cast<const PinGridModel*>(index.model())) {
    for (const std::string& choice : grid->Choices()) combo->addItem(Q(choice));
  }
  // A choice from the list ends the edit at once. Queued: Enter in the edit field
  // activates the combo box too, and the grid must still be editing when that key
  // reaches it, or it hands Enter on to the dialog's OK button. The grid ends such
  // an edit itself, and the editor is hidden by the time this runs.
  const QPointer<QComboBox> guarded(combo);
  connect(
      combo, &QComboBox::activated, this,
      [this, guarded] {
        if (!guarded || !guarded->isVisible()) return;
        auto* self = const_cast<ConnectionDelegate*>(this);
        emit self->commitData(guarded);
        emit self->closeEditor(guarded);
      },
      Qt::QueuedConnection);
  return combo;
}

void ConnectionDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* combo = static_cast<QComboBox*>(editor);
  const QString text = index.data(Qt::EditRole).toString();
  const int found = combo->findText(text);
  if (found >= 0) combo->setCurrentIndex(found);
  combo->setEditText(text);
}

void ConnectionDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
  model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
}

// --- the dialog -------------------------------------------------------------------------------

CGpioAssignDlg::CGpioAssignDlg(const PinList& pins, const ConnectionLabels& labels, QWidget* parent)
    : QDialog(parent), pins_(pins), labels_(labels) {
  setWindowTitle(QStringLiteral("引脚设置"));
  model_ = new PinGridModel(pins_, labels_, this);
  grid_ = new QTableView(this);
  grid_->setModel(model_);
  grid_->setItemDelegateForColumn(PinGridModel::kConnection, new ConnectionDelegate(grid_));
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(24);
  grid_->horizontalHeader()->setFixedHeight(kHeaderHeight);
  grid_->horizontalHeader()->setHighlightSections(false);
  int width = 0;
  for (int c = 0; c < PinGridModel::kColumnCount; ++c) {
    grid_->setColumnWidth(c, kColumns[static_cast<std::size_t>(c)].width);
    width += kColumns[static_cast<std::size_t>(c)].width;
  }
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setMinimumWidth(width + 24);

  connect(model_, &PinGridModel::EditRefused, this,
          [this](const QString& message) { QMessageBox::warning(this, kCaption, message); });

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(buttons);
  resize(width + 60, 420);
}

void CGpioAssignDlg::accept() {
  // A connection still being typed counts as entered.
  if (QWidget* editor = grid_->indexWidget(grid_->currentIndex())) {
    QMetaObject::invokeMethod(grid_, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
  }
  changed_ = CommitConnections(pins_, model_->ConnectionTexts(), labels_);
  QDialog::accept();
}

}  // namespace radove
