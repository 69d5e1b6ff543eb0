#include "app/RunKeyFilter.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>

namespace radove {

bool RunKeyFilter::IsRunKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
  if (mods != Qt::NoModifier) return false;
  switch (event.key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
    case Qt::Key_Up:
      return true;
    default:
      return false;
  }
}

bool RunKeyFilter::WidgetKeepsKey(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
        qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
        qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
        qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QTabBar*>(w) ||
        qobject_cast<const QAbstractSlider*>(w)) {
      return true;
    }
    if (w->isWindow()) break;
  }
  return false;
}

bool RunKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsRunKey(*key) && WidgetKeepsKey(qobject_cast<QWidget*>(watched))) {
      // Accepting the override sends the key to the widget instead of the shortcut.
      event->accept();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace radove
