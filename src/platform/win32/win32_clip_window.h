#pragma once
// The clip window's Win32 side: the application's hidden owner window, the
// borderless clip window, its title list, label column and option buttons.
// It turns messages into calls of the clip window's event handlers.

#include <windows.h>

#include "platform/clip_window_events.h"
#include "platform/components/window_layout.h"
#include "platform/win32/win32_hint.h"
#include "platform/win32/win32_owned.h"
#include "platform/win32/win32_text_metrics.h"
#include "platform/win32/win32_search.h"
#include "platform/win32/win32_title_list.h"
#include "platform/win32/win32_pictures.h"

namespace solvane::win32 {

class Win32ClipWindow {
 public:
  // Posted by the shared folder's watch when it saw a change.
  static constexpr UINT kShareChangeMessage = WM_APP + 2;
  explicit Win32ClipWindow(HINSTANCE instance);
  ~Win32ClipWindow();
  Win32ClipWindow(const Win32ClipWindow&) = delete;
  Win32ClipWindow& operator=(const Win32ClipWindow&) = delete;

  // False when the windows could not be made. `listFont` is the clip
  // list's font, which this window sets to its own DPI.
  bool Create(Win32TextMetrics& listFont);
  // From here on, messages reach the handlers.
  void Attach(ClipWindowEvents* events) { events_ = events; }
  // The list object that draws the title lines.
  void AttachList(Win32TitleList* titles) { titles_ = titles; }
  // The search's match list, which draws its rows.
  void AttachMatches(Win32MatchList* matches) { matches_ = matches; }
  // The preview hint, which closes when the window moves to a screen of
  // another DPI and takes the list font's new size.
  void AttachHint(HintWindow* hint) { hint_ = hint; }
  // Where the controls lie now; it changes with the DPI.
  const ClipWindowLayout& layout() const { return layout_; }
  // Lays the window out again at `dpi` and gives it the place `suggested`
  // (what WM_DPICHANGED brings): the fonts at their new size, the lines and
  // the scroll position kept, an open hint closed.
  void ApplyDpi(int dpi, const RECT& suggested);
  // The picture drawn at the start of the title (a small icon, drawn at
  // 16 x 16 pixels at 96 DPI).
  void SetTitleIcon(HICON icon) { titleIcon_ = icon; }
  // Shows the window for the first time, centred, which activates it.
  void ShowAtStart();

  // The tray menu, in its order; its commands come here as WM_COMMAND.
  static OwnedMenu CreateTrayMenu(const MenuPictures& pictures);
  // Before each showing of that menu: " Caching" ticked as it is now.
  void BeforeTrayMenu(HMENU menu) const;

  HWND handle() const { return window_.get(); }
  HWND owner() const { return owner_.get(); }
  HWND list() const { return list_; }
  HWND labels() const { return labels_; }
  HWND matchList() const { return matchList_; }
  HWND searchLine() const { return searchLine_; }
  HWND searchStatus() const { return searchStatus_; }
  HWND notice() const { return notice_; }

 private:
  static constexpr COLORREF kPanelColour = RGB(231, 223, 173);
  static constexpr COLORREF kListColour = RGB(255, 255, 204);
  static constexpr COLORREF kNavy = RGB(0, 0, 128);
  static constexpr COLORREF kMaroon = RGB(128, 0, 0);

  // Keys held now, plus the mouse buttons a mouse message reports.
  static unsigned ShiftState(WPARAM mouseKeys = 0);

  bool CreateWindows();
  bool CreateLists();
  bool CreateSearch();
  // Every control where layout_ puts it, in the font of its DPI; nothing
  // is redrawn until the window is.
  void PlaceControls();
  void SetFonts();
  // The search line's own procedure, hooked so that Enter and Esc do not
  // beep there (the key handler acts on them) and a composition in an input
  // method is searched only once it is done.
  static LRESULT CALLBACK SearchLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
  void OnSearchLineChange();
  bool CreateButtons();
  HWND MakeButton(int id, const char* caption);

