#include "history/folder_probe.h"

namespace solvane {

bool FolderIsWritable(FileSystem& files, const std::string& folder) {
  // A name that is taken (left by a crash, say) is never created over.
  std::string path;
  for (int n = 0;; ++n) {
    path = folder + "~write-check-" + std::to_string(n) + ".tmp";
    if (!files.Exists(path)) break;
    if (n == 99) return true;  // cannot tell; a save will say what fails
  }
  std::unique_ptr<WritableFile> file = files.Create(path);
  if (!file) return false;
  const bool closed = file->Close();
  file.reset();
  files.Remove(path);
  return closed;
}

}  // namespace solvane
