// "仿真参数": its rows and texts, the range checks, "恢复默认", OK and Cancel, and
// the view's use of it.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSettings>
#include <QTreeView>

#include "GuiTestSupport.h"
#include "app/CGeneralSettingDlg.h"
#include "app/CMainFrame.h"
#include "app/CRadoveView.h"
#include "app/CommandIds.h"
#include "app/QtSettingsStorage.h"
#include "panes/CPropertyGrid.h"

namespace radove {
namespace {

QModelIndex ValueIndex(CGeneralSettingDlg& dlg, const char* name) {
  return dlg.Grid()->Model()->IndexOf(dlg.RowOf(name), 1);
}

TEST(SettingsDialog, ShowsTwoGroupsWithTheirTextsInOrder) {
  SimulationSettings settings;
  CGeneralSettingDlg dlg(settings);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("仿真参数"));
  PropertyGridModel* m = dlg.Grid()->Model();
  ASSERT_EQ(m->rowCount(), 2);
  EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("时间"));
  EXPECT_EQ(m->index(1, 0).data().toString(), QStringLiteral("颜色(重新打开文件后生效)"));
  QStringList names;
  for (int g = 0; g < 2; ++g) {
    for (int r = 0; r < m->rowCount(m->index(g, 0)); ++r) names << m->index(r, 0, m->index(g, 0)).data().toString();
  }
  EXPECT_EQ(names, (QStringList{"连续处理数据数量(1～10000)", "运行状态下的刷新时间间隔（1～10000ms）",
                                "暂停状态下的刷新时间间隔（1～10000ms）", "器件外框填充（默认）",
                                "器件外框填充（运行）", "器件内框填充（默认）", "器件内框填充（运行）", "像素点"}));
  EXPECT_TRUE(dlg.RowOf("pexcutetime")->description.startsWith(QStringLiteral("暂停操作只是针对数据的处理")));
  EXPECT_EQ(dlg.RowOf("defpixelcolor")->kind, PropertyKind::Colour);
  EXPECT_EQ(dlg.RowOf("defilbgcolor")->value.toLongLong(), 0xFFBF00);
  // The colour shows as the user knows it: red, green, blue.
  EXPECT_EQ(ValueIndex(dlg, "defilbgcolor").data().toString(), QStringLiteral("#00BFFF"));
  QStringList buttons;
  for (QPushButton* b : dlg.findChildren<QPushButton*>()) buttons << b->text();
  EXPECT_TRUE(buttons.contains(QStringLiteral("确定")));
  EXPECT_TRUE(buttons.contains(QStringLiteral("取消")));
  EXPECT_TRUE(buttons.contains(QStringLiteral("恢复默认")));
}

struct Refusal {
  const char* name;
  const char* input;
};

class SettingsRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(SettingsRefusal, OutOfRangeInputIsRefusedWithTheMessage) {
  SimulationSettings settings;
  settings.mcproccontinous = 25;
  CGeneralSettingDlg dlg(settings);
  const Refusal r = GetParam();
  const qint64 before = dlg.RowOf(r.name)->value.toLongLong();
  bool stored = true;
  const QString message = test::AnswerNextModal([&] {
    stored = dlg.Grid()->Model()->setData(ValueIndex(dlg, r.name), QString::fromUtf8(r.input));
  });
  EXPECT_FALSE(stored);
  EXPECT_EQ(message, QStringLiteral("您输入的数据超出了范围"));
  EXPECT_EQ(dlg.RowOf(r.name)->value.toLongLong(), before);
  EXPECT_EQ(dlg.Working(), settings);
}

INSTANTIATE_TEST_SUITE_P(Inputs, SettingsRefusal,
                         ::testing::Values(Refusal{"mcproccontinous", "0"},
                                           Refusal{"excutetime", "10001"},
                                           Refusal{"pexcutetime", "-5"},
                                           Refusal{"mcproccontinous", "many"},
                                           Refusal{"defpixelcolor", "0x1000000"},
                                           Refusal{"runtolbgcolor", "300,0,0"}));

TEST(SettingsDialog, AcceptedValuesGoToTheWorkingCopyAndDefaultsComeBack) {
  SimulationSettings settings;
  settings.excutetime = 50;
  CGeneralSettingDlg dlg(settings);
  PropertyGridModel* m = dlg.Grid()->Model();
  EXPECT_TRUE(m->setData(ValueIndex(dlg, "mcproccontinous"), QStringLiteral("10000")));
  EXPECT_TRUE(m->setData(ValueIndex(dlg, "defpixelcolor"), QStringLiteral("#0000FF")));
  EXPECT_EQ(dlg.Working().mcproccontinous, 10000u);
  EXPECT_EQ(dlg.Working().defpixelcolor, 0xFF0000u);  // blue is the high byte
  EXPECT_TRUE(dlg.RowOf("mcproccontinous")->Modified());
  dlg.DefaultsButton()->click();
  EXPECT_EQ(dlg.Working(), SimulationSettings{});
  EXPECT_EQ(dlg.RowOf("excutetime")->value.toLongLong(), 10);
  EXPECT_EQ(dlg.RowOf("defpixelcolor")->value.toLongLong(), 0);
  // Nothing reached the settings the dialog was opened with.
  EXPECT_EQ(settings.excutetime, 50u);
}

TEST(SettingsDialog, TheViewSavesOnOkAndKeepsEverythingOnCancel) {
  CMainFrame frame;
  CRadoveView* view = frame.View();
  const SimulationSettings before = view->Settings();
  // Restore and cancel: nothing changes.
  test::AnswerNextModal([&] { frame.Action(cmd::kSettings)->trigger(); });
  EXPECT_EQ(view->Settings(), before);
  // Through the dialog the view uses, accepted values are stored and take effect.
  CRadoveView::Dialogs dialogs;
  dialogs.editSettings = [](QWidget*, SimulationSettings& s) {
    s.excutetime = 77;
    return true;
  };
  view->SetDialogs(dialogs);
  view->OnSettings();
  EXPECT_EQ(view->Sim().Timing().runSleepMs, 77);
  QtSettingsStorage storage;
  EXPECT_EQ(storage.Read("excutetime"), std::optional<std::uint32_t>(77));
}

}  // namespace
}  // namespace radove
