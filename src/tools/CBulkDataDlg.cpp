#include "tools/CBulkDataDlg.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "panes/CPropertyGrid.h"

namespace radove {
namespace {

struct Option {
  const char* text;
  int code;
};

// The list properties: name, options with their codes, description.
struct ListProperty {
  GeneratorProperty id;
  const char* name;
  std::vector<Option> options;
  const char* description;
};

const std::vector<Option> kYesNo = {{"否", kChoiceNo}, {"是", kChoiceYes}};

const ListProperty kLists[] = {
    {GeneratorProperty::kInsertType, "插入类型",
     {{"数据", kInsertData}, {"命令", kInsertCommand}, {"命令与数据行包", kInsertPackets}},
     "选项\"数据\"表示插入数据（默认）, 选项\"命令\"表示插入命令, "
     "选项\"命令+数据包\"不插入具体数列，仅在表格中插入指定数量的\"命令+数据\"行"},
    {GeneratorProperty::kCodeType, "数列码类型",
     {{"线性码", kCodeLinear},
      {"BCD-七段数码", kCodeBcdSevenSegment},
      {"HEX-七段数码", kCodeHexSevenSegment},
      {"BCD-HEX", kCodeBcdHex}},
     "从下拉列表中选择需要添加的数据类型"},
    {GeneratorProperty::kReverse, "反序排列", kYesNo,
     "选项\"否\"表示数列按正常顺序插入（默认）, 选项\"是\"表示数列顺序反过来插入. \t\t\t\t\t\t "
     "例如，生成的数列为\"1 2 3 4\"，反序插入则为\"4 3 2 1\""},
    {GeneratorProperty::kInvert, "位反相", kYesNo,
     "选项\"否\"表示生成数列中所有数据位不变，选项\"是\"表示生成数列中所有数据位反过来（例如0xE则为0x1）,"
     "可用于共阴共阳类段码等特殊场合"},
    {GeneratorProperty::kLengthBasis, "数列长度依据", {{"步长", kBasisStep}, {"数量", kBasisCount}},
     "选项\"步长\"表示数列根据步长计算出数列长度，选项\"个数\"表示直接指定数据个数（含起始值与结束值），"
     "\t\t\t\t\t\t 系统自行计算插入的中间值。注意：只能是【正整数】数列"},
    {GeneratorProperty::kSequenceType, "数列类型",
     {{"等差数列", kSequenceArithmetic}, {"随机数列", kSequenceRandom}}, "指定生成数列的类型"},
};

constexpr const char* kValidBitsName = "有效数据位（1～63）";
constexpr const char* kValidBitsDescription =
    "生成数列中超过指定有效数据位的高位将会被屏蔽。例如，计算出的数列为0x51、0x52、0x53、0x54，"
    "指定有效数据位为1，\t\t   则插入的数列为0x1、0x0、0x1、0x0。同样的数列如果指定有效数据位为5，"
    "则插入的数列为0x11、0x10、0x11、0x10。\t\t   当然，是否屏蔽过多无效高位并不影响实际仿真结果。"
    "例如，某仿真器件需要预置的有效数据宽度为8位，即使你预置9位或更多位，\t\t   "
    "软件仿真时也会将多余的数据屏蔽，设定有效数据位的意义更多是为了更方便观察你最终给器件预置的有效数据";

constexpr const char* kStepName = "步长（不为0的整数）";
constexpr const char* kCountName = "数量（正整数）";
constexpr const char* kHexName = "十六进制";
constexpr const char* kMarkersName = "命令（C）或数据（D）";

const ListProperty* ListFor(GeneratorProperty id) {
  for (const ListProperty& l : kLists) {
    if (l.id == id) return &l;
  }
  return nullptr;
}

QString Q(const char* text) { return QString::fromUtf8(text); }

GeneratorProperty IdOf(const PropertyRow& row) { return static_cast<GeneratorProperty>(row.tag); }

}  // namespace

CBulkDataDlg::CBulkDataDlg(GeneratorParameters& parameters, QWidget* parent)
    : QDialog(parent), p_(parameters), grid_(new CPropertyGrid(QString(), this)) {
  setWindowTitle(QStringLiteral("批量插入设置"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  previewButton_ = new QPushButton(QStringLiteral("预览"), this);
  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  ok->setDefault(true);
  buttons->addWidget(previewButton_);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(previewButton_, &QPushButton::clicked, this, &CBulkDataDlg::Preview);
  connect(ok, &QPushButton::clicked, this, &CBulkDataDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CBulkDataDlg::reject);

  BuildGrid();
  ApplyVisibility(true);
  resize(640, 600);
  // Some descriptions run to several lines; give the area under the grid room for them.
  if (auto* splitter = grid_->findChild<QSplitter*>()) splitter->setSizes({380, 140});
}

PropertyRow* CBulkDataDlg::Row(GeneratorProperty property) const {
  if (property == GeneratorProperty::kPreview) return decimalPreview_;
  for (const auto& [id, row] : rows_) {
    if (id == property) return row;
  }
  return nullptr;
}

void CBulkDataDlg::BuildGrid() {
  PropertyGridModel* model = grid_->Model();
  grid_->SetLeftColumnWidth(300);
  model->SetMarkModified(false);
  model->BeginBatch();

  auto addInteger = [&](PropertyRow* parent, GeneratorProperty id, const char* name, const char* description) {
    PropertyRow* row = model->AddProperty(parent, PropertyKind::Integer, Q(name),
                                          QVariant(qint64{GetProperty(p_, id)}), Q(description),
                                          static_cast<qint64>(id));
    rows_.emplace_back(id, row);
  };
  auto addList = [&](GeneratorProperty id) {
    const ListProperty& list = *ListFor(id);
    const int code = static_cast<int>(GetProperty(p_, id));
    QString current = Q(list.options.front().text);
    PropertyRow* row = model->AddProperty(nullptr, PropertyKind::Choice, Q(list.name), current,
                                          Q(list.description), static_cast<qint64>(id));
    for (const Option& o : list.options) {
      row->options << Q(o.text);
      if (o.code == code) current = Q(o.text);
    }
    model->SetValue(row, current);
    model->AcceptValue(row);
    rows_.emplace_back(id, row);
  };

  addInteger(nullptr, GeneratorProperty::kValidBits, kValidBitsName, kValidBitsDescription);
  for (const ListProperty& list : kLists) addList(list.id);

  sequenceGroup_ = model->AddGroup(nullptr, QStringLiteral("数列设置"));
  addInteger(sequenceGroup_, GeneratorProperty::kStart, "起始值", "数列的第一个【十进制】正整数");
  addInteger(sequenceGroup_, GeneratorProperty::kEnd, "结束值", "数列的最后一个【十进制】正整数");
  addInteger(sequenceGroup_, GeneratorProperty::kStepOrCount, kStepName,
             "指定数列的步长或数量。随机序列中的数量也是种子值");

  packetGroup_ = model->AddGroup(nullptr, QStringLiteral("命令与数据行包"));
  model->SetDescription(packetGroup_, QStringLiteral("个数的限制主要是考虑到实用性，一般情况下都不会超过1～100"));
  addInteger(packetGroup_, GeneratorProperty::kCommandsPerPacket, "命令个数（1～100）", "每个包中有多少个命令");
  addInteger(packetGroup_, GeneratorProperty::kDataPerPacket, "数据个数(1～100)", "每个包中有多少个数据");
  addInteger(packetGroup_, GeneratorProperty::kPacketRepetitions, "循环次数(0～100)",
             "重复插入多少个\"命令+数据包\"");

  PropertyRow* previewGroup = model->AddGroup(
      nullptr, QStringLiteral("将要插入的数列（预览数量:%1）").arg(static_cast<int>(kPreviewLimit)));
  model->SetDescription(previewGroup,
                        QStringLiteral("一次最多只能插入%1个数据").arg(static_cast<int>(kGenerateLimit)));
  const auto previewTag = static_cast<qint64>(GeneratorProperty::kPreview);
  decimalPreview_ = model->AddProperty(
      previewGroup, PropertyKind::Text, QStringLiteral("十进制"), QString::fromStdString(p_.decimalPreview),
      QStringLiteral("点击\"预览\"可提前查看根据您的设置统计出来的部分十进制数列（不小于0的整数）"), previewTag);
  hexPreview_ = model->AddProperty(
      previewGroup, PropertyKind::Text, Q(kHexName), QString::fromStdString(p_.hexPreview),
      QStringLiteral("点击\"预览\"可提前查看根据您的设置统计出来的部分十六进制数列（不小于0的整数），或命令数据包"),
      previewTag);
  // The preview shows what the settings give; typing into it would mean nothing.
  decimalPreview_->editable = false;
  hexPreview_->editable = false;

  model->SetValidator([](const PropertyRow& row, const QVariant& proposed) {
    if (row.kind != PropertyKind::Integer) return true;
    return RefusalFor(IdOf(row), proposed.toLongLong()).empty();
  });
  model->EndBatch();

  connect(model, &PropertyGridModel::ValueEdited, this, &CBulkDataDlg::OnValueEdited);
  connect(model, &PropertyGridModel::ValueRejected, this, &CBulkDataDlg::OnValueRejected);
}

void CBulkDataDlg::ApplyVisibility(bool insertTypeChanged) {
  PropertyGridModel* model = grid_->Model();
  const bool packets = p_.insertType == kInsertPackets;
  const bool random = p_.sequenceType == kSequenceRandom;
  model->BeginBatch();
  for (GeneratorProperty id :
       {GeneratorProperty::kValidBits, GeneratorProperty::kCodeType, GeneratorProperty::kReverse,
        GeneratorProperty::kInvert, GeneratorProperty::kSequenceType, GeneratorProperty::kStart,
        GeneratorProperty::kEnd, GeneratorProperty::kStepOrCount}) {
    model->SetHidden(Row(id), packets);
  }
  // The length basis means nothing for random sequences (the number is a count).
  model->SetHidden(Row(GeneratorProperty::kLengthBasis), packets || random);
  for (GeneratorProperty id : {GeneratorProperty::kCommandsPerPacket, GeneratorProperty::kDataPerPacket,
                               GeneratorProperty::kPacketRepetitions}) {
    model->SetHidden(Row(id), !packets);
  }
  if (insertTypeChanged) {
    model->SetExpanded(sequenceGroup_, !packets);
    model->SetExpanded(packetGroup_, packets);
  }
  model->SetHidden(decimalPreview_, packets);
  model->SetName(hexPreview_, Q(packets ? kMarkersName : kHexName));
  model->SetName(Row(GeneratorProperty::kStepOrCount),
                 Q(random || p_.lengthBasis == kBasisCount ? kCountName : kStepName));
  model->EndBatch();
}

void CBulkDataDlg::OnValueEdited(PropertyRow* row, const QVariant&) {
  const GeneratorProperty id = IdOf(*row);
  std::int64_t value = 0;
  if (const ListProperty* list = ListFor(id)) {
    const QString text = row->value.toString();
    for (const Option& o : list->options) {
      if (text == Q(o.text)) value = o.code;
    }
  } else if (row->kind == PropertyKind::Integer) {
    value = row->value.toLongLong();
  } else {
    return;
  }
  SetProperty(p_, id, value);
  if (id == GeneratorProperty::kInsertType) {
    ApplyVisibility(true);
  } else if (id == GeneratorProperty::kSequenceType || id == GeneratorProperty::kLengthBasis) {
    ApplyVisibility(false);
  }
}

void CBulkDataDlg::OnValueRejected(PropertyRow* row, const QVariant& proposed) {
  if (row->kind != PropertyKind::Integer) return;
  const GeneratorProperty id = IdOf(*row);
  std::string message;
  if (proposed.isValid()) {
    message = RefusalFor(id, proposed.toLongLong());
  } else {
    // Not a number at all: refused as the property refuses any value it cannot take.
    message = id == GeneratorProperty::kStepOrCount ? RefusalFor(id, 0) : RefusalFor(id, -1000);
  }
  if (message.empty()) return;
  // Shown once the editor has closed, so that losing its focus to the message box
  // does not commit the refused text a second time.
  QMetaObject::invokeMethod(
      this, [this, text = QString::fromStdString(message)] { ShowMessage(text); }, Qt::QueuedConnection);
}

void CBulkDataDlg::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok,
                  this);
  box.exec();
}

void CBulkDataDlg::Preview() {
  BuildPreview(p_);
  PropertyGridModel* model = grid_->Model();
  model->BeginBatch();
  model->SetValue(decimalPreview_, QString::fromStdString(p_.decimalPreview));
  model->SetValue(hexPreview_, QString::fromStdString(p_.hexPreview));
  model->EndBatch();
}

void CBulkDataDlg::accept() {
  Generate(p_, kGenerateLimit);
  QDialog::accept();
}

}  // namespace radove
