#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTest>

#include "gui/GuiTestSupport.h"
#include "gui/library/LibraryGuiSupport.h"
#include "gui/tools/ToolsGuiSupport.h"
#include "library/CDeviceLibDlg.h"
#include "library/LibraryTestDb.h"

namespace radove {
namespace {

QStringList Texts(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

QList<int> Data(const QListWidget* list) {
  QList<int> data;
  for (int i = 0; i < list->count(); ++i) data << list->item(i)->data(Qt::UserRole).toInt();
  return data;
}

int RowOf(const QListWidget* list, const QString& text) {
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->text() == text) return i;
  }
  ADD_FAILURE() << text.toStdString() << " is not listed";
  return -1;
}

class CDeviceLibDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }
  void SetUp() override { test::WritePreviewPng(lib.Picture()); }

  test::TestLibrary lib;
  LibraryDb db{lib.File()};
};

TEST_F(CDeviceLibDlgTest, OpensOnAllLibrariesWithTheFirstDeviceAndItsPreview) {
  CDeviceLibDlg dlg(db, {});
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("元器件库"));
  EXPECT_EQ(dlg.OpenStatus(), BrowserStatus::kOk);
  EXPECT_EQ(Texts(dlg.LibraryList()), (QStringList{"全部", "甲库", "乙库"}));
  EXPECT_EQ(Data(dlg.LibraryList()), (QList<int>{10000, 10001, 10002}));
  EXPECT_EQ(dlg.LibraryList()->currentRow(), 0);
  EXPECT_EQ(dlg.CategoryList()->count(), 4);
  EXPECT_TRUE(dlg.CategoryList()->selectedItems().isEmpty());
  EXPECT_EQ(Data(dlg.DeviceList()), (QList<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(dlg.DeviceList()->currentRow(), 0);
  EXPECT_EQ(dlg.SelectedDeviceId(), 1);
  EXPECT_EQ(dlg.PreviewPicture()->pixmap().size(), QSize(250, 135));
  EXPECT_EQ(dlg.DescriptionText()->text(), QStringLiteral("info alpha"));
}

TEST_F(CDeviceLibDlgTest, ThePreviewIsDrawnCentredAndBlendedByItsAlpha) {
  CDeviceLibDlg dlg(db, {});
  const QImage shot = test::Snapshot(dlg, QStringLiteral("CDeviceLibDlg-test"));
  QLabel* picture = dlg.PreviewPicture();
  const QPoint topLeft = picture->mapTo(&dlg, QPoint(0, 0));
  const qreal scale = shot.width() / qreal(dlg.width());
  auto at = [&](int x, int y) {
    return shot.pixelColor(int((topLeft.x() + x) * scale), int((topLeft.y() + y) * scale));
  };
  EXPECT_EQ(at(200, 70), QColor(255, 0, 0)) << "the opaque half";
  EXPECT_NE(at(50, 70), QColor(255, 0, 0));
  EXPECT_EQ(at(50, 70), at(-3, 70)) << "the transparent half shows what lies beneath";
}

TEST_F(CDeviceLibDlgTest, ChoosingALibraryRefillsCategoriesAndDevices) {
  CDeviceLibDlg dlg(db, {});
  dlg.LibraryList()->setCurrentRow(RowOf(dlg.LibraryList(), "乙库"));
  EXPECT_EQ(Texts(dlg.CategoryList()), (QStringList{"乙类一", "乙类三"}));
  EXPECT_TRUE(dlg.CategoryList()->selectedItems().isEmpty());
  EXPECT_EQ(Data(dlg.DeviceList()), (QList<int>{3, 4}));
  EXPECT_EQ(dlg.DeviceList()->currentRow(), 0);
  EXPECT_EQ(dlg.SelectedDeviceId(), 3);
  EXPECT_TRUE(dlg.PreviewPicture()->pixmap().isNull()) << "device 3 has no picture";
  EXPECT_EQ(dlg.DescriptionText()->text(), QStringLiteral("info gamma"));

  dlg.CategoryList()->setCurrentRow(1);
  EXPECT_EQ(Data(dlg.DeviceList()), (QList<int>{4}));
  EXPECT_EQ(dlg.SelectedDeviceId(), 4);
  EXPECT_EQ(dlg.Positions(), (BrowserPositions{2, 1, 0}));
}

TEST_F(CDeviceLibDlgTest, TypingASearchFiltersTheDevicesButNotThePreview) {
  CDeviceLibDlg dlg(db, {});
  dlg.DeviceList()->setCurrentRow(1);
  ASSERT_EQ(dlg.DescriptionText()->text(), QStringLiteral("info beta"));
  QTest::keyClicks(dlg.SearchEdit(), QStringLiteral("16 2"));
  EXPECT_EQ(Data(dlg.DeviceList()), (QList<int>{1, 5}));
  EXPECT_EQ(dlg.DeviceList()->currentRow(), 1) << "the device position stays";
  EXPECT_EQ(dlg.SelectedDeviceId(), 5);
  EXPECT_EQ(dlg.DescriptionText()->text(), QStringLiteral("info beta"));

  // A click on the highlighted entry shows its preview.
  dlg.show();
  QListWidget* list = dlg.DeviceList();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(dlg.SelectedDeviceId(), 5);
  EXPECT_EQ(dlg.DescriptionText()->text(), QStringLiteral("info epsilon"));
}

TEST_F(CDeviceLibDlgTest, ASearchShorterThanThePositionChoosesNothing) {
  CDeviceLibDlg dlg(db, {0, -1, 3});
  ASSERT_EQ(dlg.SelectedDeviceId(), 4);
  dlg.SearchEdit()->setText(QStringLiteral("LCM"));
  EXPECT_EQ(dlg.DeviceList()->count(), 2);
  EXPECT_EQ(dlg.DeviceList()->currentRow(), -1);
  EXPECT_EQ(dlg.SelectedDeviceId(), -1);
}

TEST_F(CDeviceLibDlgTest, PositionsComeInAndGoBackOut) {
  CDeviceLibDlg dlg(db, {1, 0, 2});
  EXPECT_EQ(dlg.LibraryList()->currentRow(), 1);
  EXPECT_EQ(dlg.CategoryList()->currentRow(), 0);
  EXPECT_EQ(dlg.CategoryList()->currentItem()->text(), QStringLiteral("甲类一"));
  EXPECT_EQ(Data(dlg.DeviceList()), (QList<int>{1, 5}));
  EXPECT_EQ(dlg.DeviceList()->currentRow(), -1) << "position 2 is beyond the two devices";
  EXPECT_EQ(dlg.SelectedDeviceId(), -1);
  dlg.DeviceList()->setCurrentRow(1);
  EXPECT_EQ(dlg.SelectedDeviceId(), 5);
  EXPECT_EQ(dlg.Positions(), (BrowserPositions{1, 0, 1}));
}

TEST_F(CDeviceLibDlgTest, DoubleClickingADeviceClosesWithIt) {
  CDeviceLibDlg dlg(db, {});
  dlg.show();
  QListWidget* list = dlg.DeviceList();
  const QRect rect = list->visualItemRect(list->item(2));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.SelectedDeviceId(), 3);
  EXPECT_EQ(dlg.Positions().device, 2);
}

