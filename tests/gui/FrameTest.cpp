// The main window driven the way a user drives it: open a simulation, step it,
// run, pause and stop it, and the commands each state allows.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

#include "GuiTestSupport.h"
#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CRadoveView.h"
#include "app/CommandIds.h"
#include "app/RunKeyFilter.h"
#include "core/DeviceBase.h"
#include "panes/CClassView.h"
#include "panes/CFileView.h"
#include "panes/CMemoryWnd.h"
#include "panes/COutputWnd.h"
#include "panes/CPropertyGrid.h"
#include "panes/CRegisterWnd.h"

namespace radove {
namespace {

using test::Items;
using test::MakeRedu;
using test::WaitUntil;

constexpr int kLcm1602 = 700001;

// The value of the first register entry with this name in the register pane.
QString RegisterValue(const CMainFrame& frame, const QString& name) {
  QString value;
  frame.Registers()->Grid()->Model()->ForEachShown([&](const PropertyRow* row) {
    if (value.isEmpty() && !row->IsGroup() && row->name == name) value = PropertyValueText(*row);
  });
  return value;
}

struct CommandStates {
  bool run, step, pause, stop, open, save, addDevice, presets, settings;
  bool operator==(const CommandStates&) const = default;
};

CommandStates States(const CMainFrame& f) {
  auto on = [&](int id) { return f.Action(id)->isEnabled(); };
  return {on(cmd::kRun),       on(cmd::kStep),       on(cmd::kPause),
          on(cmd::kStop),      on(cmd::kFileOpen),   on(cmd::kFileSave),
          on(cmd::kAddDevice), on(cmd::kPresetData), on(cmd::kSettings)};
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = std::make_unique<CMainFrame>();
    frame_->View()->Sim().SetTiming({10, 1, 10});
  }
  void TearDown() override {
    frame_->Document().SetModified(false);
    frame_.reset();
  }
  // Steps once and waits until the step has reached the panes.
  void Step() {
    const int lines = frame_->Output()->List(2)->count();
    ASSERT_TRUE(WaitUntil([&] { return frame_->Action(cmd::kStep)->isEnabled(); }));
    frame_->Action(cmd::kStep)->trigger();
    ASSERT_TRUE(WaitUntil([&] {
      return frame_->View()->Sim().State() == kPaused && frame_->Output()->List(2)->count() == lines + 1;
    })) << "state " << frame_->View()->Sim().State() << " lines " << frame_->Output()->List(2)->count()
        << " was " << lines << " counter " << frame_->View()->Sim().Counter().Value();
  }

