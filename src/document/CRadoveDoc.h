#pragma once
// The one document of the application: which device is simulated, its model, and
// what the user prepared for it — the preset list, the pins and their connections,
// a table of integer pairs and the property values — saved to and loaded from a
// .redu file.
//
// The four per-device maps hold at most one entry each, and only for the current
// device id: the setters store under the current id, choosing another device drops
// the old entries, a new document empties them, and a loaded file fills them for
// its own device id only.
//
// Threading: everything here runs on the user-interface thread, except that the
// run control's worker calls Device() while a run is on. The model is therefore
// replaced or destroyed only after the run has been stopped, which the document
// does itself when it knows the run control (AttachSimulation).

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/DeviceBase.h"
#include "core/Records.h"
#include "core/Simulation.h"
#include "devices/CDeviceFactory.h"
#include "document/BulkSettings.h"

namespace radove {

using PairTable = std::map<std::int32_t, std::int32_t>;

// The category, sub-category and device positions last chosen in the library
// browser, restored when it opens again.
struct LibrarySelection {
  std::int32_t category = -1;
  std::int32_t subCategory = -1;
  std::int32_t device = -1;
  bool operator==(const LibrarySelection&) const = default;
};

// Everything a .redu file carries.
struct DocumentContents {
  LibrarySelection librarySelection;
  std::int32_t currentDeviceId = -1;  // type code; -1 = no device chosen
  std::string className;              // class_name of the device's library row
  std::string classFileName;          // class_file_name of the row
  std::int32_t userCreated = 0;       // usr_created of the row
  std::map<std::int32_t, PresetList> presetLists;
  std::map<std::int32_t, PinList> pinLists;
  std::map<std::int32_t, PairTable> pairTables;
  std::map<std::int32_t, PropertySet> propertySets;
  bool operator==(const DocumentContents&) const = default;
};

// The file layout: the library selection, the device id, the class name and class
// file name, the user-created flag, then four sections (preset items, pins, pairs,
// properties), each a list count followed, when the current device has an entry,
// by the element count and the elements.
//
// Encode writes only the current device's entries, so what it writes always reads
// back; it throws ArchiveError when a text has no GBK form, naming the section and
// element. Decode throws ArchiveError naming the byte and section at fault; of
// several lists in one section it keeps the first.
std::vector<std::uint8_t> EncodeDocument(const DocumentContents& contents);
DocumentContents DecodeDocument(std::span<const std::uint8_t> bytes);

// A file that could not be opened, read or written. The message names the file and
// what was wrong; Reason() is the part after the file name.
class DocumentError : public std::runtime_error {
 public:
  DocumentError(const std::string& path, const std::string& reason);
  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

class CRadoveDoc : public SimulationModel {
 public:
  static constexpr const char* kNewTitle = "新的仿真";

  CRadoveDoc();
  ~CRadoveDoc() override;
  CRadoveDoc(const CRadoveDoc&) = delete;
  CRadoveDoc& operator=(const CRadoveDoc&) = delete;

  // The run control that is stopped before the contents are cleared or the model
  // replaced. Set by the owner of both, and set back to nullptr before the run
  // control is destroyed; may stay unset (headless use).
  void AttachSimulation(Simulation* simulation) { simulation_ = simulation; }

  // --- what the run control reads -------------------------------------------------
  CDeviceBase* Device() override { return device_.get(); }
  int CurrentDeviceId() const override { return contents_.currentDeviceId; }
  const PresetList* PresetListFor(int deviceId) const override;

  // --- lifecycle --------------------------------------------------------------------
  // An empty simulation: cleared contents, no path, unmodified.
  void NewDocument();
  // Stops a run, resets the simulation values, empties the four maps, replaces the
  // factory, destroys the model and raises the panes-reset flag.
  void ClearContents();

