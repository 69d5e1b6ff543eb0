#pragma once
// The interface through which the rest of the program handles every device model:
// drawing into a scaled canvas, the input queue, user properties, inspection and
// the idle-redraw flag.
//
// Threading: one mutex per device guards the chip state. The simulation worker
// holds it for one ProcessNextItem, the user-interface thread for one Render or one
// BuildInspection (plus the copy of its result), a device timer thread for one
// tick. Callers take it through Lock(); device code never locks itself except in
// its own timer threads.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/Canvas.h"
#include "core/InputQueue.h"
#include "core/ItemCounter.h"
#include "core/Records.h"
#include "core/SurfaceBase.h"

namespace radove {

enum RenderMode { kModeStopped = 0, kModeActive = 1 };

class CDeviceBase {
 public:
  explicit CDeviceBase(const DeviceColours& colours);
  virtual ~CDeviceBase();
  CDeviceBase(const CDeviceBase&) = delete;
  CDeviceBase& operator=(const CDeviceBase&) = delete;

  // --- drawing -----------------------------------------------------------------
  // The viewport this device's canvas takes in a window of w x h pixels.
  Viewport FitToWindow(int w, int h) const;
  // Creates the canvas on the target and paints the outer background and the
  // rounded panel in the colours of the mode.
  void PrepareCanvas(RenderTarget& target, int mode);
  // Hands the canvas back to the target, which shows it.
  void Present(RenderTarget& target);
  virtual void Render(RenderTarget& target, int mode);
  virtual void DrawContents();

  // --- input queue -------------------------------------------------------------
  void PushItem(std::int64_t word, std::int32_t reserved = 0);
  // Takes and executes the front word. Returns false when the queue is empty; a
  // device may also return false after a word to end the current batch early.
  virtual bool ProcessNextItem(std::int32_t reserved = 0);
  virtual void FeedItem(int kind, std::uint32_t additional, int auxiliary, std::int64_t value,
                        int flag);
  void ClearItems();
  std::size_t QueuedItems() const { return queue_.Size(); }
  // Power-on state of all chips and the geometry.
  virtual void Reset();

  // --- user properties ---------------------------------------------------------
  virtual void CreateProperties(PropertySet& set);
  virtual void LoadProperties(PropertySet& set);
  virtual void SaveProperties(PropertySet& set);
  virtual void OnIntPropertyChanged(std::uint32_t key, int value);
  virtual void OnStringPropertyChanged(std::uint32_t key, const std::string& text);
  static int GetIntProperty(const PropertySet& set, std::uint32_t key);
  static std::string GetStringProperty(const PropertySet& set, std::uint32_t key);
  static void SetIntProperty(PropertySet& set, std::uint32_t key, int value);
  static void SetStringProperty(PropertySet& set, std::uint32_t key, const std::string& text);
  static void AddIntProperty(PropertySet& set, std::uint32_t key, const std::string& name,
                             const std::string& description, int value);
  static void AddFileProperty(PropertySet& set, std::uint32_t key, const std::string& name,
                              const std::string& description, const std::string& filter,
                              const std::string& value);
  static void AddListProperty(PropertySet& set, std::uint32_t key, const std::string& name,
                              const std::string& description,
                              const std::vector<std::string>& options, const std::string& value);

  // --- memory, pins, inspection ------------------------------------------------
  virtual void WriteMemoryCell(int index, int value);
  virtual void ApplyPinLevels(PinList pins);
  virtual const InspectionRoot& BuildInspection();

  // --- run state and idle redraw -------------------------------------------------
  void SetRunState(int state);
  virtual void NotifyRunState(int state);
  int RunState() const { return runState_; }
  int PreviousRunState() const { return previousRunState_; }
  virtual bool NeedsIdleRedraw() const;
  virtual void SetIdleRedraw(bool value);
  // Adds one to the run's item counter (when the device is attached to one).
  void CountItem();
  void AttachItemCounter(ItemCounter* counter) { itemCounter_ = counter; }

  std::unique_lock<std::mutex> Lock() const { return std::unique_lock<std::mutex>(mutex_); }

  // Descriptive texts copied from the device library row.
  std::string name, type_cn, type_en, category_cn, sub_category_cn, info;

  const CSurfaceBase& Surface() const { return surface_; }

 protected:
  // The canvas between PrepareCanvas and Present; DrawContents paints into it.
  Canvas& CanvasRef();
  bool HasCanvas() const { return canvas_ != nullptr; }

  // The three render forms; a device's Render picks one.
  void RenderStandard(RenderTarget& target, int mode);  // contents only when active
  void RenderAlways(RenderTarget& target, int mode);    // contents in every mode

  InputQueue& Queue() { return queue_; }

  InspectionRoot root_;
  CSurfaceBase surface_;
  std::atomic<bool> idleRedraw_{true};

 private:
  std::unique_ptr<Canvas> canvas_;
  InputQueue queue_;
  int runState_ = 0;
  int previousRunState_ = 0;
  ItemCounter* itemCounter_ = nullptr;
  mutable std::mutex mutex_;
};

// Shared input-word convention for controllers on a byte bus: bits 0-7 the value,
// bit 8 set for a data item.
inline std::int64_t ByteBusWord(int kind, std::int64_t value) {
  return (value & 0xFF) | ((kind & 1) ? 0x100 : 0);
}

}  // namespace radove
