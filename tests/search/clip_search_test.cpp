#include "search/clip_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/case_fold.h"
#include "platform/fake/fake_clipboard.h"
#include "support/program_fixture.h"

namespace solvane {
namespace {

// The matching rules on the texts a program holds, and the search window:
// F3, typing, the highlight, pasting a match, closing.
class SearchTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->state().PasteDelay = 50;
  }
  // The titles of the clips that match `text`, newest first.
  std::vector<std::string> Found(const std::string& text) {
    ClipSearch search(desk.titles, program->store(), program->exactTexts(), desk.codePage);
    search.Open();
    search.SetText(text);
    std::vector<std::string> titles;
    for (const int line : search.matches()) titles.push_back(Title(line));
    return titles;
  }
  // The window up by the hotkey, and the search open.
  void OpenSearch() {
    if (!program->state().WindowShown) program->OnHotkey();
    program->OnKeyDown(kVkF3, 0);
  }
  // The titles the match list shows.
  std::vector<std::string> Shown() {
    std::vector<std::string> titles;
    for (const int line : desk.matchList.lines) titles.push_back(Title(line));
    return titles;
  }
  void CopyUnicode(const std::string& utf8) {
    ++desk.clock.tick;
    desk.clipboard.CopyUnicode(utf8);
  }
};

using Names = std::vector<std::string>;

TEST_F(SearchTest, EveryWordAnywhereInTheTextInAnyOrderWithoutCase) {
  CopyLater("Invoice for ACME\r\n" + std::string(40, '-') + "\r\nDue: 30 days, paid by \xC9milie");
  CopyLater("acme is a company");
  CopyLater("nothing here");
  EXPECT_EQ(Found("acme"), (Names{"acme is a company", "Invoice for ACME..."}));
  EXPECT_EQ(Found("DAYS   acme"), (Names{"Invoice for ACME..."}));    // deep in the text, words in any order
  EXPECT_EQ(Found("\xC3\xA9milie"), (Names{"Invoice for ACME..."}));  // é finds É: the code page's letters
  EXPECT_EQ(Found("acme zebra"), Names{});                            // every word must occur
  EXPECT_EQ(Found("  "), (Names{"nothing here", "acme is a company", "Invoice for ACME..."}));
}

TEST_F(SearchTest, LineBreaksMarkersAndKeysNeverMatch) {
  CopyLater("ab\r\ncd");
  EXPECT_EQ(Found("bc"), Names{});  // a word split by a line break
  EXPECT_EQ(Found("b\r\nc"), (Names{"ab..."}));
  const std::string key = Key(0);
  EXPECT_EQ(Found(key), Names{});
  EXPECT_EQ(Found("/:hdr:\\"), Names{});
  EXPECT_EQ(Found("/:tlr:"), Names{});
}

TEST_F(SearchTest, ExactTextsAreSearchedInTheirOwnCharacters) {
  CopyUnicode("\xC5\x81\xC3\xB3\x64\xC5\xBA is a city");  // Łódź: not Latin-1, kept exactly
  CopyUnicode("\xE6\x9D\xB1\xE4\xBA\xAC station");        // 東京
  CopyLater("lodz in ASCII");
  // The titles as the title file keeps them: "?" where Latin-1 lacks a letter.
  EXPECT_EQ(Found("\xC5\x82\xC3\xB3\x64\xC5\xBA"), (Names{"?\xF3"
                                                          "d? is a city"}));  // łódź
  EXPECT_EQ(Found("\xE6\x9D\xB1\xE4\xBA\xAC"), (Names{"?? station"}));
  // The ANSI text of an exact clip holds "?" for what the code page lacks:
  // it is never what is searched.
  EXPECT_EQ(Found("?"), Names{});
  EXPECT_EQ(Found("lodz"), (Names{"lodz in ASCII"}));  // no look-alikes either way
  EXPECT_EQ(Found("CITY"), (Names{"?\xF3"
                                  "d? is a city"}));
}

