#include "devices/led/CTrafficRGYColorA.h"

namespace radove {

CTrafficRGYColorA::CTrafficRGYColorA(const DeviceColours& colours) : CDeviceBase(colours) {
  CTrafficRGYColorA::Reset();
  surface_.LayoutFrame(geometry_);
}

void CTrafficRGYColorA::Reset() {
  geometry_ = FrameGeometry{1500, 500, 20, 20, 20, 20, 20, 20, 20, 20, 10, 10};
  lampX_ = 40;
  lampY_ = 20;
  lampInset_ = 50;
  lampCount_ = 3;
  redMask_ = 4;
  greenMask_ = 2;
  yellowMask_ = 1;
  redLit_ = greenLit_ = yellowLit_ = false;
}

// The lamps show while stopped too, dark when unlit.
void CTrafficRGYColorA::Render(RenderTarget& target, int mode) { RenderAlways(target, mode); }

void CTrafficRGYColorA::DrawContents() {
  Canvas& c = CanvasRef();
  const int x0 = lampX_, y0 = lampY_, d = lampInset_;
  const int b = (surface_.contentRight - surface_.contentLeft) / lampCount_;
  c.SetPen(surface_.pixelColour2, 20);
  // Left to right: green, yellow, red.
  const struct {
    bool lit;
    Colour colour;
  } lamps[3] = {{greenLit_, kGreen}, {yellowLit_, kYellow}, {redLit_, kRed}};
  for (int i = 0; i < 3; ++i) {
    c.SetBrush(lamps[i].lit ? lamps[i].colour : kDark);
    c.Ellipse(x0 + i * b + d, y0 + d, x0 + (i + 1) * b - d, y0 + b - d);
  }
}

void CTrafficRGYColorA::FeedItem(int, std::uint32_t, int, std::int64_t value, int) {
  PushItem(static_cast<std::int32_t>(value) & 7);
}

bool CTrafficRGYColorA::ProcessNextItem(std::int32_t) {
  if (Queue().Empty()) return false;
  CountItem();
  const std::int64_t word = Queue().Pop();
  redLit_ = (word & redMask_) != 0;
  greenLit_ = (word & greenMask_) != 0;
  yellowLit_ = (word & yellowMask_) != 0;
  return true;
}

}  // namespace radove
