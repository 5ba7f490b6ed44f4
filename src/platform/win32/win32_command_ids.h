#pragma once
// Menu command ids: the tray menu sends these to the clip window as
// WM_COMMAND, and so can any program that drives it.

namespace solvane::win32 {

inline constexpr unsigned kCmdSettings = 0x0100;        // "Settings..."
inline constexpr unsigned kCmdCaching = 0x0101;         // " Caching"
inline constexpr unsigned kCmdSaveClips = 0x0102;       // "Save Clips"
inline constexpr unsigned kCmdClearClips = 0x0103;      // "Clear Clips"
inline constexpr unsigned kCmdQuit = 0x0104;            // " Quit"
inline constexpr unsigned kCmdClearClipboard = 0x0105;  // "Clear clipboard"
inline constexpr unsigned kCmdUpperCase = 0x0106;       // "Upper case"
inline constexpr unsigned kCmdLowerCase = 0x0107;       // "Lower case"

inline constexpr int kTitleListId = 1001;     // titles
inline constexpr int kMatchListId = 1002;     // a search's matches, over the titles
inline constexpr int kSearchLineId = 1003;    // the search text
inline constexpr int kSearchStatusId = 1004;  // the number of matches, or that none matches
inline constexpr int kNoticeId = 1005;        // a notice over the title area ("Delete which clip?")
inline constexpr int kLabelListId = 1007;     // labels
// The buttons of the top strip.
inline constexpr int kRunToTopButtonId = 1011;  // run to top
inline constexpr int kCrLfButtonId = 1012;      // "+cR"
inline constexpr int kCrLfLfButtonId = 1013;    // "+CR"
inline constexpr int kHideButtonId = 1018;      // hide

}  // namespace solvane::win32
