#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/PinCodes.h"
#include "library/PinConnections.h"

namespace radove {
namespace {

// The tables the view builds from a board with GPIOs 12, 13 and 40.
ConnectionLabels BoardLabels() {
  ConnectionLabels l;
  l.boardLabels = {"12", "13", "40"};
  l.labelToNumber = {{"-", -1}, {"VCC", -100}, {"GND", -201}, {"12", 12}, {"13", 13}, {"40", 40}};
  for (const auto& [label, number] : l.labelToNumber) l.numberToLabel[number] = label;
  return l;
}

PinRecord Pin(const std::string& name, int connection, int clock = pin_clock::kNotClock) {
  PinRecord p;
  p.id = 70000100;
  p.tidDeviceLib = 700001;
  p.deviceType = "1602字符液晶";
  p.deviceName = "LCM1602";
  p.nameEn = name;
  p.nameCn = name + "脚";
  p.ioType = pin_io::kInput;
  p.clkTrigger = clock;
  p.info = "info";
  p.connection = connection;
  return p;
}

TEST(PinConnectionsTest, EveryConnectionRoundTripsThroughItsLabel) {
  const ConnectionLabels labels = BoardLabels();
  const struct {
    int connection;
    const char* label;
  } cases[] = {{kPinUnconnected, "-"}, {kPinVcc, "VCC"}, {kPinGnd, "GND"}, {12, "12"}, {40, "40"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ConnectionLabel(c.connection, labels), c.label);
    EXPECT_EQ(ConnectionOf(c.label, labels), c.connection) << c.label;
  }
}

TEST(PinConnectionsTest, AConnectionTheTablesDoNotHoldShowsAsNotConnected) {
  const ConnectionLabels labels = BoardLabels();
  for (int connection : {0, 14, 99, -2}) EXPECT_EQ(ConnectionLabel(connection, labels), "-");
}

TEST(PinConnectionsTest, OnlyLabelsStandForConnections) {
  const ConnectionLabels labels = BoardLabels();
  EXPECT_EQ(ConnectionOf(" 13\t", labels), 13) << "blanks around a label do not matter";
  for (const char* text : {"", "PA5", "vcc", "gnd", "012", "12.0", "+12", "14", "-1", "VCC GND"}) {
    EXPECT_EQ(ConnectionOf(text, labels), std::nullopt) << text;
  }
}

TEST(PinConnectionsTest, ChoicesAreTheFixedThreeThenTheBoardPins) {
  EXPECT_EQ(ConnectionChoices(BoardLabels()),
            (std::vector<std::string>{"-", "VCC", "GND", "12", "13", "40"}));
  EXPECT_TRUE(ConnectionChoices(ConnectionLabels{}).empty());
}

TEST(PinConnectionsTest, CommitWritesLabelsAndKeepsConnectionsOfUnknownTexts) {
  const ConnectionLabels labels = BoardLabels();
  PinList pins = {Pin("VSS", kPinGnd), Pin("RS", kPinUnconnected), Pin("E", 13, 2), Pin("D0", 40),
                  Pin("D1", 12)};
  const PinList before = pins;
  const int changed = CommitConnections(pins, {"-", "12", "PA5", "12", "12"}, labels);
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(pins[0].connection, kPinUnconnected);
  EXPECT_EQ(pins[1].connection, 12);
  EXPECT_EQ(pins[2].connection, 13) << "an unknown label keeps the connection";
  EXPECT_EQ(pins[3].connection, 12) << "two pins may share a board pin";
  EXPECT_EQ(pins[4].connection, 12);
  for (std::size_t i = 0; i < pins.size(); ++i) {
    PinRecord other = pins[i];
    other.connection = before[i].connection;
    EXPECT_EQ(other, before[i]) << "only the connection of pin " << i << " may change";
  }
}

TEST(PinConnectionsTest, ShowingAndCommittingUnchangedLabelsChangesNothingKnown) {
  const ConnectionLabels labels = BoardLabels();
  PinList pins = {Pin("A", kPinVcc), Pin("B", 40), Pin("C", 77)};
  std::vector<std::string> shown;
  for (const PinRecord& p : pins) shown.push_back(ConnectionLabel(p.connection, labels));
  EXPECT_EQ(shown, (std::vector<std::string>{"VCC", "40", "-"}));
  EXPECT_EQ(CommitConnections(pins, shown, labels), 1);
  EXPECT_EQ(pins[0].connection, kPinVcc);
  EXPECT_EQ(pins[1].connection, 40);
  EXPECT_EQ(pins[2].connection, kPinUnconnected)
      << "a number the board lacks becomes not connected";
}

TEST(PinConnectionsTest, EmptyTablesShowNotConnectedAndChangeNothing) {
  const ConnectionLabels none;
  PinList pins = {Pin("VDD", kPinVcc), Pin("VSS", kPinGnd)};
  EXPECT_EQ(ConnectionLabel(kPinVcc, none), "-");
  EXPECT_EQ(CommitConnections(pins, {"-", "VCC"}, none), 0);
  EXPECT_EQ(pins[0].connection, kPinVcc);
  EXPECT_EQ(pins[1].connection, kPinGnd);
}

TEST(PinConnectionsTest, FewerTextsThanPinsLeaveTheRestAlone) {
  PinList pins = {Pin("A", 12), Pin("B", 13)};
  EXPECT_EQ(CommitConnections(pins, {"GND"}, BoardLabels()), 1);
  EXPECT_EQ(pins[0].connection, kPinGnd);
  EXPECT_EQ(pins[1].connection, 13);
}

TEST(PinConnectionsTest, ColumnTexts) {
  EXPECT_EQ(IoTypeText(pin_io::kInput), "输入");
  EXPECT_EQ(IoTypeText(pin_io::kOutput), "输出");
  EXPECT_EQ(IoTypeText(pin_io::kBidirectional), "双向");
  EXPECT_EQ(IoTypeText(pin_io::kNone), "-");
  EXPECT_EQ(LevelText(pin_level::kLow), "0");
  EXPECT_EQ(LevelText(pin_level::kHigh), "1");
  EXPECT_EQ(LevelText(pin_level::kNone), "-");
  EXPECT_EQ(LevelText(0), "-");
  EXPECT_TRUE(IsClockPin(Pin("E", 13, pin_clock::kFallingEdge)));
  EXPECT_FALSE(IsClockPin(Pin("RS", 12)));
}

}  // namespace
}  // namespace radove
