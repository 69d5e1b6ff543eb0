// The .redu layout: exact bytes, round trips, and damaged files.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "document/Archive.h"
#include "document/CRadoveDoc.h"
#include "document/DocumentTestData.h"

namespace radove {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(static_cast<std::uint8_t>(x));
  return b;
}

void Append(Bytes& a, const Bytes& b) { a.insert(a.end(), b.begin(), b.end()); }
void AppendInt(Bytes& a, std::int32_t v) {
  for (int i = 0; i < 4; ++i) a.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}
void AppendText(Bytes& a, const std::string& ascii) {
  a.push_back(static_cast<std::uint8_t>(ascii.size()));
  a.insert(a.end(), ascii.begin(), ascii.end());
}

TEST(DocumentFormat, NewDocumentIsThirtyEightBytes) {
  CRadoveDoc doc;
  doc.NewDocument();
  const Bytes expected = B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                            0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0,
                            0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                            0,    0});
  ASSERT_EQ(expected.size(), 38u);
  EXPECT_EQ(doc.SaveToBytes(), expected);
}

// Every field where the layout puts it, written out by hand.
TEST(DocumentFormat, LayoutOfAFullDocument) {
  DocumentContents c;
  c.librarySelection = {1, 2, 3};
  c.currentDeviceId = 100090;
  c.className = "CTrafficRGYColorA";
  c.classFileName = "f";
  c.userCreated = 164658;
  DataItem item = MakeDataItem(1, true, 0xA, 4, "r");
  item.reserved[3] = "z";
  c.presetLists[100090] = {item};
  PinRecord pin;
  pin.id = 7;
  pin.tidDeviceLib = 100090;
  pin.nameEn = "R";
  pin.connection = kPinVcc;
  pin.ownNumber = 3;
  c.pinLists[100090] = {pin};
  c.pairTables[100090] = {{5, -5}, {-1, 9}};
  c.propertySets[100090] = {{0x80000000u, "v"}};

  Bytes e;
  for (int v : {1, 2, 3, 100090}) AppendInt(e, v);
  AppendText(e, "CTrafficRGYColorA");
  AppendText(e, "f");
  AppendInt(e, 164658);
  // preset section
  AppendInt(e, 1);
  AppendInt(e, 1);
  for (const char* f : {"1", "1", "A", "4", "4", "r", "", "", "", "z"}) AppendText(e, f);
  // pin section
  AppendInt(e, 1);
  AppendInt(e, 1);
  AppendInt(e, 7);
  AppendInt(e, 100090);
  for (const char* f : {"", "", "", "R"}) AppendText(e, f);
  for (int v : {0, 0, 0, 0, 0, 0}) AppendInt(e, v);
  AppendText(e, "");
  AppendText(e, "");
  for (int v : {-100, 3, 0, -1, 0, 0, 0, 0}) AppendInt(e, v);
  AppendText(e, "");
  // pair section, ascending keys
  AppendInt(e, 1);
  AppendInt(e, 2);
  for (int v : {-1, 9, 5, -5}) AppendInt(e, v);
  // property section
  AppendInt(e, 1);
  AppendInt(e, 1);
  Append(e, B({0x00, 0x00, 0x00, 0x80}));
  AppendText(e, "v");

  EXPECT_EQ(EncodeDocument(c), e);
  EXPECT_EQ(DecodeDocument(e), c);
}

