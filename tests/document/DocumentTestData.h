#pragma once
// A document that uses every part of the file: a device, preset items with Chinese
// and long remarks, pins, pairs and properties.

#include "document/CRadoveDoc.h"

namespace radove::test {

inline DocumentContents RichContents() {
  DocumentContents c;
  c.librarySelection = {2, 0, 5};
  c.currentDeviceId = 100090;
  c.className = "CTrafficRGYColorA";
  c.classFileName = "交通灯.h";
  c.userCreated = 0;
  PresetList items;
  const char* remarks[] = {"红灯", "绿灯", "黄灯", "", "all, \"quoted\""};
  for (int i = 0; i < 20; ++i) {
    items.push_back(MakeDataItem(i + 1, i % 2 == 1, static_cast<std::uint32_t>(i * 0x11),
                                 (i * 37) % 8 - 2, remarks[i % 5]));
  }
  items[7].remark = std::string(300, 'L');
  items[8].reserved = {"保留", "", "x", std::string(255, 'y')};
  c.presetLists[100090] = items;

  PinList pins;
  const char* names[][2] = {{"红灯", "RED"}, {"绿灯", "GREEN"}, {"黄灯", "YELLOW"}};
  for (int i = 0; i < 3; ++i) {
    PinRecord p;
    p.id = 900 + i;
    p.tidDeviceLib = 100090;
    p.deviceType = "交通灯";
    p.deviceName = "TRAFFIC-RGY";
    p.nameCn = names[i][0];
    p.nameEn = names[i][1];
    p.ioType = 10;
    p.specialType = i;
    p.activeLevel = 11;
    p.outputLevel = 10;
    p.clkTrigger = -7;
    p.logic = 1;
    p.info = "高电平点亮";
    p.description = "lamp " + std::to_string(i);
    p.connection = i == 0 ? kPinVcc : (i == 1 ? kPinGnd : 33);
    p.ownNumber = i + 1;
    pins.push_back(p);
  }
  c.pinLists[100090] = pins;
  c.pairTables[100090] = {{-5, 1}, {0, 0}, {2147483647, -2147483647 - 1}};
  c.propertySets[100090] = {{0x00010000u, "1"}, {0x00010001u, "亮度"}, {0xFFFF0010u, "选项一|选项二"}};
  return c;
}

}  // namespace radove::test
