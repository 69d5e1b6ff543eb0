#pragma once
// Helpers for driving the tools' dialogs in tests: a QApplication when the
// executable has none yet, and an answerer for the modal boxes and dialogs they open.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace radove::test {

inline void EnsureApplication() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// While it lives, answers every modal widget that comes up: message boxes are
// recorded and closed with OK; other dialogs are handed to `handler`.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::function<void(QWidget*)> handler = {}) : handler_(std::move(handler)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        texts.push_back(box->text());
        captions.push_back(box->windowTitle());
        box->done(QMessageBox::Ok);
      } else if (handler_) {
        handler_(modal);
      }
    });
    timer_.start(5);
  }

  QStringList texts;
  QStringList captions;

 private:
  std::function<void(QWidget*)> handler_;
  QTimer timer_;
};

}  // namespace radove::test
