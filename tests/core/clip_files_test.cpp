#include "core/clip_files.h"

#include <gtest/gtest.h>

#include "base/app_error.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_text_metrics.h"
#include "platform/fake/fake_title_list.h"

namespace solvane {
namespace {

using Step = fake::FakeFileSystem::Step;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const AppError& error) {
    return error.what();
  }
  return "no error";
}

class ClipFilesTest : public ::testing::Test {
 protected:
  fake::FakeFileSystem fs;
  fake::FakeTextMetrics font;
  fake::FakeTitleList list{font};
};

TEST_F(ClipFilesTest, TitleFileRoundTripsByteForByte) {
  const std::string bytes = "first" + kTitlePadding + "1111111111111\r\n\xe9t\xe9..." + kTitlePadding +
                            "2222222222222\r\n" + kTitlePadding + "3333333333333\r\n";
  fs.files["Lb1.qlx"] = bytes;
  list.Add("stale line");
  LoadTitleList(list, fs, "Lb1.qlx");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Get(1), "\xe9t\xe9..." + kTitlePadding + "2222222222222");
  SaveTitleList(list, fs, "copy.qlx");
  EXPECT_EQ(fs.files["copy.qlx"], bytes);
}

TEST_F(ClipFilesTest, LoadedTitlesComeBackUnchecked) {
  list.Add("a");
  list.SetChecked(0, true);
  SaveTitleList(list, fs, "Lb1.qlx");
  LoadTitleList(list, fs, "Lb1.qlx");
  EXPECT_FALSE(list.Checked(0));
}

TEST_F(ClipFilesTest, StoreFileRoundTripsByteForByte) {
  const std::string bytes =
      "/:hdr:\\1111111111111\r\nline\twith tab\r\n\r\n/:tlr:\\1111111111111\r\n"
      "/:hdr:\\2222222222222\r\nlone\rcr and lone\nlf\r\n/:tlr:\\2222222222222\r\n";
  fs.files["Cb1.qlx"] = bytes;
  ClipTextStore store;
  LoadTextStore(store, fs, "Cb1.qlx");
  EXPECT_EQ(store.Count(), 7);
  EXPECT_EQ(store.Lookup("t" + kTitlePadding + "1111111111111"), "line\twith tab\r\n");
  EXPECT_EQ(store.Lookup("t" + kTitlePadding + "2222222222222"), "lone\rcr and lone\nlf");
  SaveTextStore(store, fs, "again.qlx");
  EXPECT_EQ(fs.files["again.qlx"], bytes);
}

TEST_F(ClipFilesTest, LastLineWithoutBreakAndEmptyFilesLoad) {
  fs.files["Cb1.qlx"] = "/:hdr:\\1111111111111\r\nx\r\n/:tlr:\\1111111111111";
  ClipTextStore store;
  LoadTextStore(store, fs, "Cb1.qlx");
  EXPECT_EQ(store.Lookup("/:hdr:\\1111111111111"), "x");
  fs.files["Cb1.qlx"] = "";
  LoadTextStore(store, fs, "Cb1.qlx");
  EXPECT_EQ(store.Count(), 0);
  SaveTextStore(store, fs, "Cb1.qlx");
  EXPECT_EQ(fs.files["Cb1.qlx"], "");
}

TEST_F(ClipFilesTest, MissingOrUnreadableFileCannotBeOpened) {
  ClipTextStore store;
  store.InsertAtTop({"/:hdr:\\1111111111111", "old", "/:tlr:\\1111111111111"});
  EXPECT_EQ(ErrorOf([&] { LoadTextStore(store, fs, "C:\\x\\Cb1.qlx"); }), "Cannot open file C:\\x\\Cb1.qlx");
  EXPECT_EQ(store.Count(), 0);  // emptied before reading, never half replaced
  fs.files["Lb1.qlx"] = "a\r\n";
  fs.unreadable.insert("Lb1.qlx");
  list.Add("kept");
  EXPECT_EQ(ErrorOf([&] { LoadTitleList(list, fs, "Lb1.qlx"); }), "Cannot open file Lb1.qlx");
  EXPECT_EQ(list.Count(), 1);
}

