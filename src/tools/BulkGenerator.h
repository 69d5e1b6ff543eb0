#pragma once
// Bulk sequence generation for the preset editor: arithmetic or random sequences,
// coded (plain, seven-segment, packed BCD), inverted, masked to a number of valid
// bits and optionally reversed; or a pattern of command and data packets.
//
// The settings record is owned by whoever keeps it between two openings of the
// generator dialog (the document while the program runs); the dialog and the
// command-line tool edit it in place.

#include <cstdint>
#include <string>
#include <vector>

#include "core/Records.h"
#include "document/BulkSettings.h"

namespace radove {

// Option codes, as the settings record stores them.
enum BulkInsertType : int { kInsertData = 1, kInsertCommand = 2, kInsertPackets = 3 };
enum BulkCodeType : int {
  kCodeLinear = 1,
  kCodeBcdSevenSegment = 2,
  kCodeHexSevenSegment = 10,
  kCodeBcdHex = 11
};
enum BulkLengthBasis : int { kBasisStep = 1, kBasisCount = 2 };
enum BulkSequenceType : int { kSequenceArithmetic = 2, kSequenceRandom = 4 };
// The two yes/no lists (reverse, invert).
enum BulkChoice : int { kChoiceNo = 1, kChoiceYes = 2 };

// Packet-mode markers in the result list.
constexpr std::int64_t kDataMarker = 1;
constexpr std::int64_t kCommandMarker = 2;

constexpr std::size_t kPreviewLimit = 30;
constexpr std::size_t kGenerateLimit = 10000;

// The settings record is the one the document keeps.
using GeneratorParameters = BulkSettings;

// Identifiers of the generator's properties (the dialog's property grid uses them,
// the command line maps its options onto them).
enum class GeneratorProperty : int {
  kInsertType = 1,
  kCodeType = 2,
  kReverse = 3,
  kInvert = 4,
  kLengthBasis = 5,
  kSequenceType = 6,
  kStart = 10,
  kEnd = 11,
  kStepOrCount = 12,
  kCommandsPerPacket = 15,
  kDataPerPacket = 16,
  kPacketRepetitions = 17,
  kPreview = 18,
  kValidBits = 20,
};

// The message refusing value for an integer property, or an empty text when the
// value is accepted.
std::string RefusalFor(GeneratorProperty property, std::int64_t value);

// Stores an integer property after RefusalFor accepted it; list properties take
// their option code. Returns false (and changes nothing) for a refused value or an
// unknown code.
bool SetProperty(GeneratorParameters& p, GeneratorProperty property, std::int64_t value);
std::int64_t GetProperty(const GeneratorParameters& p, GeneratorProperty property);

// The pseudo-random source of random sequences. Seeded before every generation.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void Seed(std::uint32_t seed) = 0;
  virtual std::uint32_t Next() = 0;
};

// The C runtime's linear congruential generator: state = state * 214013 + 2531011,
// next = (state >> 16) & 0x7FFF. Fixed here so the same settings give the same
// sequence on every platform.
class CRuntimeRandom : public RandomSource {
 public:
  void Seed(std::uint32_t seed) override { state_ = seed; }
  std::uint32_t Next() override {
    state_ = state_ * 214013u + 2531011u;
    return (state_ >> 16) & 0x7FFFu;
  }

 private:
  std::uint32_t state_ = 1;
};

// Code of one value (plain, seven-segment of eight decimal or hexadecimal digits,
// packed BCD of sixteen decimal digits).
std::uint64_t CodeOf(int codeType, std::uint64_t v);
// Segment code of a digit 0..15: 74LS47 outputs, active low, a in bit 0 .. g in bit 6.
std::uint8_t SegmentCode(unsigned digit);

// Empties p.result and generates up to limit values into it.
void Generate(GeneratorParameters& p, std::size_t limit, RandomSource& random);
void Generate(GeneratorParameters& p, std::size_t limit);

// Generates the preview (limit kPreviewLimit) and rebuilds the two preview texts.
void BuildPreview(GeneratorParameters& p);
void BuildPreview(GeneratorParameters& p, RandomSource& random);

// What a generated value becomes in the preset list: packet markers become data
// (marker 1) or command (otherwise) rows of value 0, other values data or command
// rows by the insert type.
struct GeneratedRow {
  bool isData = false;
  std::int64_t value = 0;
};
GeneratedRow RowFor(int insertType, std::int64_t generated);

// The result list as preset items numbered from firstIndex, the way the editor
// inserts them (additional 0, empty remark).
PresetList GeneratedItems(const GeneratorParameters& p, int firstIndex = 1);

}  // namespace radove
