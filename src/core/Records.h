#pragma once
// Records shared by the document, the editors and the devices.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace radove {

// One row of a preset list. The file format fixes ten text fields in this order.
struct DataItem {
  std::string index;       // 1-based row number
  std::string kind;        // "0" command, "1" data
  std::string additional;  // hexadecimal digits
  std::string value;       // signed 64-bit decimal
  std::string valueHex;    // the same value, "%llX"; display only
  std::string remark;
  std::array<std::string, 4> reserved;

  static constexpr int kFieldCount = 10;
  std::string& Field(int i);
  const std::string& Field(int i) const;
  bool operator==(const DataItem&) const = default;
};

using PresetList = std::vector<DataItem>;

// Builds a data item the way the editor does: index, kind "0"/"1", hex additional,
// decimal and "%llX" value.
DataItem MakeDataItem(int index, bool isData, std::uint32_t additional, std::int64_t value,
                      const std::string& remark = {});

// Connection codes of a pin.
constexpr int kPinUnconnected = -1;
constexpr int kPinVcc = -100;
constexpr int kPinGnd = -201;

// One pin of the current device and what it is tied to.
struct PinRecord {
  std::int32_t id = 0;
  std::int32_t tidDeviceLib = 0;
  std::string deviceType;
  std::string deviceName;
  std::string nameCn;
  std::string nameEn;
  std::int32_t ioType = 0;        // 10 input, 11 output, 12 bidirectional
  std::int32_t specialType = 0;
  std::int32_t activeLevel = 0;   // 10 low, 11 high
  std::int32_t outputLevel = 0;   // 10 low, 11 high
  std::int32_t clkTrigger = 0;
  std::int32_t logic = 0;
  std::string info;
  std::string description;
  std::int32_t connection = kPinUnconnected;
  std::int32_t ownNumber = 0;
  std::array<std::int32_t, 6> reservedInts{0, -1, 0, 0, 0, 0};
  std::string reservedText;
  bool operator==(const PinRecord&) const = default;
};

using PinList = std::vector<PinRecord>;

// A device's user properties: key = property id (high 16 bits) + sub-entry.
using PropertySet = std::map<std::uint32_t, std::string>;

namespace property {
constexpr std::uint32_t kValue = 0;
constexpr std::uint32_t kName = 1;
constexpr std::uint32_t kDescription = 2;
constexpr std::uint32_t kType = 3;
constexpr std::uint32_t kFilter = 7;
constexpr std::uint32_t kOptions = 16;
constexpr std::uint32_t IdOf(std::uint32_t key) { return key & 0xFFFF0000u; }
}  // namespace property

// Inspection records: what a chip shows in the register and memory panes.
struct InspectionEntry {
  std::string name;
  std::string value;
  std::string description;
  std::int32_t tag = 0;
  bool operator==(const InspectionEntry&) const = default;
};

struct InspectionGroup {
  std::string name;
  std::vector<InspectionEntry> entries;
  bool operator==(const InspectionGroup&) const = default;
};

// The common head of every chip model. Chip models derive from it and rebuild the
// groups from their own state in their builders.
struct ChipDescriptor {
  std::string name;
  std::vector<InspectionGroup> registers;
  std::vector<InspectionGroup> memory;
  std::string decoded;  // the sentence describing the last executed input word
};

struct InspectionRoot {
  std::string model;
  std::vector<const ChipDescriptor*> chips;  // owned by the device
};

// A copy of an inspection that outlives the device lock (what the view keeps).
struct InspectionSnapshot {
  std::string model;
  std::vector<ChipDescriptor> chips;
  static InspectionSnapshot From(const InspectionRoot& root);
};

}  // namespace radove