  std::unique_ptr<CMainFrame> frame_;
};

TEST_F(FrameTest, OpeningA16x2SimulationRebuildsDeviceAndPanes) {
  const QString path = MakeRedu("open.redu", kLcm1602,
                                Items({{false, 0x38}, {false, 0x0C}, {true, 'A'}, {true, 'B'}}));
  ASSERT_TRUE(frame_->OpenFile(path));
  CRadoveDoc& doc = frame_->Document();
  ASSERT_NE(doc.Device(), nullptr);
  EXPECT_EQ(doc.Factory().LastTypeCode(), kLcm1602);
  EXPECT_FALSE(doc.Device()->type_en.empty());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(frame_->windowTitle().startsWith(QStringLiteral("open.redu")));
  // Pins come from the library because the file has none.
  ASSERT_NE(doc.Pins(), nullptr);
  EXPECT_FALSE(doc.Pins()->empty());
  EXPECT_EQ(frame_->PinTree()->Tree()->topLevelItemCount(), 1);
  EXPECT_EQ(frame_->PinTree()->Tree()->topLevelItem(0)->childCount(), static_cast<int>(doc.Pins()->size()));
  // The data tree shows the four items with the first selected.
  EXPECT_EQ(frame_->DataTree()->Model()->ItemCount(), 4);
  EXPECT_EQ(frame_->DataTree()->SelectedItem(), 0);
  // Registers and memory show the chip, memory blocks included.
  EXPECT_EQ(frame_->Registers()->Visible().chips, 1);
  EXPECT_GT(frame_->Registers()->Visible().entries, 0);
  EXPECT_GT(frame_->Memory()->Visible().groups, 0);
  EXPECT_EQ(frame_->Output()->Lines(0).last(), QStringLiteral("打开新的文件:") + path);
  EXPECT_TRUE(frame_->RecentFiles().contains(path));
}

TEST_F(FrameTest, ThreeStepsMoveTheSelectionAndFillThePanes) {
  ASSERT_TRUE(frame_->OpenFile(MakeRedu(
      "steps.redu", kLcm1602, Items({{false, 0x38}, {true, 'H'}, {true, 'i'}, {true, '!'}, {true, '?'}}))));
  Step();
  EXPECT_EQ(RegisterValue(*frame_, QStringLiteral("AC")), QStringLiteral("0x0"));
  Step();
  EXPECT_EQ(RegisterValue(*frame_, QStringLiteral("AC")), QStringLiteral("0x1"));
  Step();
  // The selection is on the item the next step executes.
  EXPECT_EQ(frame_->DataTree()->SelectedItem(), 3);
  EXPECT_EQ(frame_->DataTree()->SelectedText(), QStringLiteral("000000000000004"));
  EXPECT_EQ(RegisterValue(*frame_, QStringLiteral("AC")), QStringLiteral("0x2"));
  // One decoded sentence per step after the list's first line.
  const QStringList decoded = frame_->Output()->Lines(2);
  ASSERT_EQ(decoded.size(), 4);
  ASSERT_EQ(frame_->View()->Inspection().chips.size(), 1u);
  EXPECT_EQ(decoded[3], QString::fromStdString(frame_->View()->Inspection().chips[0].decoded));
  EXPECT_EQ(frame_->Output()->List(2)->currentRow(), 3);
  // After a step the run is paused in step mode: Step and Run go on.
  EXPECT_EQ(frame_->View()->Sim().State(), kPaused);
  EXPECT_TRUE(WaitUntil([&] {
    return frame_->Action(cmd::kStep)->isEnabled() && frame_->Action(cmd::kRun)->isEnabled();
  }));
  EXPECT_FALSE(frame_->Action(cmd::kPause)->isEnabled());
}

TEST_F(FrameTest, RunPauseStopFollowTheEnablingRules) {
  // Nothing chosen: nothing runs.
  EXPECT_EQ(States(*frame_), (CommandStates{false, false, false, false, true, true, true, false, true}));
  ASSERT_TRUE(frame_->OpenFile(MakeRedu("run.redu", kLcm1602, Items({{false, 0x38}, {true, 'X'}}))));
  EXPECT_EQ(States(*frame_), (CommandStates{true, true, false, false, true, true, true, true, true}));

  frame_->Action(cmd::kRun)->trigger();
  EXPECT_EQ(frame_->View()->Sim().State(), kRunning);
  EXPECT_EQ(States(*frame_), (CommandStates{false, false, true, true, false, false, false, false, false}));

  frame_->Action(cmd::kPause)->trigger();
  EXPECT_EQ(frame_->View()->Sim().State(), kPaused);
  // Paused after Run: Run resumes, Step does not (step mode is off).
  EXPECT_EQ(States(*frame_), (CommandStates{true, false, false, true, false, false, false, false, false}));

  frame_->Action(cmd::kStop)->trigger();
  EXPECT_EQ(frame_->View()->Sim().State(), kStopped);
  EXPECT_FALSE(frame_->View()->Sim().WorkerPresent());
  EXPECT_EQ(States(*frame_), (CommandStates{true, true, false, false, true, true, true, true, true}));
  EXPECT_EQ(frame_->DataTree()->SelectedItem(), 0);
  EXPECT_EQ(frame_->Output()->Lines(2), QStringList{QStringLiteral("对输入接口数据的解析信息")});
}

TEST_F(FrameTest, RunDrawsTheTextAndStopShowsTheEmptyPanel) {
  ASSERT_TRUE(frame_->OpenFile(
      MakeRedu("draw.redu", kLcm1602, Items({{false, 0x38}, {false, 0x0C}, {true, 'W'}, {true, 'W'}}))));
  frame_->resize(900, 600);
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
  const QImage stopped = frame_->View()->Picture();
  ASSERT_FALSE(stopped.isNull());
  frame_->Action(cmd::kRun)->trigger();
  // Lit dots appear on the panel: the picture gains the pixel colour (black).
  ASSERT_TRUE(WaitUntil([&] {
    const QImage& img = frame_->View()->Picture();
    for (int y = 0; y < img.height(); y += 2) {
      for (int x = 0; x < img.width(); x += 2) {
        if (qGray(img.pixel(x, y)) < 40) return true;
      }
    }
    return false;
  }));
  frame_->Action(cmd::kStop)->trigger();
  EXPECT_EQ(frame_->View()->Picture(), stopped);
}

TEST_F(FrameTest, ChangesAreOfferedForSavingBeforeANewSimulation) {
  ASSERT_TRUE(frame_->OpenFile(MakeRedu("ask.redu", kLcm1602, Items({{false, 0x01}}))));
  frame_->Document().SetModified(true);
  // Cancel keeps the simulation.
  const QString asked = test::AnswerNextModal([&] { frame_->Action(cmd::kFileNew)->trigger(); },
                                              QStringLiteral("取消"));
  EXPECT_TRUE(asked.startsWith(QStringLiteral("是否保存对 ")));
  EXPECT_TRUE(asked.endsWith(QStringLiteral(" 的更改?")));
  EXPECT_EQ(frame_->Document().CurrentDeviceId(), kLcm1602);
  // No drops the changes.
  test::AnswerNextModal([&] { frame_->Action(cmd::kFileNew)->trigger(); }, QStringLiteral("否(&N)"));
  EXPECT_EQ(frame_->Document().CurrentDeviceId(), -1);
  EXPECT_EQ(frame_->DataTree()->Model()->ItemCount(), 0);
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("新的仿真[*] - Radove"));
}

