// The title file (Lb1.qlx) as any program or a damaged disk may leave it:
// loading must take exactly its lines, and saving them must give a file that
// loads back to the same list and saves to the same bytes.

#include <algorithm>
#include <string>
#include <vector>

#include "core/clip_files.h"
#include "core/clip_text_store.h"
#include "base/text_buffer.h"
#include "fuzz_support.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_text_metrics.h"
#include "platform/fake/fake_title_list.h"

namespace solvane::fuzz {

namespace {

const std::string kPath = std::string("C:\\Clips\\") + kTitleFileName;

// The file's lines read by hand: up to the first NUL, CR LF, CR and LF each
// end a line, and a last line without a break counts when it is not empty.
std::vector<std::string> ExpectedLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    lines.push_back(line);
    line.clear();
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> LinesOf(const TitleList& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}

}  // namespace

std::vector<std::string> Seeds() {
  using namespace std::string_literals;
  const std::string item = "Meeting notes..." + kTitlePadding + "0012345000678";
  return {
      "",
      item + "\r\n" + item + "\r\n",
      "one\r\ntwo\r\n\r\nthree",
      "cr\ronly\rlf\nonly\n\n",
      "before nul\r\nhalf\0after\r\n"s,
      "\r\n\r\n\r",
      "caf\xe9 \x80\xff\t" + kTitlePadding + "ABCDEFGHIJKLM\n",
  };
}

std::vector<std::string> DictionaryWords() {
  return {"\r\n", "\r", "\n", std::string(1, '\0'), std::string(kHeaderMarker), kTitlePadding};
}

}  // namespace solvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace solvane;
  using namespace solvane::fuzz;
  const std::string_view bytes = Bytes(data, size);
  fake::FakeFileSystem files;
  fake::FakeTextMetrics font;
  files.files[kPath] = std::string(bytes);

  fake::FakeTitleList list(font);
  LoadTitleList(list, files, kPath);
  const std::vector<std::string> lines = ExpectedLines(bytes);
  const std::vector<std::string_view> split = SplitTitleFile(bytes);
  FUZZ_CHECK(std::equal(split.begin(), split.end(), lines.begin(), lines.end()));
  FUZZ_CHECK(LinesOf(list) == lines);
  for (int i = 0; i < list.Count(); ++i) FUZZ_CHECK(list.State(i) == kUnchecked);

  SaveTitleList(list, files, kPath);
  const std::string saved = files.files[kPath];
  FUZZ_CHECK(saved == JoinFileLines(lines));
  FUZZ_CHECK(files.files.count(kPath + kSavingSuffix) == 0);

  fake::FakeTitleList again(font);
  LoadTitleList(again, files, kPath);
  FUZZ_CHECK(LinesOf(again) == lines);
  SaveTitleList(again, files, kPath);
  FUZZ_CHECK(files.files[kPath] == saved);
  return 0;
}
