#include "app/CGeneralSettingDlg.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "panes/CPropertyGrid.h"

namespace radove {
namespace {

struct SettingText {
  const char* name;  // the stored name
  const char* label;
  const char* description;
};

// The two groups in the order the dialog shows them.
const SettingText kTiming[] = {
    {"mcproccontinous", "连续处理数据数量(1～10000)",
     "运行状态下每处理一条数据可能会引起视图刷新，如果你只关心最后（而不是每一条数据）的执行结果，"
     "可以指定连续处理多少条数据后才刷新视图，这能够提升数据处理速度。也不要设置过大，"
     "不然你可能会觉得其它交互操作更迟滞一些，因为大部分时间都用来处理数据了"},
    {"excutetime", "运行状态下的刷新时间间隔（1～10000ms）",
     "数据处理后，视图会进行必要的刷新，以便及时反应当前数据带来的运行效果，"
     "你可以指定多个数据的处理时间间隔，时间越小则更新次数越多，但你可能会觉得其它交互操作更迟滞一些，"
     "因为大部分时间都用来刷新视图了"},
    {"pexcutetime", "暂停状态下的刷新时间间隔（1～10000ms）",
     "暂停操作只是针对数据的处理，但是有些器件在暂停状态下也可能会有视图变化，例如光标的闪烁，"
     "实时时钟开启后会自动累加等等，你可以指定刷新的时间间隔，它对于暂停状态下没有视图变化的器件是无效的"},
};

const SettingText kColours[] = {
    {"defolbgcolor", "器件外框填充（默认）",
     "当器件从库中调入后，器件外框会有默认的填充颜色，对于不使用系统颜色的器件无效"
     "（系统自带的大多数器件通常使用系统颜色）。"},
    {"runtolbgcolor", "器件外框填充（运行）",
     "为了区分运行与停止状态，器件的外框填充颜色会有所变化，对于不使用系统颜色的器件无效"
     "（系统自带的大多数器件通常使用系统颜色）。"},
    {"defilbgcolor", "器件内框填充（默认）",
     "当器件从库中调入后，器件内框会有默认的填充颜色,，对于不使用系统颜色的器件无效"
     "（系统自带的大多数器件通常使用系统颜色）。"},
    {"runilbgcolor", "器件内框填充（运行）",
     "为了区分运行与停止状态，器件的内框填充颜色会有所变化，对于不使用系统颜色的器件无效"
     "（系统自带的大多数器件通常使用系统颜色）。"},
    {"defpixelcolor", "像素点",
     "你可以指定喜欢的像素点颜色,对于不使用系统颜色的器件无效（系统自带的大多数器件通常使用系统颜色）。"},
};

}  // namespace

CGeneralSettingDlg::CGeneralSettingDlg(const SimulationSettings& settings, QWidget* parent)
    : QDialog(parent), working_(settings) {
  setWindowTitle(QStringLiteral("仿真参数"));
  grid_ = new CPropertyGrid(QString(), this);
  grid_->SetLeftColumnWidth(330);
  PropertyGridModel* model = grid_->Model();
  model->SetMarkModified(true);

  model->BeginBatch();
  std::size_t next = 0;
  auto add = [&](PropertyRow* group, const SettingText& text, PropertyKind kind) {
    const SimulationSettings::Descriptor* d = SimulationSettings::Find(text.name);
    PropertyRow* row = model->AddProperty(group, kind, QString::fromUtf8(text.label),
                                          static_cast<qint64>(working_.Get(*d)),
                                          QString::fromUtf8(text.description));
    items_[next++] = {d, row};
  };
  PropertyRow* timing = model->AddGroup(nullptr, QStringLiteral("时间"));
  for (const SettingText& t : kTiming) add(timing, t, PropertyKind::Integer);
  PropertyRow* colours = model->AddGroup(nullptr, QStringLiteral("颜色(重新打开文件后生效)"));
  for (const SettingText& t : kColours) add(colours, t, PropertyKind::Colour);
  model->EndBatch();

  // Out-of-range input is refused where it is typed: the row keeps its value.
  model->SetValidator([this](const PropertyRow& row, const QVariant& proposed) {
    const Item* item = ItemOf(&row);
    return item && proposed.isValid() &&
           SimulationSettings::Accepts(item->descriptor->kind, proposed.toLongLong());
  });
  connect(model, &PropertyGridModel::ValueEdited, this, [this](PropertyRow* row, const QVariant&) {
    if (const Item* item = ItemOf(row)) working_.Set(*item->descriptor, row->value.toLongLong());
  });
  connect(model, &PropertyGridModel::ValueRejected, this, [this] {
    // Told once the editor has closed, not from inside its commit.
    QMetaObject::invokeMethod(
        this,
        [this] {
          QMessageBox::warning(this, QStringLiteral("Radove"), QString::fromUtf8(kOutOfRange));
        },
        Qt::QueuedConnection);
  });

  auto* buttons = new QDialogButtonBox(this);
  defaults_ = buttons->addButton(QStringLiteral("恢复默认"), QDialogButtonBox::ResetRole);
  QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(defaults_, &QPushButton::clicked, this, &CGeneralSettingDlg::RestoreDefaults);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(buttons);
  resize(680, 500);
}

PropertyRow* CGeneralSettingDlg::RowOf(const char* name) const {
  for (const Item& item : items_) {
    if (std::strcmp(item.descriptor->name, name) == 0) return item.row;
  }
  return nullptr;
}

const CGeneralSettingDlg::Item* CGeneralSettingDlg::ItemOf(const PropertyRow* row) const {
  for (const Item& item : items_) {
    if (item.row == row) return &item;
  }
  return nullptr;
}

void CGeneralSettingDlg::RestoreDefaults() {
  working_.RestoreDefaults();
  ShowWorkingValues();
}

void CGeneralSettingDlg::ShowWorkingValues() {
  PropertyGridModel* model = grid_->Model();
  model->BeginBatch();
  for (const Item& item : items_) {
    model->SetValue(item.row, static_cast<qint64>(working_.Get(*item.descriptor)));
  }
  model->EndBatch();
}

}  // namespace radove
