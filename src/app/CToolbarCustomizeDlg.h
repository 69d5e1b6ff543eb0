#pragma once
// "自定义": chooses which buttons the toolbar shows.

#include <QDialog>
#include <QList>

class QAction;
class QListWidget;

namespace radove {

class CToolbarCustomizeDlg : public QDialog {
  Q_OBJECT
 public:
  // all: every button the toolbar can show, in toolbar order; shown: those it shows.
  CToolbarCustomizeDlg(const QList<QAction*>& all, const QList<QAction*>& shown,
                       QWidget* parent = nullptr);
  QList<QAction*> Shown() const;

 private:
  QList<QAction*> all_;
  QListWidget* list_;
};

}  // namespace radove
