#include "ui/form1.h"

#include <vector>

#include "core/text_buffer.h"
#include "core/title_builder.h"

namespace solvane {

TForm1::TForm1(Form1Platform platform)
    : platform_(platform), PBClipBoard1_(platform.clipboardChain, platform.clipboard) {
  PBClipBoard1_.OnChange = [this](void* sender) { PBClipBoard1Change(sender); };
  PBClipBoard1_.OnError = [this](const std::exception& error) { ShowException(error); };
  PBClipBoard1_.Loaded();
  HandleEvent([this] { FormCreate(); });
}

void TForm1::ShowException(const std::exception& error) { platform_.dialogs.ShowError(error.what()); }

void TForm1::FormCreate() {
  state_.LastSaveTime = platform_.clock.LocalTimeSeconds();
  state_.LastChangeTime = platform_.clock.LocalTimeSeconds();
  platform_.window.SetWidth(250);
  RxRichEdit2_.Clear();
  PBClipBoard1Change(nullptr);
}

std::string TForm1::MakeUniqueKey() {
  auto tick = [this] { return platform_.clock.TickCount(); };
  std::string key = keys_.MakeKey(tick);
  // Two clips must never share a key, or the older one's title would paste
  // the newer text. A tick count too small to give a fresh key is replaced
  // by a wide range after a few tries.
  for (int attempt = 1; RxRichEdit2_.ContainsKey(key) && attempt < 1000; ++attempt) {
    if (attempt < 8) {
      key = keys_.MakeKey(tick);
    } else {
      key = keys_.MakeKey([] { return 0x7FFFFFFFu; });
    }
  }
  return key;
}

void TForm1::PBClipBoard1Change(void* /*sender*/) {
  if (state_.SkipNextChange) {
    state_.SkipNextChange = false;
    return;
  }
  if (!Caching1Checked_) return;
  if (!platform_.clipboard.HasText()) return;
  auto text = platform_.clipboard.ReadText();
  if (!text) return;  // still locked by another program: nothing to record

  RxRichEdit1_ = NormalizeLineBreaks(*text);
  state_.LastChangeTime = platform_.clock.LocalTimeSeconds();
  if (RxRichEdit1_ == RxRichEdit3_) return;

  const std::string key = MakeUniqueKey();
  std::vector<std::string> record;
  record.reserve(8);
  record.push_back(std::string(kHeaderMarker) + key);
  for (auto& line : SplitBufferLines(RxRichEdit1_)) record.push_back(std::move(line));
  record.push_back(std::string(kTrailerMarker) + key);
  RxRichEdit2_.InsertAtTop(record);

  RxRichEdit3_ = RxRichEdit1_;
  const std::string title = BuildTitle(RxRichEdit1_, platform_.listFont);
  platform_.RxCheckListBox1.Insert(0, title + kTitlePadding + key);
}

void TForm1::Caching1Click() {
  Caching1Checked_ = !Caching1Checked_;
  platform_.window.Hide();
  state_.WindowShown = false;
}

}  // namespace solvane
