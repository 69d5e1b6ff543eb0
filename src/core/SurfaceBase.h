#pragma once
// A device's drawing frame: canvas size, the rounded module panel, the content
// rectangle and the colours copied from the settings when the device was made.

#include "core/Canvas.h"

namespace radove {

// The five colours every drawing frame copies from the simulation settings.
struct DeviceColours {
  Colour outerStopped = 0xD5D5D5;
  Colour outerActive = 0xF5F5F5;
  Colour panelStopped = 0xFFBF00;
  Colour panelActive = 0xF5BF00;
  Colour pixel = 0x000000;
  bool operator==(const DeviceColours&) const = default;
};

// The inputs of LayoutFrame, kept by each device as its geometry block.
struct FrameGeometry {
  int width = 1000, height = 1000;
  int panelLeft = 10, panelTop = 10, panelRightMargin = 10, panelBottomMargin = 10;
  int insetLeft = 10, insetTop = 10, insetRight = 10, insetBottom = 10;
  int cornerWidth = 10, cornerHeight = 10;
};

enum AspectMode { kAspectWide = 0, kAspectTall = 1, kAspectSquare = 2 };

class CSurfaceBase {
 public:
  CSurfaceBase() = default;
  explicit CSurfaceBase(const DeviceColours& colours);

  void LayoutFrame(const FrameGeometry& g);

  int aspectMode = kAspectSquare;
  int canvasWidth = 1000, canvasHeight = 1000;
  int centreX = 500, centreY = 500;
  int panelLeft = 10, panelTop = 10, panelRight = 990, panelBottom = 990;
  int contentLeft = 20, contentTop = 20, contentRight = 980, contentBottom = 980;
  int cornerWidth = 10, cornerHeight = 10;
  Colour outerColourStopped = 0xD5D5D5;
  Colour outerColourActive = 0xF5F5F5;
  Colour panelColourStopped = 0xFFBF00;
  Colour panelColourActive = 0xF5BF00;
  Colour pixelColour = 0;
  Colour pixelColour2 = 0;
};

// The viewport that fits a canvas of the given aspect mode and size into a window
// of w x h pixels, aspect ratio kept, integer arithmetic truncating toward zero.
// An unknown aspect mode leaves `current` unchanged.
Viewport FitToWindow(int aspectMode, int canvasWidth, int canvasHeight, int w, int h,
                     const Viewport& current);

}  // namespace radove
