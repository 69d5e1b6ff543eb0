#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

#include "app/AppIcons.h"
#include "app/CMainFrame.h"
#include "app/RunKeyFilter.h"

namespace {

// RADOVE_SCREENSHOT=FILE saves a picture of the main window after
// RADOVE_SCREENSHOT_DELAY milliseconds (default 2000): for bug reports and for
// checking the window on machines without a screen grabber.
void ScheduleScreenshot(radove::CMainFrame& frame) {
  const QString file = qEnvironmentVariable("RADOVE_SCREENSHOT");
  if (file.isEmpty()) return;
  bool ok = false;
  int delay = qEnvironmentVariableIntValue("RADOVE_SCREENSHOT_DELAY", &ok);
  if (!ok || delay < 0) delay = 2000;
  QTimer::singleShot(delay, &frame, [&frame, file] {
    if (!frame.grab().save(file)) qWarning("cannot save the screenshot to %s", qPrintable(file));
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("radove"));
  QApplication::setApplicationName(QStringLiteral("dediroz"));
  QApplication::setApplicationDisplayName(QStringLiteral("Radove"));
  QApplication::setApplicationVersion(QStringLiteral("1.1"));
  QApplication::setDesktopFileName(QStringLiteral("radove"));
  QApplication::setWindowIcon(radove::ApplicationIcon());
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);

  // Qt's own dialogs (file and colour choosers) in Chinese where the translation is
  // installed.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTranslator);
  }

  radove::RunKeyFilter runKeys;
  app.installEventFilter(&runKeys);

  radove::CMainFrame frame;
  const QStringList args = QApplication::arguments();
  if (args.size() > 1 && !args.at(1).isEmpty()) frame.OpenFile(args.at(1));
  frame.showNormal();
  ScheduleScreenshot(frame);
  return QApplication::exec();
}