  // --- file -------------------------------------------------------------------------
  // Writes a temporary file beside the target and renames it over the target, so a
  // failed save leaves the old file as it was. Marks the document unmodified and
  // takes the path. Throws DocumentError.
  void Save(const std::string& path);
  // Reads and checks the whole file before anything changes: on failure the open
  // simulation stays exactly as it was. On success the contents are cleared and
  // replaced, the device-reload flag is raised and the document is unmodified.
  // Throws DocumentError.
  void Load(const std::string& path);
  // The same to and from a byte buffer (no path, no modified mark on saving).
  // LoadFromBytes throws ArchiveError and leaves the document unchanged then.
  std::vector<std::uint8_t> SaveToBytes() const;
  void LoadFromBytes(std::span<const std::uint8_t> bytes);

  const std::string& PathName() const { return path_; }
  const std::string& Title() const { return title_; }

  // --- simulation values ------------------------------------------------------------
  const DocumentContents& Contents() const { return contents_; }
  const LibrarySelection& GetLibrarySelection() const { return contents_.librarySelection; }
  void SetLibrarySelection(const LibrarySelection& s) { contents_.librarySelection = s; }
  const std::string& ClassName() const { return contents_.className; }
  const std::string& ClassFileName() const { return contents_.classFileName; }
  std::int32_t UserCreated() const { return contents_.userCreated; }
  // The three values the device's library row gives.
  void SetLibraryRow(const std::string& className, const std::string& classFileName,
                     std::int32_t userCreated);

  // Makes deviceId the current device. When it differs from the current one, the
  // old device's preset list, pins, pair table and properties are dropped, the
  // document is marked modified and true is returned. The model is the caller's to
  // replace (CreateDeviceModel or SetDevice).
  bool ChooseDevice(std::int32_t deviceId);

  // --- the current device's entries (nullptr when there is none) --------------------
  // The setters store under the current device id and leave the modified mark to the
  // caller: the editor marks it, filling defaults on a reload does not.
  const PresetList* Presets() const { return PresetListFor(contents_.currentDeviceId); }
  void SetPresets(PresetList list);
  const PinList* Pins() const;
  void SetPins(PinList pins);
  const PairTable* Pairs() const;
  void SetPairs(PairTable pairs);
  const PropertySet* Properties() const;
  PropertySet* MutableProperties();
  void SetProperties(PropertySet properties);

  // --- the device model -------------------------------------------------------------
  CDeviceFactory& Factory() { return *factory_; }
  // Replaces the model; the old one is destroyed after a run is stopped.
  void SetDevice(std::unique_ptr<CDeviceBase> device);
  // Creates the model for the current device id through the factory and gives it the
  // stored property set, or lets it create one and stores that. Returns nullptr (and
  // the document has no model) when the factory cannot build the id. A standard
  // exception from the device keeps what was done. The library texts are the
  // caller's to copy.
  CDeviceBase* CreateDeviceModel(const DeviceColours& colours);

  // --- marks and flags --------------------------------------------------------------
  bool IsModified() const { return modified_; }
  void SetModified(bool modified = true) { modified_ = modified; }
  // The view consumes these on its next update; Take returns and clears.
  bool PanesResetPending() const { return panesReset_; }
  bool TakePanesReset() { return std::exchange(panesReset_, false); }
  bool DeviceReloadPending() const { return deviceReload_; }
  bool TakeDeviceReload() { return std::exchange(deviceReload_, false); }

  // The bulk data generator's last settings (two records); kept while the program
  // runs, not saved, not cleared with the contents.
  BulkSettings& GeneratorParameters(std::size_t i) { return generator_.at(i); }

 private:
  void StopRun();
  void Adopt(DocumentContents contents);

  DocumentContents contents_;
  std::unique_ptr<CDeviceFactory> factory_;
  std::unique_ptr<CDeviceBase> device_;
  Simulation* simulation_ = nullptr;
  std::string path_;
  std::string title_ = kNewTitle;
  bool modified_ = false;
  bool panesReset_ = false;
  bool deviceReload_ = false;
  std::array<BulkSettings, 2> generator_{};
};

}  // namespace radove