TEST(CaseFoldTest, SimpleFoldingOfSomeScripts) {
  EXPECT_EQ(FoldCaseUtf8("ABC \xC3\x89\xC5\x81\xCE\xA3\xD0\x96"), "abc \xC3\xA9\xC5\x82\xCF\x83\xD0\xB6");  // ÉŁΣЖ
  EXPECT_EQ(FoldCase(0x212A), U'k');     // the Kelvin sign
  EXPECT_EQ(FoldCase(0x1E9E), 0xDFu);    // capital sharp s to ß, not "ss"
  EXPECT_EQ(FoldCase(0x0101), 0x0101u);  // a lower-case letter of a run of pairs
  EXPECT_EQ(FoldCase(0x0100), 0x0101u);
  EXPECT_EQ(FoldCaseUtf8("\xFF"
                         "a\xE6\x9D"),
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD\xEF\xBF\xBD");  // each bad byte is U+FFFD
}

// A code page of two-byte characters (lead bytes 0x81-0x9F), where a word
// may not start at a character's second byte.
class DoubleByteCodePage : public CodePage {
 public:
  DoubleByteCodePage() {
    for (int b = 0; b < 256; ++b) {
      ansi.lower[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
      ansi.lead[static_cast<std::size_t>(b)] = b >= 0x81 && b <= 0x9F;
    }
  }
  std::optional<std::string> FromUtf8(std::string_view utf8) override { return std::string(utf8); }
  const AnsiCase& Case() override { return ansi; }
  AnsiCase ansi;
};

TEST(SearchQueryTest, AWordStartsOnlyWhereACharacterDoes) {
  DoubleByteCodePage codePage;
  const AnsiCase& ansiCase = codePage.Case();
  const std::string text =
      "x\x81"
      "Ay";  // x, a two-byte character ending in 'A', y
  EXPECT_FALSE(SearchQuery("a", codePage).MatchesAnsi(text, ansiCase));
  EXPECT_FALSE(SearchQuery("\x81"
                           "a",
                           codePage)
                   .MatchesAnsi(text, ansiCase));  // its second byte is no letter
  EXPECT_TRUE(SearchQuery("\x81"
                          "A",
                          codePage)
                  .MatchesAnsi(text, ansiCase));
  EXPECT_TRUE(SearchQuery("X\x81"
                          "AY",
                          codePage)
                  .MatchesAnsi(text, ansiCase));
}

// The fast scans against the plain definition, on random texts long and
// short: matches at every offset, across the 16-, 32- and 64-byte blocks,
// in a text's last bytes; and a run of texts scanned at once, with matches
// that would start in the gaps between them or run past a text's end.
TEST(SearchQueryTest, TheScansFindWhatAPlainSearchFinds) {
  fake::FakeCodePage codePage;
  const AnsiCase& ansiCase = codePage.Case();
  std::mt19937 random(20261209);
  const std::string alphabet = "abAB \xC9\xE9\r\n";
  const auto lower = [&](std::string s) {
    for (char& c : s) c = static_cast<char>(ansiCase.lower[static_cast<unsigned char>(c)]);
    return s;
  };
  const auto randomText = [&](std::size_t longest) {
    std::string text(random() % (longest + 1), ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    return text;
  };
  for (int round = 0; round < 2000; ++round) {
    std::string word(1 + random() % 4, ' ');
    for (char& c : word) c = "abAB\xC9\xE9"[random() % 6];
    const SearchQuery query(fake::Latin1ToUtf8(word), codePage);  // the word as typed
    const auto holds = [&](const std::string& text) { return lower(text).find(lower(word)) != std::string::npos; };
    const std::string text = randomText(round % 2 ? 300 : 40);
    ASSERT_EQ(query.MatchesAnsi(text, ansiCase), holds(text)) << text << " / " << word;

    // A run: texts in one buffer, each after a gap of marker-like bytes.
    std::string buffer;
    std::vector<std::pair<std::size_t, std::size_t>> places;
    for (int i = 0; i < 6; ++i) {
      buffer += "\r\nab/:tlr:\r\n"[random() % 4] + std::string(random() % 5, word[0]);
      const std::string piece = randomText(120);
      places.emplace_back(buffer.size(), piece.size());
      buffer += piece;
    }
    std::vector<std::string_view> texts;
    std::vector<int> expected, found;
    for (std::size_t i = 0; i < places.size(); ++i) {
      texts.emplace_back(buffer.data() + places[i].first, places[i].second);
      if (holds(std::string(texts.back()))) expected.push_back(static_cast<int>(i));
    }
    query.MatchAnsiRun(texts, ansiCase, found);
    ASSERT_EQ(found, expected) << word;
  }
}

// Typing letter by letter narrows the last matches; it must find exactly
// what a search of the whole history finds.
TEST_F(SearchTest, NarrowingFindsWhatAWholeSearchFinds) {
  const char* texts[] = {"alpha beta", "alphabet", "beta gamma", "ALPHA gamma", "gam"};
  for (const char* text : texts) CopyLater(text);
  ClipSearch typed(desk.titles, program->store(), program->exactTexts(), desk.codePage);
  typed.Open();
  std::string text;
  for (const char c : std::string("alpha gam")) {
    text += c;
    typed.SetText(text);
    std::vector<std::string> titles;
    for (const int line : typed.matches()) titles.push_back(Title(line));
    EXPECT_EQ(titles, Found(text)) << text;
  }
  EXPECT_EQ(typed.matches().size(), 1u);
}

TEST_F(SearchTest, F3OpensTypingNarrowsArrowsMoveAndEnterPastesTheMatch) {
  Fill(40);
  OpenSearch();
  EXPECT_TRUE(desk.searchLine.open);
  EXPECT_EQ(desk.matchList.lines.size(), 40u);  // nothing typed: every clip
  EXPECT_EQ(desk.matchList.highlight, 0);
  // A letter goes into the search line: it picks no label.
  const int writes = desk.clipboard.writeCount();
  program->OnKeyDown('2', 0);
  EXPECT_EQ(desk.clipboard.writeCount(), writes);
  program->OnSearchTextChange("clip 2");
  EXPECT_EQ(Shown(), (Names{"clip 32", "clip 29", "clip 28", "clip 27", "clip 26", "clip 25", "clip 24", "clip 23",
                            "clip 22", "clip 21", "clip 20", "clip 12", "clip 2"}));
  EXPECT_EQ(desk.searchLine.status, "13");
  EXPECT_EQ(desk.matchList.highlight, 0);
  program->OnKeyDown(kVkDown, 0);
  program->OnKeyDown(kVkDown, 0);
  program->OnKeyDown(kVkUp, 0);
  EXPECT_EQ(desk.matchList.highlight, 1);
  program->OnKeyDown(kVkReturn, 0);
  EXPECT_EQ(desk.clipboard.text(), "clip 29");
  // A paste like any other: the clip to the top of the whole list, the
  // window away, the search closed.
  EXPECT_EQ(Title(0), "clip 29");
  EXPECT_EQ(desk.titles.Count(), 40);
  EXPECT_FALSE(program->state().WindowShown);
  EXPECT_FALSE(desk.searchLine.open);
  EXPECT_FALSE(desk.matchList.shown);
  EXPECT_FALSE(program->search().open());
}

TEST_F(SearchTest, NoMatchSaysSoAndEscClosesThenHides) {
  Fill(5);
  OpenSearch();
  program->OnSearchTextChange("zebra");
  EXPECT_TRUE(desk.matchList.lines.empty());
  EXPECT_EQ(desk.matchList.highlight, -1);
  EXPECT_EQ(desk.searchLine.status, "No clip matches");
  program->OnKeyDown(kVkReturn, 0);  // nothing to paste
  EXPECT_TRUE(program->state().WindowShown);
  program->OnKeyDown(kVkEscape, 0);
  EXPECT_FALSE(desk.searchLine.open);
  EXPECT_FALSE(desk.matchList.shown);
  EXPECT_TRUE(program->state().WindowShown);
  program->OnKeyDown(kVkEscape, 0);  // the second Esc puts the window away
  EXPECT_FALSE(program->state().WindowShown);
  EXPECT_FALSE(desk.window.visible);
}

TEST_F(SearchTest, AClickPastesAMatchWithTheLineEndingAndTheRunButtonStaysUp) {
  Fill(10);
  program->OnHotkey();
  program->ToggleRunToTop();
  program->ToggleAppendCrLf();
  OpenSearch();
  EXPECT_FALSE(program->runToTop());
  program->ToggleRunToTop();
  EXPECT_FALSE(program->runToTop());  // released while the search is open
  program->OnSearchTextChange("clip 3");
  program->OnMatchClick(0);
  EXPECT_EQ(desk.clipboard.text(), "clip 3\r\n");
  EXPECT_EQ(Title(0), "clip 3");
}

TEST_F(SearchTest, AClipCopiedDuringTheSearchJoinsTheMatchesAndTheListAndItsFileStayTheHistory) {
  Fill(5);
  OpenSearch();
  program->OnSearchTextChange("new");
  EXPECT_TRUE(desk.matchList.lines.empty());
  CopyLater("a new clip");
  CopyLater("unrelated");
  EXPECT_EQ(Shown(), (Names{"a new clip"}));
  EXPECT_EQ(desk.searchLine.status, "1");
  EXPECT_EQ(desk.titles.Count(), 7);  // the title list holds every clip
  program->OnAutosaveTimer();         // and so does what is saved from it
  EXPECT_EQ(std::count(File("Lb1.qlx").begin(), File("Lb1.qlx").end(), '\n'), 7);
  EXPECT_EQ(Shown(), (Names{"a new clip"}));
  program->OnHideButton();
  program->OnHotkey();  // the hotkey opens the window with the search closed
  EXPECT_FALSE(desk.searchLine.open);
  EXPECT_FALSE(program->search().open());
  EXPECT_EQ(Title(0), "unrelated");
}

TEST_F(SearchTest, TheTitlePictureOpensTheSearchAndTheLabelsFollowTheMatches) {
  Fill(100);
  program->OnTitlePictureClick();
  EXPECT_FALSE(desk.searchLine.open);  // only with the window up
  program->OnHotkey();
  program->OnTitlePictureClick();
  EXPECT_TRUE(desk.searchLine.open);
  program->OnSearchTextChange("clip 1");
  desk.matchList.top = 8;
  program->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.top, 8);
  // A label click previews the match beside it.
  desk.labels.item = 8 + 2;
  program->OnLabelClick();
  EXPECT_EQ(desk.labels.hint, Title(desk.matchList.lines[10]));
}

}  // namespace
}  // namespace solvane
