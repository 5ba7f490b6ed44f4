// Any bytes another program may put on the clipboard, captured by the clip
// window on the fake desktop: the text up to its first NUL, with every line
// break made CR LF, becomes the newest clip and its title looks it up again;
// the older clip stays whole, the same text again is no new clip, and the
// next start finds every clip in the saved files.

#include <string>
#include <vector>

#include "core/clip_text_store.h"
#include "core/key_generator.h"
#include "base/text_buffer.h"
#include "fuzz_support.h"
#include "support/fake_desktop.h"

namespace solvane::fuzz {

namespace {

using testing::FakeDesktop;

const std::string kFirst = "the clip before";

std::string Normalized(std::string_view raw) {
  raw = raw.substr(0, raw.find('\0'));
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' || raw[i] == '\n') {
      out += "\r\n";
      if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
    } else {
      out += raw[i];
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> Seeds() {
  using namespace std::string_literals;
  KeyGenerator keys;
  fake::FakeClock clock;
  const auto tick = [&] { return clock.tick; };
  const std::string first = keys.MakeKey(tick);  // kFirst's key
  const std::string next = keys.MakeKey(tick);

  // A large text of many short and some very long lines, to reach sizes a
  // real clipboard carries.
  std::string large;
  for (int i = 0; large.size() < 600000; ++i) {
    large += "line " + std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    if (i % 997 == 0) large += std::string(20000, 'w');
  }
  return {
      "already there",
      "",
      kFirst,
      "a\rb\nc\r\nd\n\re",
      "\r\n\r\n",
      "caf\xe9\tna\xefve \x80\xff",
      "left\0right"s,
      "   \t\r\n\r\n  indented first visible line\r\nsecond",
      std::string(3000, 'm'),
      "quoted " + std::string(kHeaderMarker) + "0000000000000 in a line\r\n" + std::string(kTrailerMarker) +
          "0000000000000\r\n",
      // A piece of a clip file whose trailer line names the key that the
      // capture after kFirst draws first: the record must not end there.
      "copied\r\n" + std::string(kTrailerMarker) + next + "\r\nmore",
      // A piece quoting kFirst's header line: kFirst's text stays its own.
      "x\r\n" + std::string(kHeaderMarker) + first + "\r\ny",
      std::move(large),
  };
}

std::vector<std::string> DictionaryWords() {
  return {"\r\n", "\r", "\n", std::string(1, '\0'), std::string(kHeaderMarker), std::string(kTrailerMarker)};
}

}  // namespace solvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace solvane;
  using namespace solvane::fuzz;
  const std::string raw(Bytes(data, size));
  const std::string expected = Normalized(raw);
  FUZZ_CHECK(NormalizeLineBreaks(std::string_view(raw).substr(0, raw.find('\0'))) == expected);

  FakeDesktop desk;
  ClipWindow program(desk.Platform());
  desk.clipboard.CopyText(kFirst);
  FUZZ_CHECK(desk.titles.Count() == 1);

  desk.clipboard.CopyText(raw);
  FUZZ_CHECK(desk.dialogs.errors.empty());
  FUZZ_CHECK(program.capture().LastCapture() == expected);
  const bool fresh = expected != kFirst;
  FUZZ_CHECK(desk.titles.Count() == (fresh ? 2 : 1));
  const std::string newest = desk.titles.Get(0);
  FUZZ_CHECK(newest.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
  FUZZ_CHECK(program.store().Lookup(newest) == expected);
  if (fresh) FUZZ_CHECK(program.store().Lookup(desk.titles.Get(1)) == kFirst);

  desk.clipboard.CopyText(raw);
  FUZZ_CHECK(desk.titles.Count() == (fresh ? 2 : 1));

  program.history().SaveHistory();
  FakeDesktop next;
  next.files.files = desk.files.files;
  ClipWindow again(next.Platform());
  FUZZ_CHECK(next.dialogs.errors.empty());
  FUZZ_CHECK(next.titles.Count() == desk.titles.Count());
  for (int i = 0; i < next.titles.Count(); ++i) {
    FUZZ_CHECK(next.titles.Get(i) == desk.titles.Get(i));
    FUZZ_CHECK(again.store().Lookup(next.titles.Get(i)) == program.store().Lookup(desk.titles.Get(i)));
  }
  return 0;
}
