#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "gui/GuiTestSupport.h"
#include "core/PinCodes.h"
#include "gui/library/LibraryGuiSupport.h"
#include "gui/tools/ToolsGuiSupport.h"
#include "library/CGpioAssignDlg.h"

namespace radove {
namespace {

// The tables the view builds from a board with GPIOs 12, 13 and 40.
ConnectionLabels BoardLabels() {
  ConnectionLabels l;
  l.boardLabels = {"12", "13", "40"};
  l.labelToNumber = {{"-", -1}, {"VCC", -100}, {"GND", -201}, {"12", 12}, {"13", 13}, {"40", 40}};
  for (const auto& [label, number] : l.labelToNumber) l.numberToLabel[number] = label;
  return l;
}

PinRecord Pin(const char* name, int io, int active, int output, int clock, int connection) {
  PinRecord p;
  p.deviceType = "1602字符液晶";
  p.deviceName = "16×2字符液晶模块LCM1602（并口）";
  p.nameEn = name;
  p.ioType = io;
  p.activeLevel = active;
  p.outputLevel = output;
  p.clkTrigger = clock;
  p.connection = connection;
  return p;
}

// VSS tied to GND, RS free, E a falling-edge clock on board pin 13, D0 on a board
// pin the board does not have.
PinList LcdPins() {
  return {Pin("VSS", pin_io::kNone, -1, -1, -1, kPinGnd),
          Pin("RS", pin_io::kInput, -1, -1, -1, kPinUnconnected),
          Pin("E", pin_io::kInput, pin_level::kHigh, -1, pin_clock::kFallingEdge, 13),
          Pin("D0", pin_io::kBidirectional, -1, pin_level::kLow, -1, 77)};
}

class CGpioAssignDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  static QString Cell(const CGpioAssignDlg& dlg, int row, int column, int role = Qt::DisplayRole) {
    return dlg.Model()->index(row, column).data(role).toString();
  }
  static bool Set(CGpioAssignDlg& dlg, int row, const QString& text) {
    return dlg.Model()->setData(dlg.Model()->index(row, PinGridModel::kConnection), text);
  }
};

TEST_F(CGpioAssignDlgTest, ShowsEveryPinInEightColumns) {
  CGpioAssignDlg dlg(LcdPins(), BoardLabels());
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("引脚设置"));
  const QStringList headers = {"序号",     "器件类型", "器件名称", "引脚名",
                               "引脚类型", "有效电平", "默认输出", "引脚电平"};
  const int widths[] = {60, 130, 300, 120, 80, 70, 70};
  ASSERT_EQ(dlg.Model()->columnCount(), 8);
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(dlg.Model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    if (c < 7) {
      EXPECT_EQ(dlg.Grid()->columnWidth(c), widths[c]) << c;
    }
  }
  EXPECT_EQ(dlg.Grid()->horizontalHeader()->height(), 30);
  ASSERT_EQ(dlg.Model()->rowCount(), 4);
  const QStringList row2 = {
      "3", "1602字符液晶", "16×2字符液晶模块LCM1602（并口）", "E", "输入", "1", "-", "13"};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(Cell(dlg, 2, c), row2[c]) << c;
  EXPECT_EQ(Cell(dlg, 0, PinGridModel::kConnection), QStringLiteral("GND"));
  EXPECT_EQ(Cell(dlg, 0, PinGridModel::kIoType), QStringLiteral("-"));
  EXPECT_EQ(Cell(dlg, 3, PinGridModel::kIoType), QStringLiteral("双向"));
  EXPECT_EQ(Cell(dlg, 3, PinGridModel::kOutputLevel), QStringLiteral("0"));
  EXPECT_EQ(Cell(dlg, 3, PinGridModel::kConnection), QStringLiteral("-")) << "77 is no board pin";
  for (int c = 0; c < 8; ++c) {
    const bool editable = dlg.Model()->flags(dlg.Model()->index(0, c)) & Qt::ItemIsEditable;
    EXPECT_EQ(editable, c == PinGridModel::kConnection) << c;
  }
}

