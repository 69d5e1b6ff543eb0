#include "tools/CDataPreloadDlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "panes/PaneStatus.h"
#include "tools/CBulkDataDlg.h"
#include "tools/PresetCsv.h"
#include "gui/tools/ToolsGuiSupport.h"

namespace radove {
namespace {

namespace fs = std::filesystem;

PresetList Numbered(int n) {
  PresetList items;
  for (int i = 1; i <= n; ++i) items.push_back(MakeDataItem(i, true, 0, i * 10));
  return items;
}

class CDataPreloadDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("radove-editor-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  QString Cell(const CDataPreloadDlg& dlg, int row, int column) const {
    return dlg.Model()->index(row, column).data().toString();
  }
  QStringList Column(const CDataPreloadDlg& dlg, int column) const {
    QStringList v;
    for (int r = 0; r < dlg.Model()->rowCount(); ++r) v << Cell(dlg, r, column);
    return v;
  }
  QString Write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return QString::fromStdString((dir / name).string());
  }

  fs::path dir;
  GeneratorParameters generator;
};

TEST_F(CDataPreloadDlgTest, GridShowsTheListWithItsColumns) {
  PresetList items = {MakeDataItem(1, false, 0x1F, 258, "备注"), MakeDataItem(2, true, 0, 65)};
  CDataPreloadDlg dlg(items, generator);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("数据预置"));
  PresetGridModel* m = dlg.Model();
  ASSERT_EQ(m->rowCount(), 2);
  ASSERT_EQ(m->columnCount(), 6);
  const QStringList headers = {"序号", "类型", "附加", "十进制", "十六进制", "自定义备注"};
  const int widths[] = {60, 100, 100, 150, 150, 341};
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), headers[c]);
    EXPECT_EQ(dlg.Grid()->columnWidth(c), widths[c]);
    EXPECT_EQ(m->index(1, c).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 224));
  }
  EXPECT_EQ(dlg.Grid()->horizontalHeader()->height(), 30);
  EXPECT_EQ(Column(dlg, 1), (QStringList{"命令", "数据"}));
  EXPECT_EQ(Cell(dlg, 0, 4), "102");
  EXPECT_EQ(Cell(dlg, 0, 5), "备注");
  EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_TRUE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(dlg.Grid()->isSortingEnabled());
}

TEST_F(CDataPreloadDlgTest, ContextMenuHasTheCommandsInOrder) {
  CDataPreloadDlg dlg({}, generator);
  QStringList entries;
  for (QAction* a : dlg.ContextMenu()->actions()) entries << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(entries, (QStringList{"插入数据", "插入命令", "-", "批量插入", "导入...", "-", "移至顶部", "上移一行",
                                  "下移一行", "移至底部", "-", "删除", "-", "删除所有"}));
}

