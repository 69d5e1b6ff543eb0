#pragma once
// radove-cli generate: the bulk data generator for scripts. Prints the generated
// rows as preset CSV, exactly as the preset editor would insert them.

#include <ostream>
#include <string>
#include <vector>

namespace radove::cli {

// args are the words after "generate". Returns 0, or 2 for a usage error or a
// refused value (the message goes to err).
int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace radove::cli
