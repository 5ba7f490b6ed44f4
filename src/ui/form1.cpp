#include "ui/form1.h"

#include <vector>

#include "core/clip_files.h"
#include "core/text_buffer.h"
#include "core/title_builder.h"

namespace solvane {

TForm1::TForm1(Form1Platform platform)
    : platform_(platform), PBClipBoard1_(platform.clipboardChain, platform.clipboard) {
  PBClipBoard1_.OnChange = [this](void* sender) { PBClipBoard1Change(sender); };
  PBClipBoard1_.OnError = [this](const std::exception& error) { ShowException(error); };
  // The autosave timer runs at 3 s as the window is built; the first
  // activation sets its real interval.
  SetTimer2Interval(3000);
  PBClipBoard1_.Loaded();
  HandleEvent([this] { FormCreate(); });
}

void TForm1::ShowException(const std::exception& error) { platform_.dialogs.ShowError(error.what()); }

void TForm1::FormCreate() {
  state_.LastSaveTime = platform_.clock.LocalTimeSeconds();
  state_.LastChangeTime = platform_.clock.LocalTimeSeconds();
  platform_.window.SetWidth(250);
  RemoveStaleSaves();
  RxRichEdit2_.Clear();
  LoadTitleList(platform_.RxCheckListBox1, platform_.files, PathOf(kTitleFileName));
  LoadTextStore(RxRichEdit2_, platform_.files, PathOf(kStoreFileName));
  PBClipBoard1Change(nullptr);
}

// A crash in the middle of a save leaves its unfinished copy behind; the
// real files were never touched, so the copy is only clutter.
void TForm1::RemoveStaleSaves() {
  for (const char* name : {kTitleFileName, kStoreFileName, kPrefsFileName}) {
    platform_.files.Remove(PathOf(name) + kSavingSuffix);
  }
}

void TForm1::SetTimer2Interval(int milliseconds) {
  timer2Interval_ = milliseconds;
  platform_.timers.SetInterval(kTimer2, milliseconds);
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

void TForm1::Housekeeping() {
  SaveTitleList(platform_.RxCheckListBox1, platform_.files, PathOf(kTitleFileName));
  SaveTextStore(RxRichEdit2_, platform_.files, PathOf(kStoreFileName));
}

void TForm1::SaveClips1Click() {
  Housekeeping();
  platform_.window.Hide();
}

void TForm1::Timer2Timer() {
  if (state_.LastSaveTime == state_.LastChangeTime) return;
  // While a failed save's error box is up, later ticks wait for it instead
  // of stacking more boxes; so the box is shown here, inside the guard.
  if (autosaveBusy_) return;
  autosaveBusy_ = true;
  struct Release {
    bool& flag;
    ~Release() { flag = false; }
  } release{autosaveBusy_};
  try {
    Housekeeping();
  } catch (const std::exception& error) {
    ShowException(error);
    return;  // LastSaveTime stays: the next tick tries again
  }
  state_.LastSaveTime = state_.LastChangeTime;
}

bool TForm1::Ask(int dx, int dy, const std::string& question) {
  Pointer& pointer = platform_.pointer;
  pointer.MoveTo(pointer.DesktopWidth() / 2 + dx, pointer.DesktopHeight() / 2 + dy);
  return platform_.dialogs.Confirm(question);
}

void TForm1::ClearClips1Click() {
  platform_.window.Hide();
  if (platform_.Form2.CheckBox3 && !Ask(-20, 33, "Clear all current clips?")) return;
  platform_.RxCheckListBox1.Clear();
  RxRichEdit1_.clear();
  RxRichEdit2_.Clear();
  RxRichEdit3_.clear();
  ScrubFile(PathOf(kTitleFileName));
  ScrubFile(PathOf(kStoreFileName));
}

void TForm1::ScrubFile(const std::string& path) { solvane::ScrubFile(platform_.files, path); }

void TForm1::Quit1Click() {
  if (!platform_.Form2.CheckBox4 || Ask(-25, 35, "Quit Solvane Clips?")) platform_.window.Close();
  platform_.window.Hide();
  state_.WindowShown = false;
}

bool TForm1::FormClose() {
  try {
    Housekeeping();
    InitializeParameters("ParmUpdate");
  } catch (const std::exception& error) {
    ShowException(error);
    return false;
  }
  return true;
}

int TForm1::WMQueryEndSession() {
  HandleEvent([this] { Housekeeping(); });
  return 1;
}

void TForm1::InitializeParameters(const std::string& mode) {
  const std::string path = PathOf(kPrefsFileName);
  if (mode == "PgmUpdate") {
    RxRichEdit1_ = ReadFileOrThrow(platform_.files, path);
    const auto lines = SplitStoreFile(RxRichEdit1_);
    const std::string first = lines.empty() ? std::string() : lines.front();
    // An empty line has no flag to read: take the defaults.
    state_.PrefFlags = first.empty() ? std::string("0000000000") : first;
    if (state_.PrefFlags[0] == '1') titleLineFlag_ = true;
  } else if (mode == "ParmUpdate") {
    state_.PrefFlags[0] = titleLineFlag_ ? '1' : '0';
    RxRichEdit1_ = state_.PrefFlags;
    SaveReplacing(platform_.files, path, JoinFileLines({state_.PrefFlags}));
  }
}

void TForm1::Caching1Click() {
  Caching1Checked_ = !Caching1Checked_;
  platform_.window.Hide();
  state_.WindowShown = false;
}

}  // namespace solvane
