#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QAbstractItemView>

#include "app/AppIcons.h"
#include "app/CAboutDlg.h"
#include "app/CGeneralSettingDlg.h"
#include "app/CRadoveView.h"
#include "app/CToolbarCustomizeDlg.h"
#include "app/CommandIds.h"
#include "app/LockKeys.h"
#include "app/QtSettingsStorage.h"
#include "library/CDeviceLibDlg.h"
#include "library/CGpioAssignDlg.h"
#include "panes/CClassView.h"
#include "panes/CFileView.h"
#include "panes/CMemoryWnd.h"
#include "panes/COutputWnd.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CRegisterWnd.h"
#include "panes/PaneIcons.h"
#include "panes/PaneStatus.h"
#include "tools/CDataPreloadDlg.h"

namespace radove {
namespace {

const QString kAppTitle = QStringLiteral("Radove");
const QString kFileFilter = QStringLiteral("Radove Files(*.redu);;所有文件 (*)");
const QString kRecentGroup = QStringLiteral("Recent File List");
const QString kWorkspaceGroup = QStringLiteral("Workspace");
constexpr int kLayoutVersion = 1;

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// The status bar as the panes see it: the prompt in pane 0 and the progress bar in
// pane 1. Long grid updates run without returning to the event loop, so the two are
// repainted on the spot now and then, not at every step.
class CMainFrame::StatusPanes : public PaneStatus {
 public:
  explicit StatusPanes(CMainFrame& frame) : frame_(frame) {}

  void SetPrompt(const QString& text) override {
    frame_.prompt_->setText(text);
    if (active_) RepaintSoon(true);
  }
  void BeginProgress(int range) override {
    QProgressBar* bar = frame_.progressBar_;
    bar->setRange(0, std::max(range, 1));
    bar->setValue(0);
    frame_.progressPane_->setCurrentWidget(bar);
    if (!active_) {
      active_ = true;
      clock_.start();
      lastPaint_ = 0;
    }
  }
  void StepProgress(int value) override {
    value_ = value;
    RepaintSoon(false);
  }
  void EndProgress() override {
    active_ = false;
    frame_.progressBar_->setValue(frame_.progressBar_->maximum());
    frame_.progressPane_->setCurrentIndex(0);
  }

 private:
  void RepaintSoon(bool force) {
    constexpr qint64 kEveryMs = 100;
    const qint64 now = clock_.isValid() ? clock_.elapsed() : 0;
    if (!force && now - lastPaint_ < kEveryMs) return;
    lastPaint_ = now;
    frame_.progressBar_->setValue(value_);
    frame_.statusBar()->repaint();
  }

  CMainFrame& frame_;
  QElapsedTimer clock_;
  qint64 lastPaint_ = 0;
  int value_ = 0;
  bool active_ = false;
};

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent),
      doc_(std::make_unique<CRadoveDoc>()),
      settingsStorage_(std::make_unique<QtSettingsStorage>()) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowIcon(ApplicationIcon());
  setDockOptions(AnimatedDocks | AllowTabbedDocks | AllowNestedDocks);
  setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
  setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);

  view_ = new CRadoveView(*doc_, this);
  setCentralWidget(view_);
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  CreateDocks();
  // Before the view is shown: the settings and the target board's GPIOs.
  view_->PrepareWindow(*settingsStorage_);
  WireView();
  RestoreLayout();
  UpdateRecentMenu();
  view_->OnDocumentChanged();
  UpdateTitle();
  UpdateCommandUi();

  // The worker changes the run state on its own (a single step ends paused), so
  // the commands are also brought up to date while the window is idle.
  auto* idle = new QTimer(this);
  connect(idle, &QTimer::timeout, this, [this] {
    if (view_->Sim().State() != shownRunState_) UpdateCommandUi();
  });
  idle->start(50);

  auto* locks = new QTimer(this);
  connect(locks, &QTimer::timeout, this, &CMainFrame::UpdateLockIndicators);
  locks->start(300);
  UpdateLockIndicators();
}

CMainFrame::~CMainFrame() {
  // The view (and its run control) goes before the document it refers to.
  delete view_;
  view_ = nullptr;
}

// --- building the window ------------------------------------------------------------------

