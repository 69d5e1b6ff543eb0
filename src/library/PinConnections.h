#pragma once
// What the pin dialog shows and writes, without the widgets: the texts of a pin's
// columns and the translation between a pin's connection and its label through
// the target board's label tables ("-" not connected, "VCC", "GND", and each board
// GPIO's number in decimal).

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Records.h"

namespace radove {

// The view's target board tables, as the pin dialog uses them. The label maps hold
// the three fixed entries only when the board's GPIOs could be read; empty maps
// mean no connection can be set.
struct ConnectionLabels {
  std::vector<std::string> boardLabels;      // one per board GPIO, in library order
  std::map<std::string, int> labelToNumber;  // "-" -1, "VCC" -100, "GND" -201, "12" 12, ...
  std::map<int, std::string> numberToLabel;  // the reverse
};

// "引脚类型": 10 "输入", 11 "输出", 12 "双向", anything else "-".
std::string IoTypeText(int ioType);
// "有效电平" and "默认输出": 10 "0", 11 "1", anything else "-".
std::string LevelText(int level);
// A clock input (clk_trigger other than -1); its row is highlighted.
bool IsClockPin(const PinRecord& pin);

// The texts offered for a connection: "-", "VCC" and "GND", then the board's pins,
// each only when the label tables know it.
std::vector<std::string> ConnectionChoices(const ConnectionLabels& labels);
// The label shown for a connection: its entry in the number-to-label table, "-"
// when the table does not hold it.
std::string ConnectionLabel(int connection, const ConnectionLabels& labels);
// The connection a typed or chosen text stands for (blanks around it ignored);
// nothing when it is no label.
std::optional<int> ConnectionOf(std::string_view text, const ConnectionLabels& labels);

// Writes the connection texts, row by row, into the pins they stand beside: a text
// that is a label sets its number, any other text keeps the pin's connection. No
// other field changes. Returns how many connections changed.
int CommitConnections(PinList& pins, const std::vector<std::string>& texts,
                      const ConnectionLabels& labels);

}  // namespace radove
