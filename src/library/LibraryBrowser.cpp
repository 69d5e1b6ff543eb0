#include "library/LibraryBrowser.h"

#include <system_error>
#include <utility>

#include "core/DataPaths.h"

namespace radove {
namespace {

bool InRange(int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

BrowserStatus operator|(BrowserStatus a, BrowserStatus b) {
  return a == BrowserStatus::kOk ? b : a;
}

LibraryBrowser::LibraryBrowser(LibraryDb db, BrowserPositions positions)
    : db_(std::move(db)), positions_(positions) {}

BrowserStatus LibraryBrowser::Open() {
  selectedId_ = -1;
  BrowserStatus status = FillLibraries();
  status = status | FillCategories();
  status = status | FillDevices();
  return status | ShowPreview();
}

BrowserStatus LibraryBrowser::SelectLibrary(int index) {
  if (!InRange(index, libraries_.size())) return BrowserStatus::kOk;
  positions_ = {index, -1, -1};
  libraryRow_ = index;
  categoryRow_ = -1;
  BrowserStatus status = FillCategories();
  status = status | FillDevices();
  return status | ShowPreview();
}

BrowserStatus LibraryBrowser::SelectCategory(int index) {
  if (!InRange(index, categories_.size())) return BrowserStatus::kOk;
  positions_.category = index;
  positions_.device = -1;
  categoryRow_ = index;
  const BrowserStatus status = FillDevices();
  return status | ShowPreview();
}

BrowserStatus LibraryBrowser::SelectDevice(int index) {
  if (!InRange(index, devices_.size())) return BrowserStatus::kOk;
  positions_.device = index;
  deviceRow_ = index;
  selectedId_ = devices_[static_cast<std::size_t>(index)].id;
  return ShowPreview();
}

BrowserStatus LibraryBrowser::Search(std::string_view text) {
  auto rows = db_.SearchDevices(LibraryFilter(), CategoryFilter(), text);
  if (rows.OpenFailed()) return BrowserStatus::kUnreadable;
  const bool ok = rows.Ok();
  TakeDevices(std::move(rows));
  return ok ? BrowserStatus::kOk : BrowserStatus::kUnreadable;
}

BrowserStatus LibraryBrowser::FillLibraries() {
  auto rows = db_.Libraries();
  if (rows.OpenFailed()) return BrowserStatus::kUnreadable;
  libraries_.assign(1, LibraryGroup{kAllLibraries, kAllLibrariesName});
  if (!rows.Ok()) {
    libraryRow_ = -1;
    return BrowserStatus::kUnreadable;
  }
  libraries_.insert(libraries_.end(), rows.value.begin(), rows.value.end());
  if (!InRange(positions_.library, libraries_.size())) {
    // A selection saved against a library with more entries belongs to other rows:
    // start again from "全部" rather than land on an unrelated category and device.
    if (positions_.library != -1) positions_ = {};
    positions_.library = 0;
  }
  libraryRow_ = positions_.library;
  return BrowserStatus::kOk;
}

BrowserStatus LibraryBrowser::FillCategories() {
  auto rows = db_.Categories(LibraryFilter());
  // A failed query leaves the list with what it had.
  if (!rows.Ok()) return BrowserStatus::kUnreadable;
  categories_ = std::move(rows.value);
  if (!InRange(positions_.category, categories_.size())) positions_.category = -1;
  categoryRow_ = positions_.category;
  return BrowserStatus::kOk;
}

BrowserStatus LibraryBrowser::FillDevices() {
  auto rows = db_.Devices(LibraryFilter(), CategoryFilter());
  if (rows.OpenFailed()) return BrowserStatus::kUnreadable;
  const bool ok = rows.Ok();
  TakeDevices(std::move(rows));
  return ok ? BrowserStatus::kOk : BrowserStatus::kUnreadable;
}

BrowserStatus LibraryBrowser::ShowPreview() {
  if (positions_.device == -1) positions_.device = 0;
  const auto row = db_.Preview(selectedId_);
  if (!row.Ok()) return BrowserStatus::kUnreadable;
  picture_.clear();
  if (row.value) {
    if (!row.value->picture.empty()) {
      const std::filesystem::path file = ResolveDataFile(row.value->picture);
      std::error_code error;
      if (std::filesystem::is_regular_file(file, error)) picture_ = file;
    }
    description_ = row.value->info;
  }
  return BrowserStatus::kOk;
}

int LibraryBrowser::LibraryFilter() const {
  if (!InRange(positions_.library, libraries_.size())) return kAllLibraries;
  return libraries_[static_cast<std::size_t>(positions_.library)].number;
}

std::optional<int> LibraryBrowser::CategoryFilter() const {
  if (!InRange(categoryRow_, categories_.size())) return std::nullopt;
  return categories_[static_cast<std::size_t>(categoryRow_)].number;
}

void LibraryBrowser::TakeDevices(LibraryResult<std::vector<DeviceListEntry>> rows) {
  devices_ = rows.Ok() ? std::move(rows.value) : std::vector<DeviceListEntry>{};
  const int row = positions_.device < 0 ? 0 : positions_.device;
  if (InRange(row, devices_.size())) {
    deviceRow_ = row;
    selectedId_ = devices_[static_cast<std::size_t>(row)].id;
  } else {
    deviceRow_ = -1;
    selectedId_ = -1;
  }
}

}  // namespace radove
