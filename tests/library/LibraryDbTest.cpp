#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/DataPaths.h"
#include "core/PinCodes.h"
#include "library/LibraryDb.h"

namespace radove {
namespace {

namespace fs = std::filesystem;

// Runs SQL on a file directly, outside the code under test.
void Exec(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message << "\n" << sql;
}

std::vector<int> IdsOf(const std::vector<DeviceListEntry>& entries) {
  std::vector<int> ids;
  for (const auto& e : entries) ids.push_back(e.id);
  return ids;
}

std::vector<int> QueryIds(const fs::path& file, const std::string& sql) {
  std::vector<int> ids;
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql;
  while (sqlite3_step(stmt) == SQLITE_ROW) ids.push_back(sqlite3_column_int(stmt, 0));
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return ids;
}

class LibraryDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(db.File())) << db.File() << " is missing: build the radove_db target";
  }
  LibraryDb db;
};

// A private copy of the built library for tests that write.
class LibraryDbCopyTest : public LibraryDbTest {
 protected:
  void SetUp() override {
    LibraryDbTest::SetUp();
    dir = fs::temp_directory_path() /
          ("radove-lib-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    copy = dir / "lm.db";
    fs::copy_file(db.File(), copy);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
  fs::path copy;
};

// --- The rows -----------------------------------------------------------------

TEST_F(LibraryDbTest, EveryCatalogueCodeIsACreatableRowWithTextsAndPins) {
  std::set<std::string> models;
  for (const CatalogueEntry& entry : Catalogue()) {
    SCOPED_TRACE(entry.code);
    const auto cls = db.DeviceClass(entry.code);
    ASSERT_TRUE(cls.Ok()) << cls.error;
    ASSERT_TRUE(cls.value.has_value());
    EXPECT_EQ(cls.value->className, entry.className);
    EXPECT_EQ(cls.value->classFileName, std::string(entry.className) + ".h");
    EXPECT_TRUE(cls.value->Creatable());
    EXPECT_EQ(cls.value->userCreated, 0);

    const auto texts = db.Texts(entry.code);
    ASSERT_TRUE(texts.Ok()) << texts.error;
    ASSERT_TRUE(texts.value.has_value());
    EXPECT_FALSE(texts.value->name.empty());
    EXPECT_FALSE(texts.value->typeCn.empty());
    EXPECT_EQ(texts.value->typeEn, entry.model);
    EXPECT_FALSE(texts.value->categoryCn.empty());
    EXPECT_FALSE(texts.value->subCategoryCn.empty());
    EXPECT_FALSE(texts.value->info.empty());
    models.insert(texts.value->typeEn);

    const auto preview = db.Preview(entry.code);
    ASSERT_TRUE(preview.Ok());
    ASSERT_TRUE(preview.value.has_value());
    EXPECT_EQ(preview.value->picture, "preview/" + std::to_string(entry.code) + ".png");
    EXPECT_EQ(preview.value->info, texts.value->info);
    EXPECT_EQ(preview.value->name, texts.value->name);

    const auto pins = db.Pins(entry.code, texts.value->typeCn, texts.value->name);
    ASSERT_TRUE(pins.Ok()) << pins.error;
    ASSERT_FALSE(pins.value.empty());
    for (std::size_t i = 0; i < pins.value.size(); ++i) {
      const PinRecord& pin = pins.value[i];
      EXPECT_EQ(pin.tidDeviceLib, entry.code);
      EXPECT_EQ(pin.ownNumber, static_cast<int>(i) + 1) << "pins come in pin order";
      EXPECT_EQ(pin.id, entry.code * 100 + pin.ownNumber);
      EXPECT_FALSE(pin.nameEn.empty());
      EXPECT_FALSE(pin.nameCn.empty());
      EXPECT_FALSE(pin.info.empty());
      EXPECT_EQ(pin.deviceType, texts.value->typeCn);
      EXPECT_EQ(pin.deviceName, texts.value->name);
      EXPECT_TRUE(pin.ioType == pin_io::kNone || pin.ioType == pin_io::kInput ||
                  pin.ioType == pin_io::kOutput || pin.ioType == pin_io::kBidirectional)
          << pin.nameEn;
      for (int level : {pin.activeLevel, pin.outputLevel}) {
        EXPECT_TRUE(level == pin_level::kNone || level == pin_level::kLow ||
                    level == pin_level::kHigh)
            << pin.nameEn;
      }
      EXPECT_TRUE(pin.clkTrigger >= pin_clock::kNotClock && pin.clkTrigger <= pin_clock::kBothEdges)
          << pin.nameEn;
      // Only inputs react to a clock edge.
      if (pin.clkTrigger != pin_clock::kNotClock) {
        EXPECT_NE(pin.ioType, pin_io::kOutput) << pin.nameEn;
      }
    }
  }
  EXPECT_EQ(models.size(), Catalogue().size()) << "type_en must be unique";
}

TEST_F(LibraryDbTest, TheLibraryHoldsExactlyTheCatalogue) {
  const auto all = db.AllDevices();
  ASSERT_TRUE(all.Ok()) << all.error;
  std::set<int> ids;
  for (int id : IdsOf(all.value)) ids.insert(id);
  std::set<int> codes;
  for (const CatalogueEntry& e : Catalogue()) codes.insert(e.code);
  EXPECT_EQ(ids, codes);
}

TEST_F(LibraryDbTest, SupplyPinsAreTiedAndSignalPinsAreFree) {
  struct Case {
    int code;
    const char* pin;
    int connection;
  } cases[] = {
      {700001, "VSS", kPinGnd},         {700001, "VDD", kPinVcc},
      {700001, "RS", kPinUnconnected},  {700001, "E", kPinUnconnected},
      {700001, "K", kPinGnd},           {700001, "A", kPinVcc},
      {700020, "RXD", kPinUnconnected}, {500400, "DIN", kPinUnconnected},
      {200000, "COM", kPinGnd},         {200010, "COM", kPinVcc},
      {6000102, "WP", kPinGnd},         {7000500, "D0", kPinVcc},
      {7000500, "D2", kPinGnd},         {700700, "EXTC", kPinVcc},
      {700700, "IM3", kPinGnd},
  };
  for (const Case& c : cases) {
    const auto pins = db.Pins(c.code, "t", "n");
    ASSERT_TRUE(pins.Ok());
    const auto it = std::find_if(pins.value.begin(), pins.value.end(),
                                 [&](const PinRecord& p) { return p.nameEn == c.pin; });
    ASSERT_NE(it, pins.value.end()) << c.code << " " << c.pin;
    EXPECT_EQ(it->connection, c.connection) << c.code << " " << c.pin;
  }
}

TEST_F(LibraryDbTest, ModulePinsFollowTheRealPinouts) {
  auto names = [&](int code) {
    std::vector<std::string> out;
    for (const PinRecord& p : db.Pins(code, "", "").value) out.push_back(p.nameEn);
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(names(700001), (V{"VSS", "VDD", "V0", "RS", "R/W", "E", "DB0", "DB1", "DB2", "DB3",
                              "DB4", "DB5", "DB6", "DB7", "A", "K"}));
  EXPECT_EQ(names(700100), (V{"VSS", "VDD", "V0",  "D/I", "R/W", "E",   "DB0", "DB1", "DB2", "DB3",
                              "DB4", "DB5", "DB6", "DB7", "CS1", "CS2", "RST", "VEE", "A",   "K"}));
  EXPECT_EQ(names(300100), (V{"VCC", "GND", "DIN", "CS", "CLK", "DOUT"}));
  EXPECT_EQ(names(6000100), (V{"A0", "A1", "A2", "GND", "SDA", "SCL", "WP", "VCC"}));
  EXPECT_EQ(names(7000100), (V{"VCC2", "X1", "X2", "GND", "CE", "I/O", "SCLK", "VCC1"}));
  EXPECT_EQ(names(700500), (V{"RST", "CE", "DC", "DIN", "CLK", "VCC", "BL", "GND"}));
  EXPECT_EQ(names(7000600), (V{"A+", "A-", "B+", "B-"}));
}

TEST_F(LibraryDbTest, DevicesFindTheirSpecialPinsByFunction) {
  auto byFunction = [&](int code) {
    std::map<int, std::string> out;
    for (const PinRecord& p : db.Pins(code, "", "").value) {
      if (p.specialType != pin_function::kNone) out[p.specialType] += p.nameEn;
    }
    return out;
  };
  const auto tft = byFunction(700700);
  EXPECT_EQ(tft.at(pin_function::kExtendedCommands), "EXTC");
  EXPECT_EQ(tft.at(pin_function::kInterfaceMode0), "IM0");
  EXPECT_EQ(tft.at(pin_function::kInterfaceMode1), "IM1");
  EXPECT_EQ(tft.at(pin_function::kInterfaceMode2), "IM2");
  EXPECT_EQ(tft.at(pin_function::kInterfaceMode3), "IM3");
  EXPECT_EQ(tft.at(pin_function::kChipSelect1), "CSX");

  const auto ks = byFunction(700100);
  EXPECT_EQ(ks.at(pin_function::kChipSelect1), "CS1");
  EXPECT_EQ(ks.at(pin_function::kChipSelect2), "CS2");
  const auto sed = byFunction(700303);
  EXPECT_EQ(sed.at(pin_function::kChipSelect3), "CS3");
  EXPECT_EQ(byFunction(700312).at(pin_function::kChipSelect2), "CS2");
  EXPECT_EQ(byFunction(700400).at(pin_function::kInterfaceSelect), "PSB");
  // Only the TFT has an extended-command pin.
  for (const CatalogueEntry& e : Catalogue()) {
    if (e.code == 700700) continue;
    EXPECT_EQ(byFunction(e.code).count(pin_function::kExtendedCommands), 0u) << e.code;
  }
}

TEST_F(LibraryDbTest, PinConnectionsFollowTheInputLevelOfEveryRow) {
  // The raw input_level of every row against the connection of its pin record.
  std::map<int, int> levelById;
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open_v2(db.File().string().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(raw, "select id, input_level from gpio_lib", -1, &stmt, nullptr),
            SQLITE_OK);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    levelById[sqlite3_column_int(stmt, 0)] = sqlite3_column_int(stmt, 1);
  }
  sqlite3_finalize(stmt);
  sqlite3_close(raw);

  std::set<int> seen;
  for (const CatalogueEntry& e : Catalogue()) {
    for (const PinRecord& p : db.Pins(e.code, "", "").value) {
      ASSERT_TRUE(levelById.count(p.id));
      EXPECT_EQ(p.connection, ConnectionForInputLevel(levelById[p.id])) << p.id;
      seen.insert(levelById[p.id]);
    }
  }
  EXPECT_EQ(seen, (std::set<int>{-1, 10, 11})) << "the library uses the three tie codes";
}

TEST(ConnectionForInputLevel, ElevenIsVccTenIsGndAnythingElseIsFree) {
  EXPECT_EQ(ConnectionForInputLevel(11), -100);
  EXPECT_EQ(ConnectionForInputLevel(10), -201);
  for (int level : {-1, 0, 1, 9, 12, 100, -100, -201}) {
    EXPECT_EQ(ConnectionForInputLevel(level), -1) << level;
  }
}

TEST_F(LibraryDbTest, PinRecordsCarryTheDeviceTextsAndTheReservedDefaults) {
  const auto pins = db.Pins(700700, "240320 TFT·ILI9341", "彩色屏");
  ASSERT_TRUE(pins.Ok());
  const auto extc = std::find_if(pins.value.begin(), pins.value.end(),
                                 [](const PinRecord& p) { return p.nameEn == "EXTC"; });
  ASSERT_NE(extc, pins.value.end());
  PinRecord expected;
  expected.id = 70070008;
  expected.tidDeviceLib = 700700;
  expected.deviceType = "240320 TFT·ILI9341";
  expected.deviceName = "彩色屏";
  expected.nameCn = "扩展指令使能";
  expected.nameEn = "EXTC";
  expected.ioType = pin_io::kInput;
  expected.specialType = pin_function::kExtendedCommands;
  expected.activeLevel = pin_level::kHigh;
  expected.outputLevel = pin_level::kNone;
  expected.clkTrigger = pin_clock::kNotClock;
  expected.logic = 1;
  expected.info = "扩展指令使能";
  expected.description = extc->description;
  expected.connection = kPinVcc;
  expected.ownNumber = 8;
  EXPECT_EQ(*extc, expected);
  EXPECT_NE(extc->description.find("0xB0"), std::string::npos);
}

TEST_F(LibraryDbTest, UnknownIdsGiveNoRows) {
  EXPECT_TRUE(db.DeviceClass(-1).Ok());
  EXPECT_FALSE(db.DeviceClass(-1).value.has_value());
  EXPECT_FALSE(db.Texts(123).value.has_value());
  EXPECT_FALSE(db.Preview(-1).value.has_value());
  const auto pins = db.Pins(-1, "", "");
  EXPECT_TRUE(pins.Ok());
  EXPECT_TRUE(pins.value.empty());
}

TEST_F(LibraryDbTest, TargetBoardTenHasTheMicrocontrollerGpios) {
  const auto gpios = db.TargetGpios();
  ASSERT_TRUE(gpios.Ok()) << gpios.error;
  ASSERT_EQ(gpios.value.size(), 35u);  // PA0..PA15, PB0..PB15, PC13..PC15
  std::set<int> numbers;
  for (const TargetGpio& g : gpios.value) {
    EXPECT_EQ(g.tidTarget, kTargetBoard);
    EXPECT_GT(g.number, 0);
    EXPECT_LE(g.number, 48);
    EXPECT_TRUE(numbers.insert(g.number).second) << "numbers are the labels: unique";
    EXPECT_EQ(g.ioTypeGroup, pin_io::kBidirectional);
  }
  EXPECT_TRUE(
      std::is_sorted(gpios.value.begin(), gpios.value.end(),
                     [](const TargetGpio& a, const TargetGpio& b) { return a.number < b.number; }));
  // PA9/PA10 carry USART1, PA0 a channel of timer 2.
  auto at = [&](int number) {
    return *std::find_if(gpios.value.begin(), gpios.value.end(),
                         [&](const TargetGpio& g) { return g.number == number; });
  };
  EXPECT_EQ(at(30).uartGroup, 1);
  EXPECT_EQ(at(31).uartGroup, 1);
  EXPECT_EQ(at(10).clkGroup, 2);
  const auto none = db.TargetGpios(99);
  EXPECT_TRUE(none.Ok());
  EXPECT_TRUE(none.value.empty());
}

// --- The browser's lists -------------------------------------------------------

TEST_F(LibraryDbTest, LibrariesAndCategoriesPartitionTheDevices) {
  const auto libraries = db.Libraries();
  ASSERT_TRUE(libraries.Ok()) << libraries.error;
  ASSERT_FALSE(libraries.value.empty());
  const auto allCategories = db.AllCategories();
  ASSERT_TRUE(allCategories.Ok());
  EXPECT_EQ(db.Categories(kAllLibraries).value, allCategories.value);

  std::set<int> libraryNumbers;
  std::vector<LibraryGroup> categoriesOfLibraries;
  std::multiset<int> devicesOfLibraries;
  for (const LibraryGroup& library : libraries.value) {
    SCOPED_TRACE(library.name);
    EXPECT_NE(library.number, kAllLibraries);
    EXPECT_NE(library.number, kUserLibrary);
    EXPECT_FALSE(library.name.empty());
    EXPECT_TRUE(libraryNumbers.insert(library.number).second);

    const auto categories = db.CategoriesOfLibrary(library.number);
    ASSERT_TRUE(categories.Ok());
    ASSERT_FALSE(categories.value.empty());
    EXPECT_EQ(db.Categories(library.number).value, categories.value);
    const auto inLibrary = db.DevicesInLibrary(library.number);
    ASSERT_TRUE(inLibrary.Ok());
    EXPECT_EQ(db.Devices(library.number, std::nullopt).value, inLibrary.value);

    std::multiset<int> fromCategories;
    for (const LibraryGroup& category : categories.value) {
      categoriesOfLibraries.push_back(category);
      const auto both = db.DevicesInLibraryCategory(library.number, category.number);
      ASSERT_TRUE(both.Ok());
      EXPECT_FALSE(both.value.empty()) << category.name;
      EXPECT_EQ(db.Devices(library.number, category.number).value, both.value);
      // Category numbers are not shared between libraries in this library.
      EXPECT_EQ(db.DevicesInCategory(category.number).value, both.value);
      EXPECT_EQ(db.Devices(kAllLibraries, category.number).value, both.value);
      for (int id : IdsOf(both.value)) fromCategories.insert(id);
    }
    std::multiset<int> direct;
    for (int id : IdsOf(inLibrary.value)) direct.insert(id);
    EXPECT_EQ(fromCategories, direct);
    devicesOfLibraries.insert(direct.begin(), direct.end());
  }
  auto byNumber = [](const LibraryGroup& a, const LibraryGroup& b) { return a.number < b.number; };
  std::vector<LibraryGroup> all = allCategories.value;
  std::sort(all.begin(), all.end(), byNumber);
  std::sort(categoriesOfLibraries.begin(), categoriesOfLibraries.end(), byNumber);
  EXPECT_EQ(all, categoriesOfLibraries);

  const auto everything = db.AllDevices();
  EXPECT_EQ(db.Devices(kAllLibraries, std::nullopt).value, everything.value);
  std::multiset<int> allIds;
  for (int id : IdsOf(everything.value)) allIds.insert(id);
  EXPECT_EQ(devicesOfLibraries, allIds);
}

TEST_F(LibraryDbTest, DeviceListEntriesCarryNameAndDescription) {
  const auto all = db.AllDevices();
  ASSERT_TRUE(all.Ok());
  const auto it = std::find_if(all.value.begin(), all.value.end(),
                               [](const DeviceListEntry& e) { return e.id == 700001; });
  ASSERT_NE(it, all.value.end());
  const auto texts = db.Texts(700001);
  EXPECT_EQ(it->name, texts.value->name);
  EXPECT_EQ(it->info, texts.value->info);
}

// --- The search ------------------------------------------------------------------

TEST(DeviceSearchPattern, QuotesBackslashesAndBlanksBecomeWildcards) {
  EXPECT_EQ(DeviceSearchPattern(""), "%%");
  EXPECT_EQ(DeviceSearchPattern("LCM1602"), "%LCM1602%");
  EXPECT_EQ(DeviceSearchPattern("字符 液晶"), "%字符%液晶%");
  EXPECT_EQ(DeviceSearchPattern("a'b\"c\\d e"), "%a%b%c%d%e%");
  EXPECT_EQ(DeviceSearchPattern("‘单’“双”"), "%%单%%双%%");
  EXPECT_EQ(DeviceSearchPattern("50%_x"), "%50%_x%") << "the user's own wildcards stay";
  // A character whose encoding merely shares bytes with a full-width quote stays.
  EXPECT_EQ(DeviceSearchPattern("—…"), "%—…%");
}

// The search as the statement text once composed it: the replaced text spliced
// between the quotes of a like pattern. The replacement leaves no quote in the
// text, so this reference is sound for the texts below.
std::string SplicedReplace(std::string text) {
  for (const char* token : {"‘", "’", "“", "”", "'", "\"", "\\", " "}) {
    const std::string t = token;
    for (std::size_t pos; (pos = text.find(t)) != std::string::npos;)
      text.replace(pos, t.size(), "%");
  }
  return text;
}

TEST_F(LibraryDbTest, SearchMatchesLikeTheSplicedPatternInEveryScope) {
  const char* texts[] = {
      "",           "LCM1602",      "lcm1602",      "字符液晶 并口", "字符液晶'并口",
      "“字符”液晶", "16\\2",        "MAX7219 点阵", "LCM160_",       "%",
      "  ",         "不存在的器件", "0.96英寸"};
  const int library = 10002;  // character LCDs and more
  const int category = 2001;  // parallel character LCDs
  struct Scope {
    const char* where;
    std::function<LibraryResult<std::vector<DeviceListEntry>>(std::string_view)> search;
  } scopes[] = {
      {"", [&](std::string_view t) { return db.SearchAllDevices(t); }},
      {"sub_category=2001 and ",
       [&](std::string_view t) { return db.SearchDevicesInCategory(category, t); }},
      {"category=10002 and ",
       [&](std::string_view t) { return db.SearchDevicesInLibrary(library, t); }},
      {"category=10002 and sub_category=2001 and ",
       [&](std::string_view t) { return db.SearchDevicesInLibraryCategory(library, category, t); }},
  };
  for (const Scope& scope : scopes) {
    for (const char* text : texts) {
      SCOPED_TRACE(std::string(scope.where) + "|" + text);
      const auto found = scope.search(text);
      ASSERT_TRUE(found.Ok()) << found.error;
      const std::string reference = std::string("select id from device_lib where ") + scope.where +
                                    "name like '%" + SplicedReplace(text) + "%'";
      EXPECT_EQ(IdsOf(found.value), QueryIds(db.File(), reference));
    }
  }
}

TEST_F(LibraryDbTest, SearchFindsWordsInOrderAndIgnoresQuotes) {
  using V = std::vector<int>;
  const V parallel{700000, 700001, 700002, 700003, 700004, 700005, 700006};
  EXPECT_EQ(IdsOf(db.SearchAllDevices("字符液晶 并口").value), parallel);
  EXPECT_EQ(IdsOf(db.SearchAllDevices("字符液晶'并口").value), parallel);
  EXPECT_EQ(IdsOf(db.SearchAllDevices("“字符液晶”并口").value), parallel);
  EXPECT_TRUE(db.SearchAllDevices("并口 字符液晶").value.empty()) << "words keep their order";
  EXPECT_EQ(IdsOf(db.SearchAllDevices("LCM1602").value), (V{700001}));
  EXPECT_EQ(IdsOf(db.SearchDevicesInLibrary(10002, "").value),
            IdsOf(db.DevicesInLibrary(10002).value))
      << "an empty search lists the whole selection";
  EXPECT_EQ(IdsOf(db.SearchDevices(kAllLibraries, std::nullopt, "").value),
            IdsOf(db.AllDevices().value));
  EXPECT_EQ(IdsOf(db.SearchDevices(10002, 2001, "4002").value), (V{700004}));
  EXPECT_EQ(IdsOf(db.SearchDevices(kAllLibraries, 2002, "40×2").value), (V{700050}));
  EXPECT_EQ(IdsOf(db.SearchDevices(10001, std::nullopt, "MAX7219").value),
            (V{300100, 300101, 500100, 500101, 500400, 500401, 500440, 500801}));
}

TEST_F(LibraryDbTest, SearchTextCannotAlterTheStatement) {
  for (const char* text : {"'; drop table device_lib; --", "x' or '1'='1", "\" or 1=1 --",
                           "') union select id, class_name, info from device_lib --"}) {
    const auto found = db.SearchAllDevices(text);
    EXPECT_TRUE(found.Ok()) << text << ": " << found.error;
    EXPECT_TRUE(found.value.empty()) << text;
  }
  EXPECT_EQ(db.AllDevices().value.size(), Catalogue().size());
}

// --- The new-device dialog's statements --------------------------------------------

TEST_F(LibraryDbTest, ModelCheckFindsExistingModelsOnly) {
  EXPECT_EQ(db.CheckModel("LCM1602"), ModelCheck::kTaken);
  EXPECT_EQ(db.CheckModel("  LCM1602\t"), ModelCheck::kTaken) << "checked as it will be stored";
  EXPECT_EQ(db.CheckModel("lcm1602"), ModelCheck::kFree) << "models compare exactly";
  EXPECT_EQ(db.CheckModel("SINGLE_RED_LED"), ModelCheck::kFree);
  EXPECT_EQ(db.CheckModel("x' or '1'='1"), ModelCheck::kFree);
}

TEST_F(LibraryDbCopyTest, InsertAppendsAUserDeviceThatTheBrowserLists) {
  const LibraryDb lib(copy);
  const auto added =
      lib.InsertUserDevice({"  光电器件 ", " SINGLE_RED_LED", "单个发光二极管,红色  ",
                            "单个发光二极管,红色", " SingleRedLed "});
  ASSERT_TRUE(added.Ok()) << added.error;
  EXPECT_GT(added.value, 7000600);

  const int id = static_cast<int>(added.value);
  const auto cls = lib.DeviceClass(id);
  ASSERT_TRUE(cls.value.has_value());
  EXPECT_EQ(cls.value->className, "SingleRedLed");
  EXPECT_EQ(cls.value->classFileName, "SingleRedLed");
  EXPECT_EQ(cls.value->userCreated, kUserCreatedMarker);
  const auto texts = lib.Texts(id);
  ASSERT_TRUE(texts.value.has_value());
  EXPECT_EQ(texts.value->name, "单个发光二极管,红色");
  EXPECT_EQ(texts.value->typeCn, "SINGLE_RED_LED");
  EXPECT_EQ(texts.value->typeEn, "SINGLE_RED_LED");
  EXPECT_EQ(texts.value->categoryCn, "用户自定义");
  EXPECT_EQ(texts.value->subCategoryCn, "光电器件");
  EXPECT_EQ(texts.value->info, "单个发光二极管,红色");
  EXPECT_EQ(lib.Preview(id).value->picture, "1") << "names no picture file";
  EXPECT_TRUE(lib.Pins(id, "", "").value.empty()) << "no pins are stored for it";

  const auto libraries = lib.Libraries().value;
  EXPECT_NE(std::find(libraries.begin(), libraries.end(), LibraryGroup{kUserLibrary, "用户自定义"}),
            libraries.end());
  EXPECT_EQ(IdsOf(lib.DevicesInLibraryCategory(kUserLibrary, 1).value), (std::vector<int>{id}));
  EXPECT_EQ(IdsOf(lib.SearchAllDevices("发光二极管 红色").value), (std::vector<int>{id}));
  EXPECT_EQ(lib.CheckModel("SINGLE_RED_LED"), ModelCheck::kTaken);

  // The fixed columns the program writes.
  EXPECT_EQ(QueryIds(copy, "select category from device_lib where id=" + std::to_string(id)),
            (std::vector<int>{kUserLibrary}));
  EXPECT_EQ(QueryIds(copy, "select sub_category + sub2_category * 10 from device_lib where id=" +
                               std::to_string(id)),
            (std::vector<int>{11}));
}

TEST_F(LibraryDbCopyTest, InsertKeepsQuotesAndBackslashesAsTyped) {
  const LibraryDb lib(copy);
  const std::string tricky = "O'Brien \"x\" \\ ');drop table device_lib;--";
  const auto added = lib.InsertUserDevice({tricky, tricky, tricky, tricky, tricky});
  ASSERT_TRUE(added.Ok()) << added.error;
  const auto texts = lib.Texts(static_cast<int>(added.value));
  ASSERT_TRUE(texts.value.has_value());
  EXPECT_EQ(texts.value->name, tricky);
  EXPECT_EQ(texts.value->typeEn, tricky);
  EXPECT_EQ(texts.value->subCategoryCn, tricky);
  EXPECT_EQ(texts.value->info, tricky);
  EXPECT_EQ(lib.DeviceClass(static_cast<int>(added.value)).value->className, tricky);
  EXPECT_EQ(lib.CheckModel(tricky), ModelCheck::kTaken);
  EXPECT_EQ(lib.AllDevices().value.size(), Catalogue().size() + 1);
}

TEST_F(LibraryDbCopyTest, InsertRefusesEmptyRequiredTextsAndExistingModels) {
  const LibraryDb lib(copy);
  const NewDeviceEntry good{"类别", "NEW-MODEL", "名称", "", "Cls"};
  NewDeviceEntry cases[] = {good, good, good, good};
  cases[0].category = "   ";
  cases[1].model = "";
  cases[2].name = "\t";
  cases[3].className = " ";
  for (const NewDeviceEntry& entry : cases) {
    const auto r = lib.InsertUserDevice(entry);
    EXPECT_EQ(r.status, LibraryStatus::kRejected);
    EXPECT_FALSE(r.error.empty());
  }
  NewDeviceEntry existing = good;
  existing.model = "LCM1602";
  const auto dup = lib.InsertUserDevice(existing);
  EXPECT_EQ(dup.status, LibraryStatus::kRejected) << "type_en stays unique";
  EXPECT_EQ(lib.AllDevices().value.size(), Catalogue().size()) << "nothing was added";

  const auto ok = lib.InsertUserDevice(good);
  EXPECT_TRUE(ok.Ok()) << ok.error << " (the description may be empty)";
  EXPECT_EQ(lib.InsertUserDevice(good).status, LibraryStatus::kRejected);
}

TEST_F(LibraryDbCopyTest, EveryCallSeesTheFilesCurrentContents) {
  const LibraryDb lib(copy);
  ASSERT_EQ(lib.AllDevices().value.size(), Catalogue().size());
  // Another program edits the file between two calls.
  Exec(copy,
       "insert into device_lib (id, category, sub_category, icon_small, name, type_cn, type_en, "
       "category_cn, sub_category_cn, info, class_name, class_file_name) values "
       "(9999999, 10001, 2001, 'none.png', '另一个库的器件', 'X', 'X', 'L', '另一类别', 'i', '', "
       "'')");
  EXPECT_EQ(lib.AllDevices().value.size(), Catalogue().size() + 1);
  // Two libraries sharing a category number with different texts: both show under "全部".
  const auto categories = lib.AllCategories().value;
  EXPECT_EQ(std::count_if(categories.begin(), categories.end(),
                          [](const LibraryGroup& g) { return g.number == 2001; }),
            2);
  // A row without class names is not creatable.
  const auto cls = lib.DeviceClass(9999999);
  ASSERT_TRUE(cls.value.has_value());
  EXPECT_FALSE(cls.value->Creatable());
}

// --- Failures ---------------------------------------------------------------------

// Every operation against one library file, each reporting its status.
std::vector<std::pair<const char*, LibraryStatus>> RunAll(const LibraryDb& lib) {
  std::vector<std::pair<const char*, LibraryStatus>> out;
  out.emplace_back("Libraries", lib.Libraries().status);
  out.emplace_back("AllCategories", lib.AllCategories().status);
  out.emplace_back("CategoriesOfLibrary", lib.CategoriesOfLibrary(10002).status);
  out.emplace_back("AllDevices", lib.AllDevices().status);
  out.emplace_back("DevicesInCategory", lib.DevicesInCategory(2001).status);
  out.emplace_back("DevicesInLibrary", lib.DevicesInLibrary(10002).status);
  out.emplace_back("DevicesInLibraryCategory", lib.DevicesInLibraryCategory(10002, 2001).status);
  out.emplace_back("SearchAllDevices", lib.SearchAllDevices("a").status);
  out.emplace_back("SearchDevicesInCategory", lib.SearchDevicesInCategory(2001, "a").status);
  out.emplace_back("SearchDevicesInLibrary", lib.SearchDevicesInLibrary(10002, "a").status);
  out.emplace_back("SearchDevicesInLibraryCategory",
                   lib.SearchDevicesInLibraryCategory(10002, 2001, "a").status);
  out.emplace_back("Preview", lib.Preview(700001).status);
  out.emplace_back("InsertUserDevice", lib.InsertUserDevice({"c", "M", "n", "d", "C"}).status);
  out.emplace_back("DeviceClass", lib.DeviceClass(700001).status);
  out.emplace_back("Texts", lib.Texts(700001).status);
  out.emplace_back("Pins", lib.Pins(700001, "", "").status);
  out.emplace_back("TargetGpios", lib.TargetGpios().status);
  return out;
}

TEST_F(LibraryDbCopyTest, AMissingDatabaseIsReportedAndNotCreated) {
  const fs::path missing = dir / "db" / "lm.db";
  const LibraryDb lib(missing);
  for (const auto& [what, status] : RunAll(lib)) {
    EXPECT_EQ(status, LibraryStatus::kOpenFailed) << what;
  }
  EXPECT_EQ(lib.CheckModel("NEW"), ModelCheck::kUnavailable) << "the dialog then refuses the model";
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_FALSE(fs::exists(dir / "db"));
  // The same when the folder exists but the file does not.
  fs::create_directories(dir / "db");
  EXPECT_EQ(lib.Libraries().status, LibraryStatus::kOpenFailed);
  EXPECT_EQ(lib.InsertUserDevice({"c", "M", "n", "d", "C"}).status, LibraryStatus::kOpenFailed);
  EXPECT_FALSE(fs::exists(missing));
  const auto failed = lib.Libraries();
  EXPECT_NE(failed.error.find("lm.db"), std::string::npos) << failed.error;
  EXPECT_STREQ(kLibraryOpenFailedMessage, "数据库打开失败，请检查后再操作！");
}

TEST_F(LibraryDbCopyTest, AFileThatIsNoDatabaseCannotBeOpened) {
  const fs::path junk = dir / "junk.db";
  std::ofstream(junk) << "this is not an SQLite database, just some text long enough to look at";
  for (const auto& [what, status] : RunAll(LibraryDb(junk))) {
    EXPECT_EQ(status, LibraryStatus::kOpenFailed) << what;
  }
}

TEST_F(LibraryDbCopyTest, ADatabaseWithoutTheTablesFailsEveryStatement) {
  const fs::path empty = dir / "empty.db";
  Exec(empty, "create table unrelated (x)");
  const LibraryDb lib(empty);
  for (const auto& [what, status] : RunAll(lib)) {
    EXPECT_EQ(status, LibraryStatus::kQueryFailed) << what;
  }
  EXPECT_EQ(lib.CheckModel("NEW"), ModelCheck::kUnavailable);
}

TEST(LibraryDbPath, TheDefaultDatabaseLivesInTheDataDirectory) {
  EXPECT_EQ(LibraryDb().File(), DataDirectory() / "db" / "lm.db");
  EXPECT_EQ(DefaultLibraryPath(), ResolveDataFile("db\\lm.db"));
}

}  // namespace
}  // namespace radove
