#include "core/DeviceBase.h"

#include <cstdio>
#include <stdexcept>

#include "core/TextParse.h"

namespace radove {

CDeviceBase::CDeviceBase(const DeviceColours& colours) : surface_(colours) {}

CDeviceBase::~CDeviceBase() = default;

Viewport CDeviceBase::FitToWindow(int w, int h) const {
  return radove::FitToWindow(surface_.aspectMode, surface_.canvasWidth, surface_.canvasHeight, w,
                             h, Viewport{0, 0, w, h});
}

void CDeviceBase::PrepareCanvas(RenderTarget& target, int mode) {
  const CSurfaceBase& s = surface_;
  canvas_ = target.BeginCanvas(s.canvasWidth, s.canvasHeight,
                               FitToWindow(target.Width(), target.Height()));
  const bool active = mode == kModeActive;
  canvas_->FillRect(0, 0, s.canvasWidth, s.canvasHeight,
                    active ? s.outerColourActive : s.outerColourStopped);
  canvas_->FillRoundRect(s.panelLeft, s.panelTop, s.panelRight, s.panelBottom, s.cornerWidth,
                         s.cornerHeight, active ? s.panelColourActive : s.panelColourStopped);
}

void CDeviceBase::Present(RenderTarget& target) {
  if (canvas_) target.Present(std::move(canvas_));
}

Canvas& CDeviceBase::CanvasRef() {
  if (!canvas_) throw std::logic_error("drawing outside PrepareCanvas/Present");
  return *canvas_;
}

void CDeviceBase::Render(RenderTarget&, int) {}

void CDeviceBase::DrawContents() {}

void CDeviceBase::RenderStandard(RenderTarget& target, int mode) {
  PrepareCanvas(target, mode);
  if (mode == kModeActive) DrawContents();
  Present(target);
}

void CDeviceBase::RenderAlways(RenderTarget& target, int mode) {
  PrepareCanvas(target, mode);
  DrawContents();
  Present(target);
}

void CDeviceBase::PushItem(std::int64_t word, std::int32_t) { queue_.Push(word); }

bool CDeviceBase::ProcessNextItem(std::int32_t) { return false; }

void CDeviceBase::FeedItem(int, std::uint32_t, int, std::int64_t, int) {}

void CDeviceBase::ClearItems() { queue_.Clear(); }

void CDeviceBase::Reset() {}

void CDeviceBase::CreateProperties(PropertySet&) {}
void CDeviceBase::LoadProperties(PropertySet&) {}
void CDeviceBase::SaveProperties(PropertySet&) {}
void CDeviceBase::OnIntPropertyChanged(std::uint32_t, int) {}
void CDeviceBase::OnStringPropertyChanged(std::uint32_t, const std::string&) {}

int CDeviceBase::GetIntProperty(const PropertySet& set, std::uint32_t key) {
  const auto it = set.find(key);
  if (it == set.end()) return 0;
  return ParseDecimal32(it->second).value_or(0);
}

std::string CDeviceBase::GetStringProperty(const PropertySet& set, std::uint32_t key) {
  const auto it = set.find(key);
  return it == set.end() ? std::string() : it->second;
}

void CDeviceBase::SetIntProperty(PropertySet& set, std::uint32_t key, int value) {
  const auto it = set.find(key);
  if (it != set.end()) it->second = std::to_string(value);
}

void CDeviceBase::SetStringProperty(PropertySet& set, std::uint32_t key, const std::string& text) {
  const auto it = set.find(key);
  if (it != set.end()) it->second = text;
}

void CDeviceBase::AddIntProperty(PropertySet& set, std::uint32_t key, const std::string& name,
                                 const std::string& description, int value) {
  if (set.count(key)) return;
  const std::uint32_t id = property::IdOf(key);
  set.emplace(id + property::kValue, std::to_string(value));
  set.emplace(id + property::kName, name);
  set.emplace(id + property::kDescription, description);
  set.emplace(id + property::kType, "0");
}

void CDeviceBase::AddFileProperty(PropertySet& set, std::uint32_t key, const std::string& name,
                                  const std::string& description, const std::string& filter,
                                  const std::string& value) {
  if (set.count(key)) return;
  const std::uint32_t id = property::IdOf(key);
  set.emplace(id + property::kValue, value);
  set.emplace(id + property::kName, name);
  set.emplace(id + property::kDescription, description);
  set.emplace(id + property::kType, "2");
  set.emplace(id + property::kFilter, filter);
}

void CDeviceBase::AddListProperty(PropertySet& set, std::uint32_t key, const std::string& name,
                                  const std::string& description,
                                  const std::vector<std::string>& options,
                                  const std::string& value) {
  if (set.count(key)) return;
  const std::uint32_t id = property::IdOf(key);
  set.emplace(id + property::kValue, value);
  set.emplace(id + property::kName, name);
  set.emplace(id + property::kDescription, description);
  set.emplace(id + property::kType, "3");
  for (std::size_t i = 0; i < options.size(); ++i) {
    set.emplace(id + property::kOptions + static_cast<std::uint32_t>(i), options[i]);
  }
}

void CDeviceBase::WriteMemoryCell(int, int) {}

void CDeviceBase::ApplyPinLevels(PinList) {}

const InspectionRoot& CDeviceBase::BuildInspection() { return root_; }

void CDeviceBase::SetRunState(int state) {
  previousRunState_ = runState_;
  runState_ = state;
}

void CDeviceBase::NotifyRunState(int) {}

bool CDeviceBase::NeedsIdleRedraw() const { return idleRedraw_.load(); }

void CDeviceBase::SetIdleRedraw(bool value) { idleRedraw_.store(value); }

void CDeviceBase::CountItem() {
  if (itemCounter_) itemCounter_->Increment();
}

}  // namespace radove
