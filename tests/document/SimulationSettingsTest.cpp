#include "document/SimulationSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace radove {
namespace {

// A store in memory that records the order of writes and can refuse them.
class FakeStorage : public SettingsStorage {
 public:
  bool Exists() const override { return !values.empty() || existsEmpty; }
  std::optional<std::uint32_t> Read(const std::string& name) const override {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  bool Write(const std::string& name, std::uint32_t value) override {
    written.push_back(name);
    if (refuseWrites) return false;
    values[name] = value;
    return true;
  }

  std::map<std::string, std::uint32_t> values;
  std::vector<std::string> written;
  bool existsEmpty = false;
  bool refuseWrites = false;
};

const std::vector<std::string> kOrder = {"defolbgcolor", "runtolbgcolor", "defilbgcolor",
                                         "runilbgcolor", "defpixelcolor", "mcproccontinous",
                                         "excutetime",   "pexcutetime"};

TEST(SimulationSettings, FirstStartWritesAllEightDefaults) {
  FakeStorage store;
  SimulationSettings s;
  s.Load(store);
  EXPECT_EQ(s, SimulationSettings{});
  EXPECT_EQ(store.written, kOrder);
  const std::map<std::string, std::uint32_t> expected = {
      {"defolbgcolor", 0xD5D5D5}, {"runtolbgcolor", 0xF5F5F5}, {"defilbgcolor", 0xFFBF00},
      {"runilbgcolor", 0xF5BF00}, {"defpixelcolor", 0},        {"mcproccontinous", 10},
      {"excutetime", 10},         {"pexcutetime", 100}};
  EXPECT_EQ(store.values, expected);
}

TEST(SimulationSettings, StoredValuesInRangeAreTaken) {
  FakeStorage store;
  store.values = {{"defolbgcolor", 0x123456}, {"defpixelcolor", 0xFFFFFF}, {"mcproccontinous", 1},
                  {"excutetime", 10000},      {"pexcutetime", 250}};
  SimulationSettings s;
  s.Load(store);
  EXPECT_TRUE(store.written.empty()) << "an existing store is only read";
  EXPECT_EQ(s.defolbgcolor, 0x123456u);
  EXPECT_EQ(s.defpixelcolor, 0xFFFFFFu);
  EXPECT_EQ(s.mcproccontinous, 1u);
  EXPECT_EQ(s.excutetime, 10000u);
  EXPECT_EQ(s.pexcutetime, 250u);
  EXPECT_EQ(s.runtolbgcolor, 0xF5F5F5u) << "a missing value leaves the current one";
}

TEST(SimulationSettings, OutOfRangeValuesLeaveTheCurrentOne) {
  const struct {
    const char* name;
    std::uint32_t stored;
  } cases[] = {{"excutetime", 0},           {"excutetime", 20000},
               {"mcproccontinous", 10001},  {"pexcutetime", 0xFFFFFFFFu},
               {"defilbgcolor", 0x1000000}, {"defpixelcolor", 0xFF000000u}};
  for (const auto& k : cases) {
    FakeStorage store;
    store.values[k.name] = k.stored;
    SimulationSettings s;
    s.Load(store);
    EXPECT_EQ(s, SimulationSettings{}) << k.name << " = " << k.stored;
  }
}

TEST(SimulationSettings, SaveWritesAllEightInOrder) {
  FakeStorage store;
  SimulationSettings s;
  s.excutetime = 55;
  EXPECT_TRUE(s.Save(store));
  EXPECT_EQ(store.written, kOrder);
  EXPECT_EQ(store.values.at("excutetime"), 55u);

  FakeStorage refusing;
  refusing.refuseWrites = true;
  EXPECT_FALSE(s.Save(refusing));
  EXPECT_EQ(refusing.written, kOrder) << "a failed write does not stop the others";
}

TEST(SimulationSettings, SetChecksTheRange) {
  SimulationSettings s;
  const auto& batch = *SimulationSettings::Find("mcproccontinous");
  const auto& pixel = *SimulationSettings::Find("defpixelcolor");
  EXPECT_FALSE(s.Set(batch, 0));
  EXPECT_FALSE(s.Set(batch, -5));
  EXPECT_EQ(s.mcproccontinous, 10u);
  EXPECT_TRUE(s.Set(batch, 10000));
  EXPECT_EQ(s.Get(batch), 10000u);
  EXPECT_FALSE(s.Set(pixel, 0x1000000));
  EXPECT_TRUE(s.Set(pixel, 0xFFFFFF));
  EXPECT_EQ(SimulationSettings::DefaultOf(batch), 10u);
  EXPECT_EQ(SimulationSettings::Find("nothing"), nullptr);
  s.RestoreDefaults();
  EXPECT_EQ(s, SimulationSettings{});
}

TEST(SimulationSettings, ConvertsToDeviceColoursAndRunTiming) {
  SimulationSettings s;
  EXPECT_EQ(s.Colours(), DeviceColours{});
  s.defolbgcolor = 1;
  s.runtolbgcolor = 2;
  s.defilbgcolor = 3;
  s.runilbgcolor = 4;
  s.defpixelcolor = 5;
  s.mcproccontinous = 6;
  s.excutetime = 7;
  s.pexcutetime = 8;
  const DeviceColours c = s.Colours();
  EXPECT_EQ(c, (DeviceColours{1, 2, 3, 4, 5}));
  const RunTiming t = s.Timing();
  EXPECT_EQ(t.batch, 6);
  EXPECT_EQ(t.runSleepMs, 7);
  EXPECT_EQ(t.pausedSleepMs, 8);
}

}  // namespace
}  // namespace radove
