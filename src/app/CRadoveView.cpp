#include "app/CRadoveView.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <exception>

#include "core/DataPaths.h"
#include "panes/CClassView.h"
#include "panes/CFileView.h"
#include "panes/CMemoryWnd.h"
#include "panes/COutputWnd.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CRegisterWnd.h"
#include "render/QtCanvas.h"

namespace radove {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CRadoveView::CRadoveView(CRadoveDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), sim_(doc, *this) {
  doc_.AttachSimulation(&sim_);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(120, 90);


  contextMenu_ = new QMenu(this);
  ctxChoose_ = contextMenu_->addAction(QStringLiteral("更换器件..."), this, &CRadoveView::OnChooseDevice);
  ctxPresets_ = contextMenu_->addAction(QStringLiteral("数据预置..."), this, &CRadoveView::OnPresetData);
  contextMenu_->addSeparator();
  // Cut, copy and paste have nothing to act on in the view.
  for (const char* text : {"剪切(&T)", "复制(&C)", "粘贴(&P)"}) {
    contextMenu_->addAction(QString::fromUtf8(text))->setEnabled(false);
  }
  contextMenu_->addSeparator();
  ctxProperties_ =
      contextMenu_->addAction(QStringLiteral("器件属性..."), this, &CRadoveView::OnDeviceProperties);
}

CRadoveView::~CRadoveView() {
  // The worker reads the document; end it before either goes.
  sim_.Stop();
  doc_.AttachSimulation(nullptr);
}

void CRadoveView::SetPanes(const Panes& panes) {
  panes_ = panes;
  if (panes_.properties) {
    connect(panes_.properties, &CPropertiesWnd::IntPropertyChanged, this,
            &CRadoveView::OnIntPropertyChanged);
    connect(panes_.properties, &CPropertiesWnd::StringPropertyChanged, this,
            &CRadoveView::OnStringPropertyChanged);
  }
}

void CRadoveView::PrepareWindow(SettingsStorage& storage) {
  storage_ = &storage;
  settings_.Load(storage);
  sim_.SetTiming(settings_.Timing());
  const auto rows = library_.TargetGpios(kTargetBoard);
  if (rows.Ok()) gpio_.Fill(rows.value);
}

// --- drawing ---------------------------------------------------------------------------

void CRadoveView::RenderDevice(int mode) {
  RenderPicture(mode);
  update();
}

void CRadoveView::RenderPicture(int mode) {
  CDeviceBase* device = doc_.Device();
  const qreal dpr = devicePixelRatioF();
  const int w = std::max(1, qRound(width() * dpr));
  const int h = std::max(1, qRound(height() * dpr));
  if (!device || !DeviceChosen()) {
    ClearPicture();
    return;
  }
  if (!target_ || target_->Width() != w || target_->Height() != h) {
    target_ = std::make_unique<ImageTarget>(w, h);
  }
  try {
    auto lock = device->Lock();
    const CSurfaceBase& s = device->Surface();
    // The window around the canvas takes the canvas's own outer colour.
    target_->Image().fill(ToQColor(mode == kModeActive ? s.outerColourActive : s.outerColourStopped));
    device->Render(*target_, mode);
    pictureValid_ = true;
  } catch (const std::exception&) {
    // A device that fails to draw keeps its last picture.
  }
}

const QImage& CRadoveView::Picture() const {
  static const QImage kNone;
  return pictureValid_ && target_ ? target_->Image() : kNone;
}

void CRadoveView::ClearPicture() {
  pictureValid_ = false;
}

void CRadoveView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const bool haveDevice = doc_.Device() && DeviceChosen();
  if (haveDevice) {
    const qreal dpr = devicePixelRatioF();
    const QSize want(std::max(1, qRound(width() * dpr)), std::max(1, qRound(height() * dpr)));
    if (!pictureValid_ || Picture().size() != want) RenderPicture(Stopped() ? kModeStopped : kModeActive);
  }
  if (haveDevice && pictureValid_) {
    p.drawImage(rect(), Picture());
    return;
  }
  p.fillRect(rect(), palette().color(QPalette::Base));
  p.setPen(palette().color(QPalette::PlaceholderText));
  p.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
             DeviceChosen() ? QStringLiteral("无法创建这个器件的模型：器件库无法读取，\n"
                                             "或者这个器件在本版本中尚未提供。")
                            : QStringLiteral("选择“工程 > 添加器件...”指定要仿真的器件，\n"
                                             "或者打开一个仿真文件（*.redu）。"));
}

