#include "tools/PresetTable.h"

#include <algorithm>
#include <limits>

#include "core/TextParse.h"

namespace radove {
namespace {

constexpr const char* kNotHex = "您输入的不是十六进制整数,请重新输入（此项仅对部分器件有效，请参考帮助文档）";
constexpr const char* kNotDecimal = "您输入的不是十进制正整数,请重新输入";
constexpr const char* kNotPositiveHex = "您输入的不是十六进制正整数,请重新输入";
constexpr const char* kOutOfRange = "输入数据已经超出范围";

// Progress is reported in steps this large, and once at the end.
constexpr std::size_t kProgressStep = 4096;

// "%llX" of the value, without the cost of a format string per cell.
std::string Hex(std::int64_t v) {
  char buf[16];
  char* p = buf + sizeof buf;
  auto u = static_cast<std::uint64_t>(v);
  do {
    *--p = "0123456789ABCDEF"[u & 0xF];
    u >>= 4;
  } while (u != 0);
  return std::string(p, buf + sizeof buf);
}

bool AllDigits(const std::string& s, bool hex) {
  if (s.empty()) return false;
  for (char c : s) {
    const bool dec = c >= '0' && c <= '9';
    if (!(dec || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))))) return false;
  }
  return true;
}

// A string of hexadecimal digits as a signed 64-bit number; nullopt beyond the range.
std::optional<std::int64_t> SignedHex(const std::string& s) {
  const auto v = ParseHex64(s);
  if (!v || *v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(*v);
}

void Report(const PresetTable::Progress& progress, std::size_t done, std::size_t total) {
  if (progress && (done % kProgressStep == 0 || done == total)) progress(done, total);
}

}  // namespace

PresetRow PresetRow::Make(bool isData, std::int64_t value) {
  PresetRow row;
  row.isData = isData;
  row.decimal = std::to_string(value);
  row.hex = Hex(value);
  return row;
}

PresetRow PresetRow::FromItem(const DataItem& item) {
  PresetRow row = Make(item.kind != "0", ParseDecimal64(item.value).value_or(0));
  row.additional = Hex(SignedHex(item.additional).value_or(0));
  row.remark = item.remark;
  return row;
}

void PresetTable::Load(const PresetList& items, const Progress& progress) {
  rows_.clear();
  rows_.reserve(items.size());
  for (const DataItem& item : items) {
    rows_.push_back(PresetRow::FromItem(item));
    Report(progress, rows_.size(), items.size());
  }
}

PresetList PresetTable::Save(const Progress& progress) const {
  PresetList items;
  items.reserve(rows_.size());
  for (const PresetRow& row : rows_) {
    DataItem& item = items.emplace_back();
    item.index = std::to_string(items.size());
    item.kind.push_back(row.isData ? '1' : '0');
    item.additional = row.additional;
    item.value = row.decimal;
    item.valueHex = row.hex;
    item.remark = row.remark;
    Report(progress, items.size(), rows_.size());
  }
  return items;
}

std::string PresetTable::Text(int row, int column) const {
  const PresetRow& r = Row(row);
  switch (column) {
    case kColumnIndex: return std::to_string(row + 1);
    case kColumnKind: return r.isData ? kKindData : kKindCommand;
    case kColumnAdditional: return r.additional;
    case kColumnDecimal: return r.decimal;
    case kColumnHex: return r.hex;
    case kColumnRemark: return r.remark;
    default: return {};
  }
}

int PresetTable::InsertPosition(int gridRow, int rowCount) {
  if (gridRow < 0 || gridRow > rowCount) return rowCount;
  return gridRow == 0 ? 0 : gridRow - 1;
}

int PresetTable::Insert(int position, std::vector<PresetRow> rows) {
  position = std::clamp(position, 0, RowCount());
  rows_.insert(rows_.begin() + position, std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
  return position;
}

int PresetTable::Insert(int position, const PresetList& items) {
  std::vector<PresetRow> rows;
  rows.reserve(items.size());
  for (const DataItem& item : items) rows.push_back(PresetRow::FromItem(item));
  return Insert(position, std::move(rows));
}

bool PresetTable::MoveToTop(int row) {
  if (row < 1 || row >= RowCount()) return false;
  std::rotate(rows_.begin(), rows_.begin() + row, rows_.begin() + row + 1);
  return true;
}

bool PresetTable::MoveUp(int row) {
  if (row < 1 || row >= RowCount()) return false;
  std::swap(rows_[static_cast<std::size_t>(row) - 1], rows_[static_cast<std::size_t>(row)]);
  return true;
}

bool PresetTable::MoveDown(int row) {
  if (row < 0 || row >= RowCount() - 1) return false;
  std::swap(rows_[static_cast<std::size_t>(row)], rows_[static_cast<std::size_t>(row) + 1]);
  return true;
}

bool PresetTable::MoveToBottom(int row) {
  if (row < 0 || row >= RowCount() - 1) return false;
  std::rotate(rows_.begin() + row, rows_.begin() + row + 1, rows_.end());
  return true;
}

bool PresetTable::Remove(int row) {
  if (row < 0 || row >= RowCount()) return false;
  rows_.erase(rows_.begin() + row);
  return true;
}

EditResult PresetTable::Edit(int row, int column, const std::string& text) {
  if (row < 0 || row >= RowCount()) return {EditResult::kRefused, {}};
  PresetRow& r = rows_[static_cast<std::size_t>(row)];
  if (Text(row, column) == text) return {};
  switch (column) {
    case kColumnKind:
      if (text != kKindData && text != kKindCommand) return {EditResult::kRefused, {}};
      r.isData = text == kKindData;
      break;
    case kColumnAdditional:
      if (!AllDigits(text, true)) return {EditResult::kRefused, kNotHex};
      if (!SignedHex(text)) return {EditResult::kRefused, kOutOfRange};
      r.additional = text;
      break;
    case kColumnDecimal: {
      if (!AllDigits(text, false)) return {EditResult::kRefused, kNotDecimal};
      const auto v = ParseDecimal64(text);
      if (!v) return {EditResult::kRefused, kOutOfRange};
      r.decimal = text;
      r.hex = Hex(*v);
      break;
    }
    case kColumnHex: {
      if (!AllDigits(text, true)) return {EditResult::kRefused, kNotPositiveHex};
      const auto v = SignedHex(text);
      if (!v) return {EditResult::kRefused, kOutOfRange};
      r.hex = text;
      r.decimal = std::to_string(*v);
      break;
    }
    case kColumnRemark:
      r.remark = text;
      break;
    default:
      return {EditResult::kRefused, {}};
  }
  return {EditResult::kAccepted, {}};
}

}  // namespace radove
