#include <QApplication>

#include "app/CMainFrame.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("radove"));
  QApplication::setApplicationName(QStringLiteral("dediroz"));
  radove::CMainFrame frame;
  frame.show();
  return QApplication::exec();
}
