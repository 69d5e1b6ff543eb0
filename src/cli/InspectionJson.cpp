#include "cli/InspectionJson.h"

#include <cstdio>

namespace radove {

std::string JsonQuote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

namespace {

void AppendGroups(std::string& out, const std::vector<InspectionGroup>& groups) {
  out += '[';
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (g) out += ", ";
    out += "{\"name\": " + JsonQuote(groups[g].name) + ", \"entries\": [";
    const auto& entries = groups[g].entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (i) out += ", ";
      out += "{\"name\": " + JsonQuote(entries[i].name) +
             ", \"value\": " + JsonQuote(entries[i].value) +
             ", \"description\": " + JsonQuote(entries[i].description) +
             ", \"tag\": " + std::to_string(entries[i].tag) + "}";
    }
    out += "]}";
  }
  out += ']';
}

}  // namespace

std::string InspectionToJson(const InspectionRoot& root) {
  std::string out = "{\"model\": " + JsonQuote(root.model) + ", \"chips\": [";
  bool first = true;
  for (const ChipDescriptor* chip : root.chips) {
    if (!chip) continue;
    if (!first) out += ", ";
    first = false;
    out += "{\"name\": " + JsonQuote(chip->name) + ", \"decoded\": " + JsonQuote(chip->decoded) +
           ", \"registers\": ";
    AppendGroups(out, chip->registers);
    out += ", \"memory\": ";
    AppendGroups(out, chip->memory);
    out += '}';
  }
  return out + "]}";
}

}  // namespace radove
