#include "app/CMainFrame.h"

#include <QLabel>

namespace radove {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("新的仿真 - Radove"));
  auto* placeholder = new QLabel(QStringLiteral("Radove"), this);
  placeholder->setAlignment(Qt::AlignCenter);
  setCentralWidget(placeholder);
  resize(1024, 720);
}

}  // namespace radove
