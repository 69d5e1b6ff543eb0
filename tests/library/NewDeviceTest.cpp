#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "library/LibraryTestDb.h"
#include "library/NewDevice.h"

namespace radove {
namespace {

NewDeviceEntry Valid() {
  NewDeviceEntry e;
  e.category = "光电器件";
  e.model = "SINGLE_RED_LED";
  e.name = "单个发光二极管,红色";
  e.description = "单个发光二极管,红色";
  e.className = "SingleRedLed";
  return e;
}

// Reads one text column of the row with the id.
std::string Column(const std::filesystem::path& file, std::int64_t id, const std::string& column) {
  sqlite3* db = nullptr;
  std::string value = "<none>";
  sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  const std::string sql = "select " + column + " from device_lib where id=" + std::to_string(id);
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    const unsigned char* t = sqlite3_column_text(stmt, 0);
    value = t ? reinterpret_cast<const char*>(t) : "";
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return value;
}

class NewDeviceTest : public ::testing::Test {
 protected:
  int Rows() const { return test::CountRows(lib.File(), "select id from device_lib"); }
  test::TestLibrary lib;
  LibraryDb db{lib.File()};
};

TEST_F(NewDeviceTest, StoresTheEntryAsAUserDevice) {
  NewDeviceEntry e = Valid();
  e.model = "  O'Neil \"LED\"  ";
  e.category = " 我的器件 ";
  const NewDeviceOutcome out = StoreNewDevice(db, e);
  ASSERT_EQ(out.problem, NewDeviceProblem::kNone) << out.error;
  ASSERT_GT(out.id, 5);
  EXPECT_EQ(Column(lib.File(), out.id, "category"), "10100");
  EXPECT_EQ(Column(lib.File(), out.id, "category_cn"), "用户自定义");
  EXPECT_EQ(Column(lib.File(), out.id, "sub_category_cn"), "我的器件");
  EXPECT_EQ(Column(lib.File(), out.id, "type_en"), "O'Neil \"LED\"");
  EXPECT_EQ(Column(lib.File(), out.id, "type_cn"), "O'Neil \"LED\"");
  EXPECT_EQ(Column(lib.File(), out.id, "name"), "单个发光二极管,红色");
  EXPECT_EQ(Column(lib.File(), out.id, "class_name"), "SingleRedLed");
  EXPECT_EQ(Column(lib.File(), out.id, "class_file_name"), "SingleRedLed");
  EXPECT_EQ(Column(lib.File(), out.id, "usr_created"), "164658");
}

TEST_F(NewDeviceTest, TheDescriptionMayBeEmpty) {
  NewDeviceEntry e = Valid();
  e.description = "   ";
  const NewDeviceOutcome out = StoreNewDevice(db, e);
  ASSERT_EQ(out.problem, NewDeviceProblem::kNone) << out.error;
  EXPECT_EQ(Column(lib.File(), out.id, "info"), "");
}

TEST_F(NewDeviceTest, EveryRequiredTextMustBeFilled) {
  std::string NewDeviceEntry::*required[] = {&NewDeviceEntry::category, &NewDeviceEntry::model,
                                             &NewDeviceEntry::name, &NewDeviceEntry::className};
  for (auto field : required) {
    for (const char* blank : {"", " \t "}) {
      NewDeviceEntry e = Valid();
      e.*field = blank;
      EXPECT_EQ(StoreNewDevice(db, e).problem, NewDeviceProblem::kMissingText);
    }
  }
  EXPECT_EQ(Rows(), 5) << "nothing stored";
}

TEST_F(NewDeviceTest, AModelAlreadyInTheLibraryIsRefused) {
  for (const char* model : {"A1", " A1 "}) {
    NewDeviceEntry e = Valid();
    e.model = model;
    EXPECT_EQ(StoreNewDevice(db, e).problem, NewDeviceProblem::kModelExists) << model;
  }
  ASSERT_EQ(StoreNewDevice(db, Valid()).problem, NewDeviceProblem::kNone);
  EXPECT_EQ(StoreNewDevice(db, Valid()).problem, NewDeviceProblem::kModelExists)
      << "the device just stored is in the library too";
  EXPECT_EQ(Rows(), 6);
}

TEST_F(NewDeviceTest, AMissingLibraryStoresNothingAndCreatesNoFile) {
  const auto missing = lib.Dir() / "missing.db";
  const NewDeviceOutcome out = StoreNewDevice(LibraryDb(missing), Valid());
  EXPECT_EQ(out.problem, NewDeviceProblem::kLibraryUnreadable);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(NewDeviceTest, AFailedInsertIsReported) {
  // The model can be looked up, but the table lacks a column the insert writes.
  test::ExecSql(lib.File(), "ALTER TABLE device_lib DROP COLUMN usr_created;");
  const NewDeviceOutcome out = StoreNewDevice(db, Valid());
  EXPECT_EQ(out.problem, NewDeviceProblem::kInsertFailed);
  EXPECT_FALSE(out.error.empty());
  EXPECT_EQ(out.id, -1);
  EXPECT_EQ(Rows(), 5);
}

}  // namespace
}  // namespace radove
