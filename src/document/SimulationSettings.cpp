#include "document/SimulationSettings.h"

namespace radove {

const std::array<SimulationSettings::Descriptor, 8>& SimulationSettings::Descriptors() {
  using S = SimulationSettings;
  // The order is the order in which they are stored.
  static const std::array<Descriptor, 8> kDescriptors{{
      {"defolbgcolor", Kind::kColour, &S::defolbgcolor},
      {"runtolbgcolor", Kind::kColour, &S::runtolbgcolor},
      {"defilbgcolor", Kind::kColour, &S::defilbgcolor},
      {"runilbgcolor", Kind::kColour, &S::runilbgcolor},
      {"defpixelcolor", Kind::kColour, &S::defpixelcolor},
      {"mcproccontinous", Kind::kTiming, &S::mcproccontinous},
      {"excutetime", Kind::kTiming, &S::excutetime},
      {"pexcutetime", Kind::kTiming, &S::pexcutetime},
  }};
  return kDescriptors;
}

const SimulationSettings::Descriptor* SimulationSettings::Find(const std::string& name) {
  for (const Descriptor& d : Descriptors()) {
    if (name == d.name) return &d;
  }
  return nullptr;
}

bool SimulationSettings::Accepts(Kind kind, std::int64_t value) {
  if (kind == Kind::kColour) return value >= 0 && value <= kMaxColour;
  return value >= kMinTiming && value <= kMaxTiming;
}

bool SimulationSettings::Set(const Descriptor& d, std::int64_t value) {
  if (!Accepts(d.kind, value)) return false;
  this->*d.field = static_cast<std::uint32_t>(value);
  return true;
}

void SimulationSettings::Load(SettingsStorage& storage) {
  if (!storage.Exists()) {
    Save(storage);
    return;
  }
  for (const Descriptor& d : Descriptors()) {
    if (const auto v = storage.Read(d.name)) Set(d, *v);
  }
}

bool SimulationSettings::Save(SettingsStorage& storage) const {
  bool ok = true;
  for (const Descriptor& d : Descriptors()) ok = storage.Write(d.name, Get(d)) && ok;
  return ok;
}

DeviceColours SimulationSettings::Colours() const {
  DeviceColours c;
  c.outerStopped = defolbgcolor;
  c.outerActive = runtolbgcolor;
  c.panelStopped = defilbgcolor;
  c.panelActive = runilbgcolor;
  c.pixel = defpixelcolor;
  return c;
}

RunTiming SimulationSettings::Timing() const {
  return RunTiming{static_cast<int>(mcproccontinous), static_cast<int>(excutetime),
                   static_cast<int>(pexcutetime)};
}

}  // namespace radove
