#pragma once
// Where the program's run-time files live (db/lm.db, fonts/ASC16, wav/2khz.wav,
// docs/user_guide.pdf, ...). Relative names resolve against one data directory:
// $RADOVE_DATA_DIR when it is set and not empty, else the folder of the running
// executable (the build tree and the install tree lay the files out there), else
// the working directory.

#include <filesystem>
#include <string_view>

namespace radove {

std::filesystem::path DataDirectory();

// The data directory joined with a relative name. Backslashes are taken as
// separators, so names written the Windows way ("db\\lm.db") resolve too. An
// absolute name is returned as it is.
std::filesystem::path ResolveDataFile(std::string_view relativeName);

}  // namespace radove
