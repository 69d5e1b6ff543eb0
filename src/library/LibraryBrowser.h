#pragma once
// What the library browser shows, without the widgets: the three linked lists
// (libraries with "全部" first, categories, devices), the entry selected in each,
// the device the user has chosen and its preview. The dialog mirrors this state
// into its list boxes and calls the operations below on every selection change.
//
// The three positions are the document's library selection: they come in when the
// browser opens and go back out when the user confirms, so the browser reopens on
// the same entries as long as the database has not changed.
//
// Each list is refilled from the database whenever a higher-level selection
// changes. An operation whose database cannot be read leaves its list as it was
// and reports it; the dialog tells the user once per action.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/LibraryDb.h"

namespace radove {

// Index of the selected entry in the library, category and device lists; -1 none.
struct BrowserPositions {
  int library = -1;
  int category = -1;
  int device = -1;
  bool operator==(const BrowserPositions&) const = default;
};

enum class BrowserStatus {
  kOk,
  kUnreadable,  // the database could not be opened or queried
};

// The worse of two outcomes, for operations made of several steps.
BrowserStatus operator|(BrowserStatus a, BrowserStatus b);

class LibraryBrowser {
 public:
  LibraryBrowser(LibraryDb db, BrowserPositions positions);

  // The browser opens: libraries, categories, devices, then the preview.
  BrowserStatus Open();
  // The user picks an entry (its index) in one of the lists. A new library clears
  // the category and lists every device of the library; a new category lists its
  // devices; both make the first device the chosen one and show its preview.
  BrowserStatus SelectLibrary(int index);
  BrowserStatus SelectCategory(int index);
  BrowserStatus SelectDevice(int index);
  // The search text changed: the device list shows the names that match it in the
  // selected library and category (DeviceSearchPattern). The preview stays.
  BrowserStatus Search(std::string_view text);

  // The steps the operations above are made of.
  BrowserStatus FillLibraries();
  BrowserStatus FillCategories();
  BrowserStatus FillDevices();
  BrowserStatus ShowPreview();

  const std::vector<LibraryGroup>& Libraries() const { return libraries_; }
  const std::vector<LibraryGroup>& Categories() const { return categories_; }
  const std::vector<DeviceListEntry>& Devices() const { return devices_; }
  // The highlighted entry of each list; -1 none.
  int LibraryRow() const { return libraryRow_; }
  int CategoryRow() const { return categoryRow_; }
  int DeviceRow() const { return deviceRow_; }

  const BrowserPositions& Positions() const { return positions_; }
  // The device chosen in the device list; -1 none. The browser's result.
  int SelectedDeviceId() const { return selectedId_; }

  // The preview of the chosen device: its picture file (empty when it has none)
  // and its description. The description keeps the last text when no device is
  // chosen.
  const std::filesystem::path& Picture() const { return picture_; }
  const std::string& Description() const { return description_; }

  const LibraryDb& Db() const { return db_; }

 private:
  // The library the lists are filtered by: the entry at the library position,
  // "全部" when there is none.
  int LibraryFilter() const;
  // The category the device list is filtered by: the highlighted category entry.
  std::optional<int> CategoryFilter() const;
  // Shows devices: highlights the entry at the device position (the first one
  // when the position is -1) and makes it the chosen device.
  void TakeDevices(LibraryResult<std::vector<DeviceListEntry>> rows);

  LibraryDb db_;
  BrowserPositions positions_;
  std::vector<LibraryGroup> libraries_;
  std::vector<LibraryGroup> categories_;
  std::vector<DeviceListEntry> devices_;
  int libraryRow_ = -1;
  int categoryRow_ = -1;
  int deviceRow_ = -1;
  int selectedId_ = -1;
  std::filesystem::path picture_;
  std::string description_;
};

}  // namespace radove
