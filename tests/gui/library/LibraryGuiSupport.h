#pragma once
// Helpers for the library dialogs' tests: a picture of a widget as it is drawn,
// kept as a PNG when RADOVE_SCREENSHOT_DIR names a folder (for looking at the
// dialogs by eye), and a real PNG for the browser's preview.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>
#include <filesystem>

namespace radove::test {

// Shows and lays out the widget, then draws it into an image.
inline QImage Snapshot(QWidget& widget, const QString& name) {
  widget.show();
  widget.activateWindow();
  QApplication::processEvents();
  const QImage image = widget.grab().toImage();
  const QString dir = qEnvironmentVariable("RADOVE_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    QDir().mkpath(dir);
    image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
  }
  return image;
}

// A 250 x 135 preview picture: opaque red with a fully transparent left half.
inline void WritePreviewPng(const std::filesystem::path& file) {
  QImage image(250, 135, QImage::Format_ARGB32);
  image.fill(QColor(255, 0, 0));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width() / 2; ++x) image.setPixelColor(x, y, QColor(0, 0, 0, 0));
  }
  image.save(QString::fromStdString(file.string()), "PNG");
}

}  // namespace radove::test
