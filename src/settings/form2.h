#pragma once
// The settings dialog's controls are the settings store: the clip window
// reads their values at the moment it needs them.

#include <string>

namespace solvane {

struct TForm2Controls {
  bool CheckBox1 = false;  // "Auto save (upon caching) every 5 minutes."
  bool CheckBox3 = false;  // "Prompt to clear clips."
  bool CheckBox4 = false;  // "Prompt to quit."
  std::string ComboBox1 = "Ctrl+Alt+Down";  // hotkey
  std::string ComboBox2 = "100";            // paste delay, ms
};

}  // namespace solvane