QAction* CMainFrame::MakeAction(int id, const QString& text, const QList<QKeySequence>& keys,
                                const QString& tip, const QIcon& icon) {
  auto* action = new QAction(icon, text, this);
  action->setShortcuts(keys);
  action->setShortcutContext(Qt::WindowShortcut);
  action->setStatusTip(tip);
  // The tooltip is the menu text without its mnemonic and dots.
  QString tooltip = text;
  tooltip.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&|\\.\\.\\.$")));
  action->setToolTip(tooltip);
  action->setData(id);
  actions_[id] = action;
  return action;
}

QAction* CMainFrame::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions() {
  QStyle* s = style();
  using K = QKeySequence;
  MakeAction(cmd::kFileNew, QStringLiteral("新建(&N)"), {K(Qt::CTRL | Qt::Key_N)},
             QStringLiteral("创建新的仿真"), s->standardIcon(QStyle::SP_FileIcon));
  MakeAction(cmd::kFileOpen, QStringLiteral("打开(&O)..."), {K(Qt::CTRL | Qt::Key_O)},
             QStringLiteral("打开现有的仿真文件"), s->standardIcon(QStyle::SP_DialogOpenButton));
  MakeAction(cmd::kFileSave, QStringLiteral("保存(&S)"), {K(Qt::CTRL | Qt::Key_S)},
             QStringLiteral("保存当前仿真"), s->standardIcon(QStyle::SP_DialogSaveButton));
  MakeAction(cmd::kFileSaveAs, QStringLiteral("另存为(&A)..."), {},
             QStringLiteral("用新名称保存当前仿真"));
  MakeAction(cmd::kAppExit, QStringLiteral("退出(&X)"), {},
             QStringLiteral("退出应用程序；提示保存文档"));
  MakeAction(cmd::kEditUndo, QStringLiteral("撤消(&U)"),
             {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)},
             QStringLiteral("撤消上一操作"));
  MakeAction(cmd::kEditCut, QStringLiteral("剪切(&T)"),
             {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)},
             QStringLiteral("剪切所选内容，将其放入剪贴板"));
  MakeAction(cmd::kEditCopy, QStringLiteral("复制(&C)"),
             {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)},
             QStringLiteral("复制所选内容，将其放入剪贴板"), ToolBarIcon(ToolIcon::Copy));
  MakeAction(cmd::kEditPaste, QStringLiteral("粘贴(&P)"),
             {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)},
             QStringLiteral("插入剪贴板内容"), ToolBarIcon(ToolIcon::Paste));
  MakeAction(cmd::kAddDevice, QStringLiteral("添加器件..."), {K(Qt::CTRL | Qt::Key_D)},
             QStringLiteral("添加或更换元器件"), ToolBarIcon(ToolIcon::AddDevice))
      ->setToolTip(QStringLiteral("添加器件"));
  MakeAction(cmd::kPresetData, QStringLiteral("预置数据..."), {K(Qt::CTRL | Qt::Key_P)},
             QStringLiteral("预置初始化数据"), ToolBarIcon(ToolIcon::PresetData))
      ->setToolTip(QStringLiteral("预置数据"));
  MakeAction(cmd::kPins, QStringLiteral("引脚设置..."), {}, QStringLiteral("设置器件引脚的连接"));
  MakeAction(cmd::kNewDevice, QStringLiteral("新建器件..."), {},
             QStringLiteral("在器件库中新建器件"));
  MakeAction(cmd::kStop, QStringLiteral("停止"), {K(Qt::Key_Space)}, QStringLiteral("停止"),
             s->standardIcon(QStyle::SP_MediaStop));
  MakeAction(cmd::kRun, QStringLiteral("运行"), {K(Qt::Key_Return), K(Qt::Key_Enter)},
             QStringLiteral("运行"), s->standardIcon(QStyle::SP_MediaPlay));
  MakeAction(cmd::kStep, QStringLiteral("单步运行"), {K(Qt::Key_Right)}, QStringLiteral("单步运行"),
             s->standardIcon(QStyle::SP_MediaSkipForward));
  MakeAction(cmd::kPause, QStringLiteral("暂停"), {K(Qt::Key_Up)}, QStringLiteral("暂停"),
             s->standardIcon(QStyle::SP_MediaPause));
  MakeAction(cmd::kSettings, QStringLiteral("仿真参数..."),
             {K(Qt::CTRL | Qt::Key_Return), K(Qt::CTRL | Qt::Key_Enter)},
             QStringLiteral("仿真偏好设置"));
  MakeAction(cmd::kHelpGuide, QStringLiteral("使用说明"), {}, QStringLiteral("打开使用说明"));
  MakeAction(cmd::kHelpReference, QStringLiteral("器件库参考手册"), {},
             QStringLiteral("打开器件库参考手册"));
  MakeAction(cmd::kAboutTeam, QStringLiteral("关于创作团队..."), {},
             QStringLiteral("显示创作团队的信息"));
  MakeAction(cmd::kAppAbout, QStringLiteral("关于 Radove(&A)..."), {},
             QStringLiteral("显示程序信息、版本号和版权信息"),
             s->standardIcon(QStyle::SP_MessageBoxInformation))
      ->setToolTip(QStringLiteral("关于"));

  connect(Action(cmd::kFileNew), &QAction::triggered, this, [this] {
    if (view_->CanUseDocumentCommands() && SaveModified()) NewFile();
  });
  connect(Action(cmd::kFileOpen), &QAction::triggered, this, &CMainFrame::OnOpen);
  connect(Action(cmd::kFileSave), &QAction::triggered, this, [this] {
    if (view_->CanUseDocumentCommands()) SaveFile();
  });
  connect(Action(cmd::kFileSaveAs), &QAction::triggered, this, [this] {
    if (view_->CanUseDocumentCommands()) SaveFileAs();
  });
  connect(Action(cmd::kAppExit), &QAction::triggered, this, &QWidget::close);
  connect(Action(cmd::kAddDevice), &QAction::triggered, view_, &CRadoveView::OnChooseDevice);
  connect(Action(cmd::kPresetData), &QAction::triggered, view_, &CRadoveView::OnPresetData);
  connect(Action(cmd::kPins), &QAction::triggered, view_, &CRadoveView::OnPins);
  connect(Action(cmd::kStop), &QAction::triggered, view_, &CRadoveView::OnStop);
  connect(Action(cmd::kRun), &QAction::triggered, view_, &CRadoveView::OnRun);
  connect(Action(cmd::kStep), &QAction::triggered, view_, &CRadoveView::OnStep);
  connect(Action(cmd::kPause), &QAction::triggered, view_, &CRadoveView::OnPause);
  connect(Action(cmd::kSettings), &QAction::triggered, view_, &CRadoveView::OnSettings);
  connect(Action(cmd::kHelpGuide), &QAction::triggered, view_, &CRadoveView::OnHelpGuide);
  connect(Action(cmd::kHelpReference), &QAction::triggered, view_, &CRadoveView::OnHelpReference);
  connect(Action(cmd::kAboutTeam), &QAction::triggered, this, &CMainFrame::OnAboutTeam);
  connect(Action(cmd::kAppAbout), &QAction::triggered, this, &CMainFrame::OnAbout);
  for (int id : {cmd::kStop, cmd::kRun, cmd::kStep, cmd::kPause}) {
    connect(Action(id), &QAction::triggered, this, &CMainFrame::UpdateCommandUi);
  }

  auto* next = new QAction(QStringLiteral("下一窗格"), this);
  next->setShortcut(QKeySequence(Qt::Key_F6));
  connect(next, &QAction::triggered, this, [this] { FocusNextPane(true); });
  auto* previous = new QAction(QStringLiteral("上一窗格"), this);
  previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
  connect(previous, &QAction::triggered, this, [this] { FocusNextPane(false); });
  addAction(next);
  addAction(previous);

  for (int i = 0; i < kRecentFiles; ++i) {
    auto* action = new QAction(this);
    action->setVisible(false);
    connect(action, &QAction::triggered, this, [this, action] {
      if (!view_->CanUseDocumentCommands() || !SaveModified()) return;
      OpenFile(action->data().toString());
    });
    recentActions_ << action;
  }
  recentPlaceholder_ = new QAction(QStringLiteral("最近的文件"), this);
  recentPlaceholder_->setEnabled(false);
  actions_[cmd::kFileMru] = recentPlaceholder_;
}

