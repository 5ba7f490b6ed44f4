// The program's main block: builds the desktop adapters, the clip window and
// the settings dialog with their Win32 windows, joins each window to the
// logic it reports to, shows the clip window once (its first activation
// applies the settings) and runs the message loop.

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/app_error.h"
#include "core/clip_files.h"
#include "platform/win32/win32_clip_window.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clipboard_chain.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_folder_watch.h"
#include "platform/win32/win32_form_window.h"
#include "platform/win32/win32_hotkey_api.h"
#include "platform/win32/win32_ini_files.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_key_names.h"
#include "platform/win32/win32_label_column.h"
#include "platform/win32/win32_pictures.h"
#include "platform/win32/win32_pointer.h"
#include "platform/win32/win32_program_file.h"
#include "platform/win32/win32_search.h"
#include "platform/win32/win32_settings_dialog.h"
#include "platform/win32/win32_share_crypto.h"
#include "platform/win32/win32_text_metrics.h"
#include "platform/win32/win32_timers.h"
#include "platform/win32/win32_title_list.h"
#include "platform/win32/win32_tray_api.h"
#include "settings/settings_dialog.h"
#include "settings/settings_table.h"
#include "share/share_read.h"
#include "ui/clip_window.h"
#include "ui/flat_button.h"

using namespace solvane;

namespace {

// One recorder per program folder: a second start from the same folder
// would overwrite the first one's files with an older history. The name
// holds the folder (backslashes are not allowed in it).
std::string RecorderMutexName(std::string folder) {
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  CharLowerBuffA(folder.data(), static_cast<DWORD>(folder.size()));  // folder names ignore case
  return "Local\\SolvaneClips:" + folder;
}

// The settings dialog's OK button: a flat button in the dialog's colours,
// `size` its window's.
void StyleOkButton(FlatButton& button, const Rect& size) {
  button.Width = size.width();
  button.Height = size.height();
  button.SetFaceColour(Rgb(231, 223, 173));
  button.SetBorderColour(Rgb(153, 143, 130));
  button.OverColour = Rgb(223, 191, 115);
  button.DownColour = Rgb(223, 191, 115);
  button.OverCaptionColour = 0;
  button.SetCaption(kSettingsTable.okCaption);
}

// The desktop adapters that need no window, made in this order.
struct Adapters {
  explicit Adapters(HINSTANCE instance)
      : dialogs(win32::ApplicationTitle()), clipboardChain(instance), hotKeys(instance), tray(instance) {}
  win32::Win32Clock clock;
  win32::Win32TextMetrics listFont{win32::SystemDpi()};  // the clip window sets it to its own DPI
  win32::Win32Dialogs dialogs;
  win32::Win32ClipboardChain clipboardChain;
  win32::Win32Clipboard clipboard;
  win32::Win32FileSystem files;
  win32::Win32Pointer pointer;
  win32::Win32HotKeys hotKeys;
  win32::Win32KeyNames keyNames;
  win32::Win32Input input;
  win32::Win32Tray tray;
  // At the size the notification area asks for.
  win32::ClipboardIcon cachingOff{true, win32::SystemMetricForDpi(SM_CXSMICON, win32::SystemDpi())};
  win32::ClipboardIcon cachingOn{false, win32::SystemMetricForDpi(SM_CXSMICON, win32::SystemDpi())};
  win32::MenuPictures menuPictures;
  win32::Win32IniFiles ini;
  win32::Win32CodePage codePage;
  win32::Win32ShareCrypto crypto;
};

std::string ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

// The title file read, and the store file read and indexed, on a thread of
// their own while the windows are made (7 ms of the store's alone for a
// long history under Wine). One thread: a second one beside it made the
// start's memory 6 MB larger at times under Wine. When the history is
// shared, the shared folder's first read follows on a thread of its own, so
// that the store is ready without waiting for it (reading and opening a
// folder of 20,000 entries takes 130 ms under Wine).
class LoadAhead {
 public:
  explicit LoadAhead(const std::string& folder)
      : folder_(folder),
        storePath_(folder + kStoreFileName),
        reads_(std::vector<std::string>{folder + kTitleFileName}, [this] {
          LoadStore();
          StartShareRead();
        }) {}
  win32::FileReadAhead& reads() { return reads_; }
  // The store as the load would have made it, once, to a load of the same
  // file (waiting for the thread if need be); its failure is thrown.
  bool TakeStore(const std::string& path, ClipTextStore& store) {
    if (taken_ || path != storePath_) return false;
    taken_ = true;
    reads_.Wait();
    if (error_) throw AppError(*error_);
    store.TakeFrom(store_);
    return true;
  }
  // The shared folder's first read, once (waiting for it if need be); none
  // when the settings share nothing or it could not be made.
  std::optional<ShareReadAhead> TakeShareRead() {
    reads_.Wait();
    if (!shareRead_) return std::nullopt;
    shareRead_->Wait();
    return std::exchange(share_, std::nullopt);
  }