TEST(DocumentFormat, PresentButEmptyListIsOneAndZero) {
  DocumentContents c;
  c.currentDeviceId = 100000;
  c.presetLists[100000] = {};
  const Bytes bytes = EncodeDocument(c);
  ASSERT_EQ(bytes.size(), 42u);
  EXPECT_EQ(Bytes(bytes.begin() + 22, bytes.begin() + 30), B({1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(DecodeDocument(bytes), c);
}

TEST(DocumentFormat, RichDocumentRoundTripsByteForByte) {
  const DocumentContents c = test::RichContents();
  const Bytes first = EncodeDocument(c);
  const DocumentContents back = DecodeDocument(first);
  EXPECT_EQ(back, c);
  EXPECT_EQ(EncodeDocument(back), first);
}

TEST(DocumentFormat, OnlyTheCurrentDevicesEntryIsWritten) {
  DocumentContents c;
  c.currentDeviceId = 100000;
  c.presetLists[100090] = {MakeDataItem(1, false, 0, 1)};  // a stale entry
  EXPECT_EQ(EncodeDocument(c).size(), 38u);
  EXPECT_TRUE(DecodeDocument(EncodeDocument(c)).presetLists.empty());
}

TEST(DocumentFormat, OfTwoListsTheFirstIsKept) {
  Bytes e;
  for (int v : {-1, -1, -1, 100000}) AppendInt(e, v);
  AppendText(e, "");
  AppendText(e, "");
  AppendInt(e, 0);
  AppendInt(e, 2);  // two preset lists
  AppendInt(e, 1);
  for (const char* f : {"1", "1", "0", "1", "1", "first", "", "", "", ""}) AppendText(e, f);
  AppendInt(e, 2);
  for (int i = 0; i < 2; ++i) {
    for (const char* f : {"1", "0", "0", "0", "0", "second", "", "", "", ""}) AppendText(e, f);
  }
  AppendInt(e, 0);  // pins
  AppendInt(e, 1);  // pairs
  AppendInt(e, 1);
  AppendInt(e, 4);
  AppendInt(e, 44);
  AppendInt(e, 0);  // properties

  const DocumentContents c = DecodeDocument(e);
  ASSERT_EQ(c.presetLists.size(), 1u);
  ASSERT_EQ(c.presetLists.at(100000).size(), 1u);
  EXPECT_EQ(c.presetLists.at(100000)[0].remark, "first");
  EXPECT_EQ(c.pairTables.at(100000), (PairTable{{4, 44}}));
}

TEST(DocumentFormat, TrailingBytesAfterTheLastSectionAreIgnored) {
  Bytes bytes = EncodeDocument(test::RichContents());
  bytes.push_back(0x42);
  EXPECT_EQ(DecodeDocument(bytes), test::RichContents());
}

// Every truncation of a valid file is refused with an end-of-file or format error
// that names where it happened.
TEST(DocumentFormat, EveryTruncationIsRefused) {
  const Bytes full = EncodeDocument(test::RichContents());
  for (std::size_t n = 0; n < full.size(); ++n) {
    const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    try {
      DecodeDocument(cut);
      ADD_FAILURE() << "a file cut at " << n << " was accepted";
    } catch (const ArchiveError& e) {
      EXPECT_NE(e.GetKind(), ArchiveError::kBadText) << n << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find("while reading the "), std::string::npos) << e.what();
    }
  }
}

TEST(DocumentFormat, TruncationMessageNamesByteAndSection) {
  const DocumentContents c = test::RichContents();
  const Bytes full = EncodeDocument(c);
  // The pin section starts after the preset section; cut two bytes into its first pin.
  DocumentContents upToPins = c;
  upToPins.pinLists.clear();
  upToPins.pairTables.clear();
  upToPins.propertySets.clear();
  const std::size_t pinSection = EncodeDocument(upToPins).size() - 12;
  const std::size_t cut = pinSection + 8 + 2;
  try {
    DecodeDocument(std::span(full).first(cut));
    FAIL() << "accepted";
  } catch (const ArchiveError& e) {
    const std::string expected = "the file ends early at byte " + std::to_string(cut);
    EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
    EXPECT_NE(std::string(e.what()).find("while reading the pin section"), std::string::npos)
        << e.what();
  }
}

TEST(DocumentFormat, ImpossibleCountsAreRefusedBeforeAllocating) {
  Bytes head;
  for (int v : {-1, -1, -1, 100000}) AppendInt(head, v);
  AppendText(head, "");
  AppendText(head, "");
  AppendInt(head, 0);
  const struct {
    std::vector<std::int32_t> ints;
    const char* fragment;
  } cases[] = {
      {{1, 0x7FFFFFFF}, "2147483647 items"},
      {{1, -3}, "negative"},
      {{-1}, "negative"},
      {{0, 1, 1000000}, "1000000 pins"},
      {{0x7FFFFFFF}, "ends early"},
  };
  for (const auto& k : cases) {
    Bytes file = head;
    for (std::int32_t v : k.ints) AppendInt(file, v);
    try {
      DecodeDocument(file);
      ADD_FAILURE() << "accepted " << k.fragment;
    } catch (const ArchiveError& e) {
      EXPECT_NE(std::string(e.what()).find(k.fragment), std::string::npos) << e.what();
    }
  }
}

// Random damage of a valid file: every outcome is a decoded document or an
// ArchiveError; nothing else escapes, nothing crashes.
TEST(DocumentFormat, RandomCorruptionNeverCrashes) {
  const Bytes valid = EncodeDocument(test::RichContents());
  std::mt19937 rng(20240611);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes file = valid;
    const int edits = 1 + static_cast<int>(pick(4));
    for (int k = 0; k < edits && !file.empty(); ++k) {
      const std::size_t at = pick(file.size());
      switch (pick(5)) {
        case 0: file[at] ^= static_cast<std::uint8_t>(1u << pick(8)); break;
        case 1: file[at] = 0xFF; break;
        case 2: file[at] = static_cast<std::uint8_t>(pick(256)); break;
        case 3: file.erase(file.begin() + static_cast<std::ptrdiff_t>(at)); break;
        default: file.resize(at); break;
      }
    }
    try {
      DecodeDocument(file);
      ++accepted;
    } catch (const ArchiveError&) {
    }
  }
  RecordProperty("accepted", accepted);
}

}  // namespace
}  // namespace radove
