// The device classes this build contains, by type code. Add one row per device
// class; the catalogue (core/Catalogue.cpp) lists every code whether built or not.

#include <memory>

#include "devices/CDeviceFactory.h"
#include "devices/character/CHD44780UModule.h"
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
    {700000, &Build<CLCM1601HD44780U>},
    {700001, &Build<CLCM1602HD44780U>},
    {700002, &Build<CLCM2002HD44780U>},
    {700003, &Build<CLCM3202HD44780U>},
    {700004, &Build<CLCM4002HD44780U>},
    {700005, &Build<CLCM1604HD44780U>},
    {700006, &Build<CLCM2004HD44780U>},
    {700010, &Build<CLCM1601HD44780UUART>},
    {700020, &Build<CLCM1602HD44780UUART>},
    {700030, &Build<CLCM2002HD44780UUART>},
    {700040, &Build<CLCM3202HD44780UUART>},
    {700050, &Build<CLCM4002HD44780UUART>},
    {700060, &Build<CLCM1604HD44780UUART>},
    {700070, &Build<CLCM2004HD44780UUART>},
};

}  // namespace

DeviceBuilder FindDeviceBuilder(int typeCode) {
  for (const Registration& r : kRegistry) {
    if (r.code == typeCode) return r.build;
  }
  return nullptr;
}

}  // namespace radove
