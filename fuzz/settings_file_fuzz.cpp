// The settings file (Solvaneclips.ini) as any editor may leave it, restored
// into the settings dialog by the property walk: each kept property takes
// the value the file holds for it (or keeps its default), the geometry takes
// the whole numbers other than 0, the clip window applies what was restored
// at its first activation, and what the dialog saves restores the same and
// saves the same bytes again.

#include <algorithm>
#include <string>
#include <vector>

#include "base/shortcut.h"
#include "base/str_to_int.h"
#include "fuzz_support.h"
#include "platform/components/window_layout.h"
#include "platform/fake/fake_ini_files.h"
#include "settings/settings_dialog.h"
#include "support/fake_desktop.h"

namespace solvane::fuzz {

namespace {

using testing::FakeDesktop;

const std::string kIni = FakeDesktop::Path("Solvaneclips.ini");
const char* const kSection = "Form2";

using fake::FakeSettingsWindow;

struct Values {
  std::string hotkey, delay, folder;
  bool autosave, promptClear, promptQuit;
  int top, left, width, height;
  bool operator==(const Values&) const = default;
};

Values Restore(fake::FakeFileSystem& files) {
  fake::FakeIniFiles ini(files);
  SettingsDialog dialog(ini);
  FakeSettingsWindow window;
  dialog.set_window(&window);
  dialog.RestoreState(kIni);
  const Placement g = window.bounds;
  return {dialog.hotkeyText,
          dialog.pasteDelayText,
          dialog.shareFolder,
          dialog.autosave,
          dialog.promptClear,
          dialog.promptQuit,
          g.top,
          g.left,
          g.width,
          g.height};
}

// What the walk must have made of the file, read key by key.
Values Expected(fake::FakeFileSystem& files) {
  fake::FakeIniFiles ini(files);
  const auto text = [&](const char* key, const std::string& fallback) {
    const std::string value = ini.Read(kIni, kSection, key, "");
    return value.empty() ? fallback : value;
  };
  const auto boolean = [&](const char* key) {
    return ini.Read(kIni, kSection, key, "") == "TRUE";  // every default is FALSE
  };
  const auto number = [&](const char* key, int fallback) {
    std::int32_t value = 0;
    if (!TryStrToInt(ini.Read(kIni, kSection, key, "0"), value) || value == 0) return fallback;
    return static_cast<int>(value);
  };
  const SettingsLayout designed = LayOutSettings(kDesignDpi);
  return {text("ComboBox1.Text", "Ctrl+Alt+Down"),
          text("ComboBox2.Text", "100"),
          UnescapedText(ini.Read(kIni, kSection, "Edit1.Text", "")),
          boolean("CheckBox1.Checked"),
          boolean("CheckBox3.Checked"),
          boolean("CheckBox4.Checked"),
          number("Top", 254),
          number("Left", 433),
          designed.width,
          designed.height};  // the dialog's size is fixed
}

}  // namespace

std::vector<std::string> Seeds() {
  using namespace std::string_literals;
  return {
      "[Form2]\r\nTop=254\r\nLeft=433\r\nWidth=236\r\nHeight=212\r\nComboBox1.Text=Ctrl+Alt+Down\r\n"
      "ComboBox2.Text=100\r\nCheckBox1.Checked=FALSE\r\nCheckBox3.Checked=FALSE\r\nCheckBox4.Checked=FALSE\r\n",
      "[Form2]\r\nTop=10\r\nLeft=0\r\nComboBox1.Text=F9\r\nComboBox2.Text=5000\r\nCheckBox1.Checked=TRUE\r\n"
      "CheckBox3.Checked=yes\r\nCheckBox4.Checked=true\r\n",
      "[Other]\r\nComboBox2.Text=1\r\n[form2]\r\n  comboBOX2.text =  -7  \r\nTop= +2147483647\r\nLeft=-2147483648\r\n",
      "; comment\n[Form2]\nComboBox1.Text=^Down\nComboBox2.Text=ten\n[Form2]\nTop=99\n",
      "[Form2\r\nTop=1\r\n[]\r\n=\r\n[Form2]x\r\nCheckBox4.Checked=TRUE\r\nComboBox1.Text=Shift+Ctrl+;\r\n",
      "",
      "[Form2]\r\nTop=5\0\r\nLeft=6\r\n"s,
      "[Form2]\r\nCheckBox4.Checked=FALSE\r\nEdit1.Text=C:\\Sync\\Gr%u00FC%u00DFe%\\\r\n",
  };
}

std::vector<std::string> DictionaryWords() {
  return {"[Form2]",
          "\r\n",
          "=",
          "Top=",
          "Left=",
          "Width=",
          "Height=",
          "ComboBox1.Text=",
          "ComboBox2.Text=",
          "CheckBox1.Checked=",
          "CheckBox3.Checked=",
          "CheckBox4.Checked=",
          "Edit1.Text=",
          "%u00FC",
          "TRUE",
          "FALSE",
          "Ctrl+Alt+Down",
          "2147483648",
          "-2147483648"};
}

}  // namespace solvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace solvane;
  using namespace solvane::fuzz;
  fake::FakeFileSystem files;
  files.files[kIni] = std::string(Bytes(data, size));

  const Values restored = Restore(files);
  FUZZ_CHECK(restored == Expected(files));

  // Saved as the dialog ends, restored by the next start, saved again. A
  // paste delay that is no whole number is never saved: the default is.
  std::int32_t delay = 0;
  const bool delayValid = TryStrToInt(restored.delay, delay);
  Values kept = restored;
  if (!delayValid) kept.delay = SettingsDialog::kDefaultPasteDelay;
  {
    fake::FakeIniFiles ini(files);
    SettingsDialog dialog(ini);
    FakeSettingsWindow window;
    dialog.set_window(&window);
    dialog.RestoreState(kIni);
    dialog.SaveState();
  }
  const std::string saved = files.files[kIni];
  FUZZ_CHECK(Restore(files) == kept);
  {
    fake::FakeIniFiles ini(files);
    SettingsDialog dialog(ini);
    dialog.RestoreState(kIni);
    dialog.SaveState();
  }
  FUZZ_CHECK(files.files[kIni] == saved);

  // The clip window's first activation applies the restored hotkey and
  // paste delay; a delay that is no whole number is an error box (and the
  // default delay then), and so is a hotkey that cannot work.
  FakeDesktop desk;
  desk.files.files[kIni] = std::string(Bytes(data, size));
  desk.settingsDialog.RestoreState(kIni);
  ClipWindow program(desk.Platform());
  program.HandleEvent([&] { program.OnActivate(); });
  const ShortCut key = TextToShortCut(restored.hotkey, desk.keyNames);
  const bool hotkeyWorks = (key & 0xFF) != 0;
  // A shared folder is said once too: no passphrase is typed on this
  // machine yet, or its name cannot be a path here.
  const bool sharing = !restored.folder.empty();
  FUZZ_CHECK(desk.dialogs.errors.size() == (delayValid ? 0u : 1u) + (hotkeyWorks ? 0u : 1u) + (sharing ? 1u : 0u));
  if (sharing) {
    const auto& errors = desk.dialogs.errors;
    FUZZ_CHECK(std::count_if(errors.begin(), errors.end(),
                             [](const std::string& e) { return e.find("shared folder") != std::string::npos; }) == 1);
  }
  FUZZ_CHECK(program.state().PasteDelay == (delayValid ? delay : 100));
  FUZZ_CHECK(desk.settingsDialog.pasteDelayText == kept.delay);
  if (!hotkeyWorks) {
    const std::string named = restored.hotkey.empty() ? "(none)" : restored.hotkey;
    FUZZ_CHECK(desk.dialogs.errors.back().find(named) != std::string::npos);
  }
  FUZZ_CHECK(program.hotkey().Key() == key);
  FUZZ_CHECK(program.hotkey().registered() == hotkeyWorks);
  return 0;
}