TEST_F(CDataPreloadDlgTest, InsertionPointsOfButtonsAndContextMenu) {
  CDataPreloadDlg dlg(Numbered(3), generator);
  dlg.show();
  dlg.InsertRow(false, 0);   // right click on the header: top
  dlg.InsertRow(true, 3);    // before row 3
  dlg.InsertRow(false, -1);  // a button, or below the last row: append
  EXPECT_EQ(Column(dlg, 1), (QStringList{"命令", "数据", "数据", "数据", "数据", "命令"}));
  EXPECT_EQ(Column(dlg, 3), (QStringList{"0", "10", "0", "20", "30", "0"}));
  EXPECT_EQ(Column(dlg, 0), (QStringList{"1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(dlg.Grid()->currentIndex().row(), 5);  // the appended row is shown

  // Triggering the menu entries acts on the row the last right click hit; the
  // buttons first forget it.
  dlg.Grid()->setCurrentIndex(dlg.Model()->index(1, 1));
  emit dlg.Grid()->customContextMenuRequested(dlg.Grid()->visualRect(dlg.Model()->index(1, 1)).center());
  dlg.ContextMenu()->hide();
  dlg.ContextMenu()->actions().at(1)->trigger();  // 插入命令 before row 2
  EXPECT_EQ(Column(dlg, 3).mid(0, 3), (QStringList{"0", "0", "10"}));
  EXPECT_EQ(Column(dlg, 1).at(1), "命令");
}

TEST_F(CDataPreloadDlgTest, MovesAndDeletesKeepThePositionsNumbered) {
  CDataPreloadDlg dlg(Numbered(4), generator);
  EXPECT_FALSE(dlg.MoveRow(PresetMove::kUp, 1));
  EXPECT_FALSE(dlg.MoveRow(PresetMove::kTop, 1));
  EXPECT_FALSE(dlg.MoveRow(PresetMove::kDown, 4));
  EXPECT_FALSE(dlg.MoveRow(PresetMove::kBottom, 4));
  EXPECT_FALSE(dlg.MoveRow(PresetMove::kDown, 0));
  EXPECT_FALSE(dlg.MoveRow(PresetMove::kUp, -1));
  EXPECT_TRUE(dlg.MoveRow(PresetMove::kTop, 3));
  EXPECT_TRUE(dlg.MoveRow(PresetMove::kBottom, 1));
  EXPECT_TRUE(dlg.MoveRow(PresetMove::kDown, 1));
  EXPECT_TRUE(dlg.MoveRow(PresetMove::kUp, 3));
  EXPECT_EQ(Column(dlg, 3), (QStringList{"20", "40", "10", "30"}));
  EXPECT_EQ(Column(dlg, 0), (QStringList{"1", "2", "3", "4"}));
  EXPECT_FALSE(dlg.DeleteRow(0));
  EXPECT_FALSE(dlg.DeleteRow(5));
  EXPECT_TRUE(dlg.DeleteRow(2));
  EXPECT_EQ(Column(dlg, 3), (QStringList{"20", "10", "30"}));
  EXPECT_EQ(Column(dlg, 0), (QStringList{"1", "2", "3"}));
  dlg.DeleteAll();
  EXPECT_EQ(dlg.Model()->rowCount(), 0);
}

TEST_F(CDataPreloadDlgTest, GeneratedValuesGoBeforeTheClickedRow) {
  CDataPreloadDlg dlg(Numbered(4), generator);
  generator.result = {1, 2, 3, 4, 5};
  generator.insertType = kInsertCommand;
  dlg.InsertGenerated(3);
  EXPECT_EQ(Column(dlg, 3), (QStringList{"10", "20", "1", "2", "3", "4", "5", "30", "40"}));
  EXPECT_EQ(Column(dlg, 1).mid(2, 5), (QStringList(5, "命令")));
  EXPECT_EQ(dlg.Grid()->currentIndex().row(), 7);  // the row they were put before
  EXPECT_EQ(dlg.Progress()->value(), 0);

  generator.result = {kCommandMarker, kDataMarker};
  generator.insertType = kInsertPackets;
  dlg.InsertGenerated(0);
  EXPECT_EQ(Column(dlg, 1).mid(0, 3), (QStringList{"命令", "数据", "数据"}));
  EXPECT_EQ(Column(dlg, 3).mid(0, 3), (QStringList{"0", "0", "10"}));
}

TEST_F(CDataPreloadDlgTest, BulkInsertRunsTheGeneratorDialog) {
  CDataPreloadDlg dlg(Numbered(2), generator);
  generator.start = 5;
  generator.end = 8;
  bool sawGenerator = false;
  {
    test::ModalAnswerer answerer([&](QWidget* modal) {
      if (auto* bulk = qobject_cast<CBulkDataDlg*>(modal)) {
        sawGenerator = true;
        bulk->accept();
      }
    });
    dlg.BulkInsert(-1);
  }
  EXPECT_TRUE(sawGenerator);
  EXPECT_EQ(Column(dlg, 3), (QStringList{"10", "20", "5", "6", "7"}));
  EXPECT_EQ(Column(dlg, 1).back(), "数据");

  // Cancel inserts nothing, though the generator keeps its settings.
  test::ModalAnswerer canceller([&](QWidget* modal) {
    if (auto* bulk = qobject_cast<CBulkDataDlg*>(modal)) bulk->reject();
  });
  generator.result.clear();
  dlg.BulkInsert(1);
  EXPECT_EQ(dlg.Model()->rowCount(), 5);
  EXPECT_EQ(generator.start, 5);
}

TEST_F(CDataPreloadDlgTest, EditsThroughTheGridAreValidated) {
  CDataPreloadDlg dlg(Numbered(2), generator);
  dlg.show();
  QTableView* grid = dlg.Grid();
  test::ModalAnswerer answerer;

  auto typeInto = [&](int row, int column, const QString& text) {
    const QModelIndex index = dlg.Model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto* edit = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };

  typeInto(0, 3, "1G");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !answerer.texts.isEmpty(); }, 2000));
  EXPECT_EQ(answerer.texts, QStringList{"您输入的不是十进制正整数,请重新输入"});
  EXPECT_EQ(answerer.captions.front(), QGuiApplication::applicationDisplayName());
  EXPECT_EQ(Cell(dlg, 0, 3), "10");

  typeInto(0, 3, "255");
  EXPECT_EQ(Cell(dlg, 0, 4), "FF");
  typeInto(1, 4, "ff");
  EXPECT_EQ(Cell(dlg, 1, 3), "255");
  typeInto(1, 4, "8000000000000000");
  ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.texts.size() == 2; }, 2000));
  EXPECT_EQ(answerer.texts.back(), "输入数据已经超出范围");
  EXPECT_EQ(Cell(dlg, 1, 4), "ff");

  // The type column offers the two kinds in a drop-down.
  const QModelIndex kind = dlg.Model()->index(0, 1);
  grid->setCurrentIndex(kind);
  grid->edit(kind);
  auto* combo = grid->viewport()->findChild<QComboBox*>();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(0), "命令");
  combo->setCurrentIndex(0);
  emit combo->activated(0);
  QCoreApplication::processEvents();
  EXPECT_EQ(Cell(dlg, 0, 1), "命令");
  EXPECT_EQ(answerer.texts.size(), 2);

  // Enter on the grid is not OK: the dialog stays open.
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(CDataPreloadDlgTest, OkSavesTheGridAndCancelLeavesNothing) {
  const PresetList items = Numbered(3);
  {
    CDataPreloadDlg dlg(items, generator);
    dlg.InsertRow(false, 1);
    dlg.Model()->setData(dlg.Model()->index(3, 5), QStringLiteral("last"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const PresetList saved = dlg.Result();
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[0], MakeDataItem(1, false, 0, 0));
    EXPECT_EQ(saved[1], MakeDataItem(2, true, 0, 10));
    EXPECT_EQ(saved[3], MakeDataItem(4, true, 0, 30, "last"));
    EXPECT_EQ(dlg.Progress()->value(), 0);
  }
  {
    CDataPreloadDlg dlg(items, generator);
    dlg.DeleteAll();
    dlg.reject();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.Result().empty());
  }
  {
    CDataPreloadDlg empty({}, generator);
    empty.accept();
    EXPECT_TRUE(empty.Result().empty());
  }
}

