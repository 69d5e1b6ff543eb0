#include "tools/PresetTable.h"

#include <gtest/gtest.h>

#include "tools/BulkGenerator.h"
#include "tools/PresetCsv.h"

namespace radove {
namespace {

// A table of rows whose decimal column names them: 10, 20, 30, ...
class PresetTableTest : public ::testing::Test {
 protected:
  void Fill(int n) {
    PresetList items;
    for (int i = 1; i <= n; ++i) items.push_back(MakeDataItem(i, i % 2 == 0, 0, i * 10));
    table.Load(items);
  }
  // The decimal column top to bottom.
  std::vector<std::string> Values() const {
    std::vector<std::string> v;
    for (int r = 0; r < table.RowCount(); ++r) v.push_back(table.Text(r, kColumnDecimal));
    return v;
  }
  void ExpectNumbered() const {
    for (int r = 0; r < table.RowCount(); ++r) EXPECT_EQ(table.Text(r, kColumnIndex), std::to_string(r + 1));
  }
  PresetTable table;
};

TEST_F(PresetTableTest, LoadShowsItemsAndTakesWhatDoesNotParseAsZero) {
  DataItem odd;
  odd.index = "77";
  odd.kind = "x";
  odd.additional = "zz";
  odd.value = "abc";
  odd.valueHex = "123";  // never read: recomputed from the value
  odd.remark = "备注";
  PresetList items = {MakeDataItem(1, false, 0x1F, 258, "r"), odd, MakeDataItem(3, true, 0, -1)};
  items[0].additional = "1f";
  table.Load(items);
  ASSERT_EQ(table.RowCount(), 3);
  const std::vector<std::vector<std::string>> expected = {
      {"1", "命令", "1F", "258", "102", "r"},
      {"2", "数据", "0", "0", "0", "备注"},
      {"3", "数据", "0", "-1", "FFFFFFFFFFFFFFFF", ""},
  };
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < kPresetColumnCount; ++c) {
      EXPECT_EQ(table.Text(r, c), expected[r][c]) << r << "," << c;
    }
  }
}

TEST_F(PresetTableTest, SaveWritesPositionsKindsAndTextsWithEmptyReservedFields) {
  PresetList items = {MakeDataItem(9, true, 0xAB, 65, "A"), MakeDataItem(4, false, 0, 0x38)};
  items[0].reserved[0] = "stale";
  table.Load(items);
  ASSERT_EQ(table.Edit(1, kColumnHex, "ff").status, EditResult::kAccepted);
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  const PresetList saved = table.Save([&](std::size_t done, std::size_t total) { progress.push_back({done, total}); });
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0], MakeDataItem(1, true, 0xAB, 65, "A"));
  DataItem second = MakeDataItem(2, false, 0, 255);
  second.valueHex = "ff";  // the text as entered
  EXPECT_EQ(saved[1], second);
  EXPECT_EQ(progress.back(), std::make_pair(std::size_t{2}, std::size_t{2}));

  table.Clear();
  EXPECT_TRUE(table.Save().empty());
}

TEST(PresetTableInsertPositionTest, GridRowsMapToPositions) {
  struct Case {
    int gridRow, rows, position;
  } cases[] = {
      {-1, 4, 4},  // no row: append
      {0, 4, 0},   // the header: top
      {1, 4, 0},   {3, 4, 2}, {4, 4, 3},
      {5, 4, 4},   // below the last row: append
      {-1, 0, 0},  {0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PresetTable::InsertPosition(c.gridRow, c.rows), c.position) << c.gridRow << " of " << c.rows;
  }
}

TEST_F(PresetTableTest, InsertingRowsBeforeTheClickedRowKeepsTheirOrder) {
  Fill(4);
  // Five generated values after a right click on row 3 of four.
  GeneratorParameters p;
  p.start = 100;
  p.end = 105;
  p.validBits = 16;
  Generate(p, kGenerateLimit);
  std::vector<PresetRow> rows;
  for (std::int64_t v : p.result) rows.push_back(PresetRow::Make(true, v));
  EXPECT_EQ(table.Insert(PresetTable::InsertPosition(3, table.RowCount()), rows), 2);
  EXPECT_EQ(Values(), (std::vector<std::string>{"10", "20", "100", "101", "102", "103", "104", "30", "40"}));
  ExpectNumbered();

  EXPECT_EQ(table.Insert(PresetTable::InsertPosition(-1, table.RowCount()), {PresetRow::Make(false, 7)}), 9);
  EXPECT_EQ(table.Insert(PresetTable::InsertPosition(0, table.RowCount()), {PresetRow::Make(false, 8)}), 0);
  EXPECT_EQ(Values().front(), "8");
  EXPECT_EQ(Values().back(), "7");
  const PresetRow& fresh = table.Row(0);
  EXPECT_EQ(table.Text(0, kColumnKind), "命令");
  EXPECT_EQ(fresh.additional, "0");
  EXPECT_EQ(fresh.hex, "8");
  EXPECT_EQ(fresh.remark, "");
}

TEST_F(PresetTableTest, CsvImportGoesToTheInsertionPoint) {
  Fill(3);
  const PresetList imported = ParsePresetCsv("kind,additional,value,remark\ncmd,1f,0x38,set\ndata,0,65,\n");
  table.Insert(PresetTable::InsertPosition(2, table.RowCount()), imported);
  EXPECT_EQ(Values(), (std::vector<std::string>{"10", "56", "65", "20", "30"}));
  EXPECT_EQ(table.Text(1, kColumnAdditional), "1F");
  EXPECT_EQ(table.Text(1, kColumnHex), "38");
  EXPECT_EQ(table.Text(1, kColumnRemark), "set");
  EXPECT_EQ(table.Text(2, kColumnKind), "数据");
  ExpectNumbered();
}

