#pragma once
// Turns a catalogue type code into a new device model. Lives with the devices
// because it is the one place that knows every device class.

#include "core/FactoryBase.h"

namespace radove {

using DeviceBuilder = std::unique_ptr<CDeviceBase> (*)(const DeviceColours&);

// The builder of a device class that exists in this build; nullptr otherwise.
DeviceBuilder FindDeviceBuilder(int typeCode);
bool IsDeviceBuilt(int typeCode);

class CDeviceFactory : public CFactoryBase {
 public:
  // Returns nullptr and sets the last code to -1 for an unknown code or one whose
  // device is not built; the caller owns what it gets.
  std::unique_ptr<CDeviceBase> Create(const DeviceColours& colours, int typeCode) override;
  int LastTypeCode() const { return lastTypeCode_; }

 private:
  int lastTypeCode_ = -1;
};

}  // namespace radove
