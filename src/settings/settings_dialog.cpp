#include "settings/settings_dialog.h"

#include "base/str_to_int.h"
#include "platform/pointer.h"

namespace solvane {

namespace {

using Kind = PublishedProperty::Kind;

PublishedProperty StringProperty(const char* name, std::string& value) {
  return {name, Kind::String, [&value] { return value; }, [&value](const std::string& text) { value = text; }};
}

PublishedProperty BooleanProperty(const char* name, bool& value) {
  return {name, Kind::Boolean, [&value] { return BooleanText(value); },
          [&value](const std::string& text) { AssignBoolean(value, text); }};
}

// A property that exists on the control but is never kept.
PublishedProperty Fixed(const char* name, Kind kind, std::string text = {}) {
  return {name, kind, [text] { return text; }, nullptr};
}

}  // namespace

// The components in the order the dialog creates them; each with the
// published properties that the walk looks at.
std::vector<PersistentComponent> SettingsDialog::Components() {
  const auto label = [](const char* name, const char* caption) {
    return PersistentComponent{name, "TLabel", {Fixed("Caption", Kind::String, caption), Fixed("Tag", Kind::Integer, "0")}};
  };
  const auto combo = [](const char* name, PublishedProperty text) {
    return PersistentComponent{name, "TComboBox",
                               {Fixed("Style", Kind::Enumeration), std::move(text),
                                Fixed("ItemIndex", Kind::Integer, "-1"), Fixed("TabStop", Kind::Boolean, "FALSE")}};
  };
  const auto check = [](const char* name, const char* caption, bool& checked) {
    return PersistentComponent{name, "TCheckBox",
                               {Fixed("Caption", Kind::String, caption), BooleanProperty("Checked", checked),
                                Fixed("State", Kind::Enumeration), Fixed("Enabled", Kind::Boolean, "TRUE")}};
  };
  return {
      PersistentComponent{"Panel2", "TPanel", {Fixed("Caption", Kind::String), Fixed("BevelInner", Kind::Enumeration)}},
      label("Label6", "Solvane Clips"),
      label("RxLabel3", "Vardell Solvane Software"),
      label("Label1", "Solvane Clip HotKey:"),
      label("Label2", "Paste Delay:"),
      combo("ComboBox1", StringProperty("Text", hotkeyText)),
      combo("ComboBox2", PasteDelayProperty()),
      check("CheckBox1", "Auto save (upon caching) every 5 minutes.", autosave),
      check("CheckBox3", "Prompt to clear clips.", promptClear),
      check("CheckBox4", "Prompt to quit.", promptQuit),
      PersistentComponent{"EncartaButton1", "TEncartaButton", {Fixed("Caption", Kind::String, "OK")}},
  };
}

PublishedProperty SettingsDialog::PasteDelayProperty() {
  const auto valid = [](const std::string& text) {
    std::int32_t value = 0;
    return TryStrToInt(text, value);
  };
  return {"Text", Kind::String,
          [this, valid] { return valid(pasteDelayText) ? pasteDelayText : acceptedPasteDelay_; },
          [this, valid](const std::string& text) {
            pasteDelayText = text;
            if (valid(text)) acceptedPasteDelay_ = text;
          }};
}

FormGeometry SettingsDialog::Geometry() const { return Current(); }

void SettingsDialog::Apply(const FormGeometry& bounds) {
  if (window_) {
    window_->SetBounds(bounds);
  } else {
    designed_ = bounds;
  }
}

void SettingsDialog::SetTop(int top) {
  FormGeometry g = Current();
  g.top = top;
  Apply(g);
}

void SettingsDialog::SetLeft(int left) {
  FormGeometry g = Current();
  g.left = left;
  Apply(g);
}

// The dialog's size is fixed: restored sizes do not change it.
void SettingsDialog::SetWidth(int /*width*/) {}
void SettingsDialog::SetHeight(int /*height*/) {}

SettingsControls SettingsDialog::Controls() const {
  return SettingsControls{.autosave = autosave, .promptClear = promptClear, .promptQuit = promptQuit,
                          .hotkeyText = hotkeyText, .pasteDelayText = pasteDelayText};
}

void SettingsDialog::SetControls(const SettingsControls& controls) {
  autosave = controls.autosave;
  promptClear = controls.promptClear;
  promptQuit = controls.promptQuit;
  hotkeyText = controls.hotkeyText;
  pasteDelayText = controls.pasteDelayText;
}

void SettingsDialog::OnActivate(Pointer& pointer) {
  const FormGeometry g = Current();
  pointer.MoveTo(g.left + kButtonLeft + 64, g.top + kButtonTop + 40);
}

void SettingsDialog::OnOk(SettingsTarget& target) {
  target.ApplySettings(*this);
  acceptedPasteDelay_ = pasteDelayText;
  if (window_) window_->Close();
  // Written now, not only at close: a tray program is rarely quit, and the
  // end of a Windows session ends it before its message loop does. A hotkey
  // that does not work is kept as typed, and said once all is done, also
  // when the file could not be written.
  try {
    SaveState();
  } catch (...) {
    target.ReportHotKey();
    throw;
  }
  target.ReportHotKey();
}

void SettingsDialog::OnOk() {
  if (target_ != nullptr) OnOk(*target_);
}

}  // namespace solvane
