#include "library/LibraryDb.h"

#include <sqlite3.h>

#include <array>
#include <utility>
#include <variant>

#include "core/DataPaths.h"

namespace radove {
namespace {

// The statements, one per operation. Integers and texts are bound as ?N.
constexpr const char* kSelectLibraries = "select distinct category, category_cn from device_lib";
constexpr const char* kSelectAllCategories =
    "select distinct sub_category, sub_category_cn from device_lib";
constexpr const char* kSelectCategoriesOfLibrary =
    "select distinct sub_category, sub_category_cn from device_lib where category=?1";
constexpr const char* kSelectAllDevices = "select id, name, info from device_lib";
constexpr const char* kSelectDevicesInCategory =
    "select id, name, info from device_lib where sub_category=?1";
constexpr const char* kSelectDevicesInLibrary =
    "select id, name, info from device_lib where category=?1";
constexpr const char* kSelectDevicesInLibraryCategory =
    "select id, name, info from device_lib where category=?1 and sub_category=?2";
constexpr const char* kSearchAllDevices =
    "select id, name, info from device_lib where name like ?1";
constexpr const char* kSearchDevicesInCategory =
    "select id, name, info from device_lib where sub_category=?1 and name like ?2";
constexpr const char* kSearchDevicesInLibrary =
    "select id, name, info from device_lib where category=?1 and name like ?2";
constexpr const char* kSearchDevicesInLibraryCategory =
    "select id, name, info from device_lib where category=?1 and sub_category=?2 and name like ?3";
constexpr const char* kSelectPreview =
    "select distinct icon_small, info, name from device_lib where id=?1";
constexpr const char* kSelectModel = "select type_en from device_lib where type_en=?1;";
constexpr const char* kInsertDevice =
    "insert into device_lib (category, sub_category, sub2_category, icon_small, name, type_cn, "
    "type_en, category_cn, sub_category_cn, sub2_category_cn, info, class_name, class_file_name, "
    "usr_created) values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14);";
constexpr const char* kSelectClass =
    "select class_name, class_file_name, usr_created from device_lib where id=?1";
constexpr const char* kSelectTexts =
    "select name, type_cn, category_cn, sub_category_cn, info,type_en from device_lib where "
    "id=?1";
constexpr const char* kSelectPins =
    "select id, tid_device_lib, name_cn, name_en, icon_small, io_type, special_type, "
    "active_level, output_level, clk_trigger, logic, own_number, info, description, input_level "
    "from gpio_lib where tid_device_lib=?1;";
constexpr const char* kSelectTargetGpios =
    "select id, tid_target, number, io_type_group, clk_group, uart_group, reserved from "
    "target_gpio where tid_target=?1;";

// user-created rows: library, category, third level and preview picture
constexpr int kUserSubCategory = 1;
constexpr int kUserSub2Category = 1;
constexpr int kUserPicture = 1;  // names no picture file, so the device has no preview

using Param = std::variant<std::int64_t, std::string>;

// Errors that mean the file itself cannot be used, as opposed to a statement that
// does not fit the schema.
bool IsFileError(int code) {
  switch (code & 0xFF) {
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_IOERR:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_READONLY:
      return true;
    default:
      return false;
  }
}

class Connection {
 public:
  Connection(const std::filesystem::path& file, bool writable) {
    const int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    openCode_ = sqlite3_open_v2(file.string().c_str(), &db_, flags, nullptr);
    if (openCode_ == SQLITE_OK) sqlite3_busy_timeout(db_, 2000);
  }
  ~Connection() { sqlite3_close(db_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool IsOpen() const { return openCode_ == SQLITE_OK; }
  sqlite3* Handle() const { return db_; }
  std::string Message() const {
    return db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(openCode_);
  }

 private:
  sqlite3* db_ = nullptr;
  int openCode_ = SQLITE_OK;
};

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    code_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Prepared() const { return code_ == SQLITE_OK && stmt_ != nullptr; }
  int Code() const { return code_; }
  sqlite3_stmt* Handle() const { return stmt_; }

  int Bind(const std::vector<Param>& params) {
    for (std::size_t i = 0; i < params.size(); ++i) {
      const int index = static_cast<int>(i) + 1;
      if (const auto* n = std::get_if<std::int64_t>(&params[i])) {
        code_ = sqlite3_bind_int64(stmt_, index, *n);
      } else {
        const std::string& s = std::get<std::string>(params[i]);
        code_ =
            sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
      }
      if (code_ != SQLITE_OK) return code_;
    }
    return code_;
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int code_ = SQLITE_OK;
};

std::string Text(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}

int Int(sqlite3_stmt* stmt, int column) { return sqlite3_column_int(stmt, column); }

template <typename T>
LibraryResult<T> Failure(int code, const std::filesystem::path& file, const Connection& db) {
  LibraryResult<T> r;
  r.status = IsFileError(code) ? LibraryStatus::kOpenFailed : LibraryStatus::kQueryFailed;
  r.error = file.string() + ": " + db.Message();
  return r;
}

// Opens the file, runs one statement, reads every row with read(stmt) and closes
// the file. A statement that fails part-way yields no rows.
template <typename Row, typename Read>
LibraryResult<std::vector<Row>> Query(const std::filesystem::path& file, const char* sql,
                                      const std::vector<Param>& params, Read read) {
  using Result = LibraryResult<std::vector<Row>>;
  Connection db(file, false);
  if (!db.IsOpen()) {
    Result r;
    r.status = LibraryStatus::kOpenFailed;
    r.error = file.string() + ": " + db.Message();
    return r;
  }
  Statement stmt(db.Handle(), sql);
  if (!stmt.Prepared()) return Failure<std::vector<Row>>(stmt.Code(), file, db);
  if (stmt.Bind(params) != SQLITE_OK) return Failure<std::vector<Row>>(stmt.Code(), file, db);
  Result r;
  int code;
  while ((code = sqlite3_step(stmt.Handle())) == SQLITE_ROW) {
    r.value.push_back(read(stmt.Handle()));
  }
  if (code != SQLITE_DONE) return Failure<std::vector<Row>>(code, file, db);
  return r;
}

// The last row of a query whose key makes it return at most one.
template <typename Row>
LibraryResult<std::optional<Row>> LastRow(LibraryResult<std::vector<Row>> rows) {
  LibraryResult<std::optional<Row>> r;
  r.status = rows.status;
  r.error = std::move(rows.error);
  if (!rows.value.empty()) r.value = std::move(rows.value.back());
  return r;
}

LibraryGroup ReadGroup(sqlite3_stmt* s) { return {Int(s, 0), Text(s, 1)}; }
DeviceListEntry ReadDevice(sqlite3_stmt* s) { return {Int(s, 0), Text(s, 1), Text(s, 2)}; }

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

int ConnectionForInputLevel(int inputLevel) {
  switch (inputLevel) {
    case 11:
      return kPinVcc;
    case 10:
      return kPinGnd;
    default:
      return kPinUnconnected;
  }
}

std::string DeviceSearchPattern(std::string_view text) {
  // Quotes and blanks separate words: each becomes a wildcard.
  static constexpr std::array<std::string_view, 8> kSeparators{"\xE2\x80\x98",
                                                               "\xE2\x80\x99",
                                                               "\xE2\x80\x9C",
                                                               "\xE2\x80\x9D",  // ‘ ’ “ ”
                                                               "'",
                                                               "\"",
                                                               "\\",
                                                               " "};
  std::string pattern = "%";
  std::size_t i = 0;
  while (i < text.size()) {
    bool replaced = false;
    for (std::string_view sep : kSeparators) {
      if (text.substr(i, sep.size()) == sep) {
        pattern += '%';
        i += sep.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) pattern += text[i++];
  }
  pattern += '%';
  return pattern;
}

std::string TrimBlanks(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::filesystem::path DefaultLibraryPath() { return ResolveDataFile("db/lm.db"); }

LibraryDb::LibraryDb() : file_(DefaultLibraryPath()) {}

LibraryDb::LibraryDb(std::filesystem::path file) : file_(std::move(file)) {}

LibraryResult<std::vector<LibraryGroup>> LibraryDb::Libraries() const {
  return Query<LibraryGroup>(file_, kSelectLibraries, {}, ReadGroup);
}

LibraryResult<std::vector<LibraryGroup>> LibraryDb::AllCategories() const {
  return Query<LibraryGroup>(file_, kSelectAllCategories, {}, ReadGroup);
}

LibraryResult<std::vector<LibraryGroup>> LibraryDb::CategoriesOfLibrary(int library) const {
  return Query<LibraryGroup>(file_, kSelectCategoriesOfLibrary, {std::int64_t{library}}, ReadGroup);
}

LibraryResult<std::vector<LibraryGroup>> LibraryDb::Categories(int library) const {
  return library == kAllLibraries ? AllCategories() : CategoriesOfLibrary(library);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::AllDevices() const {
  return Query<DeviceListEntry>(file_, kSelectAllDevices, {}, ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::DevicesInCategory(int category) const {
  return Query<DeviceListEntry>(file_, kSelectDevicesInCategory, {std::int64_t{category}},
                                ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::DevicesInLibrary(int library) const {
  return Query<DeviceListEntry>(file_, kSelectDevicesInLibrary, {std::int64_t{library}},
                                ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::DevicesInLibraryCategory(
    int library, int category) const {
  return Query<DeviceListEntry>(file_, kSelectDevicesInLibraryCategory,
                                {std::int64_t{library}, std::int64_t{category}}, ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::Devices(int library,
                                                               std::optional<int> category) const {
  if (library == kAllLibraries) return category ? DevicesInCategory(*category) : AllDevices();
  return category ? DevicesInLibraryCategory(library, *category) : DevicesInLibrary(library);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::SearchAllDevices(
    std::string_view text) const {
  return Query<DeviceListEntry>(file_, kSearchAllDevices, {DeviceSearchPattern(text)}, ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::SearchDevicesInCategory(
    int category, std::string_view text) const {
  return Query<DeviceListEntry>(file_, kSearchDevicesInCategory,
                                {std::int64_t{category}, DeviceSearchPattern(text)}, ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::SearchDevicesInLibrary(
    int library, std::string_view text) const {
  return Query<DeviceListEntry>(file_, kSearchDevicesInLibrary,
                                {std::int64_t{library}, DeviceSearchPattern(text)}, ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::SearchDevicesInLibraryCategory(
    int library, int category, std::string_view text) const {
  return Query<DeviceListEntry>(
      file_, kSearchDevicesInLibraryCategory,
      {std::int64_t{library}, std::int64_t{category}, DeviceSearchPattern(text)}, ReadDevice);
}

LibraryResult<std::vector<DeviceListEntry>> LibraryDb::SearchDevices(int library,
                                                                     std::optional<int> category,
                                                                     std::string_view text) const {
  if (library == kAllLibraries) {
    return category ? SearchDevicesInCategory(*category, text) : SearchAllDevices(text);
  }
  return category ? SearchDevicesInLibraryCategory(library, *category, text)
                  : SearchDevicesInLibrary(library, text);
}

LibraryResult<std::optional<DevicePreview>> LibraryDb::Preview(int id) const {
  return LastRow(
      Query<DevicePreview>(file_, kSelectPreview, {std::int64_t{id}}, [](sqlite3_stmt* s) {
        return DevicePreview{Text(s, 0), Text(s, 1), Text(s, 2)};
      }));
}

ModelCheck LibraryDb::CheckModel(std::string_view model) const {
  // The model is stored trimmed, so it is looked up trimmed: " LCM1602" must not
  // slip past the check and then be stored as a second "LCM1602".
  const auto rows = Query<std::string>(file_, kSelectModel, {TrimBlanks(model)},
                                       [](sqlite3_stmt* s) { return Text(s, 0); });
  if (!rows.Ok()) return ModelCheck::kUnavailable;
  return rows.value.empty() ? ModelCheck::kFree : ModelCheck::kTaken;
}

LibraryResult<std::int64_t> LibraryDb::InsertUserDevice(const NewDeviceEntry& entry) const {
  LibraryResult<std::int64_t> r;
  const std::string category = TrimBlanks(entry.category);
  const std::string model = TrimBlanks(entry.model);
  const std::string name = TrimBlanks(entry.name);
  const std::string description = TrimBlanks(entry.description);
  const std::string className = TrimBlanks(entry.className);
  if (category.empty() || model.empty() || name.empty() || className.empty()) {
    r.status = LibraryStatus::kRejected;
    r.error = "器件库,类别,型号,名称,模型名不能为空";
    return r;
  }

  Connection db(file_, true);
  if (!db.IsOpen()) {
    r.status = LibraryStatus::kOpenFailed;
    r.error = file_.string() + ": " + db.Message();
    return r;
  }
  Statement stmt(db.Handle(), kInsertDevice);
  if (!stmt.Prepared()) return Failure<std::int64_t>(stmt.Code(), file_, db);
  // category, sub_category, sub2_category, icon_small, name, type_cn, type_en,
  // category_cn, sub_category_cn, sub2_category_cn, info, class_name,
  // class_file_name, usr_created
  const std::vector<Param> params{
      std::int64_t{kUserLibrary}, std::int64_t{kUserSubCategory}, std::int64_t{kUserSub2Category},
      std::int64_t{kUserPicture}, name, model, model, std::string(kUserLibraryName), category,
      category, description, className, className, std::int64_t{kUserCreatedMarker}};
  if (stmt.Bind(params) != SQLITE_OK) return Failure<std::int64_t>(stmt.Code(), file_, db);
  const int code = sqlite3_step(stmt.Handle());
  if (code != SQLITE_DONE) {
    if ((code & 0xFF) == SQLITE_CONSTRAINT) {
      r.status = LibraryStatus::kRejected;
      r.error = db.Message();
      return r;
    }
    return Failure<std::int64_t>(code, file_, db);
  }
  r.value = sqlite3_last_insert_rowid(db.Handle());
  return r;
}

LibraryResult<std::optional<DeviceClassInfo>> LibraryDb::DeviceClass(int id) const {
  return LastRow(
      Query<DeviceClassInfo>(file_, kSelectClass, {std::int64_t{id}}, [](sqlite3_stmt* s) {
        return DeviceClassInfo{Text(s, 0), Text(s, 1), Int(s, 2)};
      }));
}

LibraryResult<std::optional<DeviceTexts>> LibraryDb::Texts(int id) const {
  return LastRow(Query<DeviceTexts>(file_, kSelectTexts, {std::int64_t{id}}, [](sqlite3_stmt* s) {
    return DeviceTexts{Text(s, 0), Text(s, 1), Text(s, 2), Text(s, 3), Text(s, 4), Text(s, 5)};
  }));
}

LibraryResult<PinList> LibraryDb::Pins(int id, const std::string& deviceType,
                                       const std::string& deviceName) const {
  return Query<PinRecord>(file_, kSelectPins, {std::int64_t{id}}, [&](sqlite3_stmt* s) {
    PinRecord pin;
    pin.id = Int(s, 0);
    pin.tidDeviceLib = Int(s, 1);
    pin.deviceType = deviceType;
    pin.deviceName = deviceName;
    pin.nameCn = Text(s, 2);
    pin.nameEn = Text(s, 3);
    // column 4, icon_small, is not kept
    pin.ioType = Int(s, 5);
    pin.specialType = Int(s, 6);
    pin.activeLevel = Int(s, 7);
    pin.outputLevel = Int(s, 8);
    pin.clkTrigger = Int(s, 9);
    pin.logic = Int(s, 10);
    pin.ownNumber = Int(s, 11);
    pin.info = Text(s, 12);
    pin.description = Text(s, 13);
    pin.connection = ConnectionForInputLevel(Int(s, 14));
    return pin;
  });
}

LibraryResult<std::vector<TargetGpio>> LibraryDb::TargetGpios(int board) const {
  return Query<TargetGpio>(file_, kSelectTargetGpios, {std::int64_t{board}}, [](sqlite3_stmt* s) {
    return TargetGpio{Int(s, 0), Int(s, 1), Int(s, 2), Int(s, 3), Int(s, 4), Int(s, 5)};
  });
}

}  // namespace radove