TEST_F(CDeviceLibDlgTest, AMissingDatabaseIsToldOnceAndChoosesNothing) {
  test::ModalAnswerer answerer;
  CDeviceLibDlg dlg(LibraryDb(lib.Dir() / "missing.db"), {});
  EXPECT_EQ(dlg.OpenStatus(), BrowserStatus::kUnreadable);
  dlg.show();
  ASSERT_TRUE(test::WaitUntil([&] { return !answerer.texts.isEmpty(); }));
  QApplication::processEvents();
  EXPECT_EQ(answerer.texts, QStringList{QStringLiteral("数据库打开失败，请检查后再操作！")});
  EXPECT_EQ(answerer.captions, QStringList{QStringLiteral("Radove")});
  EXPECT_EQ(dlg.LibraryList()->count(), 0);
  EXPECT_EQ(dlg.DeviceList()->count(), 0);
  EXPECT_EQ(dlg.SelectedDeviceId(), -1);
}

TEST_F(CDeviceLibDlgTest, TheBuiltLibraryListsEveryDeviceUnderAll) {
  CDeviceLibDlg dlg(LibraryDb(), {});
  ASSERT_EQ(dlg.OpenStatus(), BrowserStatus::kOk) << "build the radove_db target";
  EXPECT_EQ(dlg.LibraryList()->item(0)->text(), QStringLiteral("全部"));
  EXPECT_EQ(dlg.DeviceList()->count(), 70);
  EXPECT_EQ(dlg.SelectedDeviceId(), 100000);
  dlg.LibraryList()->setCurrentRow(RowOf(dlg.LibraryList(), QStringLiteral("液晶显示模块")));
  dlg.CategoryList()->setCurrentRow(RowOf(dlg.CategoryList(), QStringLiteral("字符液晶（并口）")));
  EXPECT_EQ(dlg.DeviceList()->count(), 7);
  dlg.DeviceList()->setCurrentRow(1);
  EXPECT_EQ(dlg.SelectedDeviceId(), 700001);
  EXPECT_TRUE(
      dlg.DescriptionText()->text().startsWith(QStringLiteral("采用HD44780U控制器的16字符×2行")));
  test::Snapshot(dlg, QStringLiteral("CDeviceLibDlg"));
  dlg.SearchEdit()->setText(QStringLiteral("串口"));
  EXPECT_EQ(dlg.DeviceList()->count(), 0) << "the search stays within the category";
}

}  // namespace
}  // namespace radove