TEST_F(PresetTableTest, MovesActOnlyWhereTheyMakeSense) {
  using Move = bool (PresetTable::*)(int);
  struct Case {
    const char* name;
    Move move;
    int row;
    bool acts;
    std::vector<std::string> after;
  };
  const std::vector<std::string> same = {"10", "20", "30", "40"};
  const Case cases[] = {
      {"top", &PresetTable::MoveToTop, 2, true, {"30", "10", "20", "40"}},
      {"top of the first", &PresetTable::MoveToTop, 0, false, same},
      {"up", &PresetTable::MoveUp, 3, true, {"10", "20", "40", "30"}},
      {"up of the first", &PresetTable::MoveUp, 0, false, same},
      {"down", &PresetTable::MoveDown, 0, true, {"20", "10", "30", "40"}},
      {"down of the last", &PresetTable::MoveDown, 3, false, same},
      {"bottom", &PresetTable::MoveToBottom, 1, true, {"10", "30", "40", "20"}},
      {"bottom of the last", &PresetTable::MoveToBottom, 3, false, same},
      {"delete", &PresetTable::Remove, 1, true, {"10", "30", "40"}},
      {"header row", &PresetTable::MoveDown, -1, false, same},
      {"below the rows", &PresetTable::MoveUp, 4, false, same},
      {"delete below the rows", &PresetTable::Remove, 4, false, same},
  };
  for (const Case& c : cases) {
    Fill(4);
    EXPECT_EQ((table.*c.move)(c.row), c.acts) << c.name;
    EXPECT_EQ(Values(), c.after) << c.name;
    ExpectNumbered();
  }
  Fill(4);
  EXPECT_TRUE(table.MoveToTop(3));
  // A move carries the whole row, not only the value.
  EXPECT_EQ(table.Text(0, kColumnKind), "数据");
  EXPECT_EQ(table.Text(0, kColumnHex), "28");
}

TEST_F(PresetTableTest, EditsAreValidatedAndRefusedEditsChangeNothing) {
  struct Case {
    int column;
    std::string text;
    EditResult::Status status;
    std::string message;
    std::string decimal, hex;  // the row's value columns afterwards
  };
  const std::string range = "输入数据已经超出范围";
  const Case cases[] = {
      {kColumnDecimal, "1G", EditResult::kRefused, "您输入的不是十进制正整数,请重新输入", "10", "A"},
      {kColumnDecimal, "", EditResult::kRefused, "您输入的不是十进制正整数,请重新输入", "10", "A"},
      {kColumnDecimal, "-5", EditResult::kRefused, "您输入的不是十进制正整数,请重新输入", "10", "A"},
      {kColumnDecimal, "255", EditResult::kAccepted, "", "255", "FF"},
      {kColumnDecimal, "9223372036854775807", EditResult::kAccepted, "", "9223372036854775807",
       "7FFFFFFFFFFFFFFF"},
      {kColumnDecimal, "9223372036854775808", EditResult::kRefused, range, "10", "A"},
      {kColumnDecimal, "10", EditResult::kUnchanged, "", "10", "A"},
      {kColumnHex, "ff", EditResult::kAccepted, "", "255", "ff"},
      {kColumnHex, "0x10", EditResult::kRefused, "您输入的不是十六进制正整数,请重新输入", "10", "A"},
      {kColumnHex, "8000000000000000", EditResult::kRefused, range, "10", "A"},
      {kColumnHex, "000000000000000000FF", EditResult::kAccepted, "", "255", "000000000000000000FF"},
      {kColumnAdditional, "1g",
       EditResult::kRefused, "您输入的不是十六进制整数,请重新输入（此项仅对部分器件有效，请参考帮助文档）", "10", "A"},
      {kColumnAdditional, "8000000000000000", EditResult::kRefused, range, "10", "A"},
      {kColumnAdditional, "7fffffffffffffff", EditResult::kAccepted, "", "10", "A"},
      {kColumnKind, "数据", EditResult::kAccepted, "", "10", "A"},
      {kColumnKind, "data", EditResult::kRefused, "", "10", "A"},
      {kColumnIndex, "5", EditResult::kRefused, "", "10", "A"},
      {kColumnRemark, "任意, \"text\"", EditResult::kAccepted, "", "10", "A"},
  };
  for (const Case& c : cases) {
    Fill(2);
    const PresetRow before = table.Row(0);
    const EditResult result = table.Edit(0, c.column, c.text);
    EXPECT_EQ(result.status, c.status) << c.column << " " << c.text;
    EXPECT_EQ(result.message, c.message) << c.column << " " << c.text;
    EXPECT_EQ(table.Text(0, kColumnDecimal), c.decimal) << c.column << " " << c.text;
    EXPECT_EQ(table.Text(0, kColumnHex), c.hex) << c.column << " " << c.text;
    if (c.status == EditResult::kAccepted) {
      EXPECT_EQ(table.Text(0, c.column), c.text);
    } else {
      EXPECT_EQ(table.Row(0), before) << c.column << " " << c.text;
    }
    EXPECT_EQ(table.Text(1, kColumnDecimal), "20");  // no other row changes
  }
}

TEST_F(PresetTableTest, LoadReportsProgressUpToTheCount) {
  PresetList items(10000, MakeDataItem(1, true, 0, 1));
  std::size_t last = 0;
  table.Load(items, [&](std::size_t done, std::size_t total) {
    EXPECT_EQ(total, 10000u);
    EXPECT_GT(done, last);
    last = done;
  });
  EXPECT_EQ(last, 10000u);
  EXPECT_EQ(table.RowCount(), 10000);
}

}  // namespace
}  // namespace radove