void CRadoveView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  pictureValid_ = false;
}

void CRadoveView::contextMenuEvent(QContextMenuEvent* event) {
  UpdateContextMenu();
  contextMenu_->popup(event->globalPos());
}

void CRadoveView::UpdateContextMenu() {
  ctxChoose_->setEnabled(CanChooseDevice());
  ctxPresets_->setEnabled(CanEditPresets());
  ctxProperties_->setEnabled(CanShowDeviceProperties());
}

// --- the worker's requests ---------------------------------------------------------------

void CRadoveView::RequestRedraw(std::shared_ptr<HostReply> reply) {
  const std::uint64_t generation = runGeneration_.load();
  QMetaObject::invokeMethod(
      this,
      [this, reply, generation] {
        HandleRedraw(generation);
        reply->Complete();
      },
      Qt::QueuedConnection);
}

void CRadoveView::StepExecuted(std::shared_ptr<HostReply> reply) {
  const std::uint64_t generation = runGeneration_.load();
  QMetaObject::invokeMethod(
      this,
      [this, reply, generation] {
        HandleStep(generation);
        reply->Complete();
      },
      Qt::QueuedConnection);
}

void CRadoveView::HandleRedraw(std::uint64_t generation) {
  if (generation != runGeneration_.load() || Stopped()) return;
  RenderDevice(kModeActive);
  emit CommandStateChanged();
}

void CRadoveView::HandleStep(std::uint64_t generation) {
  if (generation != runGeneration_.load() || Stopped()) return;
  RenderDevice(kModeActive);
  if (sim_.StepMode()) ShowStepResults();
  emit CommandStateChanged();
}

void CRadoveView::ShowStepResults() {
  RefreshInspection();
  if (panes_.registers) panes_.registers->UpdatePane(inspection_, CRegisterWnd::kQuick);
  if (panes_.memory) panes_.memory->UpdatePane(inspection_, CMemoryWnd::kQuick);
  if (panes_.output) {
    for (const ChipDescriptor& chip : inspection_.chips) panes_.output->AppendOutput(2, Q(chip.decoded));
  }
}

// --- run commands --------------------------------------------------------------------------

void CRadoveView::OnRun() {
  if (!sim_.CanRun()) return;
  sim_.Run();
  RenderDevice(kModeActive);
  emit CommandStateChanged();
}

void CRadoveView::OnStep() {
  if (!sim_.CanStep()) return;
  if (sim_.Step() && panes_.dataTree) panes_.dataTree->AdvanceSelection();
  emit CommandStateChanged();
}

void CRadoveView::OnPause() {
  if (!sim_.CanPause()) return;
  sim_.Pause();
  emit CommandStateChanged();
}

void CRadoveView::OnStop() {
  if (!sim_.CanStop()) return;
  ++runGeneration_;
  sim_.Stop();
  if (panes_.dataTree) panes_.dataTree->SelectFirstItem();
  RefreshInspection();
  if (panes_.registers) panes_.registers->UpdatePane(inspection_, CRegisterWnd::kQuick);
  if (panes_.memory) panes_.memory->UpdatePane(inspection_, CMemoryWnd::kQuick);
  if (panes_.output) panes_.output->ClearOutput(3);
  RenderDevice(kModeStopped);
  emit CommandStateChanged();
}

// --- document and device -------------------------------------------------------------------

void CRadoveView::OnDocumentChanged() {
  ++runGeneration_;
  if (doc_.TakePanesReset()) ResetPanes();
  if (doc_.TakeDeviceReload()) {
    SwitchDevice(-1, false);
    if (!DeviceChosen() || !doc_.Device()) ResetPanes();
  }
  if (!doc_.Device()) inspection_ = InspectionSnapshot{};
  ClearPicture();
  RenderDevice(kModeStopped);
  emit CommandStateChanged();
}

