// The panes on their own: the grids' row reuse, the data tree's rows, the output
// lists, the pin tree and the properties pane.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTreeView>
#include <QTreeWidget>

#include "GuiTestSupport.h"
#include "core/DeviceBase.h"
#include "panes/CClassView.h"
#include "panes/CFileView.h"
#include "panes/CMemoryWnd.h"
#include "panes/COutputWnd.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CPropertyGrid.h"
#include "panes/CRegisterWnd.h"
#include "panes/PaneStatus.h"

namespace radove {
namespace {

class RecordingStatus : public PaneStatus {
 public:
  void SetPrompt(const QString& text) override { prompts << text; }
  void BeginProgress(int range) override { ranges << range; }
  void StepProgress(int value) override { last = value; }
  void EndProgress() override { ++ended; }
  QStringList prompts;
  QList<int> ranges;
  int last = 0;
  int ended = 0;
};

// A snapshot with one chip whose groups have the given entry counts; values carry
// the seed so a second snapshot differs only in values.
InspectionSnapshot Snapshot(std::initializer_list<int> groupSizes, int seed = 0,
                            const char* chipName = "CHIP") {
  InspectionSnapshot s;
  s.model = "TEST";
  ChipDescriptor chip;
  chip.name = chipName;
  int g = 0;
  for (int size : groupSizes) {
    InspectionGroup group{"组" + std::to_string(++g), {}};
    for (int e = 0; e < size; ++e) {
      group.entries.push_back({"R" + std::to_string(e), std::to_string(seed + e), "register " + std::to_string(e), e});
    }
    chip.registers.push_back(group);
    chip.memory.push_back(group);
  }
  s.chips.push_back(chip);
  return s;
}

TEST(InspectionPane, QuickUpdatesReuseTheRowsWithoutProgress) {
  CRegisterWnd pane;
  RecordingStatus status;
  pane.SetStatus(&status);
  pane.UpdatePane(Snapshot({5, 5}), CRegisterWnd::kFull);
  EXPECT_EQ(status.ranges, (QList<int>{5, 5}));
  EXPECT_EQ(status.prompts.last(), QStringLiteral("就绪"));
  EXPECT_TRUE(status.prompts.contains(QStringLiteral("更新寄存器窗口数据项")));
  const auto created = pane.Created();
  PropertyRow* first = nullptr;
  pane.Grid()->Model()->ForEachShown([&](PropertyRow* r) {
    if (!first && !r->IsGroup()) first = r;
  });

  status.ranges.clear();
  pane.UpdatePane(Snapshot({5, 5}, 100), CRegisterWnd::kQuick);
  pane.UpdatePane(Snapshot({5, 5}, 200), CRegisterWnd::kQuick);
  EXPECT_EQ(pane.Created(), created);
  EXPECT_TRUE(status.ranges.isEmpty());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->value.toString(), QStringLiteral("200"));
  // A value the step changed is marked; one that stayed is not.
  EXPECT_TRUE(first->Modified());
  pane.UpdatePane(Snapshot({5, 5}, 200), CRegisterWnd::kQuick);
  EXPECT_FALSE(first->Modified());
}

TEST(InspectionPane, AFullUpdateHidesWhatTheNewDeviceDoesNotUse) {
  CRegisterWnd pane;
  pane.UpdatePane(Snapshot({20, 20}), CRegisterWnd::kFull);
  EXPECT_EQ(pane.Visible().entries, 40);
  pane.UpdatePane(Snapshot({10}), CRegisterWnd::kFull);
  EXPECT_EQ(pane.Created().entries, 40);
  EXPECT_EQ(pane.Visible(), (CChipGridWnd::RowCounts{1, 1, 10}));
  // Rows come back when a later device needs them.
  pane.UpdatePane(Snapshot({3, 4}), CRegisterWnd::kFull);
  EXPECT_EQ(pane.Visible(), (CChipGridWnd::RowCounts{1, 2, 7}));
  EXPECT_EQ(pane.Created().entries, 40);
  // An empty inspection hides everything.
  pane.UpdatePane(InspectionSnapshot{}, CRegisterWnd::kFull);
  EXPECT_EQ(pane.Visible(), (CChipGridWnd::RowCounts{0, 0, 0}));
  EXPECT_FALSE(pane.Grid()->Model()->hasChildren());
}

TEST(InspectionPane, AQuickUpdateKeepsUnusedRowsAndTheUsersExpansion) {
  CMemoryWnd pane;
  pane.UpdatePane(Snapshot({4, 4}), CMemoryWnd::kFull);
  PropertyGridModel* model = pane.Grid()->Model();
  PropertyRow* group = model->Root()->children[0]->children[0].get();
  EXPECT_FALSE(group->expanded);  // a full update collapses the blocks
  pane.Grid()->View()->expand(model->IndexOf(group));
  EXPECT_TRUE(group->expanded);
  pane.UpdatePane(Snapshot({2}), CMemoryWnd::kQuick);
  EXPECT_EQ(pane.Visible(), (CChipGridWnd::RowCounts{1, 2, 8}));
  EXPECT_TRUE(group->expanded);
  EXPECT_TRUE(pane.Grid()->View()->isExpanded(model->IndexOf(group)));
}

TEST(InspectionPane, ClearingTwiceHidesOnce) {
  CMemoryWnd pane;
  RecordingStatus status;
  pane.SetStatus(&status);
  pane.UpdatePane(Snapshot({3, 2}), CMemoryWnd::kFull);
  status.prompts.clear();
  pane.ClearPane();
  pane.ClearPane();
  EXPECT_EQ(pane.ClearPasses(), 1);
  EXPECT_TRUE(pane.Cleared());
  EXPECT_EQ(pane.Visible().entries, 0);
  EXPECT_EQ(pane.Visible().chips, 0);
  EXPECT_EQ(status.prompts, (QStringList{"清除内存窗口数据项", "清除内存窗口数据项", "就绪"}));
  // The next update shows the rows again and the next clear hides them again.
  pane.UpdatePane(Snapshot({3, 2}), CMemoryWnd::kFull);
  EXPECT_FALSE(pane.Cleared());
  pane.ClearPane();
  EXPECT_EQ(pane.ClearPasses(), 2);
}

TEST(InspectionPane, TheDescriptionAreaExplainsTheCurrentRow) {
  CRegisterWnd pane;
  pane.UpdatePane(Snapshot({2}), CRegisterWnd::kFull);
  PropertyRow* entry = pane.Grid()->Model()->Root()->children[0]->children[0]->children[1].get();
  pane.Grid()->View()->expandAll();
  pane.Grid()->SetCurrentRow(entry);
  EXPECT_EQ(pane.Grid()->DescriptionName(), QStringLiteral("R1"));
  EXPECT_EQ(pane.Grid()->DescriptionText(), QStringLiteral("register 1"));
  EXPECT_EQ(entry->tag, 1);
  // The grids are for looking: their values take no edits.
  EXPECT_FALSE(pane.Grid()->Model()->flags(pane.Grid()->Model()->IndexOf(entry, 1)) & Qt::ItemIsEditable);
}

TEST(DataTree, ShowsEachItemWithItsFiveDetails) {
  CClassView tree;
  EXPECT_EQ(tree.Model()->index(0, 0).data().toString(), QStringLiteral("没有数据"));
  PresetList list;
  DataItem item = MakeDataItem(3, true, 0x1F, 258, "备注文字");
  list.push_back(item);
  DataItem odd = MakeDataItem(4, false, 0, 0);
  odd.value = "abc";  // not a number: shown as 0
  list.push_back(odd);
  tree.RebuildDataTree(false, &list);
  DataTreeModel* m = tree.Model();
  const QModelIndex root = m->index(0, 0);
  EXPECT_EQ(root.data().toString(), QStringLiteral("预置数据"));
  EXPECT_TRUE(root.data(Qt::FontRole).value<QFont>().bold());
  const QModelIndex row = m->index(0, 0, root);
  EXPECT_EQ(row.data().toString(), QStringLiteral("000000000000003"));
  QStringList children;
  for (int i = 0; i < m->rowCount(row); ++i) children << m->index(i, 0, row).data().toString();
  EXPECT_EQ(children, (QStringList{"类型:数据", "附加:1f", "DEC:258", "HEX:102", "备注:备注文字"}));
  const QModelIndex second = m->index(1, 0, root);
  EXPECT_EQ(m->index(0, 0, second).data().toString(), QStringLiteral("类型:命令"));
  EXPECT_EQ(m->index(2, 0, second).data().toString(), QStringLiteral("DEC:0"));
  EXPECT_EQ(tree.SelectedItem(), 0);
  EXPECT_TRUE(tree.View()->isExpanded(row));
  tree.AdvanceSelection();
  EXPECT_EQ(tree.SelectedItem(), 1);
  EXPECT_FALSE(tree.View()->isExpanded(row));
  EXPECT_EQ(m->Marked(), 1);
  tree.AdvanceSelection();  // past the end: nothing selected
  EXPECT_EQ(tree.SelectedItem(), -1);
  tree.RebuildDataTree(true, &list);
  EXPECT_EQ(m->ItemCount(), 0);
  EXPECT_EQ(root.model()->index(0, 0).data().toString(), QStringLiteral("预置数据"));
}

TEST(OutputPane, ListsStartWithTheirLinesAndClearToTheirHeaders) {
  COutputWnd out;
  EXPECT_EQ(out.Tabs()->tabText(0), QStringLiteral("状态"));
  EXPECT_EQ(out.Tabs()->tabText(2), QStringLiteral("信息"));
  EXPECT_EQ(out.Lines(0), QStringList{"用户的操作状态显示视图..."});
  EXPECT_EQ(out.Lines(1), QStringList{"接口的输入与输出数据显示视图"});
  EXPECT_EQ(out.Lines(2), QStringList{"器件状态信息视图"});
  out.AppendOutput(2, QStringLiteral("第一句"));
  out.AppendOutput(2, QStringLiteral("第二句"));
  out.AppendOutput(0, QStringLiteral("状态行"));
  EXPECT_EQ(out.List(2)->currentRow(), 2);
  out.ClearOutput(3);
  EXPECT_EQ(out.Lines(2), QStringList{"对输入接口数据的解析信息"});
  EXPECT_EQ(out.Lines(0).size(), 2);
  out.ClearOutput(0);
  EXPECT_EQ(out.Lines(0), QStringList{"用户操作状态"});
  EXPECT_EQ(out.Lines(1), QStringList{"交互状态"});
}

TEST(PinTree, ShowsTheDeviceAndItsPinsByDirection) {
  CFileView view;
  EXPECT_EQ(view.Tree()->topLevelItem(0)->text(0), QStringLiteral("没有器件"));
  PinList pins(4);
  const int types[] = {10, 11, 12, 0};
  for (int i = 0; i < 4; ++i) {
    pins[static_cast<std::size_t>(i)].nameEn = "P" + std::to_string(i);
    pins[static_cast<std::size_t>(i)].ioType = types[i];
  }
  view.RebuildPinTree(false, "LCM1602", &pins);
  QTreeWidgetItem* root = view.Tree()->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("LCM1602"));
  ASSERT_EQ(root->childCount(), 4);
  EXPECT_EQ(root->child(2)->text(0), QStringLiteral("P2"));
  EXPECT_TRUE(root->isExpanded());
  view.RebuildPinTree(true, "LCM1602", &pins);
  EXPECT_EQ(view.Tree()->topLevelItemCount(), 0);
}