TEST_F(CGpioAssignDlgTest, TheClockPinsRowIsHighlightedInEveryColumn) {
  CGpioAssignDlg dlg(LcdPins(), BoardLabels());
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(dlg.Model()->index(2, c).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(255, 160, 122))
        << c;
    EXPECT_EQ(dlg.Model()->index(1, c).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(255, 255, 224))
        << c;
  }
  dlg.Grid()->clearSelection();
  dlg.Grid()->setCurrentIndex({});
  const QImage shot = test::Snapshot(dlg, QStringLiteral("CGpioAssignDlg"));
  const qreal scale = shot.width() / qreal(dlg.width());
  auto at = [&](int row, int column) {
    const QRect r = dlg.Grid()->visualRect(dlg.Model()->index(row, column));
    const QPoint p = dlg.Grid()->viewport()->mapTo(&dlg, r.topLeft() + QPoint(3, 3));
    return shot.pixelColor(int(p.x() * scale), int(p.y() * scale));
  };
  EXPECT_EQ(at(2, 0), QColor(255, 160, 122));
  EXPECT_EQ(at(2, 7), QColor(255, 160, 122));
  EXPECT_EQ(at(1, 3), QColor(255, 255, 224));
}

TEST_F(CGpioAssignDlgTest, OkWritesTheChosenConnections) {
  CGpioAssignDlg dlg(LcdPins(), BoardLabels());
  EXPECT_TRUE(Set(dlg, 0, QStringLiteral("-")));
  EXPECT_TRUE(Set(dlg, 1, QStringLiteral("40")));
  EXPECT_TRUE(Set(dlg, 2, QStringLiteral(" 40 "))) << "two pins may share a board pin";
  dlg.accept();
  ASSERT_EQ(dlg.result(), QDialog::Accepted);
  const PinList& pins = dlg.Pins();
  EXPECT_EQ(pins[0].connection, kPinUnconnected);
  EXPECT_EQ(pins[1].connection, 40);
  EXPECT_EQ(pins[2].connection, 40);
  EXPECT_EQ(pins[3].connection, kPinUnconnected) << "shown as \"-\", so stored as not connected";
  EXPECT_EQ(dlg.ChangedCount(), 4);
  EXPECT_EQ(pins[2].nameEn, "E");
  EXPECT_EQ(pins[2].clkTrigger, pin_clock::kFallingEdge);
}

TEST_F(CGpioAssignDlgTest, AnUnknownLabelIsRefusedAndKeepsTheConnection) {
  test::ModalAnswerer answerer;
  CGpioAssignDlg dlg(LcdPins(), BoardLabels());
  EXPECT_FALSE(Set(dlg, 2, QStringLiteral("PA5")));
  EXPECT_FALSE(Set(dlg, 2, QStringLiteral("14")));
  EXPECT_EQ(Cell(dlg, 2, PinGridModel::kConnection), QStringLiteral("13"));
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("PA5")));
  dlg.accept();
  EXPECT_EQ(dlg.Pins()[2].connection, 13);
}

TEST_F(CGpioAssignDlgTest, TheEditorOffersTheChoicesAndATypedPinCountsOnOk) {
  CGpioAssignDlg dlg(LcdPins(), BoardLabels());
  dlg.show();
  const QModelIndex cell = dlg.Model()->index(1, PinGridModel::kConnection);
  dlg.Grid()->setCurrentIndex(cell);
  dlg.Grid()->edit(cell);
  auto* combo = qobject_cast<QComboBox*>(dlg.Grid()->indexWidget(cell));
  ASSERT_NE(combo, nullptr);
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  EXPECT_EQ(items, (QStringList{"-", "VCC", "GND", "12", "13", "40"}));
  EXPECT_TRUE(combo->isEditable());
  EXPECT_EQ(combo->currentText(), QStringLiteral("-"));
  combo->setEditText(QStringLiteral("12"));
  dlg.accept();  // the edit is still open
  EXPECT_EQ(dlg.Pins()[1].connection, 12);
}

