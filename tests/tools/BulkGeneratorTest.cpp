#include "tools/BulkGenerator.h"

#include <gtest/gtest.h>

#include <deque>

namespace radove {
namespace {

using Values = std::vector<std::int64_t>;

GeneratorParameters Arithmetic(std::int64_t start, std::int64_t end, std::int64_t step) {
  GeneratorParameters p;
  p.start = start;
  p.end = end;
  p.stepOrCount = step;
  return p;
}

struct SequenceCase {
  const char* name;
  GeneratorParameters p;
  Values expected;
};

GeneratorParameters With(GeneratorParameters p, void (*change)(GeneratorParameters&)) {
  change(p);
  return p;
}

TEST(BulkGeneratorTest, SequencesCodesAndMasks) {
  const SequenceCase cases[] = {
      {"defaults give nothing", GeneratorParameters{}, {}},
      {"step 2 stops before the end", Arithmetic(0, 10, 2), {0, 2, 4, 6, 8}},
      {"count 5 gives the same", With(Arithmetic(0, 10, 5), [](auto& p) { p.lengthBasis = kBasisCount; }),
       {0, 2, 4, 6, 8}},
      {"start above end still counts up", Arithmetic(10, 0, 2), {10, 12, 14, 16, 18}},
      {"step larger than the span", Arithmetic(0, 3, 5), {}},
      {"reverse", With(Arithmetic(0, 10, 2), [](auto& p) { p.reverse = kChoiceYes; }), {8, 6, 4, 2, 0}},
      {"BCD seven-segment, 8 bits",
       With(Arithmetic(1234, 1235, 1), [](auto& p) { p.codeType = kCodeBcdSevenSegment; }), {0x19}},
      {"BCD seven-segment, 32 bits",
       With(Arithmetic(1234, 1235, 1),
            [](auto& p) {
              p.codeType = kCodeBcdSevenSegment;
              p.validBits = 32;
            }),
       {0x79243019}},
      {"BCD seven-segment, 63 bits fills leading zeros",
       With(Arithmetic(1234, 1235, 1),
            [](auto& p) {
              p.codeType = kCodeBcdSevenSegment;
              p.validBits = 63;
            }),
       {0x4040404079243019}},
      {"hex seven-segment",
       With(Arithmetic(0xAF, 0xB0, 1),
            [](auto& p) {
              p.codeType = kCodeHexSevenSegment;
              p.validBits = 63;
            }),
       {0x404040404040277F}},
      {"BCD-HEX packs decimal digits",
       With(Arithmetic(1234, 1235, 1),
            [](auto& p) {
              p.codeType = kCodeBcdHex;
              p.validBits = 16;
            }),
       {0x1234}},
      {"BCD-HEX of nine digits",
       With(Arithmetic(999999999, 1000000000, 1),
            [](auto& p) {
              p.codeType = kCodeBcdHex;
              p.validBits = 63;
            }),
       {0x999999999}},
      {"1 valid bit", With(Arithmetic(0x51, 0x55, 1), [](auto& p) { p.validBits = 1; }), {1, 0, 1, 0}},
      {"5 valid bits", With(Arithmetic(0x51, 0x55, 1), [](auto& p) { p.validBits = 5; }),
       {0x11, 0x12, 0x13, 0x14}},
      {"invert within 4 bits",
       With(Arithmetic(0xE, 0xF, 1),
            [](auto& p) {
              p.validBits = 4;
              p.invert = kChoiceYes;
            }),
       {0x1}},
      {"invert keeps the sign bit clear",
       With(Arithmetic(0, 1, 1),
            [](auto& p) {
              p.validBits = 63;
              p.invert = kChoiceYes;
            }),
       {0x7FFFFFFFFFFFFFFF}},
      {"invert, code, mask and reverse together",
       With(Arithmetic(1, 3, 1),
            [](auto& p) {
              p.codeType = kCodeHexSevenSegment;
              p.invert = kChoiceYes;
              p.reverse = kChoiceYes;
            }),
       {0xDB, 0x86}},
      {"random with no range gives nothing",
       With(Arithmetic(5, 5, 3), [](auto& p) { p.sequenceType = kSequenceRandom; }), {}},
      {"only the low 32 bits of the start count",
       With(Arithmetic(0x100000005, 0, 5), [](auto& p) { p.validBits = 63; }), {5}},
  };
  for (const SequenceCase& c : cases) {
    GeneratorParameters p = c.p;
    Generate(p, kGenerateLimit);
    EXPECT_EQ(p.result, c.expected) << c.name;
  }
}

TEST(BulkGeneratorTest, SegmentCodesAreThe74LS47Outputs) {
  const std::uint8_t expected[16] = {0x40, 0x79, 0x24, 0x30, 0x19, 0x12, 0x03, 0x78,
                                     0x00, 0x18, 0x27, 0x33, 0x1D, 0x16, 0x07, 0x7F};
  for (unsigned d = 0; d < 16; ++d) EXPECT_EQ(SegmentCode(d), expected[d]) << d;
  EXPECT_EQ(CodeOf(kCodeBcdSevenSegment, 123456789), 0x2430191203780018u);  // the 9th digit is dropped
  EXPECT_EQ(CodeOf(kCodeBcdHex, 12345678901234567), 0x2345678901234567u);
  EXPECT_EQ(CodeOf(kCodeLinear, 77), 77u);
  // Sixteen nines reach bit 63; the valid-bit mask (at most 63 bits) clears it later.
  EXPECT_EQ(CodeOf(kCodeBcdHex, 9999999999999999), 0x9999999999999999u);
}

TEST(BulkGeneratorTest, NegativeStepsAndCountsTerminate) {
  struct Case {
    const char* name;
    GeneratorParameters p;
    std::size_t size;
    std::int64_t first, last;
  };
  const Case cases[] = {
      // N = 100 / -30 = -3: never counts down to 0, so only the drop below 0 ends it.
      {"negative step runs down to 0", Arithmetic(100, 0, -30), 4, 100, 10},
      {"negative step from 0", Arithmetic(0, 10, -3), 1, 0, 0},
      {"negative count, falling", With(Arithmetic(0, 10, -5), [](auto& p) { p.lengthBasis = kBasisCount; }),
       1, 0, 0},
      // D = -10 / -5 = 2, rising without end: the limit stops it.
      {"negative count, rising",
       With(Arithmetic(10, 0, -5),
            [](auto& p) {
              p.lengthBasis = kBasisCount;
              p.validBits = 63;
            }),
       kGenerateLimit, 10, 10 + 2 * 9999},
      {"negative random count",
       With(Arithmetic(0, 100, -1), [](auto& p) { p.sequenceType = kSequenceRandom; }), kGenerateLimit, -1,
       -1},
  };
  for (const Case& c : cases) {
    GeneratorParameters p = c.p;
    Generate(p, kGenerateLimit);
    ASSERT_EQ(p.result.size(), c.size) << c.name;
    for (std::int64_t v : p.result) ASSERT_GE(v, 0) << c.name;
    if (c.first >= 0) {
      EXPECT_EQ(p.result.front(), c.first) << c.name;
      EXPECT_EQ(p.result.back(), c.last) << c.name;
    }
  }
}

TEST(BulkGeneratorTest, LimitsOfPreviewAndGeneration) {
  GeneratorParameters p = Arithmetic(0, 20000, 1);
  p.validBits = 63;
  Generate(p, kGenerateLimit);
  ASSERT_EQ(p.result.size(), 10000u);
  EXPECT_EQ(p.result.back(), 9999);
  BuildPreview(p);
  EXPECT_EQ(p.result.size(), 30u);

  GeneratorParameters packets;
  packets.insertType = kInsertPackets;
  packets.commandsPerPacket = 100;
  packets.dataPerPacket = 100;
  packets.packetRepetitions = 100;
  Generate(packets, kGenerateLimit);
  EXPECT_EQ(packets.result.size(), 10000u);
  Generate(packets, 150);
  ASSERT_EQ(packets.result.size(), 150u);
  EXPECT_EQ(packets.result[99], kCommandMarker);
  EXPECT_EQ(packets.result[100], kDataMarker);
}

class FakeRandom : public RandomSource {
 public:
  explicit FakeRandom(std::deque<std::uint32_t> values) : values_(std::move(values)) {}
  void Seed(std::uint32_t seed) override { seeds.push_back(seed); }
  std::uint32_t Next() override {
    const std::uint32_t v = values_.front();
    values_.pop_front();
    return v;
  }
  std::vector<std::uint32_t> seeds;

