#pragma once
// The QPainter implementation of Canvas and an image render target.

#include <QImage>
#include <QPainter>
#include <memory>

#include "core/Canvas.h"

namespace radove {

QColor ToQColor(Colour c);
Colour FromQColor(const QColor& c);

// Paints in logical canvas units onto any QPaintDevice, mapped with
// setWindow/setViewport so the picture is drawn at the window's resolution.
class QtCanvas : public Canvas {
 public:
  QtCanvas(QPaintDevice* device, int logicalWidth, int logicalHeight, const Viewport& viewport);
  ~QtCanvas() override;

  void SetPen(Colour colour, int width) override;
  void SetBrush(Colour colour) override;
  void SetHollowBrush() override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Polygon(const Point* points, int count) override;
  void FillRect(int left, int top, int right, int bottom, Colour colour) override;
  void FillRoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                     Colour colour) override;
  void DrawImage(const std::uint32_t* pixels, int width, int height, int left, int top, int right,
                 int bottom) override;

  void End();

 private:
  QRectF Inner(int left, int top, int right, int bottom) const;
  QPainter painter_;
  int penWidth_ = 1;
};

// Renders into a QImage of the window's size. The area outside the device's
// viewport keeps the background colour given here.
class ImageTarget : public RenderTarget {
 public:
  ImageTarget(int width, int height, Colour background = 0xFFFFFF);
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  std::unique_ptr<Canvas> BeginCanvas(int logicalWidth, int logicalHeight,
                                      const Viewport& viewport) override;
  void Present(std::unique_ptr<Canvas> canvas) override;
  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }

 private:
  QImage image_;
};

}  // namespace radove
