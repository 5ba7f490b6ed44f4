#pragma once
// What the clip window's platform side reports to the clip window's logic,
// and the states it reads back to draw the option buttons and the menu.

#include <string>

#include "platform/event_errors.h"
#include "platform/desktop_types.h"

namespace solvane {

// Called on the UI thread. A handler that throws has its message shown
// through ShowException by the platform, except the three of the window's
// and the session's end, which must not throw.
class ClipWindowEvents : public EventErrors {
 public:
  // The clip window became the active window, or stopped being it.
  virtual void OnActivate() = 0;
  virtual void OnDeactivate() = 0;
  // The window is asked to close; false: it stays open.
  virtual bool OnClose() = 0;
  // The session is about to end: nonzero lets it end.
  virtual int OnQueryEndSession() = 0;
  // The session ends (`ending`) or goes on after all.
  virtual void OnEndSession(bool ending) = 0;

  // A key (virtual-key code, shift bits) pressed anywhere in the window,
  // before the focused control's; the user's only, never the program's own.
  virtual void OnKeyDown(unsigned key, unsigned shift) = 0;
  // A click that selected a title line (the selection is the list's).
  virtual void OnListClick() = 0;
  // A mouse button released over the title list or the label column, x and
  // y in that list's pixels.
  virtual void OnListMouseUp(MouseButton button, unsigned shift, int x, int y) = 0;
  // A click on a row of the label column (its selection is the column's).
  virtual void OnLabelClick() = 0;
  // Dragging the borderless window by its background or title picture:
  // the press, then each move, in the pressed control's pixels.
  virtual void OnDragStart(MouseButton button, unsigned shift, int x, int y) = 0;
  virtual void OnDragMove(unsigned shift, int x, int y) = 0;
  virtual void OnTitlePictureDragStart(MouseButton button, unsigned shift, int x, int y) = 0;
  virtual void OnTitlePictureDragMove(unsigned shift, int x, int y) = 0;
  // A click on the title picture, where the search line opens: pressed and
  // let go without a drag.
  virtual void OnTitlePictureClick() = 0;

  // The search: its text (UTF-8) changed (a composition still open does not
  // count); a row of the matches was clicked.
  virtual void OnSearchTextChange(const std::string& text) = 0;
  virtual void OnMatchClick(int row) = 0;
  // A click on the title area's notice (SearchLine::ShowNotice).
  virtual void OnNoticeClick() = 0;

  // A tick of each of the window's timers (see timers.h).
  virtual void OnHintWatchdogTimer() = 0;
  virtual void OnAutosaveTimer() = 0;
  // The shared folder's watch saw a change, or its periodic check is due.
  virtual void OnShareCheck() = 0;
  virtual void OnLabelFollowTimer() = 0;

  // The tray menu's commands.
  virtual void OpenSettings() = 0;
  virtual void OnCachingCommand() = 0;
  virtual void OnSaveClipsCommand() = 0;
  virtual void ClearClips() = 0;
  virtual void Quit() = 0;
  virtual void ClearClipboard() = 0;
  virtual void UpperCaseClipboard() = 0;
  virtual void LowerCaseClipboard() = 0;

  // The buttons of the top strip, and the down states of the three options,
  // which the window reads back after every event to draw them.
  virtual void ToggleRunToTop() = 0;
  virtual void ToggleAppendCrLf() = 0;
  virtual void ToggleAppendCrLfLf() = 0;
  virtual void OnHideButton() = 0;
  virtual bool runToTop() const = 0;
  virtual bool appendCrLf() const = 0;
  virtual bool appendCrLfLf() const = 0;
  // Ticks the menu's " Caching".
  virtual bool cachingOn() const = 0;

 protected:
  ~ClipWindowEvents() = default;
};

}  // namespace solvane
