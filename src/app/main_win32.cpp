// The program's main block: builds the desktop adapters and the clip window,
// shows it once (its first activation applies the settings) and runs the
// message loop.

#include <windows.h>

#include "app/main_window.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clipboard_chain.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_title_list.h"
#include "platform/win32/win32_tray.h"
#include "app/command_ids.h"
#include "ui/form1.h"

using namespace solvane;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
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
  TForm2Controls form2;

  app::MainWindow window(instance);
  if (!window.Create(listFont.font())) {
    MessageBoxA(nullptr, "The clip window could not be created.", "Solvane Clips", MB_OK | MB_ICONERROR);
    return 1;
  }
  dialogs.set_owner(window.handle());
  clipboard.set_owner(window.handle());
  win32::Win32TitleList titles(window.list(), listFont);
  window.AttachList(&titles);
  win32::Win32LabelColumn labels(window.labels());
  win32::Win32FormWindow formWindow(window.handle(), window.owner());
  win32::Win32Timers timers(window.handle());
  win32::Win32TrayMenu trayMenu(app::MainWindow::CreateTrayMenu(), window.handle());

  TForm1 form(Form1Platform{clipboard, clipboardChain, clock, listFont, dialogs, titles, formWindow, files, pointer,
                            timers, form2, win32::ProgramFolder(), hotKeys, keyNames, input, labels, tray,
                            trayMenu, reinterpret_cast<IconHandle>(cachingOff.get()),
                            reinterpret_cast<IconHandle>(cachingOn.get())});
  trayMenu.beforePopup = [&form](HMENU menu) {
    CheckMenuItem(menu, kCmdCaching, MF_BYCOMMAND | (form.CachingChecked() ? MF_CHECKED : MF_UNCHECKED));
  };
  window.Attach(&form);
  window.ShowAtStart();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    window.PreviewKey(message);
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  window.Attach(nullptr);
  return static_cast<int>(message.wParam);
}
