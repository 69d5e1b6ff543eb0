#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "document/CRadoveDoc.h"

namespace radove::test {
namespace {

std::unique_ptr<QTemporaryDir> g_dir;

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_dir = std::make_unique<QTemporaryDir>();
    // The user's own settings and recent files stay untouched.
    qputenv("XDG_CONFIG_HOME", (g_dir->path() + QStringLiteral("/config")).toLocal8Bit());
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("radove"));
    QApplication::setApplicationName(QStringLiteral("dediroz"));
  }
  void TearDown() override {
    app_.reset();
    g_dir.reset();
  }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
  QElapsedTimer clock;
  clock.start();
  while (!pred()) {
    if (clock.elapsed() > timeout.count()) return pred();
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

QString TempDir() { return g_dir->path(); }

QString MakeRedu(const QString& name, int deviceId, const PresetList& items) {
  CRadoveDoc doc;
  doc.ChooseDevice(deviceId);
  doc.SetPresets(items);
  const QString path = TempDir() + QLatin1Char('/') + name;
  doc.Save(path.toStdString());
  return path;
}

PresetList Items(std::initializer_list<std::pair<bool, int>> items) {
  PresetList list;
  int index = 1;
  for (const auto& [isData, value] : items) list.push_back(MakeDataItem(index++, isData, 0, value));
  return list;
}

QString AnswerNextModal(const std::function<void()>& action, const QString& button) {
  QString text;
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [&text, timer, button] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      text = box->text();
      QAbstractButton* target = box->defaultButton();
      for (QAbstractButton* b : box->buttons()) {
        if (!button.isEmpty() && b->text() == button) target = b;
      }
      if (target) {
        target->click();
      } else {
        box->close();
      }
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      text = dialog->windowTitle();
      dialog->reject();
    }
    timer->stop();
  });
  timer->start();
  action();
  WaitUntil([timer] { return !timer->isActive(); }, std::chrono::milliseconds(2000));
  timer->stop();
  timer->deleteLater();
  return text;
}

}  // namespace radove::test
