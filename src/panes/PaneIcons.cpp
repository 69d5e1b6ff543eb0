#include "panes/PaneIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace radove {
namespace {

using Painter = void (*)(QPainter&);

QIcon Draw(Painter paint) {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 16.0, size / 16.0);
    paint(p);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

const QColor kInk(0x33, 0x44, 0x55);
const QColor kBlue(0x2f, 0x6f, 0xc0);
const QColor kGreen(0x3a, 0x9a, 0x4a);
const QColor kOrange(0xd9, 0x7a, 0x1c);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kPurple(0x7d, 0x4c, 0xb0);
const QColor kPaper(0xfa, 0xfa, 0xf4);
const QColor kLcd(0x9c, 0xc4, 0x3c);

void Page(QPainter& p, const QColor& accent) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(2.5, 1.5, 11, 13));
  p.setPen(QPen(accent, 1.2));
  for (int y = 5; y <= 11; y += 3) p.drawLine(QPointF(5, y), QPointF(11, y));
}

void Lcd(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0x30, 0x60, 0xa0));
  p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 1.5, 1.5);
  p.setBrush(kLcd);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(2.5, 5.5, 11, 5));
  p.setBrush(kInk);
  for (int x = 3; x < 13; x += 2) p.drawRect(QRectF(x + 0.2, 6.3, 1.2, 1.4));
}

void Chip(QPainter& p, const QColor& body) {
  p.setPen(QPen(kInk, 1));
  for (int y = 4; y <= 12; y += 3) {
    p.drawLine(QPointF(1, y), QPointF(3.5, y));
    p.drawLine(QPointF(12.5, y), QPointF(15, y));
  }
  p.setBrush(body);
  p.drawRoundedRect(QRectF(3.5, 2.5, 9, 11), 1, 1);
}

void Pin(QPainter& p, const QColor& c, int direction) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(c);
  p.drawEllipse(QRectF(1.5, 5.5, 5, 5));
  p.setPen(QPen(c.darker(130), 1.6));
  p.drawLine(QPointF(7, 8), QPointF(14, 8));
  QPainterPath arrow;
  if (direction > 0) {  // out of the device
    arrow.moveTo(15, 8);
    arrow.lineTo(11.5, 5);
    arrow.lineTo(11.5, 11);
  } else if (direction < 0) {  // into the device
    arrow.moveTo(7, 8);
    arrow.lineTo(10.5, 5);
    arrow.lineTo(10.5, 11);
  }
  if (!arrow.isEmpty()) {
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c.darker(130));
    p.drawPath(arrow);
  }
}

void Letter(QPainter& p, const QColor& c, const QString& text) {
  p.setPen(QPen(c.darker(140), 1));
  p.setBrush(c.lighter(170));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
  QFont f;
  f.setPixelSize(text.size() > 1 ? 7 : 10);
  f.setBold(true);
  p.setFont(f);
  p.setPen(c.darker(160));
  p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
}