void CMainFrame::CreateMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu(QStringLiteral("文件(&F)"));
  file->addAction(Action(cmd::kFileNew));
  file->addAction(Action(cmd::kFileOpen));
  file->addAction(Action(cmd::kFileSave));
  file->addAction(Action(cmd::kFileSaveAs));
  file->addSeparator();
  file->addAction(recentPlaceholder_);
  file->addActions(recentActions_);
  file->addSeparator();
  file->addAction(Action(cmd::kAppExit));

  QMenu* edit = bar->addMenu(QStringLiteral("编辑(&E)"));
  edit->addAction(Action(cmd::kEditUndo));
  edit->addSeparator();
  edit->addAction(Action(cmd::kEditCut));
  edit->addAction(Action(cmd::kEditCopy));
  edit->addAction(Action(cmd::kEditPaste));

  QMenu* viewMenu = bar->addMenu(QStringLiteral("视图(&V)"));
  toolbarsMenu_ = viewMenu->addMenu(QStringLiteral("工具栏和停靠窗口(&T)"));
  actions_[cmd::kViewToolbars] = toolbarsMenu_->menuAction();
  QAction* statusBarToggle = viewMenu->addAction(QStringLiteral("状态栏(&S)"));
  statusBarToggle->setCheckable(true);
  statusBarToggle->setChecked(true);
  statusBarToggle->setStatusTip(QStringLiteral("显示或隐藏状态栏"));
  connect(statusBarToggle, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  actions_[cmd::kViewStatusBar] = statusBarToggle;

  QMenu* project = bar->addMenu(QStringLiteral("工程(&P)"));
  project->addAction(Action(cmd::kAddDevice));
  project->addAction(Action(cmd::kPresetData));
  project->addSeparator();
  project->addAction(Action(cmd::kPins));
  project->addAction(Action(cmd::kNewDevice));

  QMenu* sim = bar->addMenu(QStringLiteral("仿真(&S)"));
  sim->addAction(Action(cmd::kStop));
  sim->addAction(Action(cmd::kRun));
  sim->addAction(Action(cmd::kStep));
  sim->addAction(Action(cmd::kPause));

  QMenu* options = bar->addMenu(QStringLiteral("选项(&O)"));
  options->addAction(Action(cmd::kSettings));

  QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
  help->addAction(Action(cmd::kHelpGuide));
  help->addAction(Action(cmd::kHelpReference));
  help->addSeparator();
  help->addAction(Action(cmd::kAboutTeam));
  help->addAction(Action(cmd::kAppAbout));
}