TEST_F(FrameTest, AFileThatCannotBeReadIsReportedAndTheSimulationKept) {
  ASSERT_TRUE(frame_->OpenFile(MakeRedu("keep.redu", kLcm1602, Items({{false, 0x01}}))));
  const QString bad = test::TempDir() + QStringLiteral("/bad.redu");
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\x01\x02", 2);
  f.close();
  bool opened = true;
  const QString message = test::AnswerNextModal([&] { opened = frame_->OpenFile(bad); });
  EXPECT_FALSE(opened);
  EXPECT_TRUE(message.startsWith(QStringLiteral("打开文档失败。")));
  EXPECT_EQ(frame_->Document().CurrentDeviceId(), kLcm1602);
  EXPECT_NE(frame_->Document().Device(), nullptr);
}

TEST_F(FrameTest, MenusCarryTheirEntriesSeparatorsAndKeys) {
  QStringList titles;
  for (QAction* a : frame_->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"文件(&F)", "编辑(&E)", "视图(&V)", "工程(&P)", "仿真(&S)", "选项(&O)", "帮助(&H)"}));
  auto entries = [&](int menu) {
    QStringList texts;
    for (QAction* a : frame_->menuBar()->actions()[menu]->menu()->actions()) {
      if (a->isSeparator()) {
        texts << QStringLiteral("-");
      } else if (a->isVisible()) {
        texts << a->text();
      }
    }
    return texts;
  };
  EXPECT_EQ(entries(1), (QStringList{"撤消(&U)", "-", "剪切(&T)", "复制(&C)", "粘贴(&P)"}));
  EXPECT_EQ(entries(3), (QStringList{"添加器件...", "预置数据...", "-", "引脚设置...", "新建器件..."}));
  EXPECT_EQ(entries(4), (QStringList{"停止", "运行", "单步运行", "暂停"}));
  EXPECT_EQ(entries(6), (QStringList{"使用说明", "器件库参考手册", "-", "关于创作团队...", "关于 Radove(&A)..."}));
  EXPECT_EQ(frame_->Action(cmd::kStop)->shortcut(), QKeySequence(Qt::Key_Space));
  EXPECT_EQ(frame_->Action(cmd::kStep)->shortcut(), QKeySequence(Qt::Key_Right));
  EXPECT_EQ(frame_->Action(cmd::kPause)->shortcut(), QKeySequence(Qt::Key_Up));
  EXPECT_TRUE(frame_->Action(cmd::kRun)->shortcuts().contains(QKeySequence(Qt::Key_Return)));
  EXPECT_EQ(frame_->Action(cmd::kSettings)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Return));
  EXPECT_EQ(frame_->Action(cmd::kAddDevice)->statusTip(), QStringLiteral("添加或更换元器件"));
  EXPECT_EQ(frame_->StandardToolBar()->windowTitle(), QStringLiteral("标准"));
  int buttons = 0;
  for (QAction* a : frame_->StandardToolBar()->actions()) buttons += a->isSeparator() ? 0 : 1;
  EXPECT_EQ(buttons, 12);
  EXPECT_FALSE(frame_->Action(cmd::kNewDevice)->isEnabled());
  EXPECT_FALSE(frame_->Action(cmd::kEditUndo)->isEnabled());
}