void CRadoveView::SwitchDevice(int oldId, bool markModified) {
  (void)oldId;  // the document dropped the old device's entries when it was chosen
  if (doc_.Device() && doc_.CurrentDeviceId() == doc_.Factory().LastTypeCode()) return;
  if (markModified) {
    doc_.SetModified(true);
    emit DocumentModified();
  }
  const int id = doc_.CurrentDeviceId();
  CreateDevice(id);
  sim_.LoadItems(id, true);
  LoadPins(id);
  RefreshPanes();
}

void CRadoveView::CreateDevice(int id) {
  // A library that cannot be read leaves everything as it is.
  const auto row = library_.DeviceClass(id);
  if (!row.Ok()) return;
  if (row.value) doc_.SetLibraryRow(row.value->className, row.value->classFileName, row.value->userCreated);
  if (doc_.ClassName().empty() || doc_.ClassFileName().empty()) return;
  CDeviceBase* device = doc_.CreateDeviceModel(settings_.Colours());
  if (!device) return;
  const auto texts = library_.Texts(id);
  if (texts.Ok() && texts.value) {
    const DeviceTexts& t = *texts.value;
    device->name = t.name;
    device->type_cn = t.typeCn;
    device->category_cn = t.categoryCn;
    device->sub_category_cn = t.subCategoryCn;
    device->info = t.info;
    device->type_en = t.typeEn;
  }
}

void CRadoveView::LoadPins(int id) {
  CDeviceBase* device = doc_.Device();
  if (id == -1 || !device || doc_.Pins()) return;
  auto pins = library_.Pins(id, device->type_cn, device->name);
  // Stored even when empty, but only when the library could be read.
  if (pins.Ok()) doc_.SetPins(std::move(pins.value));
}

void CRadoveView::ResetPanes() {
  if (panes_.memory) panes_.memory->ClearPane();
  if (panes_.registers) panes_.registers->ClearPane();
  if (panes_.dataTree) panes_.dataTree->RebuildDataTree(true, nullptr);
  if (panes_.properties) panes_.properties->RebuildProperties(true, nullptr, nullptr);
  if (panes_.pinTree) panes_.pinTree->RebuildPinTree(true, {}, nullptr);
  if (panes_.output) {
    panes_.output->ClearOutput(0);
    const std::string& path = doc_.PathName();
    if (path.size() > 3) panes_.output->AppendOutput(0, QStringLiteral("打开新的文件:%1").arg(Q(path)));
  }
}

void CRadoveView::RefreshPanes() {
  CDeviceBase* device = doc_.Device();
  const bool haveDevice = device && DeviceChosen();
  if (panes_.properties) {
    PropertyBasics texts;
    if (haveDevice) texts = {device->type_en, device->category_cn, device->sub_category_cn};
    panes_.properties->RebuildProperties(false, haveDevice ? &texts : nullptr, doc_.Properties());
  }
  if (panes_.pinTree) {
    panes_.pinTree->RebuildPinTree(false, haveDevice ? device->type_en : std::string(),
                                   haveDevice ? doc_.Pins() : nullptr);
  }
  if (panes_.dataTree) panes_.dataTree->RebuildDataTree(false, doc_.Presets());
  RefreshInspection();
  if (panes_.registers) panes_.registers->UpdatePane(inspection_, CRegisterWnd::kFull);
  if (panes_.memory) panes_.memory->UpdatePane(inspection_, CMemoryWnd::kFull);
}

void CRadoveView::RefreshInspection() {
  CDeviceBase* device = doc_.Device();
  if (!device) {
    // The chips of a device that is gone must not be shown.
    inspection_ = InspectionSnapshot{};
    return;
  }
  try {
    auto lock = device->Lock();
    inspection_ = InspectionSnapshot::From(device->BuildInspection());
  } catch (const std::exception&) {
  }
}

// --- project commands ------------------------------------------------------------------------

