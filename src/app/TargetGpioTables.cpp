#include "app/TargetGpioTables.h"

#include "core/Records.h"

namespace radove {

void TargetGpioTables::Fill(const std::vector<TargetGpio>& rows) {
  labels.clear();
  labelToNumber.clear();
  numberToLabel.clear();
  records.clear();
  for (const TargetGpio& gpio : rows) {
    const std::string label = std::to_string(gpio.number);
    labels.push_back(label);
    labelToNumber["-"] = kPinUnconnected;
    labelToNumber["VCC"] = kPinVcc;
    labelToNumber["GND"] = kPinGnd;
    labelToNumber[label] = gpio.number;
    numberToLabel[kPinUnconnected] = "-";
    numberToLabel[kPinVcc] = "VCC";
    numberToLabel[kPinGnd] = "GND";
    numberToLabel[gpio.number] = label;
    records[gpio.number] = gpio;
  }
}

}  // namespace radove
