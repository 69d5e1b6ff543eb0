#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "library/LibraryBrowser.h"
#include "library/LibraryTestDb.h"

namespace radove {
namespace {

std::vector<int> Ids(const LibraryBrowser& b) {
  std::vector<int> ids;
  for (const DeviceListEntry& e : b.Devices()) ids.push_back(e.id);
  return ids;
}

std::vector<std::string> Names(const std::vector<LibraryGroup>& groups) {
  std::vector<std::string> names;
  for (const LibraryGroup& g : groups) names.push_back(g.name);
  return names;
}

int IndexOf(const std::vector<LibraryGroup>& groups, const std::string& name) {
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (groups[i].name == name) return static_cast<int>(i);
  }
  ADD_FAILURE() << name << " is not in the list";
  return -1;
}

class LibraryBrowserTest : public ::testing::Test {
 protected:
  LibraryBrowser Opened(BrowserPositions positions = {}) {
    LibraryBrowser b(LibraryDb(lib.File()), positions);
    EXPECT_EQ(b.Open(), BrowserStatus::kOk);
    return b;
  }
  // Selects a library and a category (none when empty) by their names.
  void Choose(LibraryBrowser& b, const std::string& library, const std::string& category) {
    ASSERT_EQ(b.SelectLibrary(IndexOf(b.Libraries(), library)), BrowserStatus::kOk);
    if (!category.empty()) {
      ASSERT_EQ(b.SelectCategory(IndexOf(b.Categories(), category)), BrowserStatus::kOk);
    }
  }

