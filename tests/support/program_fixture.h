#pragma once
// The base of every test of the clip window's logic: the program started on
// the fake desktop as WinMain starts it, and the words the tests speak in
// (copy, the title on a line, the text it pastes, a file beside the program).

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_desktop.h"

namespace solvane::testing {

class ProgramTest : public ::testing::Test {
 protected:
  // As WinMain: the window passes a close on to the clip window's logic
  // before the start-up runs, so a close that comes while a start box is up
  // saves like any other.
  ClipWindow& Start() {
    program = std::make_unique<ClipWindow>(desk.Platform(), ClipWindow::kStartLater);
    desk.window.onClose = [this] { return program->OnClose(); };
    program->Start();
    program->ShowStartProblems();
    return *program;
  }

  // Closes and starts again with nothing on the clipboard to capture.
  void Restart() {
    program->OnClose();
    StartOver();
  }
  // Starts again on the files as they are, without the close's save.
  void StartOver() {
    desk.clipboard.CopyOtherFormat();
    program.reset();
    desk.titles.Clear();
    Start();
  }

  // A copy in another program.
  void Copy(const std::string& text) { desk.clipboard.CopyText(text); }
  // A copy some time after the last: the tick count the keys are drawn from
  // has moved on, as between real copies.
  void CopyLater(const std::string& text) {
    ++desk.clock.tick;
    Copy(text);
  }
  // n copies "clip 0" .. "clip n-1": "clip n-1" is on line 0, "clip 0" last.
  void Fill(int n) {
    for (int i = 0; i < n; ++i) CopyLater("clip " + std::to_string(i));
  }

  // The title on a list line, without its padding, marker and key.
  std::string Title(int line) { return TitleOf(desk.titles.Get(line)); }
  std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (int i = 0; i < desk.titles.Count(); ++i) titles.push_back(Title(i));
    return titles;
  }
  std::string Key(int line) { return KeyOf(desk.titles.Get(line)); }
  // The text a list line's clip holds; none when its record is missing.
  std::optional<std::string> TextOf(int line) { return program->store().Lookup(desk.titles.Get(line)); }

  // A file in the program's folder, by name ("Lb1.qlx").
  std::string& File(const std::string& name) { return desk.files.files[FakeDesktop::Path(name)]; }
  bool HasFile(const std::string& name) const { return desk.files.files.count(FakeDesktop::Path(name)) > 0; }
  void RemoveFile(const std::string& name) { desk.files.files.erase(FakeDesktop::Path(name)); }

  FakeDesktop desk;
  std::unique_ptr<ClipWindow> program;  // the clip window's logic; declared after the desktop: gone before it
};

}  // namespace solvane::testing
