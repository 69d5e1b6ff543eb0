#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include "gui/library/LibraryGuiSupport.h"
#include "gui/tools/ToolsGuiSupport.h"
#include "library/CCreateNewDeviceDlg.h"
#include "library/LibraryTestDb.h"

namespace radove {
namespace {

class CCreateNewDeviceDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  static QStringList Column(const CCreateNewDeviceDlg& dlg, int column) {
    QStringList v;
    for (int r = 0; r < dlg.PinModel()->rowCount(); ++r) {
      v << dlg.PinModel()->index(r, column).data().toString();
    }
    return v;
  }
  // Adds n pins named P1..Pn.
  static void AddPins(CCreateNewDeviceDlg& dlg, int n) {
    for (int i = 1; i <= n; ++i) {
      dlg.AddPin();
      dlg.PinModel()->setData(dlg.PinModel()->index(i - 1, NewPinGridModel::kName),
                              QStringLiteral("P%1").arg(i));
    }
  }
  int Rows() const { return test::CountRows(lib.File(), "select id from device_lib"); }

  test::TestLibrary lib;
  LibraryDb db{lib.File()};
};

TEST_F(CCreateNewDeviceDlgTest, OpensWithTheExampleDevice) {
  CCreateNewDeviceDlg dlg(db);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("新建器件"));
  EXPECT_EQ(dlg.LibraryBox()->count(), 1);
  EXPECT_EQ(dlg.LibraryBox()->currentText(), QStringLiteral("用户自定义"));
  EXPECT_TRUE(dlg.CategoryBox()->isEditable());
  EXPECT_EQ(dlg.CategoryBox()->currentText(), QStringLiteral("光电器件"));
  EXPECT_EQ(dlg.ModelEdit()->text(), QStringLiteral("SINGLE_RED_LED"));
  EXPECT_EQ(dlg.NameEdit()->text(), QStringLiteral("单个发光二极管,红色"));
  EXPECT_EQ(dlg.DescriptionEdit()->text(), QStringLiteral("单个发光二极管,红色"));
  EXPECT_EQ(dlg.ClassNameEdit()->text(), QStringLiteral("SingleRedLed"));
  EXPECT_EQ(dlg.PreviewBox()->count(), 10);
  EXPECT_EQ(dlg.PreviewBox()->currentIndex(), -1);
  EXPECT_EQ(dlg.PinModel()->rowCount(), 0);
}

