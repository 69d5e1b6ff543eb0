#include "app/AppIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace radove {
namespace {

template <class Paint>
QIcon Draw(std::initializer_list<int> sizes, double logical, Paint paint) {
  QIcon icon;
  for (int size : sizes) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / logical, size / logical);
    paint(p);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

const QColor kInk(0x33, 0x3d, 0x4a);

// A 16x2 character module: blue board, green glass, a few lit cells.
void PaintModule(QPainter& p) {
  QLinearGradient board(0, 8, 0, 56);
  board.setColorAt(0, QColor(0x2e, 0x6b, 0xc4));
  board.setColorAt(1, QColor(0x1c, 0x47, 0x8a));
  p.setPen(QPen(QColor(0x12, 0x2c, 0x57), 2));
  p.setBrush(board);
  p.drawRoundedRect(QRectF(3, 12, 58, 40), 6, 6);
  QLinearGradient glass(0, 19, 0, 45);
  glass.setColorAt(0, QColor(0xc4, 0xe0, 0x62));
  glass.setColorAt(1, QColor(0x95, 0xbf, 0x34));
  p.setPen(QPen(QColor(0x3d, 0x55, 0x17), 1.5));
  p.setBrush(glass);
  p.drawRect(QRectF(9, 19, 46, 26));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x24, 0x33, 0x10));
  // "R" in the first cell, bars after it.
  const char* glyph[7] = {"111.", "1..1", "1..1", "111.", "1.1.", "1..1", "1..1"};
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 4; ++x) {
      if (glyph[y][x] == '1') p.drawRect(QRectF(12 + x * 2.2, 22 + y * 2.2, 1.9, 1.9));
    }
  }
  for (int c = 0; c < 3; ++c) p.drawRect(QRectF(24 + c * 9, 35, 7, 6));
  p.setBrush(QColor(0xd8, 0xb0, 0x40));
  for (int x = 0; x < 8; ++x) p.drawRect(QRectF(14 + x * 5, 6, 2.5, 6));
}

}  // namespace

QIcon ApplicationIcon() { return Draw({16, 24, 32, 48, 64, 128, 256}, 64.0, PaintModule); }

QIcon ToolBarIcon(ToolIcon which) {
  switch (which) {
    case ToolIcon::Copy:
      return Draw({16, 32}, 16.0, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xf4, 0xf4, 0xee));
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
        p.setPen(QPen(QColor(0x2f, 0x6f, 0xc0), 1));
        for (int y = 7; y <= 12; y += 2) p.drawLine(QPointF(8.5, y), QPointF(12.5, y));
      });
    case ToolIcon::Paste:
      return Draw({16, 32}, 16.0, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xc8, 0x96, 0x4a));
        p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
        p.setBrush(QColor(0x90, 0x90, 0x98));
        p.drawRect(QRectF(4.5, 1.5, 4, 3));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 6.5, 8, 8));
      });
    case ToolIcon::AddDevice:
      return Draw({16, 32}, 16.0, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        for (int y = 4; y <= 10; y += 3) {
          p.drawLine(QPointF(0.5, y), QPointF(2.5, y));
          p.drawLine(QPointF(10.5, y), QPointF(12.5, y));
        }
        p.setBrush(QColor(0x50, 0x58, 0x66));
        p.drawRoundedRect(QRectF(2.5, 1.5, 8, 11), 1, 1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2f, 0x9a, 0x3a));
        p.drawEllipse(QRectF(8, 8, 8, 8));
        p.setPen(QPen(Qt::white, 1.5));
        p.drawLine(QPointF(12, 9.8), QPointF(12, 14.2));
        p.drawLine(QPointF(9.8, 12), QPointF(14.2, 12));
      });
    case ToolIcon::PresetData:
      return Draw({16, 32}, 16.0, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(QColor(0xdd, 0xe6, 0xf3));
        p.drawRect(QRectF(1.5, 1.5, 13, 3.5));
        p.drawLine(QPointF(6, 1.5), QPointF(6, 14.5));
        for (double y = 8; y < 14; y += 3) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
      });
  }
  return {};
}

}  // namespace radove
