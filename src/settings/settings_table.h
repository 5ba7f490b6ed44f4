#pragma once
// The settings dialog's settings in one table: what the settings file keeps
// of each (its key and its first value) and what the dialog shows (caption,
// choices, hint). The dialog's logic and its window both read it.

#include "platform/settings_dialog_events.h"

namespace solvane {

inline constexpr const char* kDefaultPasteDelay = "100";

extern const SettingsTable kSettingsTable;

}  // namespace solvane
