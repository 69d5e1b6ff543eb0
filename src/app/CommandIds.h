#pragma once
// The command ids of the menus, the toolbar and the view's context menu.

namespace radove::cmd {

constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kFileMru = 57616;
constexpr int kAppExit = 57665;
constexpr int kEditUndo = 57643;
constexpr int kEditCut = 57635;
constexpr int kEditCopy = 57634;
constexpr int kEditPaste = 57637;
constexpr int kViewToolbars = 59392;
constexpr int kViewStatusBar = 59393;
constexpr int kChangeDevice = 32772;
constexpr int kDeviceProperties = 32773;
constexpr int kPresetContext = 32781;
constexpr int kStop = 32808;
constexpr int kRun = 32809;
constexpr int kPause = 32811;
constexpr int kStep = 32813;
constexpr int kHelpGuide = 32835;
constexpr int kHelpReference = 32836;
constexpr int kSettings = 32837;
constexpr int kAddDevice = 32841;
constexpr int kPresetData = 32842;
constexpr int kAboutTeam = 32847;
constexpr int kNewDevice = 32848;
constexpr int kPins = 32853;
constexpr int kAppAbout = 57664;

}  // namespace radove::cmd
