#pragma once
// radove-cli: runs any device headless for scripts, CI and bug reports.

#include <ostream>
#include <string>
#include <vector>

namespace radove::cli {

enum ExitCode { kOk = 0, kUsage = 2, kUnknownDevice = 3, kUnreadableInput = 4 };

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace radove::cli
