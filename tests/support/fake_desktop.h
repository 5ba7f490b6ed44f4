#pragma once
// The in-memory desktop the clip window runs on in the unit tests, the
// fuzz targets and the benchmarks. Free of GoogleTest: the fuzz targets and
// benchmarks do not link it.

#include <memory>

#include "platform/fake/fake_clipboard.h"
#include "platform/fake/fake_clipboard_chain.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_code_page.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_share_crypto.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_form_window.h"
#include "platform/fake/fake_hotkey_api.h"
#include "platform/fake/fake_ini_files.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_key_names.h"
#include "platform/fake/fake_label_column.h"
#include "platform/fake/fake_match_list.h"
#include "platform/fake/fake_pointer.h"
#include "platform/fake/fake_settings_dialog.h"
#include "platform/fake/fake_text_metrics.h"
#include "platform/fake/fake_timers.h"
#include "platform/fake/fake_title_list.h"
#include "platform/fake/fake_tray_api.h"
#include "settings/settings_dialog.h"
#include "ui/clip_window.h"

namespace solvane::testing {

struct FakeDesktop {
  fake::FakeClipboardChain clipboardChain;
  fake::FakeClipboard clipboard{clipboardChain};
  fake::FakeClock clock;
  fake::FakeTextMetrics font;
  fake::FakeDialogs dialogs;
  fake::FakeTitleList titles{font};
  fake::FakeFormWindow window;
  fake::FakeFileSystem files;
  fake::FakePointer pointer;
  fake::FakeTimers timers;
  fake::FakeIniFiles ini{files};
  SettingsDialog settingsDialog{ini, &files};
  fake::FakeHotKeys hotKeys;
  fake::FakeKeyNames keyNames;
  fake::FakeInput input;
  fake::FakeLabelColumn labels;
  fake::FakeTray tray;
  fake::FakeTrayMenu menu{&tray.log};
  fake::FakeSearchLine searchLine;
  fake::FakeMatchList matchList;
  fake::FakeCodePage codePage;
  fake::FakeShareCrypto crypto;
  fake::FakeFolderWatch folderWatch;
  static constexpr IconHandle kCachingOff = 0x32, kCachingOn = 0x31;

  static constexpr const char* kFolder = "C:\\Clips\\";
  static std::string Path(const std::string& name) { return kFolder + name; }

  // A first start: empty clip files and the default preference line.
  FakeDesktop() {
    files.files[Path("Lb1.qlx")] = "";
    files.files[Path("Cb1.qlx")] = "";
    files.files[Path("prefs.qlx")] = "0000000000\r\n";
  }

  ClipWindowDesktop Platform() {
    return ClipWindowDesktop{.clipboard = clipboard,
                             .clipboardChain = clipboardChain,
                             .clock = clock,
                             .listFont = font,
                             .dialogs = dialogs,
                             .titles = titles,
                             .window = window,
                             .files = files,
                             .pointer = pointer,
                             .timers = timers,
                             .settings = settingsDialog,
                             .programFolder = kFolder,
                             .hotKeys = hotKeys,
                             .keyNames = keyNames,
                             .input = input,
                             .labels = labels,
                             .tray = tray,
                             .trayMenu = menu,
                             .searchLine = searchLine,
                             .matchList = matchList,
                             .codePage = codePage,
                             .cachingOffIcon = kCachingOff,
                             .cachingOnIcon = kCachingOn,
                             .storeLoadedAhead = storeLoadedAhead,
                             .crypto = crypto,
                             .folderWatch = folderWatch,
                             .computerName = "DESK"};
  }
  StoreLoadedAhead storeLoadedAhead;  // none unless a test gives one
};

// A list line is the title, padding, the marker and the 13-character key.
inline std::string TitleOf(const std::string& item) { return item.substr(0, item.size() - 90); }
inline std::string KeyOf(const std::string& item) { return item.substr(item.size() - 13); }

}  // namespace solvane::testing