void CMainFrame::CreateToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("标准"), this);
  toolBar_->setObjectName(QStringLiteral("StandardToolBar"));
  toolBar_->setIconSize(QSize(16, 16));
  toolBarButtons_ = {cmd::kFileNew,   cmd::kFileOpen, cmd::kFileSave, 0,           cmd::kEditCopy,
                     cmd::kEditPaste, 0,              cmd::kAddDevice, cmd::kPresetData, 0,
                     cmd::kStop,      cmd::kRun,      cmd::kStep,      cmd::kPause,  0,
                     cmd::kAppAbout};
  addToolBar(Qt::TopToolBarArea, toolBar_);
  customize_ = new QAction(QStringLiteral("自定义..."), this);
  customize_->setStatusTip(QStringLiteral("自定义工具栏“标准”的按钮"));
  connect(customize_, &QAction::triggered, this, &CMainFrame::CustomizeToolBar);
  toolBar_->setContextMenuPolicy(Qt::DefaultContextMenu);
  QList<int> all;
  for (int id : toolBarButtons_) {
    if (id) all << id;
  }
  RebuildToolBar(all);
}

void CMainFrame::RebuildToolBar(const QList<int>& shown) {
  toolBar_->clear();
  bool pendingBreak = false;
  bool any = false;
  for (int id : toolBarButtons_) {
    if (id == 0) {
      pendingBreak = any;
      continue;
    }
    if (!shown.contains(id)) continue;
    if (pendingBreak) toolBar_->addSeparator();
    pendingBreak = false;
    toolBar_->addAction(Action(id));
    any = true;
  }
}

