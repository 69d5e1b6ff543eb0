// The device classes this build contains, by type code. Add one row per device
// class; the catalogue (core/Catalogue.cpp) lists every code whether built or not.

#include <memory>

#include "devices/CDeviceFactory.h"
#include "devices/led/CSimpleLed.h"
#include "devices/led/CTrafficRGYColorA.h"

namespace radove {
namespace {

template <class Device>
std::unique_ptr<CDeviceBase> Build(const DeviceColours& colours) {
  return std::make_unique<Device>(colours);
}

struct Registration {
  int code;
  DeviceBuilder build;
};

const Registration kRegistry[] = {
    {100000, &Build<CSimpleLed>},
    {100090, &Build<CTrafficRGYColorA>},
};

}  // namespace

DeviceBuilder FindDeviceBuilder(int typeCode) {
  for (const Registration& r : kRegistry) {
    if (r.code == typeCode) return r.build;
  }
  return nullptr;
}

}  // namespace radove
