#pragma once
// The device library database (db/lm.db): the catalogue of device types
// (device_lib), the pins of every device (gpio_lib) and the GPIOs of the target
// board (target_gpio).
//
// Every operation opens the database, runs one statement, reads all its rows and
// closes the database again; no connection stays open, so the lists always show
// the file's current contents and another program may edit the file between two
// calls. Texts entered by the user are bound as parameters, never spliced into
// the statement. Reads open the file read-only and never create it: a missing
// database is reported as such instead of leaving an empty file behind.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Records.h"

namespace radove {

// The message the library browser shows when the database cannot be opened.
inline constexpr const char* kLibraryOpenFailedMessage = "数据库打开失败，请检查后再操作！";

// The browser's pseudo-library "全部" (all libraries); no row uses it.
inline constexpr int kAllLibraries = 10000;
inline constexpr const char* kAllLibrariesName = "全部";
// The library of user-created devices, its name and the marker their rows carry.
inline constexpr int kUserLibrary = 10100;
inline constexpr const char* kUserLibraryName = "用户自定义";
inline constexpr int kUserCreatedMarker = 164658;
// The target board whose GPIOs the program offers.
inline constexpr int kTargetBoard = 10;

enum class LibraryStatus {
  kOk,
  kOpenFailed,   // the file is missing, unreadable or not a database
  kQueryFailed,  // the statement could not be prepared or run (e.g. a table is missing)
  kRejected,     // the insert refused its input (a required text empty, a model already there)
};

template <typename T>
struct LibraryResult {
  LibraryStatus status = LibraryStatus::kOk;
  T value{};
  std::string error;  // what failed, for a message or a log; empty when Ok()

  bool Ok() const { return status == LibraryStatus::kOk; }
  bool OpenFailed() const { return status == LibraryStatus::kOpenFailed; }
};

// A library (first level) or a category (second level) of the browser.
struct LibraryGroup {
  int number = 0;    // device_lib.category or sub_category
  std::string name;  // category_cn or sub_category_cn
  bool operator==(const LibraryGroup&) const = default;
};

// One entry of the browser's device list.
struct DeviceListEntry {
  int id = 0;  // the device type code
  std::string name;
  std::string info;
  bool operator==(const DeviceListEntry&) const = default;
};

// What the browser shows for the selected device. The picture is a file name
// relative to the data directory (e.g. "preview/700001.png"); a name without such
// a file means the device has no preview.
struct DevicePreview {
  std::string picture;
  std::string info;
  std::string name;
};

// The device model class of a row. The view creates the device only when both
// names are non-empty.
struct DeviceClassInfo {
  std::string className;
  std::string classFileName;
  int userCreated = 0;
  bool Creatable() const { return !className.empty() && !classFileName.empty(); }
};

// The library texts a new device model receives.
struct DeviceTexts {
  std::string name;
  std::string typeCn;
  std::string categoryCn;
  std::string subCategoryCn;
  std::string info;
  std::string typeEn;
};

// A user-defined device type as the new-device dialog enters it. Texts are
// trimmed of leading and trailing blanks before use.
struct NewDeviceEntry {
  std::string category;  // the category typed or chosen in the dialog
  std::string model;     // becomes type_cn and type_en
  std::string name;
  std::string description;  // may be empty
  std::string className;    // becomes class_name and class_file_name
};

enum class ModelCheck {
  kFree,         // no row has this model: the entry may be stored
  kTaken,        // a row has this model
  kUnavailable,  // the database could not be read: treat as taken
};

// One pin of the target board.
struct TargetGpio {
  int id = 0;
  int tidTarget = 0;
  int number = 0;  // also the pin's label, in decimal
  int ioTypeGroup = 0;
  int clkGroup = 0;
  int uartGroup = 0;
  bool operator==(const TargetGpio&) const = default;
};

// The connection a library pin starts with: input_level 11 ties it to VCC (-100),
// 10 to GND (-201), anything else leaves it unconnected (-1).
int ConnectionForInputLevel(int inputLevel);

// The like pattern of the device search: the text between two % wildcards, with
// every quote (' " ‘ ’ “ ”), backslash and blank turned into a % wildcard too, so
// "16 2" finds every name containing "16" followed later by "2". A % or _ the user
// types is a wildcard as well.
std::string DeviceSearchPattern(std::string_view text);

// The text without leading and trailing blanks (space, tab, line breaks).
std::string TrimBlanks(std::string_view text);

// db/lm.db in the data directory.
std::filesystem::path DefaultLibraryPath();

class LibraryDb {
 public:
  LibraryDb();
  explicit LibraryDb(std::filesystem::path file);