QList<int> CMainFrame::ToolBarShown() const {
  QList<int> shown;
  for (QAction* action : toolBar_->actions()) {
    if (!action->isSeparator()) shown << action->data().toInt();
  }
  return shown;
}

void CMainFrame::CustomizeToolBar() {
  QList<QAction*> all, shown;
  const QList<int> current = ToolBarShown();
  for (int id : toolBarButtons_) {
    if (!id) continue;
    all << Action(id);
    if (current.contains(id)) shown << Action(id);
  }
  CToolbarCustomizeDlg dialog(all, shown, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QList<int> ids;
  for (QAction* action : dialog.Shown()) ids << action->data().toInt();
  RebuildToolBar(ids);
}

QMenu* CMainFrame::createPopupMenu() {
  QMenu* menu = QMainWindow::createPopupMenu();
  if (!menu) menu = new QMenu(this);
  menu->addSeparator();
  menu->addAction(customize_);
  return menu;
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  prompt_ = new QLabel(QStringLiteral("就绪"), bar);
  prompt_->setObjectName(QStringLiteral("prompt"));
  bar->addWidget(prompt_, 1);

  progressPane_ = new QStackedWidget(bar);
  progressPane_->setFixedWidth(kProgressPaneWidth);
  auto* idle = new QLabel(QStringLiteral("操作进度"), progressPane_);
  progressBar_ = new QProgressBar(progressPane_);
  progressBar_->setTextVisible(false);
  progressBar_->setMaximumHeight(16);
  progressPane_->addWidget(idle);
  progressPane_->addWidget(progressBar_);
  bar->addPermanentWidget(progressPane_);

  auto indicator = [bar](const QString& text, const QString& tip) {
    auto* label = new QLabel(text, bar);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
    label->setToolTip(tip);
    bar->addPermanentWidget(label);
    return label;
  };
  capsIndicator_ = indicator(QStringLiteral("CAP"), QStringLiteral("大写锁定"));
  numIndicator_ = indicator(QStringLiteral("NUM"), QStringLiteral("数字锁定"));
  scrollIndicator_ = indicator(QStringLiteral("SCRL"), QStringLiteral("滚动锁定"));
  indicator(QStringLiteral("CON"), QString());
  status_ = std::make_unique<StatusPanes>(*this);
}

PaneStatus* CMainFrame::Status() const { return status_.get(); }

void CMainFrame::UpdateLockIndicators() {
  const auto state = QueryLockKeys();
  // An indicator is greyed while its lock is off, or when the platform does not say.
  capsIndicator_->setEnabled(state && state->capsLock);
  numIndicator_->setEnabled(state && state->numLock);
  scrollIndicator_->setEnabled(state && state->scrollLock);
}

void CMainFrame::CreateDocks() {
  dataTree_ = new CClassView(this);
  pinTree_ = new CFileView(this);
  output_ = new COutputWnd(this);
  properties_ = new CPropertiesWnd(this);
  registers_ = new CRegisterWnd(this);
  memory_ = new CMemoryWnd(this);
  registers_->SetStatus(status_.get());
  memory_->SetStatus(status_.get());

  struct DockEntry {
    QWidget* widget;
    const char* caption;
    const char* name;
    PaneIcon icon;
    Qt::DockWidgetArea area;
  };
  const DockEntry entries[] = {
      {dataTree_, "接口数据", "DataTreePane", PaneIcon::DataTree, Qt::LeftDockWidgetArea},
      {pinTree_, "项目管理", "PinTreePane", PaneIcon::PinTree, Qt::LeftDockWidgetArea},
      {output_, "输出", "OutputPane", PaneIcon::Output, Qt::BottomDockWidgetArea},
      {properties_, "属性", "PropertiesPane", PaneIcon::Properties, Qt::RightDockWidgetArea},
      {registers_, "寄存器", "RegisterPane", PaneIcon::Registers, Qt::RightDockWidgetArea},
      {memory_, "内存", "MemoryPane", PaneIcon::Memory, Qt::RightDockWidgetArea},
  };
  for (const DockEntry& entry : entries) {
    auto* dock = new QDockWidget(QString::fromUtf8(entry.caption), this);
    dock->setObjectName(QString::fromLatin1(entry.name));
    dock->setWindowIcon(PaneIconFor(entry.icon));
    dock->setWidget(entry.widget);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    addDockWidget(entry.area, dock);
    docks_ << dock;
  }
  tabifyDockWidget(docks_[0], docks_[1]);
  docks_[0]->raise();
  propertiesDock_ = docks_[3];
  resizeDocks({docks_[0], docks_[3]}, {230, 300}, Qt::Horizontal);
  resizeDocks({docks_[2]}, {150}, Qt::Vertical);
  connect(output_, &COutputWnd::HideRequested, docks_[2], &QWidget::hide);

  toolbarsMenu_->addAction(toolBar_->toggleViewAction());
  toolbarsMenu_->addSeparator();
  for (QDockWidget* dock : docks_) toolbarsMenu_->addAction(dock->toggleViewAction());
  toolbarsMenu_->addSeparator();
  toolbarsMenu_->addAction(customize_);
}

void CMainFrame::WireView() {
  CRadoveView::Panes panes;
  panes.dataTree = dataTree_;
  panes.pinTree = pinTree_;
  panes.output = output_;
  panes.properties = properties_;
  panes.registers = registers_;
  panes.memory = memory_;
  view_->SetPanes(panes);

  CRadoveView::Dialogs dialogs;
  dialogs.editPresets = [this](QWidget* parent, CRadoveDoc& doc) {
    const PresetList empty;
    const PresetList* current = doc.Presets();
    CDataPreloadDlg dialog(current ? *current : empty, doc.GeneratorParameters(0), parent,
                           status_.get());
    if (dialog.exec() != QDialog::Accepted) return false;
    doc.SetPresets(dialog.Result());
    return true;
  };
  dialogs.editSettings = [](QWidget* parent, SimulationSettings& settings) {
    CGeneralSettingDlg dialog(settings, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings = dialog.Working();
    return true;
  };
  dialogs.chooseDevice = [this](QWidget* parent, const LibrarySelection& selection)
      -> std::optional<std::pair<int, LibrarySelection>> {
    CDeviceLibDlg dialog(view_->Library(),
                         BrowserPositions{selection.category, selection.subCategory, selection.device},
                         parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const BrowserPositions& p = dialog.Positions();
    return std::make_pair(dialog.SelectedDeviceId(), LibrarySelection{p.library, p.category, p.device});
  };
  dialogs.editPins = [this](QWidget* parent, CRadoveDoc& doc, const TargetGpioTables& tables) {
    ConnectionLabels labels;
    labels.boardLabels = tables.labels;
    labels.labelToNumber = tables.labelToNumber;
    labels.numberToLabel = tables.numberToLabel;
    const PinList none;
    const PinList* pins = doc.Pins();
    CGpioAssignDlg dialog(pins ? *pins : none, labels, parent);
    if (dialog.exec() != QDialog::Accepted || !pins) return;
    const int changed = dialog.ChangedCount();
    doc.SetPins(dialog.Pins());
    // Changed connections are the user's work: they are offered for saving.
    if (changed > 0) {
      doc.SetModified(true);
      UpdateTitle();
    }
  };
  view_->SetDialogs(std::move(dialogs));

  connect(view_, &CRadoveView::CommandStateChanged, this, &CMainFrame::UpdateCommandUi);
  connect(view_, &CRadoveView::DocumentModified, this, &CMainFrame::UpdateTitle);
  connect(view_, &CRadoveView::PropertiesPaneRequested, this, [this] {
    propertiesDock_->show();
    propertiesDock_->raise();
    properties_->setFocus();
    if (auto* v = properties_->findChild<QAbstractItemView*>()) v->setFocus();
  });
}

// --- commands -------------------------------------------------------------------------------

void CMainFrame::UpdateCommandUi() {
  const bool docs = view_->CanUseDocumentCommands();
  for (int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs}) {
    Action(id)->setEnabled(docs);
  }
  for (QAction* action : recentActions_) action->setEnabled(docs);
  for (int id : {cmd::kEditUndo, cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste, cmd::kNewDevice}) {
    Action(id)->setEnabled(false);
  }
  const Simulation& sim = view_->Sim();
  shownRunState_ = sim.State();
  Action(cmd::kAddDevice)->setEnabled(view_->CanChooseDevice());
  Action(cmd::kPresetData)->setEnabled(view_->CanEditPresets());
  Action(cmd::kSettings)->setEnabled(view_->CanEditSettings());
  Action(cmd::kStop)->setEnabled(sim.CanStop());
  Action(cmd::kRun)->setEnabled(sim.CanRun());
  Action(cmd::kStep)->setEnabled(sim.CanStep());
  Action(cmd::kPause)->setEnabled(sim.CanPause());
  Action(cmd::kPins)->setEnabled(true);
  UpdateTitle();
}

void CMainFrame::UpdateTitle() {
  setWindowTitle(Q(doc_->Title()) + QStringLiteral("[*] - ") + kAppTitle);
  setWindowModified(doc_->IsModified());
}

void CMainFrame::NewFile() {
  doc_->NewDocument();
  view_->OnDocumentChanged();
  UpdateTitle();
  UpdateCommandUi();
}

void CMainFrame::OnOpen() {
  if (!view_->CanUseDocumentCommands() || !SaveModified()) return;
  const QString start = doc_->PathName().empty() ? QString() : QFileInfo(Q(doc_->PathName())).absolutePath();
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("打开"), start, kFileFilter);
  if (!path.isEmpty()) OpenFile(path);
}

bool CMainFrame::OpenFile(const QString& path) {
  try {
    doc_->Load(QFile::encodeName(path).toStdString());
  } catch (const std::exception& e) {
    QMessageBox::warning(this, kAppTitle,
                         QStringLiteral("打开文档失败。\n\n%1").arg(QString::fromLocal8Bit(e.what())));
    RemoveRecentFile(path);
    return false;
  }
  view_->OnDocumentChanged();
  AddRecentFile(path);
  UpdateTitle();
  UpdateCommandUi();
  return true;
}

bool CMainFrame::SaveTo(const QString& path) {
  try {
    doc_->Save(QFile::encodeName(path).toStdString());
  } catch (const std::exception& e) {
    QMessageBox::warning(this, kAppTitle,
                         QStringLiteral("保存文档失败。\n\n%1").arg(QString::fromLocal8Bit(e.what())));
    return false;
  }
  AddRecentFile(path);
  UpdateTitle();
  return true;
}

bool CMainFrame::SaveFile() {
  if (doc_->PathName().empty()) return SaveFileAs();
  return SaveTo(QFile::decodeName(doc_->PathName().c_str()));
}

bool CMainFrame::SaveFileAs() {
  QFileDialog dialog(this, QStringLiteral("另存为"),
                     doc_->PathName().empty() ? Q(doc_->Title()) : QFile::decodeName(doc_->PathName().c_str()),
                     kFileFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("redu"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  return SaveTo(dialog.selectedFiles().constFirst());
}

bool CMainFrame::SaveModified() {
  if (!doc_->IsModified()) return true;
  QMessageBox box(QMessageBox::Question, kAppTitle,
                  QStringLiteral("是否保存对 %1 的更改?")
                      .arg(doc_->PathName().empty() ? Q(doc_->Title())
                                                    : QFile::decodeName(doc_->PathName().c_str())),
                  QMessageBox::NoButton, this);
  QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == no) return true;
  if (box.clickedButton() == yes) return SaveFile();
  return false;
}

void CMainFrame::OnAbout() {
  CAboutDlg dialog(this);
  dialog.exec();
}

void CMainFrame::OnAboutTeam() {
  CTeamDlg dialog(this);
  dialog.exec();
}

void CMainFrame::FocusNextPane(bool forward) {
  // The view, then the panes in the order they were created; hidden ones are skipped.
  QList<QWidget*> stops{view_};
  for (QDockWidget* dock : docks_) stops << dock->widget();
  QWidget* focus = QApplication::focusWidget();
  int at = -1;
  for (int i = 0; i < stops.size(); ++i) {
    if (focus && (focus == stops[i] || stops[i]->isAncestorOf(focus))) at = i;
  }
  for (int n = 1; n <= stops.size(); ++n) {
    const int i = ((at < 0 ? (forward ? -1 : 0) : at) + (forward ? n : -n) + 2 * static_cast<int>(stops.size())) %
                  static_cast<int>(stops.size());
    QWidget* target = stops[i];
    if (i > 0) {
      QDockWidget* dock = docks_[i - 1];
      if (dock->isHidden()) continue;
      dock->raise();
    }
    QWidget* focusTarget = target;
    if (i > 0) {
      // The pane's grid, tree or list takes the focus, not the pane's frame.
      const auto views = target->findChildren<QAbstractItemView*>();
      for (QAbstractItemView* v : views) {
        if (v->isVisibleTo(target)) {
          focusTarget = v;
          break;
        }
      }
    }
    focusTarget->setFocus(Qt::OtherFocusReason);
    return;
  }
}

// --- recent files and layout ---------------------------------------------------------------------

QStringList CMainFrame::RecentFiles() const {
  QSettings settings;
  settings.beginGroup(kRecentGroup);
  QStringList files;
  for (int i = 1; i <= kRecentFiles; ++i) {
    const QString f = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (!f.isEmpty()) files << f;
  }
  return files;
}

QList<QAction*> CMainFrame::RecentFileActions() const { return recentActions_; }

void CMainFrame::StoreRecentFiles(const QStringList& files) {
  QSettings settings;
  settings.beginGroup(kRecentGroup);
  for (int i = 1; i <= kRecentFiles; ++i) {
    const QString key = QStringLiteral("File%1").arg(i);
    if (i <= files.size()) {
      settings.setValue(key, files[i - 1]);
    } else {
      settings.remove(key);
    }
  }
  settings.endGroup();
  UpdateRecentMenu();
}

void CMainFrame::AddRecentFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kRecentFiles) files.removeLast();
  StoreRecentFiles(files);
}

