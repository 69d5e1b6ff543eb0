#include "document/Archive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace radove {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(static_cast<std::uint8_t>(x));
  return b;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Ascii(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes PrefixOf(std::uint64_t length) {
  ArchiveWriter w;
  w.WriteLength(length);
  return w.Bytes();
}

TEST(ArchiveIntegers, LittleEndianBothWays) {
  ArchiveWriter w;
  w.WriteInt32(-1);
  w.WriteInt32(100090);
  w.WriteUInt32(0x80000001u);
  EXPECT_EQ(w.Bytes(), B({0xFF, 0xFF, 0xFF, 0xFF, 0xFA, 0x86, 0x01, 0x00, 0x01, 0x00, 0x00, 0x80}));
  ArchiveReader r(w.Bytes());
  EXPECT_EQ(r.ReadInt32(), -1);
  EXPECT_EQ(r.ReadInt32(), 100090);
  EXPECT_EQ(r.ReadUInt32(), 0x80000001u);
  EXPECT_EQ(r.Remaining(), 0u);
}

// Each escalation step at and around its boundary.
struct PrefixCase {
  std::uint64_t length;
  Bytes prefix;
};

class ArchivePrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(ArchivePrefix, WritesTheExpectedPrefix) {
  EXPECT_EQ(PrefixOf(GetParam().length), GetParam().prefix);
}

TEST_P(ArchivePrefix, TextOfThatLengthRoundTrips) {
  const std::uint64_t n = GetParam().length;
  std::string text(static_cast<std::size_t>(n), 'x');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  ArchiveWriter w;
  w.WriteText(text);
  w.WriteInt32(7);
  EXPECT_EQ(w.Bytes().size(), GetParam().prefix.size() + n + 4);
  ArchiveReader r(w.Bytes());
  EXPECT_EQ(r.ReadText(), text);
  EXPECT_EQ(r.ReadInt32(), 7);
}

INSTANTIATE_TEST_SUITE_P(
    Escalation, ArchivePrefix,
    ::testing::Values(PrefixCase{0, B({0x00})}, PrefixCase{254, B({0xFE})},
                      PrefixCase{255, B({0xFF, 0xFF, 0x00})}, PrefixCase{300, B({0xFF, 0x2C, 0x01})},
                      PrefixCase{0xFFFD, B({0xFF, 0xFD, 0xFF})},
                      PrefixCase{0xFFFE, B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
                      PrefixCase{70000, B({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})}));

TEST(ArchiveText, FourGigabyteLengthTakesTheSixtyFourBitForm) {
  EXPECT_EQ(PrefixOf(0xFFFFFFFEull), B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(PrefixOf(0xFFFFFFFFull), B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0x00, 0x00, 0x00, 0x00}));
}

TEST(ArchiveText, SixtyFourBitPrefixIsRead) {
  const Bytes file = Concat(B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0, 0, 0, 0}),
                            Ascii("abc"));
  ArchiveReader r(file);
  EXPECT_EQ(r.ReadText(), "abc");
}

TEST(ArchiveText, ChineseIsGbkInTheFileAndUtf8InTheProgram) {
  const std::string remark = "红灯亮 (red)";
  ArchiveWriter w;
  w.WriteText(remark);
  EXPECT_EQ(w.Bytes(), Concat(B({12, 0xBA, 0xEC, 0xB5, 0xC6, 0xC1, 0xC1}), Ascii(" (red)")));
  ArchiveReader r(w.Bytes());
  EXPECT_EQ(r.ReadText(), remark);
}

TEST(ArchiveText, EuroSignUsesTheCodePageByte) {
  ArchiveWriter w;
  w.WriteText("€");
  EXPECT_EQ(w.Bytes(), B({1, 0x80}));
}

TEST(ArchiveText, TextWithoutGbkFormIsRefusedNamingTheCharacter) {
  ArchiveWriter w;
  w.SetContext("the preset section");
  w.SetElement("item", 3, 9);
  try {
    w.WriteText("ok 😀");
    FAIL() << "no error";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.GetKind(), ArchiveError::kBadText);
    const std::string m = e.what();
    EXPECT_NE(m.find("U+1F600"), std::string::npos) << m;
    EXPECT_NE(m.find("while writing the preset section (item 3 of 9)"), std::string::npos) << m;
  }
  EXPECT_TRUE(w.Bytes().empty()) << "nothing is written for a refused text";
}

TEST(ArchiveText, InvalidUtf8IsRefusedOnWrite) {
  ArchiveWriter w;
  EXPECT_THROW(w.WriteText(std::string("a\xC3", 2)), ArchiveError);
  EXPECT_THROW(w.WriteText(std::string("\xED\xA0\x80", 3)), ArchiveError);  // a surrogate
}

