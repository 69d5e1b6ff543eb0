#pragma once
// What the GUI tests share: one QApplication for the whole executable (offscreen,
// with its settings in a private folder), waiting for the event loop, simulations
// made through the document API, and driving menus, dialogs and grid cells the way
// a user does.

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "core/Records.h"

class QAbstractButton;
class QAbstractItemView;
class QAction;
class QFileDialog;
class QMainWindow;
class QModelIndex;

namespace radove::test {

// Processes events until pred() holds or the time is up; returns pred().
bool WaitUntil(const std::function<bool()>& pred,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// A folder removed when the test executable ends.
QString TempDir();

// Saves a simulation of the device with the preset list as a .redu file in the
// temporary folder and returns its path.
QString MakeRedu(const QString& name, int deviceId, const PresetList& items);

// A preset list from (isData, value) pairs, numbered from 1.
PresetList Items(std::initializer_list<std::pair<bool, int>> items);

// Runs action; while it runs, the first modal dialog or message box that opens is
// closed with its default button and its text is returned.
QString AnswerNextModal(const std::function<void()>& action, const QString& button = {});

// --- driving the window as a user does ------------------------------------------------

// The entry of a menu-bar menu, both named by the texts shown (mnemonics included);
// nullptr when there is none.
QAction* MenuEntry(QMainWindow& window, const QString& menu, const QString& entry);

// The push button of the dialog that shows this text, or nullptr.
QAbstractButton* ButtonWithText(QWidget* dialog, const QString& text);

// Clicks the dialog's button with this text with the mouse; false when there is no
// such button or it is disabled.
bool ClickButton(QWidget* dialog, const QString& text);

// Clicks the button with the mouse once control is back in the event loop. For
// buttons that open a modal dialog: its event loop would otherwise run inside the
// caller, and a ModalScript step must not block.
void ClickLater(QAbstractButton* button);

// Types the path into the file dialog's name field and presses its Open or Save button.
void AnswerFileDialog(QFileDialog* dialog, const QString& path);

// Edits a cell as a user does: a click selects it, F2 opens its editor, the text is
// typed over the old one and Enter confirms it. False when the window could not be
// made active or no editor opened.
bool TypeIntoCell(QAbstractItemView* view, const QModelIndex& index, const QString& text);

// Drives the modal dialogs that one action opens, one step per dialog, in order.
// A step waits until the active modal widget is of its type and ready, then acts on
// it. A step that is not reached in time, or a message box no step expects, is a
// failure: from then on every modal widget is closed, so the action returns.
class ModalScript {
 public:
  explicit ModalScript(std::chrono::milliseconds stepTimeout = std::chrono::seconds(10));
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  // act must not block: a click that opens another modal widget goes through
  // ClickLater (as the act's last call); accepting or rejecting a dialog directly
  // is fine.
  template <class T>
  ModalScript& When(const QString& what, std::function<void(T*)> act, std::function<bool(T*)> ready = {}) {
    steps_.push_back(Step{what,
                          [ready](QWidget* w) {
                            auto* t = qobject_cast<T*>(w);
                            return t != nullptr && (!ready || ready(t));
                          },
                          [act](QWidget* w) { act(qobject_cast<T*>(w)); }});
    return *this;
  }

  // Runs the action (which opens the first modal widget) and waits for the steps;
  // true when every step ran and nothing unexpected came up.
  bool Run(const std::function<void()>& action);
  // What went wrong, for the test's message.
  const QString& Failure() const { return failure_; }

 private:
  struct Step {
    QString what;
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> act;
  };
  void Poll();
  void Fail(const QString& why);

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool acting_ = false;  // a step's act is due or running
  std::chrono::milliseconds stepTimeout_;
  std::chrono::steady_clock::time_point stepStart_;
  std::vector<QPointer<QWidget>> handled_;
  QString failure_;
  QTimer timer_;
};

}  // namespace radove::test