QIcon Make(PaneIcon which) {
  switch (which) {
    case PaneIcon::DataTree:
      return Draw([](QPainter& p) { Page(p, kBlue); });
    case PaneIcon::PinTree:
      return Draw([](QPainter& p) { Chip(p, QColor(0x55, 0x55, 0x60)); });
    case PaneIcon::Output:
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0x20, 0x24, 0x28));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setPen(QPen(QColor(0x7f, 0xe0, 0x7f), 1.2));
        p.drawLine(QPointF(3.5, 6), QPointF(5.5, 7.5));
        p.drawLine(QPointF(5.5, 7.5), QPointF(3.5, 9));
        p.drawLine(QPointF(7, 10), QPointF(11, 10));
      });
    case PaneIcon::Properties:
      return Draw([](QPainter& p) {
        Page(p, kGreen);
        p.setPen(Qt::NoPen);
        p.setBrush(kOrange);
        p.drawEllipse(QRectF(9, 9, 6, 6));
      });
    case PaneIcon::Registers:
      return Draw([](QPainter& p) { Chip(p, kBlue); });
    case PaneIcon::Memory:
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kGreen);
        p.drawRect(QRectF(1.5, 4.5, 13, 7));
        p.setBrush(QColor(0x22, 0x22, 0x22));
        for (int x = 3; x < 14; x += 3) p.drawRect(QRectF(x, 6.5, 1.8, 3));
        p.setPen(QPen(QColor(0xc8, 0xa0, 0x30), 1));
        for (int x = 3; x < 14; x += 2) p.drawLine(QPointF(x, 11.5), QPointF(x, 14));
      });
    case PaneIcon::ExpandAll:
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 6, 6));
        p.drawLine(QPointF(3, 4.5), QPointF(6, 4.5));
        p.drawLine(QPointF(4.5, 3), QPointF(4.5, 6));
        p.setPen(QPen(kBlue, 1.2));
        p.drawLine(QPointF(4.5, 8), QPointF(4.5, 13.5));
        p.drawLine(QPointF(4.5, 10.5), QPointF(14, 10.5));
        p.drawLine(QPointF(4.5, 13.5), QPointF(14, 13.5));
        p.drawLine(QPointF(9, 4.5), QPointF(14, 4.5));
      });
    case PaneIcon::SortAlphabetic:
      return Draw([](QPainter& p) {
        QFont f;
        f.setPixelSize(7);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kBlue);
        p.drawText(QRectF(0, 0, 9, 8), Qt::AlignCenter, QStringLiteral("A"));
        p.drawText(QRectF(0, 8, 9, 8), Qt::AlignCenter, QStringLiteral("Z"));
        p.setPen(QPen(kInk, 1.2));
        p.drawLine(QPointF(12, 2), QPointF(12, 14));
        p.drawLine(QPointF(12, 14), QPointF(9.5, 11));
        p.drawLine(QPointF(12, 14), QPointF(14.5, 11));
      });
    case PaneIcon::PropertyPages:
      return Draw([](QPainter& p) {
        Page(p, kPurple);
      });
    case PaneIcon::PropertyList:
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        for (int y = 3; y <= 13; y += 5) {
          p.setBrush(kOrange);
          p.drawRect(QRectF(1.5, y - 1.5, 3, 3));
          p.drawLine(QPointF(6.5, y), QPointF(14.5, y));
        }
      });
  }
  return {};
}

QIcon MakeDataTree(int index) {
  switch (index) {
    case 0:
      return Draw([](QPainter& p) { Page(p, kBlue); });
    case 1:
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue.lighter(160));
        p.drawRect(QRectF(2.5, 3.5, 11, 9));
        p.setBrush(kBlue);
        p.drawRect(QRectF(2.5, 3.5, 11, 3));
      });
    case 3:
      return Draw([](QPainter& p) { Letter(p, kPurple, QStringLiteral("T")); });
    case 4:
      return Draw([](QPainter& p) { Letter(p, kOrange, QStringLiteral("+")); });
    case 5:
      return Draw([](QPainter& p) { Letter(p, kGreen, QStringLiteral("#")); });
    case 6:
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xff, 0xf1, 0x9a));
        QPainterPath note;
        note.moveTo(2.5, 2.5);
        note.lineTo(13.5, 2.5);
        note.lineTo(13.5, 10.5);
        note.lineTo(10.5, 13.5);
        note.lineTo(2.5, 13.5);
        note.closeSubpath();
        p.drawPath(note);
        p.drawLine(QPointF(4.5, 6), QPointF(11, 6));
        p.drawLine(QPointF(4.5, 9), QPointF(9, 9));
      });
    default:
      return Draw([](QPainter& p) { Letter(p, kInk, QStringLiteral("?")); });
  }
}

QIcon MakePinTree(int index) {
  switch (index) {
    case 0:
      return Draw(&Lcd);
    case 2:
      return Draw([](QPainter& p) { Pin(p, kGreen, -1); });
    case 3:
      return Draw([](QPainter& p) { Pin(p, kRed, 1); });
    case 4:
      return Draw([](QPainter& p) {
        Pin(p, kBlue, 1);
        QPainterPath back;
        back.moveTo(7, 8);
        back.lineTo(10.5, 5);
        back.lineTo(10.5, 11);
        back.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue.darker(130));
        p.drawPath(back);
      });
    default:
      return Draw([](QPainter& p) { Pin(p, QColor(0x90, 0x90, 0x90), 0); });
  }
}

}  // namespace

QIcon PaneIconFor(PaneIcon which) { return Make(which); }

QIcon DataTreeIcon(int index) { return MakeDataTree(index); }

QIcon PinTreeIcon(int index) { return MakePinTree(index); }

}  // namespace radove