TEST_F(CCreateNewDeviceDlgTest, ANewPinHasTheDefaults) {
  CCreateNewDeviceDlg dlg(db);
  dlg.AddPin();
  dlg.AddPin();
  EXPECT_EQ(Column(dlg, NewPinGridModel::kNumber), (QStringList{"1", "2"}));
  const QStringList row = {"2", "PIN", "0", "", "", "-", "", ""};
  for (int c = 0; c < NewPinGridModel::kColumnCount; ++c) {
    EXPECT_EQ(dlg.PinModel()->index(1, c).data().toString(), row[c]) << c;
  }
  EXPECT_FALSE(dlg.PinModel()->flags(dlg.PinModel()->index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(CCreateNewDeviceDlgTest, CellsTakeOnlyWhatTheirColumnAllows) {
  CCreateNewDeviceDlg dlg(db);
  dlg.AddPin();
  NewPinGridModel* m = dlg.PinModel();
  const struct {
    int column;
    const char* text;
    bool taken;
  } cases[] = {
      {NewPinGridModel::kName, "RS", true},       {NewPinGridModel::kName, "  ", false},
      {NewPinGridModel::kPinNumber, "16", true},  {NewPinGridModel::kPinNumber, "x", false},
      {NewPinGridModel::kPinNumber, "-1", false}, {NewPinGridModel::kType, "双向", true},
      {NewPinGridModel::kType, "高", false},      {NewPinGridModel::kEdge, "下降沿", true},
      {NewPinGridModel::kFunction, "-", true},    {NewPinGridModel::kActiveLevel, "2", false}};
  for (const auto& c : cases) {
    const QString before = m->index(0, c.column).data().toString();
    EXPECT_EQ(m->setData(m->index(0, c.column), QString::fromUtf8(c.text)), c.taken) << c.text;
    EXPECT_EQ(m->index(0, c.column).data().toString(),
              c.taken ? QString::fromUtf8(c.text) : before);
  }
}

TEST_F(CCreateNewDeviceDlgTest, DeletingPinTwoOfFourRenumbersTheRest) {
  CCreateNewDeviceDlg dlg(db);
  AddPins(dlg, 4);
  dlg.DeletePin(2);
  EXPECT_EQ(Column(dlg, NewPinGridModel::kNumber), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Column(dlg, NewPinGridModel::kName), (QStringList{"P1", "P3", "P4"}));
  dlg.DeletePin(0);   // the header
  dlg.DeletePin(-1);  // no row
  dlg.DeletePin(9);
  EXPECT_EQ(dlg.PinModel()->rowCount(), 3);
  dlg.DeleteAllPins();
  EXPECT_EQ(dlg.PinModel()->rowCount(), 0);
  dlg.AddPin();
  EXPECT_EQ(Column(dlg, NewPinGridModel::kNumber), QStringList{"1"});
}

TEST_F(CCreateNewDeviceDlgTest, TheContextMenuActsOnTheClickedRow) {
  CCreateNewDeviceDlg dlg(db);
  AddPins(dlg, 3);
  test::Snapshot(dlg, QStringLiteral("CCreateNewDeviceDlg"));
  const QRect second = dlg.Grid()->visualRect(dlg.PinModel()->index(1, 1));
  emit dlg.Grid()->customContextMenuRequested(second.center());
  const QList<QAction*> actions = dlg.ContextMenu()->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), QStringLiteral("添加引脚"));
  EXPECT_EQ(actions[1]->text(), QStringLiteral("删除"));
  EXPECT_EQ(actions[2]->text(), QStringLiteral("删除所有"));
  actions[1]->trigger();
  dlg.ContextMenu()->hide();
  EXPECT_EQ(Column(dlg, NewPinGridModel::kName), (QStringList{"P1", "P3"}));

  emit dlg.Grid()->customContextMenuRequested(QPoint(5, dlg.Grid()->viewport()->height() - 5));
  actions[1]->trigger();  // below the rows: nothing to delete
  dlg.ContextMenu()->hide();
  EXPECT_EQ(dlg.PinModel()->rowCount(), 2);
}

TEST_F(CCreateNewDeviceDlgTest, OkStoresTheDeviceAndCloses) {
  CCreateNewDeviceDlg dlg(db);
  dlg.CategoryBox()->setEditText(QStringLiteral("我的器件"));
  dlg.accept();
  ASSERT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_GT(dlg.NewRowId(), 5);
  EXPECT_EQ(Rows(), 6);
  EXPECT_EQ(test::CountRows(lib.File(),
                            "select id from device_lib where type_en='SINGLE_RED_LED' "
                            "and sub_category_cn='我的器件' and category=10100"),
            1);
}

TEST_F(CCreateNewDeviceDlgTest, RefusedEntriesAreExplainedAndTheDialogStaysOpen) {
  const struct {
    QLineEdit* (CCreateNewDeviceDlg::*field)() const;
    const char* text;
    const char* message;
  } cases[] = {
      {&CCreateNewDeviceDlg::NameEdit, "  ",
       "器件库,类别,型号,名称,模型名不能为空，请检查后重新输入!"},
      {&CCreateNewDeviceDlg::ClassNameEdit, "",
       "器件库,类别,型号,名称,模型名不能为空，请检查后重新输入!"},
      {&CCreateNewDeviceDlg::ModelEdit, "",
       "器件库,类别,型号,名称,模型名不能为空，请检查后重新输入!"},
      {&CCreateNewDeviceDlg::ModelEdit, "G3", "您输入的器件型号已经存在于器件库中，请重新输入!"},
  };
  for (const auto& c : cases) {
    test::ModalAnswerer answerer;
    CCreateNewDeviceDlg dlg(db);
    dlg.show();
    (dlg.*c.field)()->setText(QString::fromUtf8(c.text));
    dlg.accept();
    EXPECT_EQ(answerer.texts, QStringList{QString::fromUtf8(c.message)});
    EXPECT_EQ(answerer.captions, QStringList{QStringLiteral("器件信息错误")});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.NewRowId(), -1);
    EXPECT_EQ((dlg.*c.field)()->text(), QString::fromUtf8(c.text)) << "what was typed stays";
  }
  EXPECT_EQ(Rows(), 5);
}

TEST_F(CCreateNewDeviceDlgTest, ABlankCategoryIsRefused) {
  test::ModalAnswerer answerer;
  CCreateNewDeviceDlg dlg(db);
  dlg.show();
  dlg.CategoryBox()->setEditText(QStringLiteral(" "));
  dlg.accept();
  EXPECT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(dlg.isVisible());
}

TEST_F(CCreateNewDeviceDlgTest, AnUnreadableLibraryIsNotReportedAsAnExistingModel) {
  test::ModalAnswerer answerer;
  CCreateNewDeviceDlg dlg(LibraryDb(lib.Dir() / "missing.db"));
  dlg.show();
  dlg.accept();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(answerer.texts[0].startsWith(QStringLiteral("数据库打开失败")));
  EXPECT_TRUE(dlg.isVisible());
}

}  // namespace
}  // namespace radove
