#pragma once
// The preset editor's working copy of a preset list: six text columns per row,
// insertion, moves, deletion and the validation of edited cells. The editor's grid
// model shows it; nothing reaches the caller's list before Save.
//
// Rows are addressed from 0 here. The grid's numbering (0 the header, 1..N the
// rows, -1 no row) only enters through InsertPosition.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Records.h"

namespace radove {

enum PresetColumn : int {
  kColumnIndex = 0,   // "序号", the row's position, read-only
  kColumnKind,        // "类型", "命令" or "数据"
  kColumnAdditional,  // "附加", hexadecimal
  kColumnDecimal,     // "十进制"
  kColumnHex,         // "十六进制", kept equal to the decimal column
  kColumnRemark,      // "自定义备注"
  kPresetColumnCount
};

inline constexpr const char* kKindCommand = "命令";
inline constexpr const char* kKindData = "数据";

struct PresetRow {
  bool isData = false;
  std::string additional = "0";
  std::string decimal = "0";
  std::string hex = "0";
  std::string remark;

  // A new row as the editor inserts it: additional 0, the value in both columns.
  static PresetRow Make(bool isData, std::int64_t value);
  // A stored item as the editor shows it; texts that do not parse show as 0.
  static PresetRow FromItem(const DataItem& item);
  bool operator==(const PresetRow&) const = default;
};

struct EditResult {
  enum Status { kUnchanged, kAccepted, kRefused };
  Status status = kUnchanged;
  std::string message;  // why a refused edit was refused; empty when silently refused
};

class PresetTable {
 public:
  // Called now and then while loading or saving with the rows done so far.
  using Progress = std::function<void(std::size_t done, std::size_t total)>;

  void Load(const PresetList& items, const Progress& progress = {});
  // The rows as preset items: index = position, kind "0"/"1", the texts as shown.
  PresetList Save(const Progress& progress = {}) const;

  int RowCount() const { return static_cast<int>(rows_.size()); }
  const PresetRow& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
  std::string Text(int row, int column) const;

  // Where rows go for an insertion at a grid row: -1 (no row) or below the last
  // row appends, the header and row 1 insert at the top, row P inserts before it.
  static int InsertPosition(int gridRow, int rowCount);

  // Inserts the rows at position (clamped to 0..RowCount) in their order; returns
  // the position of the first.
  int Insert(int position, std::vector<PresetRow> rows);
  int Insert(int position, const PresetList& items);

  // Each returns false and changes nothing where the move makes no sense (the
  // first row up, the last row down, a row that does not exist).
  bool MoveToTop(int row);
  bool MoveUp(int row);
  bool MoveDown(int row);
  bool MoveToBottom(int row);
  bool Remove(int row);
  void Clear() { rows_.clear(); }

  // Validates and stores an edited cell. A refused text leaves the row as it was.
  // An accepted decimal updates the hexadecimal column and the other way round.
  EditResult Edit(int row, int column, const std::string& text);

 private:
  std::vector<PresetRow> rows_;
};

}  // namespace radove
