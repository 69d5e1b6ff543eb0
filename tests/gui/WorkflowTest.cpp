// A whole session driven through the window only, as a user works: choose the
// 16x2 module in the library browser, import a preset CSV and generate a sequence
// in the preset editor, tie a pin to the board, save, start anew, reopen, run and
// see the text on the panel.
//
// With RADOVE_SCREENSHOT_DIR set, each dialog is kept as a picture as it was seen.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "GuiTestSupport.h"
#include "app/CGeneralSettingDlg.h"
#include "app/CMainFrame.h"
#include "app/CRadoveView.h"
#include "core/DeviceBase.h"
#include "devices/CDeviceFactory.h"
#include "gui/library/LibraryGuiSupport.h"
#include "library/CDeviceLibDlg.h"
#include "library/CGpioAssignDlg.h"
#include "panes/CClassView.h"
#include "panes/CPropertyGrid.h"
#include "render/QtCanvas.h"
#include "tools/CBulkDataDlg.h"
#include "tools/CDataPreloadDlg.h"
#include "tools/PresetCsv.h"

namespace radove {
namespace {

using test::ButtonWithText;
using test::ClickLater;
using test::ModalScript;
using test::WaitUntil;

constexpr int kLcm1602 = 700001;
const QString kCsv = QStringLiteral(RADOVE_SOURCE_DIR "/data/examples/lcm1602_hello.csv");
// What the generator is asked for: '0', '1', '2' as data rows after the import.
constexpr int kFirstGenerated = '0';
constexpr int kGenerated = 3;
// The pin tied to the board and the board pin it goes to.
const QString kTiedPin = QStringLiteral("RS");
const QString kBoardPin = QStringLiteral("12");

// The picture a freshly made module shows, while running, after executing the items.
QImage ReferencePicture(const PresetList& items, const DeviceColours& colours, QSize size) {
  CDeviceFactory factory;
  std::unique_ptr<CDeviceBase> device = factory.Create(colours, kLcm1602);
  if (!device) return {};
  ImageTarget target(size.width(), size.height());
  auto lock = device->Lock();
  device->Reset();
  for (const DataItem& item : items) {
    device->FeedItem(item.kind == "1" ? 1 : 0, 0, 0, std::stoll(item.value), 0);
  }
  while (device->QueuedItems() > 0) device->ProcessNextItem(0);
  target.Image().fill(ToQColor(device->Surface().outerColourActive));
  device->Render(target, kModeActive);
  return target.Image();
}

// Lit dots inside the panel (the area the panel colour spans), in its upper and
// lower half: one line of text each.
struct LitDots {
  int upper = 0;
  int lower = 0;
};

LitDots CountLitDots(const QImage& picture, const CSurfaceBase& surface) {
  const QRgb panel = ToQColor(surface.panelColourActive).rgb();
  const QRgb pixel = ToQColor(surface.pixelColour).rgb();
  QRect area;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixel(x, y) == panel) area |= QRect(x, y, 1, 1);
    }
  }
  LitDots dots;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (picture.pixel(x, y) != pixel) continue;
      (y < area.center().y() ? dots.upper : dots.lower) += 1;
    }
  }
  return dots;
}

class WorkflowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = std::make_unique<CMainFrame>();
    frame_->resize(1100, 720);
    frame_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void TearDown() override {
    if (frame_->View()->Sim().CanStop()) frame_->View()->OnStop();
    frame_->Document().SetModified(false);
    frame_.reset();
  }

  // Chooses the menu entry as a user does: it must be there and enabled.
  bool Choose(const QString& menu, const QString& entry) {
    QAction* action = test::MenuEntry(*frame_, menu, entry);
    if (!action || !action->isEnabled()) {
      ADD_FAILURE() << menu.toStdString() << " > " << entry.toStdString()
                    << (action ? " is disabled" : " is missing");
      return false;
    }
    action->trigger();
    return true;
  }
  // Runs the menu entry with the script answering the dialogs it opens.
  void ChooseWith(ModalScript& script, const QString& menu, const QString& entry) {
    const bool ran = script.Run([&] { Choose(menu, entry); });
    EXPECT_TRUE(ran) << menu.toStdString() << " > " << entry.toStdString() << ": "
                     << script.Failure().toStdString();
  }

  std::unique_ptr<CMainFrame> frame_;
};

