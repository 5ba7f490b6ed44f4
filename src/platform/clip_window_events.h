#pragma once
// What the clip window's platform side reports to the clip window's logic,
// and the states it reads back to draw the option buttons and the menu.

#include <string>

#include "platform/event_errors.h"
#include "platform/tray_icon.h"  // MouseButton, shift bits

namespace solvane {

class ClipWindowEvents : public EventErrors {
 public:
  // Activation, and the end of the window or of the session.
  virtual void OnActivate() = 0;
  virtual void OnDeactivate() = 0;
  // False: the window stays open.
  virtual bool OnClose() = 0;
  virtual int OnQueryEndSession() = 0;
  virtual void OnEndSession(bool ending) = 0;

  // Keys pressed anywhere in the window, before the focused control's.
  virtual void OnKeyDown(unsigned key, unsigned shift) = 0;
  // The title list and the label column.
  virtual void OnListClick() = 0;
  virtual void OnListMouseUp(MouseButton button, unsigned shift, int x, int y) = 0;
  virtual void OnLabelClick() = 0;
  // Dragging the borderless window by its background or title picture.
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

  virtual void OnHintWatchdogTimer() = 0;
  virtual void OnAutosaveTimer() = 0;
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

  // The buttons of the top strip, and the down states of the three options.
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