TEST_F(FrameTest, BareRunKeysStayWithEditorsAndGridsButDriveTheView) {
  ASSERT_TRUE(frame_->OpenFile(MakeRedu("keys.redu", kLcm1602, Items({{false, 0x38}, {true, 'K'}}))));
  RunKeyFilter filter;
  qApp->installEventFilter(&filter);
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
  // Right in the data tree moves in the tree; the simulation does not step.
  QTreeView* tree = frame_->DataTree()->View();
  tree->setFocus();
  const QModelIndex before = tree->currentIndex();
  QTest::keyClick(tree, Qt::Key_Right);
  QApplication::processEvents();
  EXPECT_EQ(frame_->View()->Sim().State(), kStopped);
  EXPECT_NE(tree->currentIndex(), before);
  // Right in the view steps.
  frame_->DataTree()->SelectFirstItem();
  frame_->View()->setFocus();
  QTest::keyClick(frame_->View(), Qt::Key_Right);
  EXPECT_TRUE(WaitUntil([&] { return frame_->View()->Sim().State() == kPaused; }));
  EXPECT_EQ(frame_->DataTree()->SelectedItem(), 1);
  qApp->removeEventFilter(&filter);
}

TEST_F(FrameTest, F6WalksThroughThePanes) {
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
  frame_->View()->setFocus();
  frame_->FocusNextPane(true);
  EXPECT_TRUE(frame_->DataTree()->isAncestorOf(QApplication::focusWidget()));
  frame_->FocusNextPane(false);
  EXPECT_EQ(QApplication::focusWidget(), frame_->View());
  frame_->FocusNextPane(false);
  EXPECT_TRUE(frame_->Memory()->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(FrameTest, AStepWhoseWordEndsTheBatchStillReachesThePanes) {
  // 0x80 sets the DDRAM address: executed, but it ends the worker's batch.
  ASSERT_TRUE(frame_->OpenFile(
      MakeRedu("silent.redu", kLcm1602, Items({{false, 0x38}, {false, 0x85}, {true, 'Z'}}))));
  Step();
  Step();
  EXPECT_EQ(RegisterValue(*frame_, QStringLiteral("AC")), QStringLiteral("0x5"));
  EXPECT_EQ(frame_->Output()->Lines(2).size(), 3);
  Step();
  EXPECT_EQ(RegisterValue(*frame_, QStringLiteral("AC")), QStringLiteral("0x6"));
  EXPECT_EQ(frame_->Output()->Lines(2).size(), 4);
}

TEST_F(FrameTest, ChoosingADeviceReplacesTheOldOnesDataButChoosingTheSameDoesNothing) {
  ASSERT_TRUE(frame_->OpenFile(MakeRedu("choose.redu", kLcm1602, Items({{false, 0x38}}))));
  CRadoveView* view = frame_->View();
  int offered = kLcm1602;
  CRadoveView::Dialogs dialogs;
  dialogs.chooseDevice = [&](QWidget*, const LibrarySelection& s) {
    return std::optional<std::pair<int, LibrarySelection>>({offered, s});
  };
  view->SetDialogs(dialogs);
  CDeviceBase* before = frame_->Document().Device();
  view->OnChooseDevice();
  EXPECT_EQ(frame_->Document().Device(), before);
  EXPECT_FALSE(frame_->Document().IsModified());

  offered = 100090;  // the traffic light
  view->OnChooseDevice();
  CRadoveDoc& doc = frame_->Document();
  EXPECT_EQ(doc.CurrentDeviceId(), 100090);
  ASSERT_NE(doc.Device(), nullptr);
  EXPECT_NE(doc.Device(), before);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.Presets(), nullptr);
  ASSERT_NE(doc.Pins(), nullptr);
  EXPECT_EQ(doc.Pins()->empty() ? 0 : doc.Pins()->front().tidDeviceLib, doc.Pins()->empty() ? 0 : 100090);
  EXPECT_EQ(frame_->DataTree()->Model()->ItemCount(), 0);
  EXPECT_TRUE(frame_->windowTitle().contains(QStringLiteral("[*]")));
  EXPECT_TRUE(frame_->isWindowModified());
}

TEST(AboutBoxes, ShowVersionAndTeam) {
  CAboutDlg about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("关于 Radove"));
  auto* version = about.findChild<QLabel*>(QStringLiteral("versionText"));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), QStringLiteral("Radove，1.1 版"));
  CTeamDlg team;
  EXPECT_EQ(team.windowTitle(), QStringLiteral("关于创作团队"));
}

}  // namespace
}  // namespace radove
