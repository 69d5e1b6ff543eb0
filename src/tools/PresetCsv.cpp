#include "tools/PresetCsv.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/TextParse.h"

namespace radove {

PresetCsvError::PresetCsvError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message),
      line_(line),
      message_(message) {}

namespace {

constexpr std::string_view kHeader = "kind,additional,value,remark";

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return std::string(s.substr(b, e - b));
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// Splits one CSV record starting at pos; advances pos past its line end and the
// line counter past any line breaks inside quotes.
std::vector<std::string> ReadRecord(std::string_view text, std::size_t& pos, int& line,
                                    int startLine) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  bool wasQuoted = false;
  while (pos < text.size()) {
    const char c = text[pos];
    if (quoted) {
      if (c == '"') {
        if (pos + 1 < text.size() && text[pos + 1] == '"') {
          field += '"';
          pos += 2;
          continue;
        }
        quoted = false;
        ++pos;
        continue;
      }
      if (c == '\n') ++line;
      field += c;
      ++pos;
      continue;
    }
    if (c == '"') {
      if (!Trim(field).empty()) throw PresetCsvError(line, "a quote inside an unquoted field");
      field.clear();
      quoted = true;
      wasQuoted = true;
      ++pos;
      continue;
    }
    if (c == ',') {
      fields.push_back(wasQuoted ? field : Trim(field));
      field.clear();
      wasQuoted = false;
      ++pos;
      continue;
    }
    if (c == '\n') {
      ++pos;
      break;
    }
    if (wasQuoted && c != '\r' && c != ' ' && c != '\t') {
      throw PresetCsvError(line, "text after a closing quote");
    }
    if (!wasQuoted) field += c;
    ++pos;
  }
  if (quoted) throw PresetCsvError(startLine, "a quoted field is not closed");
  fields.push_back(wasQuoted ? field : Trim(field));
  return fields;
}

bool ParseKind(const std::string& text, bool& isData) {
  const std::string k = Lower(text);
  if (k == "cmd" || k == "0" || k == "命令") {
    isData = false;
    return true;
  }
  if (k == "data" || k == "1" || k == "数据") {
    isData = true;
    return true;
  }
  return false;
}

bool AllHex(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

bool ParseValue(const std::string& text, std::int64_t& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view digits = std::string_view(text).substr(2);
    if (!AllHex(digits) || digits.size() > 16) return false;
    value = static_cast<std::int64_t>(*ParseHex64(digits));
    return true;
  }
  std::string_view s = text;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  const auto v = ParseDecimal64(text);
  if (!v) return false;
  value = *v;
  return true;
}

}  // namespace

PresetList ParsePresetCsv(std::string_view text, int firstIndex) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  PresetList items;
  std::size_t pos = 0;
  int line = 1;
  bool headerSeen = false;
  while (pos < text.size()) {
    const int recordLine = line;
    // Comments and blank lines are whole physical lines.
    const std::size_t eol = text.find('\n', pos);
    const std::string_view physical =
        text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
    const std::string trimmed = Trim(physical);
    if (trimmed.empty() || trimmed[0] == '#') {
      pos = eol == std::string_view::npos ? text.size() : eol + 1;
      ++line;
      continue;
    }
    std::vector<std::string> fields = ReadRecord(text, pos, line, recordLine);
    ++line;
    if (!headerSeen) {
      std::string joined;
      for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "," : "") + Lower(fields[i]);
      if (joined != kHeader) {
        throw PresetCsvError(recordLine, "the first line must be \"" + std::string(kHeader) + "\"");
      }
      headerSeen = true;
      continue;
    }
    if (fields.size() < 3 || fields.size() > 4) {
      throw PresetCsvError(recordLine, "expected 3 or 4 fields (kind,additional,value,remark), found " +
                                           std::to_string(fields.size()));
    }
    bool isData = false;
    if (!ParseKind(fields[0], isData)) {
      throw PresetCsvError(recordLine, "kind \"" + fields[0] + "\" is not cmd, data, 0 or 1");
    }
    std::uint64_t additional = 0;
    if (!fields[1].empty()) {
      std::string_view a = fields[1];
      if (a.size() > 2 && a[0] == '0' && (a[1] == 'x' || a[1] == 'X')) a.remove_prefix(2);
      if (!AllHex(a) || a.size() > 8) {
        throw PresetCsvError(recordLine,
                             "additional \"" + fields[1] + "\" is not a 32-bit hexadecimal number");
      }
      additional = *ParseHex64(a);
    }
    std::int64_t value = 0;
    if (!ParseValue(fields[2], value)) {
      throw PresetCsvError(recordLine, "value \"" + fields[2] +
                                           "\" is not a decimal or 0x-prefixed hexadecimal number");
    }
    items.push_back(MakeDataItem(firstIndex + static_cast<int>(items.size()), isData,
                                 static_cast<std::uint32_t>(additional), value,
                                 fields.size() > 3 ? fields[3] : std::string()));
  }
  if (!headerSeen) throw PresetCsvError(1, "the file is empty; expected \"" + std::string(kHeader) + "\"");
  return items;
}

PresetList ReadPresetCsvFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot open: " + std::strerror(errno));
  std::ostringstream ss;
  ss << in.rdbuf();
  try {
    return ParsePresetCsv(ss.str());
  } catch (const PresetCsvError& e) {
    throw std::runtime_error(path + ":" + std::to_string(e.Line()) + ": " + e.Message());
  }
}

namespace {
std::string Quote(const std::string& s) {
  if (s.find_first_of(",\"\n\r") == std::string::npos && Trim(s) == s) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}
}  // namespace

std::string WritePresetCsv(const PresetList& items) {
  std::string out(kHeader);
  out += '\n';
  for (const DataItem& item : items) {
    out += (LeadingNumber(item.kind) & 1) ? "data," : "cmd,";
    out += Trim(item.additional).empty() ? "0" : Trim(item.additional);
    out += ',';
    out += std::to_string(ParseDecimal64(item.value).value_or(0));
    out += ',';
    out += Quote(item.remark);
    out += '\n';
  }
  return out;
}

void WritePresetCsvFile(const std::string& path, const PresetList& items) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string text = WritePresetCsv(items);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw std::runtime_error(path + ": cannot write: " + std::strerror(errno));
}

}  // namespace radove
