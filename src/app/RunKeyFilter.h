#pragma once
// The run commands use bare keys (Space, Enter, Right, Up). They must not take those
// keys from a widget that uses them itself — an edit field, a grid, a tree, a list,
// a button — so this filter, installed on the application, hands a bare run key to
// the focused widget whenever that widget would use it. The view and the frame's
// own chrome leave the key to the shortcut.

#include <QObject>

class QKeyEvent;
class QWidget;

namespace radove {

class RunKeyFilter : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  static bool IsRunKey(const QKeyEvent& event);
  static bool WidgetKeepsKey(const QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace radove
