#pragma once
// The output pane ("输出"): three lists under the tabs "状态", "交互" and "信息".
// The first takes the user's operations, the second the interface data, the third
// the decoded sentence of every single-stepped item.

#include <QWidget>

class QListWidget;
class QTabWidget;

namespace radove {

class COutputWnd : public QWidget {
  Q_OBJECT
 public:
  explicit COutputWnd(QWidget* parent = nullptr);

  // category 0, 1, 2: list 1, 2, 3. Lines added to list 3 scroll into view.
  void AppendOutput(int category, const QString& text);
  // which 1, 2, 3: empty that list and put its header back; 0: all three.
  void ClearOutput(int which);

  QListWidget* List(int index) const;  // 0..2
  QTabWidget* Tabs() const { return tabs_; }
  QStringList Lines(int index) const;

 signals:
  void HideRequested();

 private:
  void ShowContextMenu(QListWidget* list, const QPoint& pos);
  void CopyLines(QListWidget* list);

  QTabWidget* tabs_;
  QListWidget* lists_[3];
};

}  // namespace radove
