#include "devices/led/CSimpleLed.h"

namespace radove {

CSimpleLed::CSimpleLed(const DeviceColours& colours) : CDeviceBase(colours) {
  CSimpleLed::Reset();
  surface_.LayoutFrame(geometry_);
  PlaceLamps();
}

void CSimpleLed::Reset() {
  geometry_ = FrameGeometry{500, 500, 20, 20, 20, 20, 20, 20, 20, 20, 10, 10};
  lampOffsetX_ = 55;
  lampOffsetY_ = 55;
  lampCount_ = 1;
  inputMask_ = 1;
  for (Lamp& lamp : lamps_) lamp.lit = false;
}

void CSimpleLed::PlaceLamps() {
  const int step = (surface_.contentRight - surface_.contentLeft) / lampCount_;
  for (int i = 0; i < lampCount_; ++i) {
    const int x = surface_.contentLeft + lampOffsetX_ + i * step;
    const int y = surface_.contentTop + lampOffsetY_;
    Lamp& lamp = lamps_[static_cast<std::size_t>(i)];
    lamp.disc = {x + 50, y + 50, x + 250, y + 250};
    lamp.ring = {x + 30, y + 30, x + 270, y + 270};
    lamp.outline = {x, y, x + 300, y + 300};
  }
}

void CSimpleLed::Render(RenderTarget& target, int mode) { RenderStandard(target, mode); }

void CSimpleLed::DrawContents() {
  Canvas& c = CanvasRef();
  constexpr Colour kBlack = Rgb(0, 0, 0);
  for (const Lamp& lamp : lamps_) {
    if (!lamp.lit) continue;
    // A thick ring, a thin outer circle and a filled disc, all black: the lit lamp
    // does not take its colour from the settings.
    c.SetPen(kBlack, 10);
    c.SetHollowBrush();
    c.Ellipse(lamp.ring.left, lamp.ring.top, lamp.ring.right, lamp.ring.bottom);
    c.SetPen(kBlack, 1);
    c.Ellipse(lamp.outline.left, lamp.outline.top, lamp.outline.right, lamp.outline.bottom);
    c.SetBrush(kBlack);
    c.Ellipse(lamp.disc.left, lamp.disc.top, lamp.disc.right, lamp.disc.bottom);
  }
}

void CSimpleLed::FeedItem(int, std::uint32_t, int, std::int64_t value, int) {
  // Command and data items act alike; only the low 32 bits of the value count.
  PushItem(static_cast<std::int32_t>(value) & inputMask_);
}

bool CSimpleLed::ProcessNextItem(std::int32_t) {
  if (Queue().Empty()) return false;
  CountItem();
  const std::int64_t word = Queue().Pop();
  for (int i = 0; i < lampCount_; ++i) {
    lamps_[static_cast<std::size_t>(i)].lit = (word & inputMask_) != 0;
  }
  return true;
}

}  // namespace radove
