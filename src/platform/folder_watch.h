#pragma once
// Word that the files of a folder changed, for the shared history: a file
// made, written, renamed or removed there is reported soon after, on the UI
// thread; changes close together may come as one report. The reports come
// through the clip window's OnShareCheck, as the periodic check does.

#include <string>

namespace solvane {

class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  // Watches this folder from now on, in place of any before; an empty
  // folder stops the watch. False when it cannot be watched (missing,
  // unreadable): then nothing is reported, and the periodic check is all.
  virtual bool Watch(const std::string& folder) = 0;
};

}  // namespace solvane
