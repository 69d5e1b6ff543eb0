#include "tools/BulkGenerator.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <limits>

namespace radove {
namespace {

constexpr const char* kOutOfRange = "您输入的数据已经超出范围!";
constexpr const char* kNotNonNegative = "您输入的数据不符合要求，必须是不小于0的整数";
constexpr const char* kNotAccepted = "您输入的数据不符合要求";

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// 74LS47 outputs for the inputs 0..15 (active low, segment a in bit 0).
constexpr std::uint8_t kSegmentCodes[16] = {0x40, 0x79, 0x24, 0x30, 0x19, 0x12, 0x03, 0x78,
                                            0x00, 0x18, 0x27, 0x33, 0x1D, 0x16, 0x07, 0x7F};

bool InRange(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

bool IsListCode(GeneratorProperty property, std::int64_t v) {
  switch (property) {
    case GeneratorProperty::kInsertType: return InRange(v, 1, 3);
    case GeneratorProperty::kCodeType: return v == 1 || v == 2 || v == 10 || v == 11;
    case GeneratorProperty::kReverse:
    case GeneratorProperty::kInvert:
    case GeneratorProperty::kLengthBasis: return v == 1 || v == 2;
    case GeneratorProperty::kSequenceType: return v == 2 || v == 4;
    default: return false;
  }
}

// Emits one value of a sequence: code, invert, mask to the valid bits.
std::int64_t Finish(const GeneratorParameters& p, std::int64_t v) {
  std::uint64_t c = CodeOf(p.codeType, static_cast<std::uint64_t>(v));
  if (p.invert == kChoiceYes) c ^= 0x7FFFFFFFFFFFFFFFull;
  const int bits = std::clamp(p.validBits, 1, 63);
  c &= (std::uint64_t{1} << bits) - 1;
  return static_cast<std::int64_t>(c);
}

std::int32_t Low32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

}  // namespace

std::string RefusalFor(GeneratorProperty property, std::int64_t value) {
  switch (property) {
    case GeneratorProperty::kValidBits:
      return InRange(value, 1, 63) ? "" : kOutOfRange;
    case GeneratorProperty::kStart:
    case GeneratorProperty::kEnd:
      if (value < 0) return kNotNonNegative;
      return value > kInt32Max ? kOutOfRange : "";
    case GeneratorProperty::kStepOrCount:
      if (value == 0) return kNotAccepted;
      return InRange(value, kInt32Min, kInt32Max) ? "" : kOutOfRange;
    case GeneratorProperty::kCommandsPerPacket:
    case GeneratorProperty::kDataPerPacket:
      return InRange(value, 1, 100) ? "" : kOutOfRange;
    case GeneratorProperty::kPacketRepetitions:
      return InRange(value, 0, 100) ? "" : kOutOfRange;
    case GeneratorProperty::kPreview:
      return "";
    default:
      return IsListCode(property, value) ? "" : kNotAccepted;
  }
}

bool SetProperty(GeneratorParameters& p, GeneratorProperty property, std::int64_t value) {
  if (property == GeneratorProperty::kPreview || !RefusalFor(property, value).empty()) return false;
  const int v32 = static_cast<int>(value);
  switch (property) {
    case GeneratorProperty::kValidBits: p.validBits = v32; break;
    case GeneratorProperty::kInsertType: p.insertType = v32; break;
    case GeneratorProperty::kCodeType: p.codeType = v32; break;
    case GeneratorProperty::kReverse: p.reverse = v32; break;
    case GeneratorProperty::kInvert: p.invert = v32; break;
    case GeneratorProperty::kLengthBasis: p.lengthBasis = v32; break;
    case GeneratorProperty::kSequenceType: p.sequenceType = v32; break;
    case GeneratorProperty::kStart: p.start = value; break;
    case GeneratorProperty::kEnd: p.end = value; break;
    case GeneratorProperty::kStepOrCount: p.stepOrCount = value; break;
    case GeneratorProperty::kCommandsPerPacket: p.commandsPerPacket = v32; break;
    case GeneratorProperty::kDataPerPacket: p.dataPerPacket = v32; break;
    case GeneratorProperty::kPacketRepetitions: p.packetRepetitions = v32; break;
    case GeneratorProperty::kPreview: return false;
  }
  return true;
}

std::int64_t GetProperty(const GeneratorParameters& p, GeneratorProperty property) {
  switch (property) {
    case GeneratorProperty::kValidBits: return p.validBits;
    case GeneratorProperty::kInsertType: return p.insertType;
    case GeneratorProperty::kCodeType: return p.codeType;
    case GeneratorProperty::kReverse: return p.reverse;
    case GeneratorProperty::kInvert: return p.invert;
    case GeneratorProperty::kLengthBasis: return p.lengthBasis;
    case GeneratorProperty::kSequenceType: return p.sequenceType;
    case GeneratorProperty::kStart: return p.start;
    case GeneratorProperty::kEnd: return p.end;
    case GeneratorProperty::kStepOrCount: return p.stepOrCount;
    case GeneratorProperty::kCommandsPerPacket: return p.commandsPerPacket;
    case GeneratorProperty::kDataPerPacket: return p.dataPerPacket;
    case GeneratorProperty::kPacketRepetitions: return p.packetRepetitions;
    case GeneratorProperty::kPreview: return 0;
  }
  return 0;
}

std::uint8_t SegmentCode(unsigned digit) { return kSegmentCodes[digit & 0xF]; }

std::uint64_t CodeOf(int codeType, std::uint64_t v) {
  std::uint64_t code = 0;
  switch (codeType) {
    case kCodeBcdSevenSegment:
      for (int k = 0; k < 8; ++k, v /= 10) code |= std::uint64_t{SegmentCode(v % 10)} << (8 * k);
      return code;
    case kCodeHexSevenSegment:
      for (int k = 0; k < 8; ++k, v >>= 4) code |= std::uint64_t{SegmentCode(v & 0xF)} << (8 * k);
      return code;
    case kCodeBcdHex:
      for (int k = 0; k < 16; ++k, v /= 10) code |= (v % 10) << (4 * k);
      return code;
    default:
      break;
  }
  return v;
}

void Generate(GeneratorParameters& p, std::size_t limit, RandomSource& random) {
  p.result.clear();

  if (p.insertType == kInsertPackets) {
    for (int r = 0; r < p.packetRepetitions; ++r) {
      for (int c = 0; c < p.commandsPerPacket; ++c) {
        if (p.result.size() >= limit) return;
        p.result.push_back(kCommandMarker);
      }
      for (int d = 0; d < p.dataPerPacket; ++d) {
        if (p.result.size() >= limit) return;
        p.result.push_back(kDataMarker);
      }
    }
    return;
  }

  // The grid's number properties are 32-bit; only their low 32 bits take part.
  const std::int64_t s = Low32(p.start);
  const std::int64_t e = Low32(p.end);
  const std::int32_t stepOrCount = Low32(p.stepOrCount);
  const bool isRandom = p.sequenceType == kSequenceRandom;
  std::int32_t n = 0;
  std::int32_t d = 1;
  if (stepOrCount == 0) return;  // refused by the property checks; nothing sensible to make
  if (isRandom) {
    n = stepOrCount;
  } else if (p.lengthBasis == kBasisCount) {
    n = stepOrCount;
    d = static_cast<std::int32_t>((e - s) / n);
  } else {
    d = stepOrCount;
    n = static_cast<std::int32_t>((e >= s ? e - s : s - e) / d);
  }
  random.Seed(static_cast<std::uint32_t>(n));
  const std::int64_t range = e >= s ? e - s : s - e;

  // A negative count never reaches zero: the limit ends it, and so does the first
  // value below zero (a negative step running past 0), which is not emitted.
  std::int64_t remaining = n;
  std::int64_t v = s;
  for (std::size_t i = 0; remaining != 0 && i < limit; ++i, --remaining) {
    if (isRandom) {
      if (range == 0) break;
      v = s + static_cast<std::int64_t>(random.Next()) % range;
    } else if (i > 0 && __builtin_add_overflow(v, d, &v)) {
      break;
    }
    if (v < 0) break;
    p.result.push_back(Finish(p, v));
  }
  if (p.reverse == kChoiceYes) std::reverse(p.result.begin(), p.result.end());
}

void Generate(GeneratorParameters& p, std::size_t limit) {
  CRuntimeRandom random;
  Generate(p, limit, random);
}

void BuildPreview(GeneratorParameters& p, RandomSource& random) {
  Generate(p, kPreviewLimit, random);
  p.decimalPreview.clear();
  p.hexPreview.clear();
  char buf[40];
  for (std::int64_t v : p.result) {
    if (p.insertType == kInsertPackets) {
      p.hexPreview += v == kDataMarker ? "D " : "C ";
      continue;
    }
    std::snprintf(buf, sizeof buf, " %" PRId64, v);
    p.decimalPreview += buf;
    std::snprintf(buf, sizeof buf, " 0x%" PRIX64, static_cast<std::uint64_t>(v));
    p.hexPreview += buf;
  }
}

void BuildPreview(GeneratorParameters& p) {
  CRuntimeRandom random;
  BuildPreview(p, random);
}

GeneratedRow RowFor(int insertType, std::int64_t generated) {
  switch (insertType) {
    case kInsertData: return {true, generated};
    case kInsertPackets: return {generated == kDataMarker, 0};
    default: return {false, generated};
  }
}

PresetList GeneratedItems(const GeneratorParameters& p, int firstIndex) {
  PresetList items;
  items.reserve(p.result.size());
  for (std::int64_t v : p.result) {
    const GeneratedRow row = RowFor(p.insertType, v);
    items.push_back(MakeDataItem(firstIndex + static_cast<int>(items.size()), row.isData, 0, row.value));
  }
  return items;
}

}  // namespace radove
