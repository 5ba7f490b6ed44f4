#include "settings/settings_dialog.h"

#include <algorithm>

#include "base/str_to_int.h"
#include "platform/components/window_layout.h"
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

// A path, escaped so that any character of it survives the settings file;
// an emptied field empties the file's value too (sharing turned off stays off).
PublishedProperty FolderProperty(const char* name, std::string& value) {
  return {name, Kind::String, [&value] { return EscapedText(value); },
          [&value](const std::string& text) { value = UnescapedText(text); }, true};
}

// A property that exists on the control but is never kept.
PublishedProperty Fixed(const char* name, Kind kind, std::string text = {}) {
  return {name, kind, [text] { return text; }, nullptr};
}

}  // namespace

SettingsDialog::SettingsDialog(IniFiles& ini, FileSystem* files) : PersistentForm(ini, kSettingsTable.section, files) {
  const SettingsLayout designed = LayOutSettings(kDesignDpi);
  designed_.width = designed.width;
  designed_.height = designed.height;
  for (const SettingRow& row : kSettingsTable.rows) {
    if (row.kind == SettingKind::kCheckBox) {
      AssignBoolean(Checked(row.setting), row.defaultValue);
    } else {
      Text(row.setting) = row.defaultValue;
    }
  }
}

// The components in the order the dialog creates them, each with the
// published properties that the walk looks at: the banner, the drop-downs'
// labels, the settings' controls in the table's order, the OK button. The
// passphrase's field is not among them: it is never kept.
std::vector<PersistentComponent> SettingsDialog::Components() {
  const auto label = [](const char* name, const char* caption) {
    return PersistentComponent{
        name, "TLabel", {Fixed("Caption", Kind::String, caption), Fixed("Tag", Kind::Integer, "0")}};
  };
  const auto combo = [](const char* name, PublishedProperty text) {
    return PersistentComponent{name,
                               "TComboBox",
                               {Fixed("Style", Kind::Enumeration), std::move(text),
                                Fixed("ItemIndex", Kind::Integer, "-1"), Fixed("TabStop", Kind::Boolean, "FALSE")}};
  };
  const auto check = [](const char* name, const char* caption, PublishedProperty checked) {
    return PersistentComponent{name,
                               "TCheckBox",
                               {Fixed("Caption", Kind::String, caption), std::move(checked),
                                Fixed("State", Kind::Enumeration), Fixed("Enabled", Kind::Boolean, "TRUE")}};
  };
  const SettingsTable& table = kSettingsTable;
  // Names as the settings file would know them: never rename.
  std::vector<PersistentComponent> components = {
      PersistentComponent{"Panel2", "TPanel", {Fixed("Caption", Kind::String), Fixed("BevelInner", Kind::Enumeration)}},
      label("Label6", table.bannerTitle),
      label("RxLabel3", table.bannerMaker),
  };
  for (const SettingRow& row : table.rows) {
    if (row.label != nullptr) components.push_back(label(row.label, row.caption));
  }
  for (const SettingRow& row : table.rows) {
    if (row.kind == SettingKind::kCheckBox) {
      components.push_back(check(row.control, row.caption, BooleanProperty(row.property, Checked(row.setting))));
    } else if (row.kind == SettingKind::kFolder) {
      components.push_back(
          PersistentComponent{row.control, "TEdit", {FolderProperty(row.property, Text(row.setting))}});
    } else if (row.setting == Setting::kPasteDelay) {
      components.push_back(combo(row.control, PasteDelayProperty(row.property)));
    } else {
      components.push_back(combo(row.control, StringProperty(row.property, Text(row.setting))));
    }
  }
  components.push_back(
      PersistentComponent{table.okName, "TEncartaButton", {Fixed("Caption", Kind::String, table.okCaption)}});
  return components;
}

PublishedProperty SettingsDialog::PasteDelayProperty(const char* name) {
  const auto valid = [](const std::string& text) {
    std::int32_t value = 0;
    return TryStrToInt(text, value);
  };
  return {name, Kind::String, [this, valid] { return valid(pasteDelayText) ? pasteDelayText : acceptedPasteDelay_; },
          [this, valid](const std::string& text) {
            pasteDelayText = text;
            if (valid(text)) acceptedPasteDelay_ = text;
          }};
}

Placement SettingsDialog::Geometry() const { return Current(); }

void SettingsDialog::Apply(const Placement& bounds) {
  if (window_) {
    window_->SetBounds(bounds);
  } else {
    designed_ = bounds;
  }
}

void SettingsDialog::SetTop(int top) {
  Placement g = Current();
  g.top = top;
  Apply(g);
}

void SettingsDialog::SetLeft(int left) {
  Placement g = Current();
  g.left = left;
  Apply(g);
}

// The dialog's size is fixed: restored sizes do not change it.
void SettingsDialog::SetWidth(int /*width*/) {}
void SettingsDialog::SetHeight(int /*height*/) {}

std::string SettingsDialog::StoredShareFolder(IniFiles& ini, const std::string& settingsFile) {
  for (const SettingRow& row : kSettingsTable.rows) {
    if (row.setting != Setting::kShareFolder) continue;
    return UnescapedText(
        ini.Read(settingsFile, kSettingsTable.section, std::string(row.control) + "." + row.property, ""));
  }
  return {};
}

void SettingsDialog::OnActivate(Pointer& pointer) {
  const Placement g = Current();
  const Point onOk = LayOutSettings(window_ ? window_->Dpi() : kDesignDpi).pointerOnActivate;
  pointer.MoveTo(g.left + onOk.x, g.top + onOk.y);
}

void SettingsDialog::OnOk(SettingsTarget& target) {
  target.ApplySettings(*this);
  // Used now: overwritten, so that no copy of it lingers here, and the
  // field shows none when the dialog opens again.
  std::fill(sharePassphrase.begin(), sharePassphrase.end(), '\0');
  sharePassphrase.clear();
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