TEST(ArchiveText, BytesThatAreNotGbkAreRefusedOnRead) {
  for (const Bytes& file : {B({2, 0xFF, 0xFF}), B({1, 0xB5}), B({2, 0x81, 0x20})}) {
    ArchiveReader r(file);
    r.SetContext("the class name");
    try {
      r.ReadText();
      FAIL() << "no error";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.GetKind(), ArchiveError::kBadText);
      EXPECT_NE(std::string(e.what()).find("while reading the class name"), std::string::npos)
          << e.what();
    }
  }
}

struct WideCase {
  Bytes file;
  std::string text;
};

class ArchiveWide : public ::testing::TestWithParam<WideCase> {};

TEST_P(ArchiveWide, IsConvertedToUtf8) {
  ArchiveReader r(GetParam().file);
  EXPECT_EQ(r.ReadText(), GetParam().text);
  EXPECT_EQ(r.Remaining(), 0u);
}

Bytes WideOf(int units, Bytes prefix) {
  Bytes file = Concat(B({0xFF, 0xFE, 0xFF}), prefix);
  for (int i = 0; i < units; ++i) {
    file.push_back('w');
    file.push_back(0);
  }
  return file;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveWide,
    ::testing::Values(WideCase{B({0xFF, 0xFE, 0xFF, 0}), ""},
                      WideCase{B({0xFF, 0xFE, 0xFF, 2, 'A', 0, 0x2D, 0x4E}), "A中"},
                      WideCase{B({0xFF, 0xFE, 0xFF, 2, 0x3D, 0xD8, 0x00, 0xDE}), "😀"},
                      WideCase{WideOf(300, B({0xFF, 0x2C, 0x01})), std::string(300, 'w')},
                      WideCase{WideOf(0xFFFE, B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})),
                               std::string(0xFFFE, 'w')}));

TEST(ArchiveText, WideTextWithAnUnpairedSurrogateIsRefused) {
  const Bytes file = B({0xFF, 0xFE, 0xFF, 2, 0x00, 0xDC, 'A', 0});
  ArchiveReader r(file);
  try {
    r.ReadText();
    FAIL() << "no error";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.GetKind(), ArchiveError::kBadText);
  }
}

// A length larger than what remains is a format error, caught before anything is
// allocated for it.
TEST(ArchiveBounds, LengthsBeyondTheEndAreBadFormat) {
  const Bytes cases[] = {
      B({5, 'a', 'b'}),
      B({0xFF, 0x2C, 0x01, 'a'}),
      B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}),
      B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
      B({0xFF, 0xFE, 0xFF, 3, 'a', 0, 'b', 0}),  // 3 wide units need 6 bytes
      B({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
         0xFF, 0xFF, 0xFF, 0x7F}),
  };
  for (const Bytes& file : cases) {
    ArchiveReader r(file);
    try {
      r.ReadText();
      FAIL() << "no error";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.GetKind(), ArchiveError::kBadFormat) << e.what();
      EXPECT_NE(std::string(e.what()).find("claims"), std::string::npos) << e.what();
    }
  }
}

TEST(ArchiveBounds, DataEndingInsideAValueIsEndOfFile) {
  const Bytes cases[] = {B({}), B({0xFF}), B({0xFF, 0xFF}), B({0xFF, 0xFF, 0xFF, 0x01}),
                         B({0xFF, 0xFE}), B({0xFF, 0xFE, 0xFF, 0xFF})};
  for (const Bytes& file : cases) {
    ArchiveReader r(file);
    try {
      r.ReadText();
      FAIL() << "no error";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.GetKind(), ArchiveError::kEndOfFile) << e.what();
    }
  }
  const Bytes three = B({1, 2, 3});
  ArchiveReader r(three);
  r.SetContext("the pin section");
  r.SetElement("pin", 2, 5);
  try {
    r.ReadInt32();
    FAIL() << "no error";
  } catch (const ArchiveError& e) {
    EXPECT_STREQ(e.what(),
                 "the file ends early at byte 3 (a 4-byte number was due at byte 0) while reading "
                 "the pin section (pin 2 of 5)");
  }
}

TEST(ArchiveBounds, DoubledWideMarkerIsBadFormat) {
  const Bytes file = B({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0, 0, 0});
  ArchiveReader r(file);
  try {
    r.ReadText();
    FAIL() << "no error";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.GetKind(), ArchiveError::kBadFormat);
  }
}

}  // namespace
}  // namespace radove
