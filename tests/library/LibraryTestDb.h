#pragma once
// A small device library made for the browser tests: two libraries that share a
// category number under different names, so every statement the browser can
// choose lists a different set of devices.
//
//   id  library      category          name
//   1   10001 甲库   1 甲类一          LCM1602 alpha
//   2   10001 甲库   2 甲类二          beta lamp
//   3   10002 乙库   1 乙类一          LCM1604 gamma
//   4   10002 乙库   3 乙类三          delta it's
//   5   10001 甲库   1 甲类一          epsilon 16 x 2

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace radove::test {

inline void ExecSql(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message << "\n" << sql;
}

inline int CountRows(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  int count = -1;
  if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
      count = 0;
      while (sqlite3_step(stmt) == SQLITE_ROW) ++count;
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return count;
}

inline constexpr const char* kTestLibrarySchema = R"(
CREATE TABLE device_lib (
  id INTEGER PRIMARY KEY, category INTEGER, sub_category INTEGER, sub2_category INTEGER,
  icon_small TEXT, name TEXT, type_cn TEXT, type_en TEXT UNIQUE, category_cn TEXT,
  sub_category_cn TEXT, sub2_category_cn TEXT, info TEXT, class_name TEXT,
  class_file_name TEXT, usr_created INTEGER);
)";

// A private folder holding the test library (lm.db) and one preview picture
// (picture.png, which device 1 names); removed with the object.
class TestLibrary {
 public:
  TestLibrary() {
    dir_ = std::filesystem::temp_directory_path() /
           ("radove-browser-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    // Any readable file will do for the browser; the GUI tests write a real PNG over it.
    std::ofstream(Picture(), std::ios::binary) << "png";
    ExecSql(File(), kTestLibrarySchema);
    const std::string picture = Picture().string();
    ExecSql(File(),
            "INSERT INTO device_lib VALUES "
            "(1, 10001, 1, 1, '" +
                picture +
                "', 'LCM1602 alpha', 'A1', 'A1', '甲库', '甲类一', '', "
                "'info alpha', 'CA', 'CA.h', 0),"
                "(2, 10001, 2, 1, 'no-such-picture.png', 'beta lamp', 'B2', 'B2', '甲库', "
                "'甲类二', '', "
                "'info beta', 'CB', 'CB.h', 0),"
                "(3, 10002, 1, 1, '', 'LCM1604 gamma', 'G3', 'G3', '乙库', '乙类一', '', "
                "'info gamma', 'CG', 'CG.h', 0),"
                "(4, 10002, 3, 1, '', 'delta it''s', 'D4', 'D4', '乙库', '乙类三', '', "
                "'info delta', 'CD', 'CD.h', 0),"
                "(5, 10001, 1, 1, '', 'epsilon 16 x 2', 'E5', 'E5', '甲库', '甲类一', '', "
                "'info epsilon', 'CE', 'CE.h', 0);");
  }
  ~TestLibrary() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  TestLibrary(const TestLibrary&) = delete;
  TestLibrary& operator=(const TestLibrary&) = delete;

  std::filesystem::path File() const { return dir_ / "lm.db"; }
  std::filesystem::path Picture() const { return dir_ / "picture.png"; }
  std::filesystem::path Dir() const { return dir_; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path dir_;
};

}  // namespace radove::test
