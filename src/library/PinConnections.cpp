#include "library/PinConnections.h"

#include <algorithm>

#include "core/PinCodes.h"
#include "library/LibraryDb.h"

namespace radove {

std::string IoTypeText(int ioType) {
  switch (ioType) {
    case pin_io::kInput:
      return "输入";
    case pin_io::kOutput:
      return "输出";
    case pin_io::kBidirectional:
      return "双向";
    default:
      return "-";
  }
}

std::string LevelText(int level) {
  switch (level) {
    case pin_level::kLow:
      return "0";
    case pin_level::kHigh:
      return "1";
    default:
      return "-";
  }
}

bool IsClockPin(const PinRecord& pin) { return pin.clkTrigger != pin_clock::kNotClock; }

std::vector<std::string> ConnectionChoices(const ConnectionLabels& labels) {
  std::vector<std::string> choices;
  for (const char* fixed : {"-", "VCC", "GND"}) {
    if (labels.labelToNumber.contains(fixed)) choices.emplace_back(fixed);
  }
  for (const std::string& label : labels.boardLabels) {
    if (labels.labelToNumber.contains(label) &&
        std::find(choices.begin(), choices.end(), label) == choices.end()) {
      choices.push_back(label);
    }
  }
  return choices;
}

std::string ConnectionLabel(int connection, const ConnectionLabels& labels) {
  const auto it = labels.numberToLabel.find(connection);
  return it != labels.numberToLabel.end() ? it->second : std::string("-");
}

std::optional<int> ConnectionOf(std::string_view text, const ConnectionLabels& labels) {
  const auto it = labels.labelToNumber.find(TrimBlanks(text));
  if (it == labels.labelToNumber.end()) return std::nullopt;
  return it->second;
}

int CommitConnections(PinList& pins, const std::vector<std::string>& texts,
                      const ConnectionLabels& labels) {
  int changed = 0;
  const std::size_t rows = std::min(pins.size(), texts.size());
  for (std::size_t n = 0; n < rows; ++n) {
    const std::optional<int> connection = ConnectionOf(texts[n], labels);
    if (!connection || *connection == pins[n].connection) continue;
    pins[n].connection = *connection;
    ++changed;
  }
  return changed;
}

}  // namespace radove
