#pragma once
// The drawing surface devices paint into, in logical canvas units.
// Colours are 0x00BBGGRR (red in the low byte), as stored in the settings.
// Rectangles follow the classic raster convention: (left, top) is inside,
// (right, bottom) is just outside.

#include <cstdint>
#include <memory>

namespace radove {

using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Point {
  int x = 0;
  int y = 0;
};

// Where the logical canvas lands in the target window, in window pixels.
struct Viewport {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Viewport&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Outline pen for Rectangle/Ellipse/Polygon; width 0 means no outline.
  virtual void SetPen(Colour colour, int width) = 0;
  // Fill for Rectangle/Ellipse/Polygon.
  virtual void SetBrush(Colour colour) = 0;
  virtual void SetHollowBrush() = 0;

  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void Polygon(const Point* points, int count) = 0;
  // Filled without outline, ignoring the current pen and brush.
  virtual void FillRect(int left, int top, int right, int bottom, Colour colour) = 0;
  virtual void FillRoundRect(int left, int top, int right, int bottom, int cornerWidth,
                             int cornerHeight, Colour colour) = 0;
  // A width x height block of 0x00BBGGRR pixels stretched into the rectangle.
  virtual void DrawImage(const std::uint32_t* pixels, int width, int height, int left, int top,
                         int right, int bottom) = 0;
};

// What a device renders to: a window of some pixel size that can hand out a canvas
// of the device's logical size mapped onto a viewport, and take it back.
class RenderTarget {
 public:
  virtual ~RenderTarget() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual std::unique_ptr<Canvas> BeginCanvas(int logicalWidth, int logicalHeight,
                                              const Viewport& viewport) = 0;
  virtual void Present(std::unique_ptr<Canvas> canvas) = 0;
};

}  // namespace radove