void CRadoveView::OnChooseDevice() {
  if (!CanChooseDevice() || !dialogs_.chooseDevice) return;
  const auto chosen = dialogs_.chooseDevice(window(), doc_.GetLibrarySelection());
  if (!chosen || chosen->first == -1) return;
  const int oldId = doc_.CurrentDeviceId();
  doc_.SetLibrarySelection(chosen->second);
  if (chosen->first != oldId) {
    doc_.ChooseDevice(chosen->first);
    SwitchDevice(oldId, true);
  }
  ClearPicture();
  RenderDevice(kModeStopped);
  emit CommandStateChanged();
}

void CRadoveView::OnPresetData() {
  if (!CanEditPresets() || !dialogs_.editPresets) return;
  if (!dialogs_.editPresets(window(), doc_)) return;
  doc_.SetModified(true);
  emit DocumentModified();
  if (panes_.dataTree) panes_.dataTree->RebuildDataTree(false, doc_.Presets());
}

void CRadoveView::OnDeviceProperties() {
  if (!CanShowDeviceProperties()) return;
  emit PropertiesPaneRequested();
}

void CRadoveView::OnPins() {
  if (!dialogs_.editPins) return;
  dialogs_.editPins(window(), doc_, gpio_);
  const PinList* pins = doc_.Pins();
  CDeviceBase* device = doc_.Device();
  if (pins && device) {
    try {
      auto lock = device->Lock();
      device->ApplyPinLevels(*pins);
    } catch (const std::exception&) {
    }
  }
  if (panes_.pinTree && device && DeviceChosen()) {
    panes_.pinTree->RebuildPinTree(false, device->type_en, pins);
  }
}

void CRadoveView::OnSettings() {
  if (!CanEditSettings() || !dialogs_.editSettings) return;
  if (!dialogs_.editSettings(window(), settings_)) return;
  sim_.SetTiming(settings_.Timing());
  if (storage_) settings_.Save(*storage_);
}

void CRadoveView::OpenHelp(const char* relative) {
  const QString path = QString::fromStdString(ResolveDataFile(relative).string());
  if (!QFileInfo::exists(path)) {
    QMessageBox::warning(window(), QStringLiteral("Radove"),
                         QStringLiteral("找不到帮助文档:\n%1").arg(QDir::toNativeSeparators(path)));
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    QMessageBox::warning(window(), QStringLiteral("Radove"),
                         QStringLiteral("无法打开帮助文档:\n%1\n请确认系统中安装了 PDF 阅读程序。")
                             .arg(QDir::toNativeSeparators(path)));
  }
}

void CRadoveView::OnHelpGuide() { OpenHelp(kUserGuide); }
void CRadoveView::OnHelpReference() { OpenHelp(kReferenceManual); }

// --- property edits ------------------------------------------------------------------------------

void CRadoveView::OnIntPropertyChanged(std::uint32_t tag, int value) {
  if (CDeviceBase* device = doc_.Device()) {
    try {
      auto lock = device->Lock();
      device->OnIntPropertyChanged(tag, value);
    } catch (const std::exception&) {
    }
  }
  AfterPropertyEdit();
}

void CRadoveView::OnStringPropertyChanged(std::uint32_t tag, const QString& text) {
  if (CDeviceBase* device = doc_.Device()) {
    try {
      auto lock = device->Lock();
      device->OnStringPropertyChanged(tag, text.toStdString());
    } catch (const std::exception&) {
    }
  }
  AfterPropertyEdit();
}

void CRadoveView::AfterPropertyEdit() {
  CDeviceBase* device = doc_.Device();
  PropertySet* set = doc_.MutableProperties();
  if (!device || !set) return;
  try {
    auto lock = device->Lock();
    device->SaveProperties(*set);
  } catch (const std::exception&) {
  }
  doc_.SetModified(true);
  emit DocumentModified();
  // A property may change what the device shows or publishes (a picture, the pages
  // of its memory pane).
  RefreshInspection();
  if (panes_.memory) panes_.memory->UpdatePane(inspection_, CMemoryWnd::kFull);
  if (panes_.registers) panes_.registers->UpdatePane(inspection_, CRegisterWnd::kFull);
  RenderDevice(Stopped() ? kModeStopped : kModeActive);
}

}  // namespace radove