  const std::filesystem::path& File() const { return file_; }

  // Library browser: libraries and categories. Rows come in table order.
  LibraryResult<std::vector<LibraryGroup>> Libraries() const;
  LibraryResult<std::vector<LibraryGroup>> AllCategories() const;
  LibraryResult<std::vector<LibraryGroup>> CategoriesOfLibrary(int library) const;
  // AllCategories for kAllLibraries, CategoriesOfLibrary otherwise.
  LibraryResult<std::vector<LibraryGroup>> Categories(int library) const;

  // Library browser: device lists.
  LibraryResult<std::vector<DeviceListEntry>> AllDevices() const;
  LibraryResult<std::vector<DeviceListEntry>> DevicesInCategory(int category) const;
  LibraryResult<std::vector<DeviceListEntry>> DevicesInLibrary(int library) const;
  LibraryResult<std::vector<DeviceListEntry>> DevicesInLibraryCategory(int library,
                                                                       int category) const;
  // Picks one of the four above: kAllLibraries means no library filter, no
  // category means no category filter.
  LibraryResult<std::vector<DeviceListEntry>> Devices(int library,
                                                      std::optional<int> category) const;

  // Library browser: device search by name (DeviceSearchPattern).
  LibraryResult<std::vector<DeviceListEntry>> SearchAllDevices(std::string_view text) const;
  LibraryResult<std::vector<DeviceListEntry>> SearchDevicesInCategory(int category,
                                                                      std::string_view text) const;
  LibraryResult<std::vector<DeviceListEntry>> SearchDevicesInLibrary(int library,
                                                                     std::string_view text) const;
  LibraryResult<std::vector<DeviceListEntry>> SearchDevicesInLibraryCategory(
      int library, int category, std::string_view text) const;
  LibraryResult<std::vector<DeviceListEntry>> SearchDevices(int library,
                                                            std::optional<int> category,
                                                            std::string_view text) const;

  // Library browser: preview picture and description of one device; no value
  // when no row has the id.
  LibraryResult<std::optional<DevicePreview>> Preview(int id) const;

  // New-device dialog: is the (trimmed) model already in the library?
  ModelCheck CheckModel(std::string_view model) const;
  // New-device dialog: appends a user-defined device type; the value is the new
  // row's id. Rejected when a required text is empty or the model exists.
  LibraryResult<std::int64_t> InsertUserDevice(const NewDeviceEntry& entry) const;

  // View: the device model class of a device; no value when no row has the id.
  LibraryResult<std::optional<DeviceClassInfo>> DeviceClass(int id) const;
  // View: the texts a new device model receives; no value when no row has the id.
  LibraryResult<std::optional<DeviceTexts>> Texts(int id) const;
  // View: the device's pins in pin order, as pin records of a device with the
  // given type text and name, each connected as its input_level says.
  LibraryResult<PinList> Pins(int id, const std::string& deviceType,
                              const std::string& deviceName) const;
  // View: the GPIOs of a target board in table order.
  LibraryResult<std::vector<TargetGpio>> TargetGpios(int board = kTargetBoard) const;

 private:
  std::filesystem::path file_;
};

}  // namespace radove