 private:
  std::deque<std::uint32_t> values_;
};

TEST(BulkGeneratorTest, RandomSequencesTakeTheSeedAndTheRange) {
  GeneratorParameters p = Arithmetic(20, 10, 4);
  p.sequenceType = kSequenceRandom;
  p.lengthBasis = kBasisStep;  // ignored: the number is a count for random sequences
  FakeRandom random({3, 10, 12, 32767});
  Generate(p, kGenerateLimit, random);
  EXPECT_EQ(random.seeds, std::vector<std::uint32_t>{4});
  // Range |10 - 20| = 10, counted up from the start.
  EXPECT_EQ(p.result, (Values{23, 20, 22, 27}));
}

TEST(BulkGeneratorTest, RuntimeGeneratorMatchesTheCRuntime) {
  CRuntimeRandom r;
  r.Seed(1);
  const std::uint32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (std::uint32_t e : expected) EXPECT_EQ(r.Next(), e);

  // The same settings give the same sequence, seeded with the count.
  GeneratorParameters p = Arithmetic(0, 100, 1);
  p.sequenceType = kSequenceRandom;
  Generate(p, kGenerateLimit);
  EXPECT_EQ(p.result, Values{41});
  p.stepOrCount = 3;
  Generate(p, kGenerateLimit);
  const Values first = p.result;
  Generate(p, kGenerateLimit);
  EXPECT_EQ(p.result, first);
}

TEST(BulkGeneratorTest, PacketsAndTheirPreview) {
  GeneratorParameters p;
  p.insertType = kInsertPackets;
  p.commandsPerPacket = 2;
  p.dataPerPacket = 1;
  p.packetRepetitions = 3;
  p.codeType = kCodeBcdSevenSegment;  // markers are not coded, inverted, masked or reversed
  p.invert = kChoiceYes;
  p.reverse = kChoiceYes;
  p.validBits = 1;
  BuildPreview(p);
  EXPECT_EQ(p.result, (Values{2, 2, 1, 2, 2, 1, 2, 2, 1}));
  EXPECT_EQ(p.hexPreview, "C C D C C D C C D ");
  EXPECT_EQ(p.decimalPreview, "");

  p.packetRepetitions = 0;
  Generate(p, kGenerateLimit);
  EXPECT_TRUE(p.result.empty());

  p.packetRepetitions = 1;
  Generate(p, kGenerateLimit);
  const PresetList items = GeneratedItems(p);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], MakeDataItem(1, false, 0, 0));
  EXPECT_EQ(items[1], MakeDataItem(2, false, 0, 0));
  EXPECT_EQ(items[2], MakeDataItem(3, true, 0, 0));
}

