#pragma once
// The main window: menus, the "标准" toolbar, the status bar with its progress pane
// and lock indicators, the six docking panes around the simulation view, the file
// commands with the recent-file list, and the window layout kept per user.

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>

#include "document/CRadoveDoc.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QToolBar;

namespace radove {

class CClassView;
class CFileView;
class COutputWnd;
class CPropertiesWnd;
class CRegisterWnd;
class CMemoryWnd;
class CRadoveView;
class PaneStatus;
class SettingsStorage;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kRecentFiles = 4;
  static constexpr int kProgressPaneWidth = 220;

  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  // --- file commands (each returns whether it was done) ------------------------------
  void NewFile();
  bool OpenFile(const QString& path);
  bool SaveTo(const QString& path);
  bool SaveFile();
  bool SaveFileAs();
  // Asks "是否保存对 %1 的更改?" for a modified document; false when the user
  // cancelled or the save failed.
  bool SaveModified();

  CRadoveDoc& Document() { return *doc_; }
  CRadoveView* View() const { return view_; }
  QAction* Action(int id) const;
  QToolBar* StandardToolBar() const { return toolBar_; }
  QStringList RecentFiles() const;
  QList<QAction*> RecentFileActions() const;

  CClassView* DataTree() const { return dataTree_; }
  CFileView* PinTree() const { return pinTree_; }
  COutputWnd* Output() const { return output_; }
  CPropertiesWnd* Properties() const { return properties_; }
  CRegisterWnd* Registers() const { return registers_; }
  CMemoryWnd* Memory() const { return memory_; }
  QList<QDockWidget*> Docks() const { return docks_; }
  PaneStatus* Status() const;
  QLabel* PromptLabel() const { return prompt_; }
  QProgressBar* ProgressBar() const { return progressBar_; }

  // Enables and disables every command by the current state.
  void UpdateCommandUi();
  // F6 and Shift+F6: the focus moves to the next or previous visible pane.
  void FocusNextPane(bool forward);
  void CustomizeToolBar();

 protected:
  void closeEvent(QCloseEvent* event) override;
  QMenu* createPopupMenu() override;

 private:
  QAction* MakeAction(int id, const QString& text, const QList<QKeySequence>& keys,
                      const QString& tip, const QIcon& icon = {});
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateDocks();
  void WireView();
  void RebuildToolBar(const QList<int>& shown);
  QList<int> ToolBarShown() const;
  void OnOpen();
  void OnAbout();
  void OnAboutTeam();
  void AddRecentFile(const QString& path);
  void RemoveRecentFile(const QString& path);
  // Writes the list (most recent first) to the settings and rebuilds the menu.
  void StoreRecentFiles(const QStringList& files);
  void UpdateRecentMenu();
  void UpdateTitle();
  void UpdateLockIndicators();
  void SaveLayout();
  void RestoreLayout();

  std::unique_ptr<CRadoveDoc> doc_;
  std::unique_ptr<SettingsStorage> settingsStorage_;
  CRadoveView* view_ = nullptr;
  std::map<int, QAction*> actions_;
  QToolBar* toolBar_ = nullptr;
  int shownRunState_ = -1;     // the run state the commands were last set for
  QList<int> toolBarButtons_;  // every button, 0 for a group break
  QMenu* toolbarsMenu_ = nullptr;
  QAction* customize_ = nullptr;
  QAction* recentPlaceholder_ = nullptr;
  QList<QAction*> recentActions_;

  CClassView* dataTree_ = nullptr;
  CFileView* pinTree_ = nullptr;
  COutputWnd* output_ = nullptr;
  CPropertiesWnd* properties_ = nullptr;
  CRegisterWnd* registers_ = nullptr;
  CMemoryWnd* memory_ = nullptr;
  QList<QDockWidget*> docks_;
  QDockWidget* propertiesDock_ = nullptr;

  QLabel* prompt_ = nullptr;
  QStackedWidget* progressPane_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* capsIndicator_ = nullptr;
  QLabel* numIndicator_ = nullptr;
  QLabel* scrollIndicator_ = nullptr;
  class StatusPanes;
  std::unique_ptr<StatusPanes> status_;
};

}  // namespace radove
