#pragma once
// The clipboard viewer chain as the monitor uses it: a hidden window of its
// own, joining and leaving the chain, and passing its notices along.

#include <cstdint>
#include <functional>

#include "platform/desktop_types.h"

namespace solvane {

// What the chain tells each viewer, head first; every viewer passes it on
// to the one after it.
enum class ChainNotice {
  kContentChanged,  // the clipboard holds something new
  kViewerLeaving,   // first: the viewer that leaves; second: the one after it
};

class ClipboardChainApi {
 public:
  // A notice with the two values it came with, which are passed on as
  // they are.
  using NoticeHandler = std::function<void(ChainNotice notice, std::uintptr_t first, std::intptr_t second)>;
  virtual ~ClipboardChainApi() = default;
  // A hidden tool window of class "TPUtilWindow" whose chain notices go to
  // the handler (anything else it gets is handled as by any window). 0 when
  // the window cannot be created.
  virtual WindowHandle CreateUtilWindow(NoticeHandler handler) = 0;
  // Destroys a window made by CreateUtilWindow; its handler is not called again.
  virtual void DestroyUtilWindow(WindowHandle window) = 0;
  // Puts the window at the head of the chain and returns the viewer that
  // follows it (0 for none). The new viewer is told kContentChanged at once.
  virtual WindowHandle SetClipboardViewer(WindowHandle window) = 0;
  // Takes `remove` out of the chain, `next` being the viewer after it; the
  // head is told kViewerLeaving and passes it down the chain.
  virtual void ChangeClipboardChain(WindowHandle remove, WindowHandle next) = 0;
  // Tells `window` the notice and waits until it has been handled; nothing
  // for window 0 or a window that is gone.
  virtual void Send(WindowHandle window, ChainNotice notice, std::uintptr_t first, std::intptr_t second) = 0;
};

}  // namespace solvane