TEST(BulkGeneratorTest, PreviewTextsAndRows) {
  GeneratorParameters p = Arithmetic(0, 40, 10);
  p.decimalPreview = "old";
  BuildPreview(p);
  EXPECT_EQ(p.decimalPreview, " 0 10 20 30");
  EXPECT_EQ(p.hexPreview, " 0x0 0xA 0x14 0x1E");

  p.insertType = kInsertCommand;
  Generate(p, kGenerateLimit);
  const PresetList commands = GeneratedItems(p, 7);
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[3], MakeDataItem(10, false, 0, 30));
  p.insertType = kInsertData;
  EXPECT_EQ(GeneratedItems(p)[1], MakeDataItem(2, true, 0, 10));
}

TEST(BulkGeneratorTest, RefusalsKeepTheOldValue) {
  const std::string range = "您输入的数据已经超出范围!";
  const std::string negative = "您输入的数据不符合要求，必须是不小于0的整数";
  const std::string zero = "您输入的数据不符合要求";
  struct Case {
    GeneratorProperty property;
    std::int64_t value;
    std::string refusal;
  };
  const Case cases[] = {
      {GeneratorProperty::kValidBits, 0, range},          {GeneratorProperty::kValidBits, 1, ""},
      {GeneratorProperty::kValidBits, 63, ""},            {GeneratorProperty::kValidBits, 64, range},
      {GeneratorProperty::kStart, -1, negative},          {GeneratorProperty::kStart, 0, ""},
      {GeneratorProperty::kEnd, -5, negative},            {GeneratorProperty::kEnd, 2147483647, ""},
      {GeneratorProperty::kEnd, 2147483648, range},       {GeneratorProperty::kStepOrCount, 0, zero},
      {GeneratorProperty::kStepOrCount, -7, ""},          {GeneratorProperty::kStepOrCount, -2147483648, ""},
      {GeneratorProperty::kCommandsPerPacket, 0, range},  {GeneratorProperty::kCommandsPerPacket, 100, ""},
      {GeneratorProperty::kDataPerPacket, 101, range},    {GeneratorProperty::kDataPerPacket, 1, ""},
      {GeneratorProperty::kPacketRepetitions, 0, ""},     {GeneratorProperty::kPacketRepetitions, -1, range},
      {GeneratorProperty::kPacketRepetitions, 101, range}, {GeneratorProperty::kCodeType, 10, ""},
      {GeneratorProperty::kCodeType, 3, zero},            {GeneratorProperty::kSequenceType, 4, ""},
      {GeneratorProperty::kSequenceType, 3, zero},        {GeneratorProperty::kInsertType, 3, ""},
      {GeneratorProperty::kInsertType, 4, zero},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RefusalFor(c.property, c.value), c.refusal)
        << static_cast<int>(c.property) << " = " << c.value;
    GeneratorParameters p;
    const std::int64_t before = GetProperty(p, c.property);
    EXPECT_EQ(SetProperty(p, c.property, c.value), c.refusal.empty());
    EXPECT_EQ(GetProperty(p, c.property), c.refusal.empty() ? c.value : before);
  }
}

}  // namespace
}  // namespace radove
