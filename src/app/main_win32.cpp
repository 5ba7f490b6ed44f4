// The program's main block: builds the desktop adapters, the clip window and
// the settings dialog with their Win32 windows, joins each window to the
// logic it reports to, shows the clip window once (its first activation
// applies the settings) and runs the message loop.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/clip_files.h"
#include "platform/win32/win32_clip_window.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clipboard_chain.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_ini_files.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_settings_dialog.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_title_list.h"
#include "platform/win32/win32_tray.h"
#include "settings/settings_dialog.h"
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

// The settings dialog's OK button: its window's messages reach the flat
// button that draws it.
class OkButton final : public ButtonEvents {
 public:
  explicit OkButton(Canvas& canvas) : button_(canvas, "EncartaButton1", GetSysColor(COLOR_BTNFACE)) {
    button_.Width = 86;
    button_.Height = 22;
    button_.SetColor(11395047);
    button_.SetColorBorder(8556441);
    button_.ColorOver = 7585759;
    button_.ColorDown = 7585759;
    button_.ColorOverCaption = 0;
    button_.SetCaption("OK");
  }
  FlatButton& button() { return button_; }

  void Paint() override { button_.Paint(); }
  void MouseEnter() override { button_.MouseEnter(); }
  void MouseLeave() override { button_.MouseLeave(); }
  void MouseDown(MouseButton button, unsigned shift, int x, int y) override { button_.MouseDown(button, shift, x, y); }
  void MouseUp(MouseButton button, unsigned shift, int x, int y, bool stillOver) override {
    button_.MouseUp(button, shift, x, y, stillOver);
  }
  void Click() override { button_.Click(); }

 private:
  FlatButton button_;
};

// The desktop adapters that need no window, made in this order.
struct Adapters {
  explicit Adapters(HINSTANCE instance)
      : dialogs(win32::ApplicationTitle()), clipboardChain(instance), hotKeys(instance), tray(instance) {}
  win32::Win32Clock clock;
  win32::Win32TextMetrics listFont;
  win32::Win32Dialogs dialogs;
  win32::Win32ClipboardChain clipboardChain;
  win32::Win32Clipboard clipboard;
  win32::Win32FileSystem files;
  win32::Win32Pointer pointer;
  win32::Win32HotKeys hotKeys;
  win32::Win32KeyNames keyNames;
  win32::Win32Input input;
  win32::Win32Tray tray;
  win32::ClipboardIcon cachingOff{true};
  win32::ClipboardIcon cachingOn{false};
  win32::MenuPictures menuPictures;
  win32::Win32IniFiles ini;
};

int CannotStart(const char* message) {
  MessageBoxA(nullptr, message, "Solvane Clips", MB_OK | MB_ICONERROR);
  return 1;
}

// Until the clip window is gone; the quit message's code. While the title
// list has lines waiting, they go in a chunk at a time whenever no message
// is (PeekMessage also answers messages other programs send meanwhile).
int RunMessageLoop(win32::Win32ClipWindow& window, win32::Win32TitleList& titles) {
  MSG message;
  for (;;) {
    if (titles.HasWaitingLines() && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      titles.FillSome();
      continue;
    }
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    window.PreviewKey(message);
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Held until the process ends; the system releases it then.
  HANDLE recorder = CreateMutexA(nullptr, FALSE, RecorderMutexName(win32::ProgramFolder()).c_str());
  if (recorder != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // leave the first one alone
  // The clip files are read while the windows are made (10 to 20 ms for a
  // long history under Wine); this run alone writes them.
  std::optional<win32::FileReadAhead> readAhead(
      std::in_place, std::vector<std::string>{win32::ProgramFolder() + kTitleFileName,
                                              win32::ProgramFolder() + kStoreFileName});
  Adapters a(instance);
  auto& [clock, listFont, dialogs, clipboardChain, clipboard, files, pointer, hotKeys, keyNames, input, tray,
         cachingOff, cachingOn, menuPictures, ini] = a;
  SettingsDialog settingsDialog(ini, &files);

  win32::Win32ClipWindow window(instance);
  if (!window.Create(listFont.font())) return CannotStart("The clip window could not be created.");
  dialogs.set_owner(window.handle());
  window.SetTitleIcon(cachingOn.get());
  clipboard.set_owner(window.handle());
  win32::Win32TitleList titles(window.list(), listFont);
  window.AttachList(&titles);
  win32::HintWindow hint(instance, listFont.font());
  win32::Win32LabelColumn labels(window.labels(), hint);
  win32::Win32FormWindow formWindow(window.handle(), window.owner());
  win32::Win32Timers timers(window.handle());
  win32::Win32TrayMenu trayMenu(win32::Win32ClipWindow::CreateTrayMenu(menuPictures), window.handle());

  win32::Win32SettingsDialog settingsWindow(instance, settingsDialog, pointer);
  if (!settingsWindow.Create(window.owner(), dialogs, hint)) {
    return CannotStart("The settings dialog could not be created.");
  }
  OkButton ok(settingsWindow.okCanvas());
  ok.button().OnClick = [&settingsWindow] { settingsWindow.OnOkClick(); };
  settingsWindow.AttachOkButton(&ok);

  ClipWindow form(ClipWindowDesktop{.clipboard = clipboard, .clipboardChain = clipboardChain, .clock = clock,
                            .listFont = listFont, .dialogs = dialogs, .titles = titles,
                            .window = formWindow, .files = files, .pointer = pointer, .timers = timers,
                            .settings = settingsDialog, .programFolder = win32::ProgramFolder(), .hotKeys = hotKeys,
                            .keyNames = keyNames, .input = input, .labels = labels, .tray = tray,
                            .trayMenu = trayMenu, .cachingOffIcon = reinterpret_cast<IconHandle>(cachingOff.get()),
                            .cachingOnIcon = reinterpret_cast<IconHandle>(cachingOn.get())},
              ClipWindow::kStartLater);
  trayMenu.beforePopup = [&window](HMENU menu) { window.BeforeTrayMenu(menu); };
  window.Attach(&form);
  settingsWindow.Attach(&form);
  settingsDialog.set_target(&form);
  files.set_read_ahead(&*readAhead);
  // Attached first: a close (or the end of the session) that comes while a
  // start-up box is up saves the history like any other.
  form.Start();
  files.set_read_ahead(nullptr);
  readAhead.reset();  // what the start did not read is not kept
  // The settings dialog comes right after the clip window and restores the
  // stored settings before the first activation reads them.
  form.HandleEvent([&] {
    settingsDialog.RestoreState(win32::ProgramFolder() + win32::ApplicationTitle() + ".ini");
  });
  window.ShowAtStart();
  form.ShowStartProblems();
  if (!IsWindow(window.handle())) return 0;  // closed from inside one of them

  const int exitCode = RunMessageLoop(window, titles);
  window.Attach(nullptr);
  settingsWindow.Attach(nullptr);
  settingsDialog.set_target(nullptr);
  dialogs.set_owner(nullptr);  // the clip window is gone
  // The close saved the settings with the clips; the form now leaves the
  // clipboard chain, drops the hotkey and removes the tray icon.
  return exitCode;
}
