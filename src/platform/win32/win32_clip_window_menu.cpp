// The tray menu of the clip window and its commands.

#include <utility>

#include "platform/win32/win32_clip_window.h"
#include "platform/win32/win32_command_ids.h"

namespace solvane::win32 {

OwnedMenu Win32ClipWindow::CreateTrayMenu(const MenuPictures& pictures) {
  HMENU clipboard = CreatePopupMenu();  // owned by menu once appended to it
  AppendMenuA(clipboard, MF_STRING, kCmdClearClipboard, "Clear clipboard");
  AppendMenuA(clipboard, MF_STRING, kCmdUpperCase, "Upper case");
  AppendMenuA(clipboard, MF_STRING, kCmdLowerCase, "Lower case");
  OwnedMenu menu(CreatePopupMenu());
  AppendMenuA(menu, MF_STRING, kCmdSettings, "Settings...");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(clipboard), "Clipboard");  // owned by menu
  AppendMenuA(menu, MF_STRING, kCmdSaveClips, "Save Clips");
  AppendMenuA(menu, MF_STRING, kCmdClearClips, "Clear Clips");
  AppendMenuA(menu, MF_STRING | MF_CHECKED, kCmdCaching, " Caching");
  AppendMenuA(menu, MF_STRING, kCmdQuit, " Quit");
  using P = MenuPictures;
  const std::pair<int, P::Picture> withPictures[] = {
      {0, P::kSettings}, {1, P::kClipboard}, {2, P::kSave}, {3, P::kClear}, {5, P::kQuit}};
  for (const auto& [position, picture] : withPictures) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = pictures.get(picture);  // owned by the pictures, which outlive the menu
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
  }
  return menu;
}

void Win32ClipWindow::BeforeTrayMenu(HMENU menu) const {
  if (events_ == nullptr) return;
  CheckMenuItem(menu, kCmdCaching, MF_BYCOMMAND | (events_->cachingOn() ? MF_CHECKED : MF_UNCHECKED));
}

void Win32ClipWindow::OnCommand(unsigned id) {
  static constexpr EventRoute kRoutes[] = {
      {kCmdSettings, &ClipWindowEvents::OpenSettings},
      {kCmdCaching, &ClipWindowEvents::OnCachingCommand},
      {kCmdSaveClips, &ClipWindowEvents::OnSaveClipsCommand},
      {kCmdClearClips, &ClipWindowEvents::ClearClips},
      {kCmdQuit, &ClipWindowEvents::Quit},
      {kCmdClearClipboard, &ClipWindowEvents::ClearClipboard},
      {kCmdUpperCase, &ClipWindowEvents::UpperCaseClipboard},
      {kCmdLowerCase, &ClipWindowEvents::LowerCaseClipboard},
  };
  Route(kRoutes, id);
}

}  // namespace solvane::win32
