#pragma once

#include <memory>

#include "core/DeviceBase.h"

namespace radove {

class CFactoryBase {
 public:
  virtual ~CFactoryBase() = default;
  // A new device for the type code, or nullptr for a code it cannot build.
  virtual std::unique_ptr<CDeviceBase> Create(const DeviceColours& colours, int typeCode) = 0;
};

}  // namespace radove
