#pragma once
// The eight user settings: five colours every device's drawing frame copies when
// the device is made, and three timing values the run control reads each time it
// uses them. They are kept in a per-user store as named 32-bit values.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/Simulation.h"
#include "core/SurfaceBase.h"

namespace radove {

// Where the settings persist: a group of named 32-bit values.
class SettingsStorage {
 public:
  virtual ~SettingsStorage() = default;
  // True when the group exists (the program has stored its settings before).
  virtual bool Exists() const = 0;
  // The stored value, or nothing when it is missing or not a 32-bit number.
  virtual std::optional<std::uint32_t> Read(const std::string& name) const = 0;
  // False when the value could not be stored.
  virtual bool Write(const std::string& name, std::uint32_t value) = 0;
};

struct SimulationSettings {
  enum class Kind { kColour, kTiming };

  // One setting: its stored name, kind and where it lives. The defaults are the
  // field initialisers below.
  struct Descriptor {
    const char* name;
    Kind kind;
    std::uint32_t SimulationSettings::*field;
  };
  static const std::array<Descriptor, 8>& Descriptors();
  // The descriptor with this stored name, or nullptr.
  static const Descriptor* Find(const std::string& name);

  static constexpr std::uint32_t kMaxColour = 0xFFFFFF;
  static constexpr std::int64_t kMinTiming = 1;
  static constexpr std::int64_t kMaxTiming = 10000;
  // Colours 0..0xFFFFFF (0x00BBGGRR), timing values 1..10000.
  static bool Accepts(Kind kind, std::int64_t value);

  // Colours, 0x00BBGGRR.
  std::uint32_t defolbgcolor = 0xD5D5D5;   // outer background while stopped
  std::uint32_t runtolbgcolor = 0xF5F5F5;  // outer background while active
  std::uint32_t defilbgcolor = 0xFFBF00;   // panel fill while stopped
  std::uint32_t runilbgcolor = 0xF5BF00;   // panel fill while active
  std::uint32_t defpixelcolor = 0x000000;  // lit pixels and dots
  // Timing.
  std::uint32_t mcproccontinous = 10;  // items processed back to back before a redraw
  std::uint32_t excutetime = 10;       // ms slept after each batch while running
  std::uint32_t pexcutetime = 100;     // ms slept after an idle redraw while paused

  // Sets a value when it is in its range; returns false and keeps the current one
  // otherwise.
  bool Set(const Descriptor& d, std::int64_t value);
  std::uint32_t Get(const Descriptor& d) const { return this->*d.field; }
  static std::uint32_t DefaultOf(const Descriptor& d) { return SimulationSettings{}.*d.field; }
  void RestoreDefaults() { *this = SimulationSettings{}; }

  // Reads the eight values. When the store has none yet, writes the current ones
  // instead (a first start stores the defaults). A value that is missing,
  // unreadable or out of range leaves the current one.
  void Load(SettingsStorage& storage);
  // Writes all eight in their fixed order; false when any write failed.
  bool Save(SettingsStorage& storage) const;

  DeviceColours Colours() const;
  RunTiming Timing() const;

  bool operator==(const SimulationSettings&) const = default;
};

}  // namespace radove
