#include "render/QtCanvas.h"

#include <vector>

namespace radove {

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

Colour FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }

QtCanvas::QtCanvas(QPaintDevice* device, int logicalWidth, int logicalHeight,
                   const Viewport& vp)
    : painter_(device) {
  painter_.setWindow(0, 0, logicalWidth, logicalHeight);
  painter_.setViewport(vp.x, vp.y, vp.width, vp.height);
  painter_.setClipRect(0, 0, logicalWidth, logicalHeight);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(Qt::NoBrush);
}

QtCanvas::~QtCanvas() { End(); }

void QtCanvas::End() {
  if (painter_.isActive()) painter_.end();
}

// GDI draws a shape's outline inside its bounding box (left/top inclusive,
// right/bottom exclusive); a Qt pen is centred on the path, so the path is inset
// by half the pen width.
QRectF QtCanvas::Inner(int left, int top, int right, int bottom) const {
  const qreal half = painter_.pen().style() == Qt::NoPen ? 0.0 : penWidth_ / 2.0;
  return QRectF(QPointF(left + half, top + half), QPointF(right - half, bottom - half));
}

void QtCanvas::SetPen(Colour colour, int width) {
  penWidth_ = width;
  if (width <= 0) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  QPen pen(ToQColor(colour));
  pen.setWidth(width);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
}

void QtCanvas::SetBrush(Colour colour) { painter_.setBrush(ToQColor(colour)); }

void QtCanvas::SetHollowBrush() { painter_.setBrush(Qt::NoBrush); }

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.drawRect(Inner(left, top, right, bottom));
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.drawEllipse(Inner(left, top, right, bottom));
}

void QtCanvas::Polygon(const Point* points, int count) {
  if (count <= 0) return;
  std::vector<QPoint> pts;
  pts.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) pts.emplace_back(points[i].x, points[i].y);
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.drawPolygon(pts.data(), count);
}

void QtCanvas::FillRect(int left, int top, int right, int bottom, Colour colour) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.fillRect(QRectF(QPointF(left, top), QPointF(right, bottom)), ToQColor(colour));
}

void QtCanvas::FillRoundRect(int left, int top, int right, int bottom, int cw, int ch,
                             Colour colour) {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQColor(colour));
  // The corner ellipse is cw x ch; Qt takes its radii.
  painter_.drawRoundedRect(QRectF(QPointF(left, top), QPointF(right, bottom)), cw / 2.0, ch / 2.0);
  painter_.restore();
}

void QtCanvas::DrawImage(const std::uint32_t* pixels, int width, int height, int left, int top,
                         int right, int bottom) {
  if (!pixels || width <= 0 || height <= 0) return;
  QImage img(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const std::uint32_t* src = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      const Colour c = src[x];
      line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }
  }
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.drawImage(QRectF(QPointF(left, top), QPointF(right, bottom)), img);
}

ImageTarget::ImageTarget(int width, int height, Colour background)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
  image_.fill(ToQColor(background));
}

std::unique_ptr<Canvas> ImageTarget::BeginCanvas(int logicalWidth, int logicalHeight,
                                                 const Viewport& viewport) {
  return std::make_unique<QtCanvas>(&image_, logicalWidth, logicalHeight, viewport);
}

void ImageTarget::Present(std::unique_ptr<Canvas> canvas) { canvas.reset(); }

}  // namespace radove