TEST_F(ClipFilesTest, FailedSaveAtAnyStepLeavesTheOldFileWhole) {
  for (const Step step : {Step::Create, Step::Write, Step::Flush, Step::Close, Step::Replace}) {
    SCOPED_TRACE(static_cast<int>(step));
    fs.files = {{"C:\\f\\Cb1.qlx", "old history\r\n"}};
    fs.FailAt(step);
    EXPECT_EQ(ErrorOf([&] { SaveReplacing(fs, "C:\\f\\Cb1.qlx", "new\r\n"); }), "Cannot create file C:\\f\\Cb1.qlx");
    EXPECT_EQ(fs.files["C:\\f\\Cb1.qlx"], "old history\r\n");
    EXPECT_EQ(fs.files.count("C:\\f\\Cb1.qlx.saving"), 0u) << "temporary file left behind";
  }
  fs.FailAt(Step::None);
  SaveReplacing(fs, "C:\\f\\Cb1.qlx", "new\r\n");
  EXPECT_EQ(fs.files["C:\\f\\Cb1.qlx"], "new\r\n");
  EXPECT_EQ(fs.files.size(), 1u);
}

TEST_F(ClipFilesTest, SaveIsFlushedBeforeItReplaces) {
  SaveReplacing(fs, "a.qlx", "x");
  EXPECT_EQ(fs.flushes, 1);
}

TEST_F(ClipFilesTest, ScrubOverwritesSeventyTimesInPlaceAndLeavesTheFileEmpty) {
  const std::string original(100000, 'k');
  fs.files["Cb1.qlx"] = original;
  ScrubFile(fs, "Cb1.qlx");
  EXPECT_EQ(fs.files["Cb1.qlx"], "");
  EXPECT_EQ(fs.inPlaceOpens, 1);  // every pass over the same place
  EXPECT_EQ(fs.creates, 1);       // only the final emptying truncates
  EXPECT_EQ(fs.bytesWritten, 70u * 3u * original.size());
  EXPECT_EQ(fs.flushes, 70);
}

TEST_F(ClipFilesTest, ScrubPassHoldsFFCrLfForEveryOriginalByte) {
  fs.files["Lb1.qlx"] = "abcd";
  fs.FailAt(Step::Create, 2);  // keep what the passes left
  EXPECT_EQ(ErrorOf([&] { ScrubFile(fs, "Lb1.qlx"); }), "Cannot create file Lb1.qlx");
  EXPECT_EQ(fs.files["Lb1.qlx"], "\xFF\r\n\xFF\r\n\xFF\r\n\xFF\r\n");
}

TEST_F(ClipFilesTest, ScrubOfAMissingFileCreatesItEmpty) {
  ScrubFile(fs, "Lb1.qlx");
  ASSERT_EQ(fs.files.count("Lb1.qlx"), 1u);
  EXPECT_EQ(fs.files["Lb1.qlx"], "");
  EXPECT_EQ(fs.bytesWritten, 0u);
}

TEST_F(ClipFilesTest, ScrubStopsAtAFailedWrite) {
  fs.files["Lb1.qlx"] = "abc";
  fs.FailAt(Step::Write, 3);
  EXPECT_EQ(ErrorOf([&] { ScrubFile(fs, "Lb1.qlx"); }), "Cannot create file Lb1.qlx");
  EXPECT_EQ(fs.flushes, 2);
  EXPECT_EQ(fs.creates, 0);  // stopped before the emptying
}

TEST_F(ClipFilesTest, VeryLongLinesLoad) {
  const std::string longLine(100000, 'y');
  fs.files["Lb1.qlx"] = longLine + kTitlePadding + "1234567890123\r\nshort";
  LoadTitleList(list, fs, "Lb1.qlx");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(0).size(), 100090u);
  EXPECT_EQ(list.Get(1), "short");
}

}  // namespace
}  // namespace solvane
