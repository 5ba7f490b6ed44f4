// prefs.qlx as any program or a damaged disk may leave it, read by the clip
// window's first activation on the fake desktop: the first line (split at
// CR LF only) is the preference line, "1" in front sets the title-line flag,
// and closing writes the line back with only that flag renewed, so that the
// next start reads the same.

#include <string>
#include <vector>

#include "core/clip_files.h"
#include "base/text_buffer.h"
#include "fuzz_support.h"
#include "support/fake_desktop.h"

namespace solvane::fuzz {

namespace {

using testing::FakeDesktop;

const std::string kPrefs = FakeDesktop::Path(kPrefsFileName);
const std::string kDefaultLine = "0000000000";

std::string FirstLine(std::string_view bytes) {
  std::size_t end = 0;
  while (end < bytes.size() && !(bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')) ++end;
  return std::string(bytes.substr(0, end));
}

}  // namespace

std::vector<std::string> Seeds() {
  using namespace std::string_literals;
  return {"0000000000\r\n",
          "1abcdefghi\r\n",
          "0000000001\r\nignored\r\n",
          "x123456789",
          "\r\n",
          "",
          "1\r\n",
          "1\rnot a break\nstill the first line\r\nsecond\r\n",
          "1\0nul\r\n"s,
          "\xff\r\n"};
}

std::vector<std::string> DictionaryWords() { return {"\r\n", "1", "0000000000"}; }

}  // namespace solvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace solvane;
  using namespace solvane::fuzz;
  const std::string_view bytes = Bytes(data, size);

  FakeDesktop desk;
  desk.files.files[kPrefs] = std::string(bytes);
  ClipWindow program(desk.Platform());
  program.HandleEvent([&] { program.OnActivate(); });
  FUZZ_CHECK(desk.dialogs.errors.empty());

  const std::string first = FirstLine(bytes);
  const std::string line = first.empty() ? kDefaultLine : first;
  const bool flag = line[0] == '1';
  FUZZ_CHECK(program.state().PrefFlags == line);
  FUZZ_CHECK(program.history().titleLineFlag() == flag);

  FUZZ_CHECK(program.OnClose());
  FUZZ_CHECK(desk.dialogs.errors.empty());
  std::string written = line;
  written[0] = flag ? '1' : '0';
  FUZZ_CHECK(desk.files.files[kPrefs] == written + "\r\n");
  FUZZ_CHECK(desk.files.files.count(kPrefs + kSavingSuffix) == 0);

  // The next start reads back what was written.
  FakeDesktop next;
  next.files.files = desk.files.files;
  ClipWindow again(next.Platform());
  again.HandleEvent([&] { again.OnActivate(); });
  FUZZ_CHECK(next.dialogs.errors.empty());
  FUZZ_CHECK(again.state().PrefFlags == written);
  FUZZ_CHECK(again.history().titleLineFlag() == flag);
  return 0;
}
