#pragma once
// Storing a user-defined device type from the new-device dialog: the checks the
// entry must pass, in the order the user is told about them, then the insert.

#include <cstdint>
#include <string>

#include "library/LibraryDb.h"

namespace radove {

inline constexpr const char* kNewDeviceErrorCaption = "器件信息错误";
inline constexpr const char* kNewDeviceMissingMessage =
    "器件库,类别,型号,名称,模型名不能为空，请检查后重新输入!";
inline constexpr const char* kNewDeviceExistsMessage =
    "您输入的器件型号已经存在于器件库中，请重新输入!";

enum class NewDeviceProblem {
  kNone,               // stored
  kMissingText,        // the category, model, name or class name is blank
  kModelExists,        // a row already has the model
  kLibraryUnreadable,  // the model could not be looked up: nothing is stored
  kInsertFailed,       // the row could not be written
};

struct NewDeviceOutcome {
  NewDeviceProblem problem = NewDeviceProblem::kNone;
  std::int64_t id = -1;  // the new row's id when stored
  std::string error;     // what the database said, for kLibraryUnreadable and kInsertFailed
};

// Checks the entry and appends it to the library as a device of "用户自定义".
// Texts are taken without their leading and trailing blanks; the description may
// be empty.
NewDeviceOutcome StoreNewDevice(const LibraryDb& db, const NewDeviceEntry& entry);

}  // namespace radove
