#include "core/Records.h"

#include <cinttypes>
#include <cstdio>

namespace radove {

std::string& DataItem::Field(int i) {
  return const_cast<std::string&>(static_cast<const DataItem&>(*this).Field(i));
}

const std::string& DataItem::Field(int i) const {
  switch (i) {
    case 0: return index;
    case 1: return kind;
    case 2: return additional;
    case 3: return value;
    case 4: return valueHex;
    case 5: return remark;
    default: return reserved.at(static_cast<std::size_t>(i - 6));
  }
}

DataItem MakeDataItem(int index, bool isData, std::uint32_t additional, std::int64_t value,
                      const std::string& remark) {
  char buf[32];
  DataItem item;
  item.index = std::to_string(index);
  item.kind = isData ? "1" : "0";
  std::snprintf(buf, sizeof buf, "%X", additional);
  item.additional = buf;
  item.value = std::to_string(value);
  std::snprintf(buf, sizeof buf, "%" PRIX64, static_cast<std::uint64_t>(value));
  item.valueHex = buf;
  item.remark = remark;
  return item;
}

InspectionSnapshot InspectionSnapshot::From(const InspectionRoot& root) {
  InspectionSnapshot s;
  s.model = root.model;
  s.chips.reserve(root.chips.size());
  for (const ChipDescriptor* chip : root.chips) {
    if (chip) s.chips.push_back(*chip);
  }
  return s;
}

}  // namespace radove
