// The program's main block: builds the desktop adapters and the clip window,
// shows it once (its first activation applies the settings) and runs the
// message loop.

#include <windows.h>

#include "app/main_window.h"
#include "app/settings_window.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clipboard_chain.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_ini_files.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_title_list.h"
#include "platform/win32/win32_tray.h"
#include "app/command_ids.h"
#include "settings/settings_dialog.h"
#include "ui/clip_window.h"

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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Held until the process ends; the system releases it then.
  HANDLE recorder = CreateMutexA(nullptr, FALSE, RecorderMutexName(win32::ProgramFolder()).c_str());
  if (recorder != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // leave the first one alone
  win32::Win32Clock clock;
  win32::Win32TextMetrics listFont;
  win32::Win32Dialogs dialogs(win32::ApplicationTitle());
  win32::Win32ClipboardChain clipboardChain(instance);
  win32::Win32Clipboard clipboard;
  win32::Win32FileSystem files;
  win32::Win32Pointer pointer;
  win32::Win32HotKeys hotKeys(instance);
  win32::Win32KeyNames keyNames;
  win32::Win32Input input;
  win32::Win32Tray tray(instance);
  win32::ClipboardIcon cachingOff(true);
  win32::ClipboardIcon cachingOn(false);
  win32::MenuPictures menuPictures;
  win32::Win32IniFiles ini;
  SettingsDialog settingsDialog(ini, &files);

  app::MainWindow window(instance);
  if (!window.Create(listFont.font())) {
    MessageBoxA(nullptr, "The clip window could not be created.", "Solvane Clips", MB_OK | MB_ICONERROR);
    return 1;
  }
  dialogs.set_owner(window.handle());
  window.SetTitleIcon(cachingOn.get());
  clipboard.set_owner(window.handle());
  win32::Win32TitleList titles(window.list(), listFont);
  window.AttachList(&titles);
  win32::HintWindow hint(instance, listFont.font());
  win32::Win32LabelColumn labels(window.labels(), hint);
  win32::Win32FormWindow formWindow(window.handle(), window.owner());
  win32::Win32Timers timers(window.handle());
  win32::Win32TrayMenu trayMenu(app::MainWindow::CreateTrayMenu(menuPictures), window.handle());

  app::SettingsWindow settingsWindow(instance, settingsDialog, pointer);
  if (!settingsWindow.Create(window.owner(), dialogs, hint)) {
    MessageBoxA(nullptr, "The settings dialog could not be created.", "Solvane Clips", MB_OK | MB_ICONERROR);
    return 1;
  }

  ClipWindow form(ClipWindowDesktop{.clipboard = clipboard, .clipboardChain = clipboardChain, .clock = clock,
                            .listFont = listFont, .dialogs = dialogs, .titles = titles,
                            .window = formWindow, .files = files, .pointer = pointer, .timers = timers,
                            .settings = settingsDialog, .programFolder = win32::ProgramFolder(), .hotKeys = hotKeys,
                            .keyNames = keyNames, .input = input, .labels = labels, .tray = tray,
                            .trayMenu = trayMenu, .cachingOffIcon = reinterpret_cast<IconHandle>(cachingOff.get()),
                            .cachingOnIcon = reinterpret_cast<IconHandle>(cachingOn.get())},
              ClipWindow::kStartLater);
  trayMenu.beforePopup = [&form](HMENU menu) {
    CheckMenuItem(menu, kCmdCaching, MF_BYCOMMAND | (form.cachingOn() ? MF_CHECKED : MF_UNCHECKED));
  };
  window.Attach(&form);
  settingsWindow.Attach(&form);
  // Attached first: a close (or the end of the session) that comes while a
  // start-up box is up saves the history like any other.
  form.Start();
  // The settings dialog comes right after the clip window and restores the
  // stored settings before the first activation reads them.
  form.HandleEvent([&] {
    settingsDialog.RestoreState(win32::ProgramFolder() + win32::ApplicationTitle() + ".ini");
  });
  window.ShowAtStart();
  form.ShowStartProblems();
  if (!IsWindow(window.handle())) return 0;  // closed from inside one of them

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    window.PreviewKey(message);
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  window.Attach(nullptr);
  dialogs.set_owner(nullptr);  // the clip window is gone
  // The close saved the settings with the clips; the form now leaves the
  // clipboard chain, drops the hotkey and removes the tray icon.
  return static_cast<int>(message.wParam);
}
