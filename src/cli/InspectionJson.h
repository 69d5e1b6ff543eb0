#pragma once

#include <string>

#include "core/Records.h"

namespace radove {

// {"model": ..., "chips": [{"name", "decoded", "registers": [{"name", "entries":
// [{"name", "value", "description", "tag"}]}], "memory": [same shape]}]}
std::string InspectionToJson(const InspectionRoot& root);
std::string JsonQuote(const std::string& text);

}  // namespace radove
