#pragma once
// The simulation view: shows the current device scaled into the window, owns the
// simulation commands and the run control, answers the worker's redraw requests,
// creates the device model when the user chooses a device or opens a file, and
// keeps the panes in step with the document and the device.
//
// The worker never touches the window: its requests are posted to this (the user
// interface) thread and answered there. A request that arrives after the run it
// belongs to was stopped is answered without drawing.

#include <QImage>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "app/TargetGpioTables.h"
#include "core/Simulation.h"
#include "document/CRadoveDoc.h"
#include "document/SimulationSettings.h"
#include "library/LibraryDb.h"

class QAction;
class QMenu;
class QTimer;

namespace radove {

class CClassView;
class CFileView;
class COutputWnd;
class CPropertiesWnd;
class CRegisterWnd;
class CMemoryWnd;
class ImageTarget;

class CRadoveView : public QWidget, public SimulationHost {
  Q_OBJECT
 public:
  struct Panes {
    CClassView* dataTree = nullptr;
    CFileView* pinTree = nullptr;
    COutputWnd* output = nullptr;
    CPropertiesWnd* properties = nullptr;
    CRegisterWnd* registers = nullptr;
    CMemoryWnd* memory = nullptr;
  };

  // The dialogs other parts of the program provide; each may be left empty.
  struct Dialogs {
    // The library browser: the chosen device id and the browser's selection, or
    // nothing when the user cancelled.
    std::function<std::optional<std::pair<int, LibrarySelection>>(QWidget*, const LibrarySelection&)>
        chooseDevice;
    // The preset data editor on the document's current list; true when accepted.
    std::function<bool(QWidget*, CRadoveDoc&)> editPresets;
    // The pin dialog on the document's pin list.
    std::function<void(QWidget*, CRadoveDoc&, const TargetGpioTables&)> editPins;
    // The settings dialog; true when the settings were changed.
    std::function<bool(QWidget*, SimulationSettings&)> editSettings;
  };

  CRadoveView(CRadoveDoc& doc, QWidget* parent = nullptr);
  ~CRadoveView() override;

  void SetPanes(const Panes& panes);
  // The device library the view reads (db/lm.db of the data directory unless set).
  void SetLibrary(const LibraryDb& library) { library_ = library; }
  const LibraryDb& Library() const { return library_; }
  void SetDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }

  // Before the window is shown: the settings from their store (written with the
  // defaults on a first start) and the target board's GPIO tables.
  void PrepareWindow(SettingsStorage& storage);

  // --- commands --------------------------------------------------------------------
  void OnChooseDevice();
  void OnPresetData();
  void OnDeviceProperties();
  void OnPins();
  void OnSettings();
  void OnHelpGuide();
  void OnHelpReference();
  void OnRun();
  void OnStep();
  void OnPause();
  void OnStop();

  bool Stopped() const { return sim_.State() == kStopped; }
  bool DeviceChosen() const { return doc_.CurrentDeviceId() != -1; }
  bool CanChooseDevice() const { return Stopped(); }
  bool CanEditPresets() const { return DeviceChosen() && Stopped(); }
  bool CanShowDeviceProperties() const { return DeviceChosen() && Stopped(); }
  bool CanEditSettings() const { return Stopped(); }
  bool CanUseDocumentCommands() const { return Stopped(); }

  // --- operations ------------------------------------------------------------------
  // Draws the device in the mode (0 stopped, 1 active) into the window's picture.
  void RenderDevice(int mode);
  // Takes the document's pending reset and reload requests (after New and Open).
  void OnDocumentChanged();
  void SwitchDevice(int oldId, bool markModified);
  void CreateDevice(int id);
  void LoadPins(int id);
  void ResetPanes();
  void RefreshPanes();
  void RefreshInspection();

  Simulation& Sim() { return sim_; }
  const Simulation& Sim() const { return sim_; }
  SimulationSettings& Settings() { return settings_; }
  const InspectionSnapshot& Inspection() const { return inspection_; }
  const TargetGpioTables& GpioTables() const { return gpio_; }
  SettingsStorage* Storage() const { return storage_; }
  // The last drawing at the window's pixel size; null while there is none.
  const QImage& Picture() const;
  QMenu* ContextMenu() const { return contextMenu_; }

  // The help documents, relative to the data directory.
  static constexpr const char* kUserGuide = "docs/user_guide.pdf";
  static constexpr const char* kReferenceManual = "docs/reference_manual.pdf";

  // SimulationHost (called on the worker thread)
  void RequestRedraw(std::shared_ptr<HostReply> reply) override;
  void StepExecuted(std::shared_ptr<HostReply> reply) override;

 signals:
  // The run state, the device or the document changed: command states may differ.
  void CommandStateChanged();
  void DocumentModified();
  void PropertiesPaneRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void HandleRedraw(std::uint64_t generation);
  void HandleStep(std::uint64_t generation);
  // Shows the step's results in the panes: the inspection, both grids and the
  // decoded sentences.
  void ShowStepResults();
  void OpenHelp(const char* relative);
  void OnIntPropertyChanged(std::uint32_t tag, int value);
  void OnStringPropertyChanged(std::uint32_t tag, const QString& text);
  void AfterPropertyEdit();
  void UpdateContextMenu();
  void ClearPicture();
  // Draws the picture without asking for a repaint.
  void RenderPicture(int mode);

  CRadoveDoc& doc_;
  Simulation sim_;
  SimulationSettings settings_;
  SettingsStorage* storage_ = nullptr;
  LibraryDb library_;
  Dialogs dialogs_;
  Panes panes_;
  InspectionSnapshot inspection_;
  TargetGpioTables gpio_;

  std::unique_ptr<ImageTarget> target_;  // holds the last drawing
  bool pictureValid_ = false;
  // Counts Stops; a worker request remembers the count it was made under.
  std::atomic<std::uint64_t> runGeneration_{0};

  // The item counter when the last Step was given, while its results are not shown.

  QMenu* contextMenu_ = nullptr;
  QAction* ctxChoose_ = nullptr;
  QAction* ctxPresets_ = nullptr;
  QAction* ctxProperties_ = nullptr;
};

}  // namespace radove