TEST(PropertiesPane, ShowsBasicTextsAndTheDevicesPropertiesAndReportsEdits) {
  CPropertiesWnd pane;
  PropertySet set;
  CDeviceBase::AddIntProperty(set, 0x100000, "起始页", "首页", 0);
  CDeviceBase::AddFileProperty(set, 0x1000000, "图片", "图片文件", "Picture Files(*.bmp)|*.bmp|", "");
  CDeviceBase::AddListProperty(set, 0x2000000, "像素格式", "格式", {"RGB565", "RGB666"}, "RGB666");
  set[0x3000000 + property::kType] = "9";  // an unknown type is not shown
  const PropertyBasics basics{"ILI9341", "液晶显示模块", "彩色液晶"};
  pane.RebuildProperties(false, &basics, &set);
  PropertyGridModel* m = pane.Grid()->Model();
  ASSERT_EQ(m->rowCount(), 2);
  EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("基本"));
  EXPECT_EQ(m->index(1, 0).data().toString(), QStringLiteral("高级"));
  const QModelIndex advanced = m->index(1, 0);
  ASSERT_EQ(m->rowCount(advanced), 3);
  PropertyRow* file = m->RowAt(m->index(1, 0, advanced));
  EXPECT_EQ(file->kind, PropertyKind::File);
  EXPECT_EQ(file->filter, QStringLiteral("Picture Files(*.bmp) (*.bmp)"));
  PropertyRow* list = m->RowAt(m->index(2, 0, advanced));
  EXPECT_EQ(list->options, (QStringList{"RGB565", "RGB666"}));

  QSignalSpy ints(&pane, &CPropertiesWnd::IntPropertyChanged);
  QSignalSpy texts(&pane, &CPropertiesWnd::StringPropertyChanged);
  EXPECT_TRUE(m->setData(m->index(0, 1, advanced), QStringLiteral("12")));
  ASSERT_EQ(ints.size(), 1);
  EXPECT_EQ(ints[0][0].toUInt(), 0x100000u);
  EXPECT_EQ(ints[0][1].toInt(), 12);
  EXPECT_TRUE(m->setData(m->index(2, 1, advanced), QStringLiteral("RGB565")));
  ASSERT_EQ(texts.size(), 1);
  EXPECT_EQ(texts[0][1].toString(), QStringLiteral("RGB565"));
  // A choice that is not offered and a number beyond 32 bits are refused.
  EXPECT_FALSE(m->setData(m->index(2, 1, advanced), QStringLiteral("RGB888")));
  EXPECT_FALSE(m->setData(m->index(0, 1, advanced), QStringLiteral("99999999999")));
  EXPECT_EQ(ints.size(), 1);
  EXPECT_EQ(texts.size(), 1);
  // The library texts are shown, not edited.
  EXPECT_FALSE(m->flags(m->index(0, 1, m->index(0, 0))) & Qt::ItemIsEditable);
  pane.RebuildProperties(true, &basics, &set);
  EXPECT_EQ(m->rowCount(), 0);
}

TEST(PropertyGrid, SortingAndHidingChangeOnlyWhatIsShown) {
  CPropertyGrid grid(QStringLiteral("属性窗口"));
  PropertyGridModel* m = grid.Model();
  m->BeginBatch();
  PropertyRow* g = m->AddGroup(nullptr, QStringLiteral("G"));
  PropertyRow* b = m->AddProperty(g, PropertyKind::Text, QStringLiteral("R10"), QStringLiteral("x"));
  PropertyRow* a = m->AddProperty(g, PropertyKind::Text, QStringLiteral("R9"), QStringLiteral("y"));
  m->EndBatch();
  EXPECT_EQ(m->IndexOf(b).row(), 0);
  grid.SortAction()->trigger();
  EXPECT_TRUE(grid.SortAction()->isChecked());
  EXPECT_EQ(m->IndexOf(a).row(), 0);  // numbers inside names sort as numbers
  m->SetHidden(a, true);
  EXPECT_FALSE(m->IndexOf(a).isValid());
  EXPECT_EQ(m->rowCount(m->IndexOf(g)), 1);
  EXPECT_EQ(grid.Combo()->currentText(), QStringLiteral("属性窗口"));
}

}  // namespace
}  // namespace radove
