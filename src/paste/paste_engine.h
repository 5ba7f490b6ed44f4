#pragma once
// Paste: the selected clip, or the run from it up to the newest, goes onto
// the clipboard and, by Ctrl+V, into the application below the clip window.
// The option buttons shape what is pasted; keys 1-9, 0, A-Z choose a line.

#include <cstdint>
#include <optional>
#include <string>

#include "core/clip_text_store.h"
#include "core/kept_clips.h"
#include "core/shared_state.h"
#include "platform/clipboard.h"
#include "platform/form_window.h"
#include "platform/input.h"
#include "platform/title_list.h"

namespace solvane {

// Virtual-key codes the paste and the clip window's keys use.
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkV = 0x56;
inline constexpr unsigned kVkReturn = 0x0D, kVkEscape = 0x1B, kVkPageUp = 0x21, kVkPageDown = 0x22, kVkUp = 0x26,
                          kVkDown = 0x28, kVkInsert = 0x2D, kVkDelete = 0x2E, kVkF3 = 0x72, kVkF4 = 0x73;

// What paste needs of the desktop; all references outlive the engine.
struct PasteDesktop {
  Clipboard& clipboard;
  TitleList& titles;
  FormWindow& window;
  KeyboardInput& input;
};

// The text a selection stands for, and whether every title in it still had
// its text in the store. When a clip in it has an exact text, the whole
// text in UTF-8 as well, with those clips exact.
struct GatheredText {
  std::string text;
  bool complete = true;
  std::optional<std::string> exact;
};

class PasteEngine {
 public:
  PasteEngine(PasteDesktop desktop, const ClipTextStore& store, const ClipTextStore& exact, const KeptClips& kept,
              SharedState& state);

  // The selected line's text; with run-to-top down, the texts from it up to
  // the newest, each ending in a line break. No line selected: nothing, and
  // complete only as a (still empty) run.
  GatheredText GatherSelection() const;
  // Pastes the selection, moves a single clip's title to the top and puts
  // the window away.
  void PasteSelection();
  // A click on a list line pastes it.
  void OnListClick();
  // Keys 1-9, 0, A-Z paste the line their label stands beside.
  void OnKeyDown(unsigned key, unsigned shift);

  // The option buttons: pressing toggles; the two line-ending buttons are
  // one group in which at most one is down.
  void ToggleRunToTop();
  void ToggleAppendCrLf();
  void ToggleAppendCrLfLf();
  // Run-to-top works only while the list shows its first line.
  void KeepRunToTopAtTop();
  void ReleaseRunToTop() { runToTop_ = false; }
  bool runToTop() const { return runToTop_; }
  bool appendCrLf() const { return appendCrLf_; }
  bool appendCrLfLf() const { return appendCrLfLf_; }

 private:
  // Adds the clip of a list line to `gathered`; false when it has no text.
  bool AddClip(const std::string& item, GatheredText& gathered) const;
  // The selection's order in the list after a paste, and the window away.
  void MoveToTopAndHide();
  void PressCtrlV();

  PasteDesktop desktop_;
  const ClipTextStore& store_;
  const ClipTextStore& exact_;
  const KeptClips& kept_;
  SharedState& state_;
  bool runToTop_ = false;
  bool appendCrLf_ = false;
  bool appendCrLfLf_ = false;
};

// The visible list line that bears a key's label (line n bears the label of
// n mod 36), with the list scrolled to `topIndex`; -1 when the key is no
// label or its line does not exist.
int LineForKey(unsigned key, int topIndex, int count);

}  // namespace solvane