 private:
  void LoadStore() {
    try {
      LoadTextStore(store_, files_, storePath_);
    } catch (const std::exception& error) {
      error_ = error.what();
    }
  }

  // The folder as the first activation will take it from the settings; one
  // it would refuse is not read.
  void StartShareRead() {
    win32::Win32IniFiles ini;
    const std::string shared = win32::Win32Clipboard().Utf8ToAnsi(
        SettingsDialog::StoredShareFolder(ini, folder_ + win32::ApplicationTitle() + ".ini"));
    if (shared.empty() || shared.find('?') != std::string::npos) return;
    shareRead_.emplace([this, shared] {
      try {
        win32::Win32FileSystem files;
        win32::Win32ShareCrypto crypto;
        share_ = ReadShareAhead(files, crypto, folder_, ComputerName(), shared);
      } catch (const std::exception&) {
        share_.reset();  // the first check reads the folder itself
      }
    });
  }

  std::string folder_;
  std::string storePath_;
  win32::Win32FileSystem files_;
  ClipTextStore store_;
  std::optional<std::string> error_;
  bool taken_ = false;
  std::optional<ShareReadAhead> share_;
  std::optional<win32::BackgroundJob> shareRead_;  // made by the reads' thread, and waited for before `share_` goes
  win32::FileReadAhead reads_;                     // last: its thread starts once the rest is made, and ends first
};

// The window-side adapters the clip window's logic needs beside those.
struct WindowAdapters {
  win32::Win32TitleList& titles;
  win32::Win32FormWindow& window;
  win32::Win32Timers& timers;
  win32::Win32LabelColumn& labels;
  win32::Win32TrayMenu& trayMenu;
  win32::Win32SearchLine& searchLine;
  win32::Win32MatchList& matchList;
  win32::Win32FolderWatch& folderWatch;
};

ClipWindowDesktop DesktopOf(Adapters& a, const WindowAdapters& w, SettingsDialog& settings,
                            std::optional<LoadAhead>& ahead) {
  return ClipWindowDesktop{
      .clipboard = a.clipboard,
      .clipboardChain = a.clipboardChain,
      .clock = a.clock,
      .listFont = a.listFont,
      .dialogs = a.dialogs,
      .titles = w.titles,
      .window = w.window,
      .files = a.files,
      .pointer = a.pointer,
      .timers = w.timers,
      .settings = settings,
      .programFolder = win32::ProgramFolder(),
      .hotKeys = a.hotKeys,
      .keyNames = a.keyNames,
      .input = a.input,
      .labels = w.labels,
      .tray = a.tray,
      .trayMenu = w.trayMenu,
      .searchLine = w.searchLine,
      .matchList = w.matchList,
      .codePage = a.codePage,
      .cachingOffIcon = reinterpret_cast<IconHandle>(a.cachingOff.get()),
      .cachingOnIcon = reinterpret_cast<IconHandle>(a.cachingOn.get()),
      .storeLoadedAhead = [&ahead](const std::string& path,
                                   ClipTextStore& store) { return ahead && ahead->TakeStore(path, store); },
      .crypto = a.crypto,
      .folderWatch = w.folderWatch,
      .computerName = ComputerName(),
      .shareReadAhead = [&ahead]() -> std::optional<ShareReadAhead> {
        return ahead ? ahead->TakeShareRead() : std::nullopt;
      }};
}

// The start: the load takes the files read and loaded ahead; the settings
// dialog, made right after the clip window, restores the stored settings
// before the first activation reads them.
void Start(ClipWindow& clipWindow, win32::Win32FileSystem& files, std::optional<LoadAhead>& ahead,
           SettingsDialog& settingsDialog) {
  files.set_read_ahead(&ahead->reads());
  clipWindow.Start();
  files.set_read_ahead(nullptr);
  clipWindow.HandleEvent(
      [&] { settingsDialog.RestoreState(win32::ProgramFolder() + win32::ApplicationTitle() + ".ini"); });
}

int CannotStart(const char* message) {
  MessageBoxA(nullptr, message, "Solvane Clips", MB_OK | MB_ICONERROR);
  return 1;
}

// Until the clip window is gone; the quit message's code. While the title
// list has lines waiting, they go in a chunk at a time whenever no message
// is (PeekMessage also answers messages other programs send meanwhile).
// NOTE: the Unicode functions, so that a character typed into a Unicode
// window (the search line) that the ANSI code page lacks is not lost on
// its way; ANSI windows get their messages converted as before.
int RunMessageLoop(win32::Win32TitleList& titles) {
  MSG message;
  for (;;) {
    if (titles.HasWaitingLines() && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      titles.FillSome();
      continue;
    }
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Held until the process ends; the system releases it then.
  HANDLE recorder = CreateMutexA(nullptr, FALSE, RecorderMutexName(win32::ProgramFolder()).c_str());
  if (recorder != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // leave the first one alone
  // The clip files are read, and the store's indexed, while the windows
  // are made (10 to 20 ms for a long history under Wine); this run alone
  // writes them.
  std::optional<LoadAhead> ahead(std::in_place, win32::ProgramFolder());
  Adapters a(instance);
  SettingsDialog settingsDialog(a.ini, &a.files);

  win32::Win32ClipWindow window(instance);
  if (!window.Create(a.listFont)) return CannotStart("The clip window could not be created.");
  a.dialogs.set_owner(window.handle());
  window.SetTitleIcon(a.cachingOn.get());
  a.clipboard.set_owner(window.handle());
  win32::Win32TitleList titles(window.list(), a.listFont);
  titles.SetDpi(window.layout().dpi);
  window.AttachList(&titles);
  win32::HintWindow hint(instance, a.listFont.font(), window.layout().dpi);
  window.AttachHint(&hint);
  win32::Win32LabelColumn labels(window.labels(), hint);
  win32::Win32FormWindow formWindow(window.handle(), window.owner());
  win32::Win32Timers timers(window.handle());
  win32::Win32TrayMenu trayMenu(win32::Win32ClipWindow::CreateTrayMenu(a.menuPictures), window.handle());
  win32::Win32SearchLine searchLine(window.searchLine(), window.searchStatus(), window.notice(), window.handle(),
                                    window.layout());
  win32::Win32MatchList matchList(window.matchList(), window.labels(), titles);
  window.AttachMatches(&matchList);
  win32::Win32FolderWatch folderWatch(window.handle(), win32::Win32ClipWindow::kShareChangeMessage);

  win32::Win32SettingsDialog settingsWindow(instance, settingsDialog, a.pointer);
  if (!settingsWindow.Create(window.owner(), a.dialogs, hint)) {
    return CannotStart("The settings dialog could not be created.");
  }
  FlatButton ok(settingsWindow.okCanvas(), kSettingsTable.okName, GetSysColor(COLOR_BTNFACE));
  StyleOkButton(ok, settingsWindow.layout().ok);
  ok.OnClick = [&settingsWindow] { settingsWindow.OnOkClick(); };
  settingsWindow.AttachOkButton(&ok);

  ClipWindow clipWindow(
      DesktopOf(a, WindowAdapters{titles, formWindow, timers, labels, trayMenu, searchLine, matchList, folderWatch},
                settingsDialog, ahead),
      ClipWindow::kStartLater);
  trayMenu.beforePopup = [&window](HMENU menu) { window.BeforeTrayMenu(menu); };
  window.Attach(&clipWindow);
  settingsWindow.Attach(&clipWindow);
  settingsDialog.set_target(&clipWindow);
  // Attached first: a close (or the end of the session) that comes while a
  // start-up box is up saves the history like any other.
  Start(clipWindow, a.files, ahead, settingsDialog);
  window.ShowAtStart();  // its first activation takes the shared folder's first read
  ahead.reset();         // what the start did not take is not kept
  clipWindow.ShowStartProblems();
  if (!IsWindow(window.handle())) return 0;  // closed from inside one of them

  const int exitCode = RunMessageLoop(titles);
  window.Attach(nullptr);
  window.AttachMatches(nullptr);
  settingsWindow.Attach(nullptr);
  settingsDialog.set_target(nullptr);
  a.dialogs.set_owner(nullptr);  // the clip window is gone
  // The close saved the settings with the clips; the clip window now leaves the
  // clipboard chain, drops the hotkey and removes the tray icon.
  return exitCode;
}
