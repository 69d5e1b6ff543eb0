#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
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

QAction* MenuEntry(QMainWindow& window, const QString& menu, const QString& entry) {
  for (QAction* top : window.menuBar()->actions()) {
    if (top->text() != menu || !top->menu()) continue;
    for (QAction* a : top->menu()->actions()) {
      if (!a->isSeparator() && a->text() == entry) return a;
    }
  }
  return nullptr;
}

QAbstractButton* ButtonWithText(QWidget* dialog, const QString& text) {
  if (!dialog) return nullptr;
  for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
    if (b->text() == text) return b;
  }
  return nullptr;
}

bool ClickButton(QWidget* dialog, const QString& text) {
  QAbstractButton* button = ButtonWithText(dialog, text);
  if (!button || !button->isEnabled() || !button->isVisible()) return false;
  QTest::mouseClick(button, Qt::LeftButton);
  return true;
}

void ClickLater(QAbstractButton* button) {
  if (!button) return;
  QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

void AnswerFileDialog(QFileDialog* dialog, const QString& path) {
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  auto* box = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  if (!name || !box) return;
  // Pasted rather than typed: typing lets the name field's completer pop up its
  // list and, now and then, take the keys and rewrite the text.
  name->setFocus();
  name->setText(path);
  QPushButton* accept = box->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                                     : QDialogButtonBox::Open);
  if (accept) QTest::mouseClick(accept, Qt::LeftButton);
}

bool TypeIntoCell(QAbstractItemView* view, const QModelIndex& index, const QString& text) {
  // Keys reach the focus widget of the active window only.
  QWidget* window = view->window();
  if (!window->isActiveWindow()) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window, 2000)) return false;
  }
  view->scrollTo(index);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
  QTest::keyClick(view, Qt::Key_F2);
  QWidget* editor = view->indexWidget(index);
  if (!editor) return false;
  // Keys go where the focus is: the editor, or the edit field inside a combo box.
  QWidget* target = QApplication::focusWidget();
  if (!target || (target != editor && !editor->isAncestorOf(target))) {
    auto* combo = qobject_cast<QComboBox*>(editor);
    target = combo && combo->lineEdit() ? combo->lineEdit() : editor;
  }
  QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(target, text);
  QTest::keyClick(target, Qt::Key_Return);
  // The delegate commits a confirmed edit from the event loop.
  QApplication::processEvents();
  return true;
}

// --- ModalScript --------------------------------------------------------------------------

namespace {

QString Describe(QWidget* w) {
  if (!w) return QStringLiteral("none");
  QString d = QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(" \"") + w->windowTitle() +
              QLatin1Char('"');
  if (auto* box = qobject_cast<QMessageBox*>(w)) d += QStringLiteral(" saying \"") + box->text() + QLatin1Char('"');
  return d;
}

void Close(QWidget* w) {
  if (auto* dialog = qobject_cast<QDialog*>(w)) {
    dialog->reject();
  } else {
    w->close();
  }
}

}  // namespace

ModalScript::ModalScript(std::chrono::milliseconds stepTimeout) : stepTimeout_(stepTimeout) {
  timer_.setInterval(10);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
}

ModalScript::~ModalScript() { timer_.stop(); }

void ModalScript::Fail(const QString& why) {
  if (failure_.isEmpty()) failure_ = why;
}

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!failure_.isEmpty()) {
    if (modal) Close(modal);
    return;
  }
  const bool stepsLeft = next_ < steps_.size();
  const QString waitingFor = acting_ ? QStringLiteral("the end of the step on %1").arg(steps_[next_ - 1].what)
                             : stepsLeft ? steps_[next_].what
                                         : QString();
  if (stepsLeft && !acting_ && modal && steps_[next_].matches(modal)) {
    // The step runs from the event loop, not from this timer: a dialog it opens
    // by mistake then still gets a poll (timers do not fire inside themselves).
    const Step& step = steps_[next_++];
    handled_.emplace_back(modal);
    acting_ = true;
    stepStart_ = std::chrono::steady_clock::now();
    QPointer<QWidget> target(modal);
    QMetaObject::invokeMethod(
        &timer_,
        [this, &step, target] {
          if (target) step.act(target);
          acting_ = false;
          stepStart_ = std::chrono::steady_clock::now();
        },
        Qt::QueuedConnection);
    return;
  }
  const bool known =
      modal && std::any_of(handled_.begin(), handled_.end(), [modal](const QPointer<QWidget>& h) { return h == modal; });
  const bool late = std::chrono::steady_clock::now() - stepStart_ > stepTimeout_;
  if (modal && !known && (qobject_cast<QMessageBox*>(modal) || !stepsLeft || acting_)) {
    Fail(QStringLiteral("waiting for %1, got %2").arg(waitingFor.isEmpty() ? QStringLiteral("nothing") : waitingFor,
                                                       Describe(modal)));
  } else if ((stepsLeft || acting_) && late) {
    Fail(QStringLiteral("waited in vain for %1; the active modal widget is %2").arg(waitingFor, Describe(modal)));
  } else if (modal && late) {
    Fail(QStringLiteral("the steps are done, but %1 stays open").arg(Describe(modal)));
  }
  if (!failure_.isEmpty() && modal) Close(modal);
}

bool ModalScript::Run(const std::function<void()>& action) {
  stepStart_ = std::chrono::steady_clock::now();
  timer_.start();
  action();
  // Steps may still be due when the action came back (a dialog opened later).
  WaitUntil([this] { return (next_ == steps_.size() && !acting_) || !failure_.isEmpty(); },
            stepTimeout_ * static_cast<int>(steps_.size() - next_ + 1));
  QApplication::processEvents();
  timer_.stop();
  if (failure_.isEmpty() && next_ < steps_.size()) {
    Fail(QStringLiteral("%1 did not come").arg(steps_[next_].what));
  }
  return failure_.isEmpty();
}

}  // namespace radove::test
