#include "core/SurfaceBase.h"

#include <algorithm>

namespace radove {

CSurfaceBase::CSurfaceBase(const DeviceColours& c)
    : outerColourStopped(c.outerStopped),
      outerColourActive(c.outerActive),
      panelColourStopped(c.panelStopped),
      panelColourActive(c.panelActive),
      pixelColour(c.pixel),
      pixelColour2(c.pixel) {}

void CSurfaceBase::LayoutFrame(const FrameGeometry& g) {
  canvasWidth = g.width;
  canvasHeight = g.height;
  centreX = g.width / 2;
  centreY = g.height / 2;
  panelLeft = g.panelLeft;
  panelTop = g.panelTop;
  panelRight = g.width - g.panelRightMargin;
  panelBottom = g.height - g.panelBottomMargin;
  contentLeft = g.panelLeft + g.insetLeft;
  contentTop = g.panelTop + g.insetTop;
  contentRight = g.width - g.panelRightMargin - g.insetRight;
  contentBottom = g.height - g.panelBottomMargin - g.insetBottom;
  cornerWidth = g.cornerWidth;
  cornerHeight = g.cornerHeight;
  aspectMode = g.width > g.height ? kAspectWide : g.width < g.height ? kAspectTall : kAspectSquare;
}

Viewport FitToWindow(int aspectMode, int W, int H, int w, int h, const Viewport& current) {
  // Wide products in 64 bits: a 4K window times a 76800-unit canvas overflows int.
  const auto scale = [](long long a, long long b, long long c) {
    return c == 0 ? 0 : static_cast<int>(a * b / c);
  };
  switch (aspectMode) {
    case kAspectWide: {
      const int f = scale(w, H, W);
      if (h < f) {
        const int e = scale(h, W, H);
        return {(w - e) / 2, 0, e, h};
      }
      return {0, (h - f) / 2, w, f};
    }
    case kAspectTall: {
      const int f = scale(h, W, H);
      if (w < f) {
        const int e = scale(w, H, W);
        return {0, (h - e) / 2, w, e};
      }
      return {(w - f) / 2, 0, f, h};
    }
    case kAspectSquare: {
      const int m = std::min(w, h);
      return {(w - m) / 2, (h - m) / 2, m, m};
    }
    default:
      return current;
  }
}

}  // namespace radove