void CMainFrame::RemoveRecentFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  if (!files.removeAll(absolute)) return;
  StoreRecentFiles(files);
}

void CMainFrame::UpdateRecentMenu() {
  const QStringList files = RecentFiles();
  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* action = recentActions_[i];
    if (i < files.size()) {
      const QString shown = fontMetrics().elidedText(QDir::toNativeSeparators(files[i]),
                                                     Qt::ElideMiddle, 420);
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
      action->setData(files[i]);
      action->setStatusTip(QStringLiteral("打开 %1").arg(QDir::toNativeSeparators(files[i])));
      action->setVisible(true);
    } else {
      action->setVisible(false);
    }
  }
  recentPlaceholder_->setVisible(files.isEmpty());
}

void CMainFrame::SaveLayout() {
  QSettings settings;
  settings.beginGroup(kWorkspaceGroup);
  settings.setValue(QStringLiteral("Geometry"), saveGeometry());
  settings.setValue(QStringLiteral("State"), saveState(kLayoutVersion));
  QStringList buttons;
  for (int id : ToolBarShown()) buttons << QString::number(id);
  settings.setValue(QStringLiteral("ToolBarButtons"), buttons);
  settings.setValue(QStringLiteral("StatusBar"), statusBar()->isVisibleTo(this));
}

void CMainFrame::RestoreLayout() {
  QSettings settings;
  settings.beginGroup(kWorkspaceGroup);
  const QByteArray geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
  if (geometry.isEmpty() || !restoreGeometry(geometry)) resize(1180, 760);
  restoreState(settings.value(QStringLiteral("State")).toByteArray(), kLayoutVersion);
  if (settings.contains(QStringLiteral("ToolBarButtons"))) {
    QList<int> shown;
    for (const QString& id : settings.value(QStringLiteral("ToolBarButtons")).toStringList()) {
      shown << id.toInt();
    }
    RebuildToolBar(shown);
  }
  const bool statusVisible = settings.value(QStringLiteral("StatusBar"), true).toBool();
  Action(cmd::kViewStatusBar)->setChecked(statusVisible);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!SaveModified()) {
    event->ignore();
    return;
  }
  view_->Sim().Stop();
  SaveLayout();
  event->accept();
}

}  // namespace radove
