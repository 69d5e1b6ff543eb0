#include "tools/PresetCsv.h"

#include <gtest/gtest.h>

namespace radove {
namespace {

TEST(PresetCsvTest, ReadsKindsValuesRemarksAndComments) {
  const PresetList items = ParsePresetCsv(
      "\xEF\xBB\xBFkind,additional,value,remark\r\n"
      "# set up the module\n"
      "cmd,0,0x38,function set\r\n"
      "\n"
      "data,1f,65,\"A, \"\"quoted\"\"\"\n"
      "命令,,-5\n"
      "数据,0x2,0xFFFFFFFFFFFFFFFF,\"two\nlines\"\n"
      "1,0,9223372036854775807,  padded  \n");
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0], MakeDataItem(1, false, 0, 0x38, "function set"));
  EXPECT_EQ(items[1], MakeDataItem(2, true, 0x1F, 65, "A, \"quoted\""));
  EXPECT_EQ(items[2], MakeDataItem(3, false, 0, -5));
  EXPECT_EQ(items[3], MakeDataItem(4, true, 2, -1, "two\nlines"));
  EXPECT_EQ(items[3].valueHex, "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(items[4].value, "9223372036854775807");
  EXPECT_EQ(items[4].remark, "padded");
}

TEST(PresetCsvTest, ErrorsNameTheLineAtFault) {
  struct Case {
    const char* text;
    int line;
    const char* fragment;
  } cases[] = {
      {"", 1, "empty"},
      {"value,kind\n", 1, "first line"},
      {"kind,additional,value,remark\ncmd,0\n", 2, "3 or 4 fields"},
      {"kind,additional,value,remark\ncmd,0,1,a,b\n", 2, "3 or 4 fields"},
      {"kind,additional,value,remark\n#c\n\nstop,0,1\n", 4, "kind \"stop\""},
      {"kind,additional,value,remark\ncmd,xyz,1\n", 2, "additional \"xyz\""},
      {"kind,additional,value,remark\ncmd,123456789,1\n", 2, "32-bit"},
      {"kind,additional,value,remark\ncmd,0,12abc\n", 2, "value \"12abc\""},
      {"kind,additional,value,remark\ncmd,0,99999999999999999999\n", 2, "value"},
      {"kind,additional,value,remark\ncmd,0,0x\n", 2, "value"},
      {"kind,additional,value,remark\ncmd,0,1,\"open\n\n", 2, "not closed"},
      {"kind,additional,value,remark\ncmd,0,1,\"a\"b\n", 2, "after a closing quote"},
      {"kind,additional,value,remark\ndata,0,1,\"x\ny\"\ncmd,0,q\n", 4, "value \"q\""},
  };
  for (const Case& c : cases) {
    try {
      ParsePresetCsv(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const PresetCsvError& e) {
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_NE(e.Message().find(c.fragment), std::string::npos) << e.Message();
    }
  }
}

TEST(PresetCsvTest, WriteThenReadGivesTheSameList) {
  PresetList items = {MakeDataItem(1, false, 0, 0x38, "init"),
                      MakeDataItem(2, true, 0xABCD, -7, "comma, and \"quote\""),
                      MakeDataItem(3, true, 0, INT64_MIN, " lead"),
                      MakeDataItem(4, false, 0xFFFFFFFF, 0, "多行\n备注")};
  const std::string text = WritePresetCsv(items);
  EXPECT_EQ(text.substr(0, text.find('\n')), "kind,additional,value,remark");
  EXPECT_EQ(ParsePresetCsv(text), items);
}

TEST(PresetCsvTest, FileErrorsNameTheFile) {
  try {
    ReadPresetCsvFile("/nonexistent/x.csv");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/x.csv"), std::string::npos);
  }
}

}  // namespace
}  // namespace radove
