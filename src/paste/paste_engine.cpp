#include "paste/paste_engine.h"

#include <utility>

#include "base/text_buffer.h"
#include "core/clip_files.h"
#include "platform/label_column.h"

namespace solvane {

PasteEngine::PasteEngine(PasteDesktop desktop, const ClipTextStore& store, const ClipTextStore& exact,
                         const KeptClips& kept, SharedState& state)
    : desktop_(desktop), store_(store), exact_(exact), kept_(kept), state_(state) {}

bool PasteEngine::AddClip(const std::string& item, GatheredText& gathered) const {
  auto text = store_.Lookup(item);
  if (!text) return false;
  // Found only through a record of the clip's own: an exact text whose
  // record is gone is not used.
  auto exact = exact_.Lookup(item);
  if (exact && !gathered.exact) gathered.exact = desktop_.clipboard.AnsiToUtf8(gathered.text);
  if (gathered.exact) *gathered.exact += exact ? *exact : desktop_.clipboard.AnsiToUtf8(*text);
  gathered.text += *text;
  return true;
}

GatheredText PasteEngine::GatherSelection() const {
  const TitleList& list = desktop_.titles;
  const int selected = list.ItemIndex();
  if (selected < 0) return GatheredText{{}, runToTop_, std::nullopt};  // a run from no line is empty
  GatheredText gathered;
  if (!runToTop_) {
    gathered.complete = AddClip(list.Get(selected), gathered);
    return gathered;
  }
  // The clicked clip first, the newest last, each ending in a line break.
  for (int line = selected; line >= 0; --line) {
    if (!AddClip(list.Get(line), gathered)) {
      gathered.complete = false;
      continue;
    }
    gathered.text += kCrLf;
    if (gathered.exact) *gathered.exact += kCrLf;
  }
  return gathered;
}

void PasteEngine::PasteSelection() {
  TitleList& list = desktop_.titles;
  state_.SkipNextChange = true;
  // A title without its text, or a clipboard that stays locked, pastes
  // nothing: Ctrl+V would otherwise paste whatever was there before. No
  // change notice will come either, so the skip flag must not stay set.
  GatheredText gathered = GatherSelection();
  if (!gathered.complete) {
    state_.SkipNextChange = false;
    list.SetItemIndex(-1);
    return;
  }
  std::string text = gathered.exact ? std::move(*gathered.exact) : std::move(gathered.text);
  if (appendCrLf_) {
    text += "\r\n";
  } else if (appendCrLfLf_) {
    text += "\r\n\n";
  }
  Clipboard& clipboard = desktop_.clipboard;
  if (!(gathered.exact ? clipboard.WriteUnicodeText(text) : clipboard.WriteText(text))) {
    state_.SkipNextChange = false;
    list.SetItemIndex(-1);
    return;
  }
  MoveToTopAndHide();
  desktop_.input.Sleep(state_.PasteDelay);
  PressCtrlV();
  state_.WindowShown = false;
  list.SetTopIndex(0);
}

void PasteEngine::MoveToTopAndHide() {
  TitleList& list = desktop_.titles;
  // The list shows its new order once the window is gone, not at each step
  // while the user waits for the paste.
  const ListUpdate update(list);
  if (!runToTop_) {
    const int selected = list.ItemIndex();
    const std::string item = list.Get(selected);
    const std::string exactLine = list.ExactLine(selected);
    // Inserted before it is deleted, so a list that refuses the insert
    // loses no title.
    list.Insert(0, item);
    if (!exactLine.empty()) list.SetExactLine(0, exactLine);
    list.Delete(selected + 1);
    // The trim passes kept clips by: the first line from MaxClips down that
    // is not kept goes, and none when only kept lines lie there.
    for (int line = state_.MaxClips; line < list.Count(); ++line) {
      if (kept_.Empty() || !kept_.ContainsItem(list.Get(line))) {
        list.Delete(line);
        break;
      }
    }
  }
  runToTop_ = false;
  list.SetItemIndex(-1);
  desktop_.window.MinimizeApplication();
  desktop_.window.Hide();
}

void PasteEngine::PressCtrlV() {
  KeyboardInput& input = desktop_.input;
  using Stroke = KeyboardInput::Stroke;
  input.KeyEvent(kVkControl, 0, Stroke::kDown);
  input.KeyEvent(kVkV, 0, Stroke::kDown);
  input.KeyEvent(kVkV, 0, Stroke::kUp);
  input.KeyEvent(kVkControl, 0, Stroke::kUp);
}

void PasteEngine::OnListClick() {
  TitleList& list = desktop_.titles;
  const int selected = list.ItemIndex();
  if (selected >= 0 && list.Get(selected).find(kHeaderMarker) != std::string::npos) PasteSelection();
  list.SetTopIndex(0);
}

int LineForKey(unsigned key, int topIndex, int count) {
  int labelIndex = -1;
  if (key >= 0x31 && key <= 0x39) {
    labelIndex = static_cast<int>(key - 0x31);
  } else if (key == 0x30) {
    labelIndex = 9;
  } else if (key >= 0x41 && key <= 0x5A) {
    labelIndex = static_cast<int>(key - 0x41) + 10;
  }
  if (labelIndex < 0 || topIndex < 0) return -1;
  // The visible line that bears the label: line n bears label n mod 36.
  const int line = topIndex + ((labelIndex - topIndex) % kLabelsPerPage + kLabelsPerPage) % kLabelsPerPage;
  return line < count ? line : -1;
}

void PasteEngine::OnKeyDown(unsigned key, unsigned /*shift: modifiers are not examined*/) {
  TitleList& list = desktop_.titles;
  list.SetItemIndex(-1);
  const int line = LineForKey(key, list.TopIndex(), list.Count());
  if (line >= 0) list.SetItemIndex(line);
  if (list.ItemIndex() >= 0) PasteSelection();
}

void PasteEngine::ToggleRunToTop() {
  runToTop_ = !runToTop_;
  KeepRunToTopAtTop();
}

void PasteEngine::ToggleAppendCrLf() {
  appendCrLf_ = !appendCrLf_;
  if (appendCrLf_) appendCrLfLf_ = false;
}

void PasteEngine::ToggleAppendCrLfLf() {
  appendCrLfLf_ = !appendCrLfLf_;
  if (appendCrLfLf_) appendCrLf_ = false;
}

void PasteEngine::KeepRunToTopAtTop() {
  if (desktop_.titles.TopIndex() != 0) runToTop_ = false;
}

}  // namespace solvane
