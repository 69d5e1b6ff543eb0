#pragma once

#include <QMainWindow>

namespace radove {

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(QWidget* parent = nullptr);
};

}  // namespace radove
