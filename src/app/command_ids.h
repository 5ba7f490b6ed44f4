#pragma once
// Menu command ids: the tray menu sends these to the clip window as
// WM_COMMAND, and so can any program that drives it.

namespace solvane {

inline constexpr unsigned kCmdSettings = 0x0100;    // "Settings..."
inline constexpr unsigned kCmdCaching = 0x0101;     // " Caching"
inline constexpr unsigned kCmdSaveClips = 0x0102;   // "Save Clips"
inline constexpr unsigned kCmdClearClips = 0x0103;  // "Clear Clips"
inline constexpr unsigned kCmdQuit = 0x0104;        // " Quit"
inline constexpr unsigned kCmdClearClipboard = 0x0105;  // "Clear clipboard"
inline constexpr unsigned kCmdUpperCase = 0x0106;       // "Upper case"
inline constexpr unsigned kCmdLowerCase = 0x0107;       // "Lower case"

inline constexpr int kTitleListId = 1001;  // RxCheckListBox1
inline constexpr int kLabelListId = 1007;  // ListBox7
// The buttons of the top strip.
inline constexpr int kSpeedButton1Id = 1011;  // run to top
inline constexpr int kSpeedButton2Id = 1012;  // "+cR"
inline constexpr int kSpeedButton3Id = 1013;  // "+CR"
inline constexpr int kSpeedButton8Id = 1018;  // hide

}  // namespace solvane