  test::TestLibrary lib;
};

TEST_F(LibraryBrowserTest, OpeningWithoutASelectionShowsEverythingAndChoosesTheFirstDevice) {
  LibraryBrowser b = Opened();
  EXPECT_EQ(Names(b.Libraries()), (std::vector<std::string>{"全部", "甲库", "乙库"}));
  EXPECT_EQ(b.Libraries().front().number, kAllLibraries);
  EXPECT_EQ(b.LibraryRow(), 0);
  // Under "全部" both names of category 1 are listed.
  const auto names = Names(b.Categories());
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
            (std::set<std::string>{"甲类一", "甲类二", "乙类一", "乙类三"}));
  EXPECT_EQ(b.CategoryRow(), -1);
  EXPECT_EQ(Ids(b), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(b.DeviceRow(), 0);
  EXPECT_EQ(b.SelectedDeviceId(), 1);
  EXPECT_EQ(b.Positions(), (BrowserPositions{0, -1, 0}));
  EXPECT_EQ(b.Picture(), lib.Picture());
  EXPECT_EQ(b.Description(), "info alpha");
}

// Each selection of library and category picks its own statement; the two
// libraries share category number 1, so the four statements list four sets.
struct SelectionCase {
  const char* library;
  const char* category;  // "" none
  std::vector<int> ids;
};

class BrowserSelectionTest : public LibraryBrowserTest,
                             public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(BrowserSelectionTest, ListsTheDevicesOfTheSelection) {
  const SelectionCase& c = GetParam();
  LibraryBrowser b = Opened();
  Choose(b, c.library, c.category);
  EXPECT_EQ(Ids(b), c.ids);
  EXPECT_EQ(b.DeviceRow(), 0);
  EXPECT_EQ(b.SelectedDeviceId(), c.ids.front());
}

INSTANTIATE_TEST_SUITE_P(
    Statements, BrowserSelectionTest,
    ::testing::Values(SelectionCase{"全部", "", {1, 2, 3, 4, 5}},  // every device
                      SelectionCase{"全部", "乙类一", {1, 3, 5}},  // category in any library
                      SelectionCase{"甲库", "", {1, 2, 5}},        // one library
                      SelectionCase{"甲库", "甲类一", {1, 5}},     // library and category
                      SelectionCase{"乙库", "乙类一", {3}}, SelectionCase{"乙库", "乙类三", {4}}));

TEST_F(LibraryBrowserTest, CategoriesOfOneLibraryAreItsOwn) {
  LibraryBrowser b = Opened();
  Choose(b, "乙库", "");
  EXPECT_EQ(Names(b.Categories()), (std::vector<std::string>{"乙类一", "乙类三"}));
}

struct SearchCase {
  const char* library;
  const char* category;
  const char* text;
  std::vector<int> ids;
};

class BrowserSearchTest : public LibraryBrowserTest,
                          public ::testing::WithParamInterface<SearchCase> {};

TEST_P(BrowserSearchTest, FindsTheNamesInTheSelection) {
  const SearchCase& c = GetParam();
  LibraryBrowser b = Opened();
  Choose(b, c.library, c.category);
  ASSERT_EQ(b.Search(c.text), BrowserStatus::kOk);
  EXPECT_EQ(Ids(b), c.ids) << "search text: " << c.text;
  EXPECT_EQ(b.SelectedDeviceId(), c.ids.empty() ? -1 : c.ids.front());
}

INSTANTIATE_TEST_SUITE_P(
    Quoting, BrowserSearchTest,
    ::testing::Values(SearchCase{"全部", "", "", {1, 2, 3, 4, 5}},  // empty text: everything
                      SearchCase{"全部", "", "16", {1, 3, 5}},
                      SearchCase{"全部", "乙类一", "LCM", {1, 3}},  // category in any library
                      SearchCase{"甲库", "", "16 2", {1, 5}},       // blank: words in order
                      SearchCase{"甲库", "", "2 16", {}},           // ... not the other way round
                      SearchCase{"甲库", "甲类一", "alpha", {1}},
                      SearchCase{"乙库", "", "it's", {4}},  // a quote is a wildcard
                      SearchCase{"全部",
                                 "",
                                 "\xE2\x80\x9C"
                                 "16"
                                 "\xE2\x80\x9D",
                                 {1, 3, 5}},                     // “16”
                      SearchCase{"全部", "", "delta\\it", {4}},  // backslash too
                      SearchCase{"全部", "", "\"gamma\"", {3}},
                      SearchCase{"全部", "", "x'; drop table device_lib; --", {}}));

TEST_F(LibraryBrowserTest, SearchTextNeverReachesTheStatement) {
  LibraryBrowser b = Opened();
  ASSERT_EQ(b.Search("' or 1=1; drop table device_lib; --"), BrowserStatus::kOk);
  EXPECT_TRUE(b.Devices().empty());
  EXPECT_EQ(test::CountRows(lib.File(), "select id from device_lib"), 5);
}

TEST_F(LibraryBrowserTest, PositionsSavedEarlierRestoreTheSameEntries) {
  LibraryBrowser first = Opened();
  Choose(first, "甲库", "甲类一");
  ASSERT_EQ(first.SelectDevice(1), BrowserStatus::kOk);
  ASSERT_EQ(first.SelectedDeviceId(), 5);
  const BrowserPositions saved = first.Positions();

  LibraryBrowser again = Opened(saved);
  EXPECT_EQ(again.Positions(), saved);
  EXPECT_EQ(again.LibraryRow(), saved.library);
  EXPECT_EQ(again.CategoryRow(), saved.category);
  EXPECT_EQ(again.DeviceRow(), 1);
  EXPECT_EQ(again.SelectedDeviceId(), 5);
  EXPECT_EQ(again.Description(), "info epsilon");
}

TEST_F(LibraryBrowserTest, AnotherLibraryClearsTheCategoryAndChoosesItsFirstDevice) {
  LibraryBrowser b = Opened();
  Choose(b, "甲库", "甲类二");
  ASSERT_EQ(b.SelectedDeviceId(), 2);
  ASSERT_EQ(b.SelectLibrary(IndexOf(b.Libraries(), "乙库")), BrowserStatus::kOk);
  EXPECT_EQ(b.CategoryRow(), -1);
  EXPECT_EQ(b.Positions().category, -1);
  EXPECT_EQ(Ids(b), (std::vector<int>{3, 4}));
  EXPECT_EQ(b.SelectedDeviceId(), 3);
  EXPECT_EQ(b.Positions().device, 0);
  EXPECT_EQ(b.Description(), "info gamma");
}

TEST_F(LibraryBrowserTest, SearchWithFewerEntriesThanThePositionChoosesNothing) {
  LibraryBrowser b = Opened();
  ASSERT_EQ(b.SelectDevice(3), BrowserStatus::kOk);
  ASSERT_EQ(b.Search("LCM"), BrowserStatus::kOk);
  EXPECT_EQ(Ids(b), (std::vector<int>{1, 3}));
  EXPECT_EQ(b.DeviceRow(), -1);
  EXPECT_EQ(b.SelectedDeviceId(), -1);
  EXPECT_EQ(b.Positions().device, 3);
}

TEST_F(LibraryBrowserTest, SearchLeavesThePreviewAlone) {
  LibraryBrowser b = Opened();
  ASSERT_EQ(b.Search("gamma"), BrowserStatus::kOk);
  EXPECT_EQ(b.SelectedDeviceId(), 3);
  EXPECT_EQ(b.Description(), "info alpha");
  EXPECT_EQ(b.Picture(), lib.Picture());
}

TEST_F(LibraryBrowserTest, ADeviceWithoutPictureShowsItsDescriptionOnly) {
  LibraryBrowser b = Opened();
  ASSERT_EQ(b.SelectDevice(1), BrowserStatus::kOk);  // names a file that does not exist
  EXPECT_TRUE(b.Picture().empty());
  EXPECT_EQ(b.Description(), "info beta");
  ASSERT_EQ(b.SelectDevice(2), BrowserStatus::kOk);  // names no file at all
  EXPECT_TRUE(b.Picture().empty());
  EXPECT_EQ(b.Description(), "info gamma");
}

TEST_F(LibraryBrowserTest, NoDeviceBlanksThePictureAndKeepsTheDescription) {
  LibraryBrowser b = Opened();
  ASSERT_EQ(b.Search("no such device"), BrowserStatus::kOk);
  ASSERT_EQ(b.SelectedDeviceId(), -1);
  ASSERT_EQ(b.ShowPreview(), BrowserStatus::kOk);
  EXPECT_TRUE(b.Picture().empty());
  EXPECT_EQ(b.Description(), "info alpha");
}

TEST_F(LibraryBrowserTest, ASelectionFromALargerLibraryStartsAgainFromAll) {
  LibraryBrowser b = Opened({7, 1, 2});
  EXPECT_EQ(b.Positions(), (BrowserPositions{0, -1, 0}));
  EXPECT_EQ(b.SelectedDeviceId(), 1);
}

TEST_F(LibraryBrowserTest, ACategoryPositionBeyondTheListSelectsNoCategory) {
  LibraryBrowser b = Opened({1, 9, -1});
  EXPECT_EQ(b.CategoryRow(), -1);
  EXPECT_EQ(b.Positions().category, -1);
  EXPECT_EQ(Ids(b), (std::vector<int>{1, 2, 5}));
}

TEST_F(LibraryBrowserTest, AMissingDatabaseIsReportedAndChoosesNothing) {
  LibraryBrowser b(LibraryDb(lib.Dir() / "missing.db"), {});
  EXPECT_EQ(b.Open(), BrowserStatus::kUnreadable);
  EXPECT_TRUE(b.Libraries().empty());
  EXPECT_TRUE(b.Categories().empty());
  EXPECT_TRUE(b.Devices().empty());
  EXPECT_EQ(b.SelectedDeviceId(), -1);
  EXPECT_FALSE(std::filesystem::exists(lib.Dir() / "missing.db"));
}

TEST_F(LibraryBrowserTest, ADatabaseThatGoesMissingKeepsTheListsAsTheyWere) {
  LibraryBrowser b = Opened();
  Choose(b, "甲库", "");
  const auto devices = b.Devices();
  const auto categories = b.Categories();
  std::filesystem::rename(lib.File(), lib.Dir() / "moved.db");
  EXPECT_EQ(b.SelectLibrary(IndexOf(b.Libraries(), "乙库")), BrowserStatus::kUnreadable);
  EXPECT_EQ(b.Categories(), categories);
  EXPECT_EQ(b.Devices(), devices);
  EXPECT_EQ(b.SelectedDeviceId(), 1);
}

TEST_F(LibraryBrowserTest, ATableThatCannotBeReadEmptiesTheDeviceList) {
  LibraryBrowser b = Opened();
  test::ExecSql(lib.File(), "ALTER TABLE device_lib RENAME TO old_device_lib;");
  EXPECT_EQ(b.FillDevices(), BrowserStatus::kUnreadable);
  EXPECT_TRUE(b.Devices().empty());
  EXPECT_EQ(b.SelectedDeviceId(), -1);
  EXPECT_EQ(b.FillCategories(), BrowserStatus::kUnreadable);
  EXPECT_FALSE(b.Categories().empty()) << "the category list keeps its entries";
}

}  // namespace
}  // namespace radove
