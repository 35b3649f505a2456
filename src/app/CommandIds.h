// Command ids shared by the menus, the toolbar, the accelerators and the
// prompt texts. Each command lands in one handler (see CMainFrame).
#pragma once

namespace cmd {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintDirect = 57608;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileMru1 = 57616;  // to 57619
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kReadFromRadio = 32771;
inline constexpr int kWriteToRadio = 32772;
inline constexpr int kPortCom1 = 32773;
inline constexpr int kPortCom2 = 32775;
inline constexpr int kPortCom3 = 32776;
inline constexpr int kPortCom4 = 32777;
// The Tools menu.
inline constexpr int kToolsImportList = 32778;
inline constexpr int kToolsExportList = 32779;
inline constexpr int kToolsCompareFile = 32780;
inline constexpr int kToolsVerifyRadio = 32781;
inline constexpr int kToolsFleet = 32782;
inline constexpr int kToolsCableCheck = 32783;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kIndicatorCaps = 59137;
inline constexpr int kIndicatorNum = 59138;
inline constexpr int kIndicatorScroll = 59139;

inline constexpr int kRecentFileCount = 4;

}  // namespace cmd
