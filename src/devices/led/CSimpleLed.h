#pragma once
// One light-emitting diode driven by bit 0 of each item.

#include <array>

#include "core/DeviceBase.h"

namespace radove {

class CSimpleLed : public CDeviceBase {
 public:
  explicit CSimpleLed(const DeviceColours& colours);

  void Render(RenderTarget& target, int mode) override;
  void DrawContents() override;
  bool ProcessNextItem(std::int32_t reserved = 0) override;
  void FeedItem(int kind, std::uint32_t additional, int auxiliary, std::int64_t value,
                int flag) override;
  void Reset() override;

  struct Rect {
    int left, top, right, bottom;
    bool operator==(const Rect&) const = default;
  };
  struct Lamp {
    bool lit = false;
    Rect disc{}, ring{}, outline{};
  };

  bool Lit() const { return lamps_[0].lit; }
  const Lamp& LampAt(int i) const { return lamps_.at(static_cast<std::size_t>(i)); }

 private:
  void PlaceLamps();

  FrameGeometry geometry_;
  int lampOffsetX_ = 55, lampOffsetY_ = 55;
  int lampCount_ = 1;
  int inputMask_ = 1;
  std::array<Lamp, 1> lamps_{};
};

}  // namespace radove
