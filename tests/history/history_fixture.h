#pragma once
// The base of the history's tests: the program on the fake desktop, and the
// files beside it by name.

#include <gtest/gtest.h>

#include <string>

#include "base/text_buffer.h"
#include "support/program_fixture.h"

namespace solvane::history_testing {

using Step = fake::FakeFileSystem::Step;
using testing::FakeDesktop;

// The files beside the program, by name.
const std::string kLb1 = "Lb1.qlx", kCb1 = "Cb1.qlx", kPrefs = "prefs.qlx", kSettings = "Solvaneclips.ini";

// Loading, saving, autosave, clearing, quitting and the session's end: what
// reaches the files beside the program and what the user is asked or told.
class HistoryTest : public testing::ProgramTest {
 protected:
  // Another program holds the file: it is there but cannot be read.
  void Hold(const std::string& name) { desk.files.unreadable.insert(FakeDesktop::Path(name)); }
  void LetGo() { desk.files.unreadable.clear(); }
};

}  // namespace solvane::history_testing
