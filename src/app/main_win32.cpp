// The program's main block: builds the desktop adapters, the clip window and
// runs the message loop.

#include <windows.h>

#include "app/main_window.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clipboard_chain.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_title_list.h"
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
  TForm2Controls form2;

  app::MainWindow window(instance);
  if (!window.Create(listFont.font())) {
    MessageBoxA(nullptr, "The clip window could not be created.", "Solvane Clips", MB_OK | MB_ICONERROR);
    return 1;
  }
  dialogs.set_owner(window.handle());
  clipboard.set_owner(window.handle());
  win32::Win32TitleList titles(window.list(), listFont);
  win32::Win32FormWindow formWindow(window.handle());
  win32::Win32Timers timers(window.handle());

  TForm1 form(Form1Platform{clipboard, clipboardChain, clock, listFont, dialogs, titles, formWindow, files, pointer,
                            timers, form2, win32::ProgramFolder()});
  window.Attach(&form);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  window.Attach(nullptr);
  return static_cast<int>(message.wParam);
}
