#pragma once
// Reading and writing the clip files and the preference file.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clip_text_store.h"
#include "platform/file_system.h"
#include "platform/title_list.h"

namespace solvane {

inline constexpr char kTitleFileName[] = "Lb1.qlx";
inline constexpr char kStoreFileName[] = "Cb1.qlx";
inline constexpr char kPrefsFileName[] = "prefs.qlx";
// The exact UTF-8 texts of the clips whose text the ANSI code page cannot
// hold, as records like the store file's, under the same keys.
inline constexpr char kExactFileName[] = "Cb1.utf8.qlx";
// The keys of the kept clips, one a line.
inline constexpr char kKeptFileName[] = "Kept.qlx";
// A save in progress; left behind only by a crash, removed at the next start.
inline constexpr char kSavingSuffix[] = ".saving";

// Writes the file beside its final place, flushes it and swaps it in, so a
// failure at any point leaves the old file whole. Throws AppError
// "Cannot create file %s" on failure.
void SaveReplacing(FileSystem& files, const std::string& path, std::string_view bytes);
// The same for bytes in pieces, written in order.
void SaveReplacing(FileSystem& files, const std::string& path, const std::vector<std::string_view>& pieces);
// The same for bytes `write` writes to the file; it returns false when a
// write failed.
void SaveReplacing(FileSystem& files, const std::string& path, const std::function<bool(WritableFile&)>& write);

// The whole file; throws AppError "Cannot open file %s" when it cannot be read.
std::string ReadFileOrThrow(FileSystem& files, const std::string& path);

// The title file's bytes and its lines (views into them). Reading stops at a
// NUL byte: `whole` is false when one cut the file short, so that the titles
// after it are not lost to the next save.
struct TitleFile {
  std::string bytes;
  std::vector<std::string_view> lines;
  bool whole = true;
};
TitleFile ReadTitleFile(FileSystem& files, const std::string& path);
// Replaces the list's lines with the title file's; all come back unchecked.
// False when a NUL cut the file short.
bool LoadTitleList(TitleList& list, FileSystem& files, const std::string& path);
void SaveTitleList(const TitleList& list, FileSystem& files, const std::string& path);

// Replaces the store's content with the file's. The old content goes first,
// so the two histories are never held at once; the store is left empty when
// the file cannot be read.
void LoadTextStore(ClipTextStore& store, FileSystem& files, const std::string& path);
// A store file loaded ahead of time, handed over as LoadTextStore would
// have loaded it (with its error, if it failed); false when none was
// loaded ahead from that path.
using StoreLoadedAhead = std::function<bool(const std::string& path, ClipTextStore& store)>;
void SaveTextStore(const ClipTextStore& store, FileSystem& files, const std::string& path);

// The exact texts' file into their store: nothing when the file is not
// there (an older history, a first start). Throws AppError "Cannot open
// file %s" when it cannot be read, and a message naming the file when it is
// not whole records of well-formed UTF-8; the store is left empty then.
void LoadExactTexts(ClipTextStore& exact, FileSystem& files, const std::string& path);
// Whether the bytes are whole records only: each a header line, its text
// lines and the trailer line of the same key, every line ending in CR LF.
bool IsWholeRecords(std::string_view bytes);

// Moves a clip file that this run could not load out of the way of a save
// that would overwrite it: "Lb1.qlx" becomes "Lb1 (not loaded).qlx" (or
// "... (not loaded 2).qlx" and so on, never over an earlier one). Returns
// the new path, or nullopt when nothing is there. Throws AppError "Cannot
// create file %s" (the clip file's path) when it is there but cannot be
// moved: the save must not go ahead then.
std::optional<std::string> KeepAside(FileSystem& files, const std::string& path);

// Overwrites the file's bytes in place 70 times (each byte becomes 0xFF CR
// LF, each pass over the same place) and leaves it empty; a missing file ends up created empty. Throws
// AppError "Cannot create file %s" when a pass cannot be written.
inline constexpr int kScrubPasses = 70;
void ScrubFile(FileSystem& files, const std::string& path);

}  // namespace solvane