TEST_F(CDataPreloadDlgTest, ImportInsertsAtTheClickedRowOrSaysWhyNot) {
  CDataPreloadDlg dlg(Numbered(3), generator);
  test::ModalAnswerer answerer;
  const QString good = Write("good.csv", "kind,additional,value,remark\ncmd,0,0x38,set\ndata,0,65,A\n");
  EXPECT_TRUE(dlg.ImportCsv(good, 2));
  EXPECT_EQ(Column(dlg, 3), (QStringList{"10", "56", "65", "20", "30"}));
  EXPECT_EQ(Column(dlg, 5).mid(1, 2), (QStringList{"set", "A"}));
  EXPECT_TRUE(answerer.texts.isEmpty());

  const QString bad = Write("bad.csv", "kind,additional,value,remark\ncmd,0,1\n# note\ndata,0,12abc\n");
  EXPECT_FALSE(dlg.ImportCsv(bad, 1));
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(answerer.texts.front().contains(bad + ":4:")) << answerer.texts.front().toStdString();
  EXPECT_TRUE(answerer.texts.front().contains("12abc"));
  EXPECT_EQ(dlg.Model()->rowCount(), 5);
  EXPECT_FALSE(dlg.ImportCsv(QString::fromStdString((dir / "missing.csv").string()), -1));
  EXPECT_EQ(dlg.Model()->rowCount(), 5);
}

TEST_F(CDataPreloadDlgTest, ExportWritesWhatImportReads) {
  PresetList items = {MakeDataItem(1, false, 0x1F, 0x38, "a, \"b\""), MakeDataItem(2, true, 0, 65)};
  CDataPreloadDlg dlg(items, generator);
  const QString path = QString::fromStdString((dir / "out.csv").string());
  ASSERT_TRUE(dlg.ExportCsv(path));
  EXPECT_EQ(ReadPresetCsvFile(path.toStdString()), items);
  test::ModalAnswerer answerer;
  EXPECT_FALSE(dlg.ExportCsv(QString::fromStdString((dir / "no" / "such" / "dir.csv").string())));
  EXPECT_EQ(answerer.texts.size(), 1);
}

class RecordingStatus : public PaneStatus {
 public:
  void SetPrompt(const QString& text) override { prompts << text; }
  void BeginProgress(int range) override { this->range = range; }
  void StepProgress(int value) override { steps.push_back(value); }
  void EndProgress() override { ended = true; }
  QStringList prompts;
  int range = -1;
  std::vector<int> steps;
  bool ended = false;
};

TEST_F(CDataPreloadDlgTest, LoadingShowsProgressInTheStatusBar) {
  RecordingStatus status;
  CDataPreloadDlg dlg(Numbered(10000), generator, nullptr, &status);
  EXPECT_EQ(status.range, 10000);
  ASSERT_FALSE(status.steps.empty());
  EXPECT_EQ(status.steps.back(), 10000);
  EXPECT_TRUE(std::is_sorted(status.steps.begin(), status.steps.end()));
  EXPECT_TRUE(status.ended);
  EXPECT_EQ(status.prompts, (QStringList{"添加预置数据", "就绪"}));
}

}  // namespace
}  // namespace radove