TEST_F(CGpioAssignDlgTest, EnterConfirmsTheTypedCellAndTheDialogStaysOpen) {
  test::ModalAnswerer answerer;
  CGpioAssignDlg dlg(LcdPins(), BoardLabels());
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  const QModelIndex rs = dlg.Model()->index(1, PinGridModel::kConnection);
  ASSERT_TRUE(test::TypeIntoCell(dlg.Grid(), rs, QStringLiteral("12")));
  EXPECT_EQ(rs.data().toString(), QStringLiteral("12"));
  EXPECT_TRUE(dlg.isVisible()) << "Enter ends the cell's edit, not the dialog";
  EXPECT_EQ(dlg.Grid()->indexWidget(rs), nullptr) << "the editor is closed";

  // A label that is no connection is refused once, and the cell keeps its label.
  const QModelIndex e = dlg.Model()->index(2, PinGridModel::kConnection);
  ASSERT_TRUE(test::TypeIntoCell(dlg.Grid(), e, QStringLiteral("PA5")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !answerer.texts.isEmpty() && !dlg.Grid()->indexWidget(e); }, 2000));
  QCoreApplication::processEvents();  // a second box would come now
  EXPECT_EQ(answerer.texts.size(), 1) << answerer.texts.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(e.data().toString(), QStringLiteral("13"));
  EXPECT_TRUE(dlg.isVisible());

  // A choice from the list ends the edit at once.
  const QModelIndex d0 = dlg.Model()->index(3, PinGridModel::kConnection);
  dlg.Grid()->setCurrentIndex(d0);
  dlg.Grid()->edit(d0);
  auto* combo = qobject_cast<QComboBox*>(dlg.Grid()->indexWidget(d0));
  ASSERT_NE(combo, nullptr);
  combo->setCurrentIndex(combo->findText(QStringLiteral("VCC")));
  emit combo->activated(combo->currentIndex());
  ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Grid()->indexWidget(d0) == nullptr; }, 2000));
  EXPECT_EQ(d0.data().toString(), QStringLiteral("VCC"));

  dlg.accept();
  EXPECT_EQ(dlg.Pins()[1].connection, 12);
  EXPECT_EQ(dlg.Pins()[2].connection, 13);
  EXPECT_EQ(dlg.Pins()[3].connection, kPinVcc);
}

TEST_F(CGpioAssignDlgTest, CancelLeavesEveryConnectionAsItWas) {
  CGpioAssignDlg dlg(LcdPins(), BoardLabels());
  ASSERT_TRUE(Set(dlg, 0, QStringLiteral("VCC")));
  dlg.reject();
  EXPECT_EQ(dlg.Pins(), LcdPins());
}

TEST_F(CGpioAssignDlgTest, WithoutPinsOnlyTheHeaderShows) {
  CGpioAssignDlg dlg({}, BoardLabels());
  EXPECT_EQ(dlg.Model()->rowCount(), 0);
  EXPECT_EQ(dlg.Model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("引脚电平"));
  dlg.accept();
  EXPECT_TRUE(dlg.Pins().empty());
  EXPECT_EQ(dlg.ChangedCount(), 0);
}

TEST_F(CGpioAssignDlgTest, WithoutBoardTablesEveryCellShowsNotConnectedAndOkChangesNothing) {
  test::ModalAnswerer answerer;
  CGpioAssignDlg dlg(LcdPins(), ConnectionLabels{});
  for (int r = 0; r < 4; ++r)
    EXPECT_EQ(Cell(dlg, r, PinGridModel::kConnection), QStringLiteral("-"));
  EXPECT_FALSE(Set(dlg, 0, QStringLiteral("VCC")));
  EXPECT_EQ(answerer.texts.size(), 1);
  dlg.accept();
  EXPECT_EQ(dlg.Pins(), LcdPins());
}

}  // namespace
}  // namespace radove