  // Key preview: every key pressed anywhere in the clip window reaches the
  // key handler, whichever message loop takes it from the queue (the
  // program's, the settings dialog's, a message box's): a hook on the
  // thread's message retrieval posts it to the window. The program's own
  // synthesised keys never do.
  bool InstallKeyPreview();
  static LRESULT CALLBACK KeyPreviewHook(int code, WPARAM wParam, LPARAM lParam);
  void PreviewKey(const MSG& message);
  static constexpr UINT kPreviewedKeyMessage = WM_APP + 1;  // wParam the key, lParam the shift state
  static Win32ClipWindow* previewing_;                      // the clip window whose keys the hook looks at

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The lists' own procedures, hooked for their mouse releases.
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  // The option buttons answer BM_GETCHECK with their down state, so other
  // programs (and tests) can read it as from any two-state button.
  static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // Mouse and keys on the two lists; true when the message was handled here.
  bool ListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnCommandMessage(WPARAM wParam, LPARAM lParam);
  void OnCommand(unsigned id);
  void OnMouseDown(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouseMove(WPARAM wParam);
  void OnTimer(WPARAM id);
  LRESULT ListColours(HWND list, HDC dc);

  // Runs a handler, then shows the option buttons' states.
  template <typename Handler>
  void Run(Handler&& handler) {
    if (events_ == nullptr) return;
    RunHandler(*events_, handler);
    SyncButtons();
  }
  // A command or button id and the event it raises.
  struct EventRoute {
    unsigned id;
    void (ClipWindowEvents::*event)();
  };
  // Raises the event routed to `id`, if any.
  template <std::size_t N>
  void Route(const EventRoute (&routes)[N], unsigned id) {
    for (const EventRoute& route : routes) {
      if (route.id == id) return Run([&] { (events_->*route.event)(); });
    }
  }
  void SyncButtons();
  // Whether an option button is down now.
  bool OptionDown(int id) const;
  // The title picture: a small clipboard and the caption in blue letters.
  void PaintTitlePicture(HDC dc);
  void DrawButton(const DRAWITEMSTRUCT& item);
  void OnButton(int id);

  HINSTANCE instance_;
  ClipWindowLayout layout_;
  Win32TextMetrics* listFont_ = nullptr;
  HintWindow* hint_ = nullptr;
  // Members go in reverse order: the windows first, then the font and
  // brushes they draw with.
  OwnedFont buttonFont_;
  OwnedBrush panelBrush_;
  OwnedBrush listBrush_;
  OwnedHook keyPreview_;
  OwnedWindow owner_;    // keeps the program off the task bar
  OwnedWindow window_;   // owned by owner_ in the window sense: goes before it
  HWND list_ = nullptr;  // children of window_, destroyed with it
  HWND labels_ = nullptr;
  HWND matchList_ = nullptr;
  HWND searchLine_ = nullptr;
  HWND searchStatus_ = nullptr;
  HWND notice_ = nullptr;
  WNDPROC editProc_ = nullptr;  // the EDIT class's procedure
  bool composing_ = false;      // an input method's composition is open in the search line
  HWND runToTopButton_ = nullptr, crLfButton_ = nullptr, crLfLfButton_ = nullptr, hideButton_ = nullptr;
  WNDPROC listProc_ = nullptr;    // the LISTBOX class's procedure
  WNDPROC buttonProc_ = nullptr;  // the BUTTON class's procedure
  ClipWindowEvents* events_ = nullptr;
  Win32TitleList* titles_ = nullptr;
  Win32MatchList* matches_ = nullptr;
  bool dragOnImage_ = false;
  POINT pressedAt_{};          // where the button went down, on the screen: a click is a press that did not move
  HICON titleIcon_ = nullptr;  // not owned
  // A press on the list selects a line before its mouse-down and check
  // toggle are handled; the click that the selection raises waits for them.
  bool pressing_ = false;
  bool clickPending_ = false;
  bool matchClickPending_ = false;
};

}  // namespace solvane::win32
