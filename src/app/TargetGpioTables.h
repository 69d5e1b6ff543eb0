#pragma once
// The target board's GPIO tables that the pin dialog offers as a pin's connection:
// one label per GPIO in the library's order, and the label/number maps with the
// fixed entries "-" (not connected), "VCC" and "GND".

#include <map>
#include <string>
#include <vector>

#include "library/LibraryDb.h"

namespace radove {

struct TargetGpioTables {
  std::vector<std::string> labels;
  std::map<std::string, int> labelToNumber;
  std::map<int, std::string> numberToLabel;
  std::map<int, TargetGpio> records;

  // Fills the tables from the board's rows; no rows leave them empty.
  void Fill(const std::vector<TargetGpio>& rows);
};

}  // namespace radove