TEST_F(WorkflowTest, PrepareSaveReopenAndRunA16x2Module) {
  CRadoveDoc& doc = frame_->Document();
  ASSERT_EQ(doc.CurrentDeviceId(), -1) << "a new window starts without a device";
  const QString project = QStringLiteral("工程(&P)");

  // --- 1. the library browser: search, pick the module's row, OK -------------------------
  {
    ModalScript script;
    script.When<CDeviceLibDlg>(QStringLiteral("the library browser"), [](CDeviceLibDlg* dlg) {
      QTest::keyClicks(dlg->SearchEdit(), QStringLiteral("LCM1602"));
      QListWidget* list = dlg->DeviceList();
      QListWidgetItem* row = nullptr;
      for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toInt() == kLcm1602) row = list->item(i);
      }
      ASSERT_NE(row, nullptr) << "the search lists the module";
      list->scrollToItem(row);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
      EXPECT_EQ(dlg->SelectedDeviceId(), kLcm1602);
      EXPECT_FALSE(dlg->DescriptionText()->text().isEmpty()) << "the preview describes the module";
      test::Snapshot(*dlg, QStringLiteral("dialog-library"));
      EXPECT_TRUE(test::ClickButton(dlg, QStringLiteral("确定")));
    });
    ChooseWith(script, project, QStringLiteral("添加器件..."));
  }
  ASSERT_EQ(doc.CurrentDeviceId(), kLcm1602);
  ASSERT_NE(doc.Device(), nullptr);
  EXPECT_EQ(doc.Device()->type_en, "LCM1602");
  ASSERT_NE(doc.Pins(), nullptr);

  // --- 2. the preset editor: import the CSV, then a generated sequence, OK ------------------
  const PresetList imported = ReadPresetCsvFile(kCsv.toStdString());
  ASSERT_FALSE(imported.empty());
  const int importedRows = static_cast<int>(imported.size());
  {
    ModalScript script;
    script
        .When<CDataPreloadDlg>(QStringLiteral("the preset editor"),
                               [](CDataPreloadDlg* dlg) {
                                 EXPECT_EQ(dlg->Model()->rowCount(), 0);
                                 ClickLater(ButtonWithText(dlg, QStringLiteral("导入...")));
                               })
        .When<QFileDialog>(QStringLiteral("the import file dialog"),
                           [](QFileDialog* dlg) { test::AnswerFileDialog(dlg, kCsv); })
        .When<CDataPreloadDlg>(
            QStringLiteral("the preset editor with the imported rows"),
            [](CDataPreloadDlg* dlg) {
              test::Snapshot(*dlg, QStringLiteral("dialog-preset-editor"));
              ClickLater(ButtonWithText(dlg, QStringLiteral("批量插入...")));
            },
            [importedRows](CDataPreloadDlg* dlg) { return dlg->Model()->rowCount() == importedRows; })
        .When<CBulkDataDlg>(QStringLiteral("the bulk generator"),
                            [](CBulkDataDlg* dlg) {
                              QTreeView* view = dlg->Grid()->View();
                              PropertyGridModel* model = dlg->Grid()->Model();
                              auto type = [&](GeneratorProperty p, int value) {
                                EXPECT_TRUE(test::TypeIntoCell(view, model->IndexOf(dlg->Row(p), 1),
                                                               QString::number(value)));
                              };
                              type(GeneratorProperty::kStart, kFirstGenerated);
                              type(GeneratorProperty::kEnd, kFirstGenerated + kGenerated);
                              type(GeneratorProperty::kStepOrCount, 1);
                              ASSERT_TRUE(dlg->isVisible()) << "Enter in the grid does not end the dialog";
                              EXPECT_TRUE(test::ClickButton(dlg, QStringLiteral("预览")));
                              EXPECT_EQ(dlg->Row(GeneratorProperty::kPreview)->value.toString(),
                                        QStringLiteral(" 48 49 50"));
                              test::Snapshot(*dlg, QStringLiteral("dialog-bulk-generator"));
                              EXPECT_TRUE(test::ClickButton(dlg, QStringLiteral("确定")));
                            })
        .When<CDataPreloadDlg>(
            QStringLiteral("the preset editor with the generated rows"),
            [](CDataPreloadDlg* dlg) {
              test::Snapshot(*dlg, QStringLiteral("dialog-preset-editor-generated"));
              EXPECT_TRUE(test::ClickButton(dlg, QStringLiteral("确定")));
            },
            [importedRows](CDataPreloadDlg* dlg) {
              return dlg->Model()->rowCount() == importedRows + kGenerated;
            });
    ChooseWith(script, project, QStringLiteral("预置数据..."));
  }
  PresetList expected = imported;
  for (int i = 0; i < kGenerated; ++i) {
    expected.push_back(MakeDataItem(importedRows + i + 1, true, 0, kFirstGenerated + i));
  }
  ASSERT_NE(doc.Presets(), nullptr);
  EXPECT_EQ(*doc.Presets(), expected);
  EXPECT_EQ(frame_->DataTree()->Model()->ItemCount(), importedRows + kGenerated);
  EXPECT_TRUE(doc.IsModified());

  // --- 3. the pin dialog: tie RS to a board pin, OK -------------------------------------------
  const PinList libraryPins = *doc.Pins();
  int tied = -1;
  for (std::size_t i = 0; i < libraryPins.size(); ++i) {
    if (QString::fromStdString(libraryPins[i].nameEn) == kTiedPin) tied = static_cast<int>(i);
  }
  ASSERT_GE(tied, 0);
  ASSERT_NE(libraryPins[static_cast<std::size_t>(tied)].connection, kBoardPin.toInt());
  {
    ModalScript script;
    script.When<CGpioAssignDlg>(QStringLiteral("the pin dialog"), [tied](CGpioAssignDlg* dlg) {
      const QModelIndex cell = dlg->Model()->index(tied, PinGridModel::kConnection);
      EXPECT_EQ(dlg->Model()->index(tied, PinGridModel::kPinName).data().toString(), kTiedPin);
      EXPECT_TRUE(test::TypeIntoCell(dlg->Grid(), cell, kBoardPin));
      EXPECT_EQ(cell.data().toString(), kBoardPin);
      ASSERT_TRUE(dlg->isVisible()) << "Enter in the grid does not end the dialog";
      test::Snapshot(*dlg, QStringLiteral("dialog-pins"));
      EXPECT_TRUE(test::ClickButton(dlg, QStringLiteral("确定")));
    });
    ChooseWith(script, project, QStringLiteral("引脚设置..."));
  }
  ASSERT_NE(doc.Pins(), nullptr);
  PinList expectedPins = libraryPins;
  expectedPins[static_cast<std::size_t>(tied)].connection = kBoardPin.toInt();
  EXPECT_EQ(*doc.Pins(), expectedPins);

  // --- the settings dialog, looked at and cancelled ---------------------------------------------
  {
    const SimulationSettings before = frame_->View()->Settings();
    ModalScript script;
    script.When<CGeneralSettingDlg>(QStringLiteral("the settings dialog"), [](CGeneralSettingDlg* dlg) {
      test::Snapshot(*dlg, QStringLiteral("dialog-settings"));
      EXPECT_TRUE(test::ClickButton(dlg, QStringLiteral("取消")));
    });
    ChooseWith(script, QStringLiteral("选项(&O)"), QStringLiteral("仿真参数..."));
    EXPECT_EQ(frame_->View()->Settings(), before);
  }

  // --- 4. save with the file dialog, start anew, reopen ---------------------------------------
  const QString file = test::TempDir() + QStringLiteral("/workflow-lcm1602.redu");
  QFile::remove(file);  // a repeated run must not be asked to replace it
  const QString fileMenu = QStringLiteral("文件(&F)");
  {
    ModalScript script;
    script.When<QFileDialog>(QStringLiteral("the save file dialog"),
                             [&file](QFileDialog* dlg) { test::AnswerFileDialog(dlg, file); });
    ChooseWith(script, fileMenu, QStringLiteral("保存(&S)"));
  }
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_FALSE(doc.IsModified());
  {
    ModalScript nothingAsked;
    ChooseWith(nothingAsked, fileMenu, QStringLiteral("新建(&N)"));
  }
  ASSERT_EQ(doc.CurrentDeviceId(), -1);
  EXPECT_EQ(doc.Device(), nullptr);
  EXPECT_EQ(frame_->DataTree()->Model()->ItemCount(), 0);
  {
    ModalScript script;
    script.When<QFileDialog>(QStringLiteral("the open file dialog"),
                             [&file](QFileDialog* dlg) { test::AnswerFileDialog(dlg, file); });
    ChooseWith(script, fileMenu, QStringLiteral("打开(&O)..."));
  }

  // --- 5. the reopened simulation: the list, the pin, and the text when it runs --------------
  ASSERT_EQ(doc.CurrentDeviceId(), kLcm1602);
  ASSERT_NE(doc.Device(), nullptr);
  ASSERT_NE(doc.Presets(), nullptr);
  EXPECT_EQ(*doc.Presets(), expected);
  ASSERT_NE(doc.Pins(), nullptr);
  EXPECT_EQ(*doc.Pins(), expectedPins);
  EXPECT_EQ(frame_->DataTree()->Model()->ItemCount(), importedRows + kGenerated);

  CRadoveView* view = frame_->View();
  const CSurfaceBase& surface = doc.Device()->Surface();
  ASSERT_TRUE(WaitUntil([&] { return !view->Picture().isNull(); }));
  const LitDots stopped = CountLitDots(view->Picture(), surface);
  EXPECT_EQ(stopped.upper + stopped.lower, 0) << "a stopped module shows no dots";

  ASSERT_TRUE(Choose(QStringLiteral("仿真(&S)"), QStringLiteral("运行")));
  const QImage reference = ReferencePicture(expected, view->Settings().Colours(), view->Picture().size());
  ASSERT_FALSE(reference.isNull());
  const bool shown = WaitUntil([&] { return view->Picture() == reference; }, std::chrono::seconds(20));
  const LitDots running = CountLitDots(view->Picture(), surface);
  EXPECT_TRUE(shown) << "the panel shows what the preset list writes; lit dots " << running.upper << " + "
                     << running.lower;
  EXPECT_GT(running.upper, 0) << "line 1 shows text";
  EXPECT_GT(running.lower, 0) << "line 2 shows text";
  if (!qEnvironmentVariableIsEmpty("RADOVE_SCREENSHOT_DIR")) {
    frame_->grab().save(qEnvironmentVariable("RADOVE_SCREENSHOT_DIR") + QStringLiteral("/window-running.png"));
  }
  ASSERT_TRUE(Choose(QStringLiteral("仿真(&S)"), QStringLiteral("停止")));
}

}  // namespace
}  // namespace radove
