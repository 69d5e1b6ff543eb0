#include "cli/GenerateCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "tools/PresetCsv.h"

namespace radove {
namespace {

class GenerateCommandTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    out.str({});
    err.str({});
    return cli::RunGenerate(args, out, err);
  }
  std::ostringstream out, err;
};

TEST_F(GenerateCommandTest, PrintsTheRowsAsPresetCsv) {
  struct Case {
    std::vector<std::string> args;
    std::string csv;
  };
  const std::string header = "kind,additional,value,remark\n";
  const Case cases[] = {
      {{}, header},  // the defaults give nothing
      {{"--end", "10", "--step", "2"}, header + "data,0,0,\ndata,0,2,\ndata,0,4,\ndata,0,6,\ndata,0,8,\n"},
      {{"--end", "10", "--step", "5", "--by", "count", "--insert", "cmd", "--reverse"},
       header + "cmd,0,8,\ncmd,0,6,\ncmd,0,4,\ncmd,0,2,\ncmd,0,0,\n"},
      {{"--start", "1234", "--end", "1235", "--code", "bcd7", "--bits", "32"}, header + "data,0,2032414745,\n"},
      {{"--start", "14", "--end", "15", "--bits", "4", "--invert"}, header + "data,0,1,\n"},
      {{"--start", "1234", "--end", "1235", "--code", "bcdhex", "--bits", "16"}, header + "data,0,4660,\n"},
      {{"--start", "175", "--end", "176", "--code", "hex7", "--bits", "16"}, header + "data,0,10111,\n"},
      {{"--insert", "packets", "--commands", "2", "--data", "1", "--repeat", "2"},
       header + "cmd,0,0,\ncmd,0,0,\ndata,0,0,\ncmd,0,0,\ncmd,0,0,\ndata,0,0,\n"},
      {{"--sequence", "random", "--end", "100", "--step", "1"}, header + "data,0,41,\n"},
      {{"--start", "5", "--end", "5", "--sequence", "random", "--step", "9"}, header},
      {{"--start", "100", "--step", "-30"}, header + "data,0,100,\ndata,0,70,\ndata,0,40,\ndata,0,10,\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 0) << err.str();
    EXPECT_EQ(out.str(), c.csv) << c.args.size();
    EXPECT_EQ(err.str(), "");
  }
}

TEST_F(GenerateCommandTest, OutputReadsBackAsTheEditorWouldInsertIt) {
  ASSERT_EQ(Run({"--end", "20000", "--bits", "63"}), 0);
  const PresetList items = ParsePresetCsv(out.str());
  ASSERT_EQ(items.size(), 10000u);
  EXPECT_EQ(items.back(), MakeDataItem(10000, true, 0, 9999));

  ASSERT_EQ(Run({"--end", "20000", "--limit", "30"}), 0);
  EXPECT_EQ(ParsePresetCsv(out.str()).size(), 30u);

  // A negative count never reaches its end: the limit stops it.
  ASSERT_EQ(Run({"--start", "10", "--step", "-5", "--by", "count", "--limit", "500", "--bits", "63"}), 0);
  const PresetList rising = ParsePresetCsv(out.str());
  ASSERT_EQ(rising.size(), 500u);
  EXPECT_EQ(rising.back().value, std::to_string(10 + 2 * 499));
}

TEST_F(GenerateCommandTest, RefusedValuesAndBadUsageExitWithTwo) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"--bits", "64"}, "--bits 64: 您输入的数据已经超出范围!"},
      {{"--bits", "0"}, "--bits 0: 您输入的数据已经超出范围!"},
      {{"--start", "-1"}, "--start -1: 您输入的数据不符合要求，必须是不小于0的整数"},
      {{"--end", "2147483648"}, "--end 2147483648: 您输入的数据已经超出范围!"},
      {{"--step", "0"}, "--step 0: 您输入的数据不符合要求"},
      {{"--commands", "101"}, "--commands 101: 您输入的数据已经超出范围!"},
      {{"--data", "0"}, "--data 0: 您输入的数据已经超出范围!"},
      {{"--repeat", "-1"}, "--repeat -1: 您输入的数据已经超出范围!"},
      {{"--limit", "10001"}, "--limit must be 1 to 10000"},
      {{"--limit", "0"}, "--limit must be 1 to 10000"},
      {{"--step", "2x"}, "--step needs a whole number, not \"2x\""},
      {{"--code", "octal"}, "--code is linear|bcd7|hex7|bcdhex, not \"octal\""},
      {{"--insert"}, "--insert needs a value"},
      {{"--colour", "red"}, "unknown argument \"--colour\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.message;
    EXPECT_EQ(out.str(), "") << c.message;
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
  }
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out.str().find("usage: radove-cli generate"), std::string::npos);
}

TEST_F(GenerateCommandTest, ReachedThroughTheCommandLine) {
  EXPECT_EQ(cli::Run({"generate", "--end", "3", "--insert", "cmd"}, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "kind,additional,value,remark\ncmd,0,0,\ncmd,0,1,\ncmd,0,2,\n");
  out.str({});
  EXPECT_EQ(cli::Run({"generate", "--bits", "64"}, out, err), 2);
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace radove
