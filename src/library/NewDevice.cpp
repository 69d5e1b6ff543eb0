#include "library/NewDevice.h"

#include <utility>

namespace radove {

NewDeviceOutcome StoreNewDevice(const LibraryDb& db, const NewDeviceEntry& entry) {
  NewDeviceOutcome out;
  for (const std::string* text : {&entry.category, &entry.model, &entry.name, &entry.className}) {
    if (TrimBlanks(*text).empty()) {
      out.problem = NewDeviceProblem::kMissingText;
      return out;
    }
  }
  switch (db.CheckModel(entry.model)) {
    case ModelCheck::kFree:
      break;
    case ModelCheck::kTaken:
      out.problem = NewDeviceProblem::kModelExists;
      return out;
    case ModelCheck::kUnavailable:
      out.problem = NewDeviceProblem::kLibraryUnreadable;
      out.error = db.File().string();
      return out;
  }
  auto stored = db.InsertUserDevice(entry);
  if (stored.status == LibraryStatus::kRejected) {
    // Another program stored the same model between the check and the insert.
    out.problem = NewDeviceProblem::kModelExists;
    return out;
  }
  if (!stored.Ok()) {
    out.problem = NewDeviceProblem::kInsertFailed;
    out.error = std::move(stored.error);
    return out;
  }
  out.id = stored.value;
  return out;
}

}  // namespace radove
