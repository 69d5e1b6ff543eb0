#include "devices/CDeviceFactory.h"

#include <new>

#include "core/Catalogue.h"

namespace radove {

bool IsDeviceBuilt(int typeCode) {
  return FindCatalogueEntry(typeCode) != nullptr && FindDeviceBuilder(typeCode) != nullptr;
}

std::unique_ptr<CDeviceBase> CDeviceFactory::Create(const DeviceColours& colours, int typeCode) {
  lastTypeCode_ = typeCode;
  const DeviceBuilder build = FindCatalogueEntry(typeCode) ? FindDeviceBuilder(typeCode) : nullptr;
  if (!build) {
    lastTypeCode_ = -1;
    return nullptr;
  }
  try {
    return build(colours);
  } catch (const std::bad_alloc&) {
    return nullptr;  // the last code keeps the request
  }
}

}  // namespace radove
