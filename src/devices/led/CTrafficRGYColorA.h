#pragma once
// A three-lamp traffic light: green, yellow and red, lit by bits 1, 0 and 2.

#include "core/DeviceBase.h"

namespace radove {

class CTrafficRGYColorA : public CDeviceBase {
 public:
  explicit CTrafficRGYColorA(const DeviceColours& colours);

  void Render(RenderTarget& target, int mode) override;
  void DrawContents() override;
  bool ProcessNextItem(std::int32_t reserved = 0) override;
  void FeedItem(int kind, std::uint32_t additional, int auxiliary, std::int64_t value,
                int flag) override;
  void Reset() override;

  bool RedLit() const { return redLit_; }
  bool GreenLit() const { return greenLit_; }
  bool YellowLit() const { return yellowLit_; }

  static constexpr Colour kDark = Rgb(41, 36, 33);
  static constexpr Colour kRed = Rgb(255, 0, 0);
  static constexpr Colour kGreen = Rgb(0, 255, 0);
  static constexpr Colour kYellow = Rgb(255, 215, 0);

 private:
  FrameGeometry geometry_;
  int lampX_ = 40, lampY_ = 20;  // absolute origin of the first lamp cell
  int lampInset_ = 50;
  int lampCount_ = 3;
  int redMask_ = 4, greenMask_ = 2, yellowMask_ = 1;
  bool redLit_ = false, greenLit_ = false, yellowLit_ = false;
};

}  // namespace radove
