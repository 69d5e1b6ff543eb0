#pragma once
// Preset lists as CSV: the command-line tool's input and the editor's import and
// export format.
//
//   kind,additional,value,remark
//   cmd,0,0x38,function set
//   data,0,65,"A, the letter"
//
// UTF-8; kind is cmd/data (also 0/1, 命令/数据); additional is hexadecimal; value
// is decimal or 0x-prefixed hexadecimal; remark follows CSV quoting rules; lines
// starting with # are comments; blank lines are skipped.

#include <stdexcept>
#include <string>
#include <string_view>

#include "core/Records.h"

namespace radove {

class PresetCsvError : public std::runtime_error {
 public:
  PresetCsvError(int line, const std::string& message);
  int Line() const { return line_; }
  const std::string& Message() const { return message_; }

 private:
  int line_;
  std::string message_;
};

// Parses the text; items are numbered from firstIndex. Throws PresetCsvError
// naming the line at fault; nothing is returned on error.
PresetList ParsePresetCsv(std::string_view text, int firstIndex = 1);

// Reads a file; errors name the file and line ("FILE:LINE: message"). Throws
// std::runtime_error.
PresetList ReadPresetCsvFile(const std::string& path);

std::string WritePresetCsv(const PresetList& items);
// Throws std::runtime_error naming the file when it cannot be written.
void WritePresetCsvFile(const std::string& path, const PresetList& items);

}  // namespace radove
