#include <gtest/gtest.h>

#include "base/utf8.h"
#include "core/clip_files.h"
#include "support/program_fixture.h"

namespace solvane {
namespace {

// Clips whose text the ANSI code page (Latin-1 on the fake desktop) cannot
// hold: kept exactly beside their ANSI record, shown and pasted exactly.
class ExactTextTest : public testing::ProgramTest {
 protected:
  void SetUp() override { Start(); }
  void CopyUnicode(const std::string& utf8) {
    ++desk.clock.tick;
    desk.clipboard.CopyUnicode(utf8);
  }
  // A click on a line: the clipboard then holds what the paste delivers.
  std::optional<std::string> Paste(int line) {
    desk.titles.SetItemIndex(line);
    program->OnListClick();
    return desk.clipboard.unicode();
  }
  // The exact title a line shows; empty when it shows the ANSI one.
  std::string ExactTitle(int line) {
    const std::string shown = desk.titles.ExactLine(line);
    if (shown.empty()) return shown;
    EXPECT_EQ(testing::KeyOf(shown), Key(line));
    return testing::TitleOf(shown);
  }
  const std::string kExact = "C:\\Clips\\Cb1.utf8.qlx";
};

TEST_F(ExactTextTest, TextTheCodePageHoldsIsRecordedAsBeforeAndNothingMore) {
  CopyUnicode("caf\xC3\xA9");  // "café": Latin-1 holds it
  program->history().SaveHistory();
  EXPECT_EQ(program->exactTexts().Count(), 0);
  EXPECT_FALSE(desk.files.Exists(kExact));
  EXPECT_EQ(Title(0), "caf\xE9");
  EXPECT_EQ(ExactTitle(0), "");
  EXPECT_EQ(TextOf(0), "caf\xE9");
}

TEST_F(ExactTextTest, ExactTextIsShownPastedAndSurvivesARestart) {
  const std::string text =
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA\r\n\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80";  // Łódź / 東京 😀
  CopyUnicode(text);
  CopyLater("plain");
  EXPECT_EQ(Title(1),
            "?\xF3"
            "d?...");  // the title file keeps the ANSI title
  EXPECT_EQ(ExactTitle(1),
            "\xC5\x81\xC3\xB3"
            "d\xC5\xBA...");
  EXPECT_EQ(ExactTitle(0), "");
  Restart();
  EXPECT_EQ(File("Lb1.qlx").find("\xC5"), std::string::npos);  // no UTF-8 in the ANSI files
  EXPECT_EQ(ExactTitle(1),
            "\xC5\x81\xC3\xB3"
            "d\xC5\xBA...");
  EXPECT_EQ(Paste(1), text);
  // The move to the top takes the exact title along.
  EXPECT_EQ(ExactTitle(0),
            "\xC5\x81\xC3\xB3"
            "d\xC5\xBA...");
  EXPECT_EQ(ExactTitle(1), "");
}

TEST_F(ExactTextTest, DuplicateRuleComparesExactTexts) {
  CopyUnicode("\xE6\x9D\xB1\xE4\xBA\xAC");  // 東京
  CopyUnicode("\xE5\xA4\xA7\xE9\x98\xAA");  // 大阪: "??" in ANSI as well
  CopyUnicode("\xE5\xA4\xA7\xE9\x98\xAA");
  ASSERT_EQ(desk.titles.Count(), 2);
  EXPECT_EQ(Paste(1), "\xE6\x9D\xB1\xE4\xBA\xAC");
}

TEST_F(ExactTextTest, RunToTopJoinsExactAndAnsiTextsInUnicode) {
  CopyLater("caf\xE9");
  CopyUnicode("\xCE\xA3");  // Σ
  CopyLater("end");
  program->ToggleRunToTop();
  EXPECT_EQ(Paste(2), "caf\xC3\xA9\r\n\xCE\xA3\r\nend\r\n");
}

TEST_F(ExactTextTest, EveryPlaneSurvivesSaveRestartAndPaste) {
  std::string all;
  for (char32_t c = 0x20; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c < 0x80) {
      all += static_cast<char>(c);
    } else if (c < 0x800) {
      all += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      all += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      all += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
              static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    if (c % 0x10000 == 0xFFFF) all += "\r\n";  // a line per plane
  }
  ASSERT_TRUE(IsValidUtf8(all));
  CopyUnicode(all);
  Restart();
  EXPECT_TRUE(IsValidUtf8(ExactTitle(0)));
  EXPECT_EQ(Paste(0), all);
}

TEST_F(ExactTextTest, ClearScrubsTheExactFileAndCreatesNoneWhereNoneWas) {
  program->ClearClips();
  EXPECT_FALSE(desk.files.Exists(kExact));
  CopyUnicode("\xCE\xA3");
  program->history().SaveHistory();
  ASSERT_TRUE(desk.files.Exists(kExact));
  program->ClearClips();
  EXPECT_EQ(desk.files.files[kExact], "");
  EXPECT_EQ(program->exactTexts().Count(), 0);
}

TEST_F(ExactTextTest, CaseCommandsConvertOnlyAsciiLettersOfUnicodeText) {
  desk.clipboard.CopyUnicode(
      "ab \xC5\x82\xC3\xB3"
      "d\xC5\xBA");  // "ab łódź"
  program->UpperCaseClipboard();
  EXPECT_EQ(desk.clipboard.unicode(),
            "AB \xC5\x82\xC3\xB3"
            "D\xC5\xBA");
  program->LowerCaseClipboard();
  EXPECT_EQ(desk.clipboard.unicode(),
            "ab \xC5\x82\xC3\xB3"
            "d\xC5\xBA");
}

TEST_F(ExactTextTest, TextOverTheCapacityFailsAsTodayAndLeavesNothing) {
  program->store().set_capacity(8);
  program->HandleEvent([&] { CopyUnicode("\xCE\xA3 too long for the store"); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"RichEdit line insertion error"});
  EXPECT_EQ(desk.titles.Count(), 0);
  // A later capture gets a key of its own, never the failed one's.
  program->store().set_capacity(ClipTextStore::kCapacity);
  CopyUnicode("\xCE\xA3");
  EXPECT_EQ(Paste(0), "\xCE\xA3");
}

// A damaged exact file: the other clips load, the user is told once, and
// the file is kept as it was before anything is saved over it.
class DamagedExactFileTest : public ExactTextTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(DamagedExactFileTest, IsReportedAndKeptAsideWhileTheClipsLoad) {
  File("Lb1.qlx") = "stored" + kTitlePadding + "1111111111111\r\n";
  File("Cb1.qlx") = "/:hdr:\\1111111111111\r\nstored\r\n/:tlr:\\1111111111111\r\n";
  File("Cb1.utf8.qlx") = GetParam();
  desk.dialogs.errors.clear();
  StartOver();
  EXPECT_EQ(
      desk.dialogs.errors,
      std::vector<std::string>{"The file " + kExact + " is damaged: the exact texts it holds could not be loaded."});
  EXPECT_EQ(TextOf(0), "stored");
  program->history().SaveHistory();
  EXPECT_EQ(File("Cb1.utf8 (not loaded).qlx"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedExactFileTest,
                         ::testing::Values("/:hdr:\\1111111111111\r\n\xC5\r\n/:tlr:\\1111111111111\r\n",  // not UTF-8
                                           "/:hdr:\\1111111111111\r\n\xCE\xA3\r\n",                       // no trailer
                                           "stray\r\n/:hdr:\\1111111111111\r\nx\r\n/:tlr:\\1111111111111\r\n",
                                           "/:hdr:\\1111111111111\r\nx\r\n/:tlr:\\1111111111111"));  // no last CR LF

TEST_F(ExactTextTest, ExactTextWithoutARecordIsIgnored) {
  File("Lb1.qlx") = "?" + kTitlePadding + "2222222222222\r\n";
  File("Cb1.qlx") = "";
  File("Cb1.utf8.qlx") = "/:hdr:\\2222222222222\r\n\xCE\xA3\r\n/:tlr:\\2222222222222\r\n";
  StartOver();
  EXPECT_EQ(ExactTitle(0), "");
  EXPECT_EQ(Paste(0), std::nullopt);  // nothing pasted: the clip has no text
}

}  // namespace
}  // namespace solvane
