#include "core/clip_text_store.h"

#include <gtest/gtest.h>

#include "base/app_error.h"
#include "base/text_buffer.h"

namespace solvane {
namespace {

using Lines = std::vector<std::string>;

std::string Item(const std::string& title, const std::string& key) { return title + kTitlePadding + key; }

Lines Record(const std::string& key, const Lines& text) {
  Lines lines{"/:hdr:\\" + key};
  lines.insert(lines.end(), text.begin(), text.end());
  lines.push_back("/:tlr:\\" + key);
  return lines;
}

TEST(ClipTextStore, RecordsGoToTheTopAndLookUpByKey) {
  ClipTextStore store;
  store.InsertAtTop(Record("1111111111111", {"first"}));
  store.InsertAtTop(Record("2222222222222", {"second", "line two"}));
  EXPECT_EQ(store.Count(), 7);
  EXPECT_EQ(store.Line(0), "/:hdr:\\2222222222222");
  EXPECT_EQ(store.Lookup(Item("first", "1111111111111")), "first");
  EXPECT_EQ(store.Lookup(Item("second...", "2222222222222")), "second\r\nline two");
  EXPECT_EQ(store.Text(),
            "/:hdr:\\2222222222222\r\nsecond\r\nline two\r\n/:tlr:\\2222222222222\r\n"
            "/:hdr:\\1111111111111\r\nfirst\r\n/:tlr:\\1111111111111");
  EXPECT_EQ(store.CharCount(), store.Text().size());
  EXPECT_EQ(store.FileBytes(), store.Text() + "\r\n");
}

TEST(ClipTextStore, EmptyTextAndTextEndingInABreakReadBack) {
  ClipTextStore store;
  store.InsertAtTop(Record("0000000000001", {""}));
  store.InsertAtTop(Record("0000000000002", {"abc", ""}));
  EXPECT_EQ(store.Lookup(Item("", "0000000000001")), "");
  EXPECT_EQ(store.Lookup(Item("abc", "0000000000002")), "abc\r\n");
}

TEST(ClipTextStore, SameKeyTwiceGivesTheNewerRecord) {
  ClipTextStore store;
  store.InsertAtTop(Record("5555555555555", {"older"}));
  store.InsertAtTop(Record("5555555555555", {"newer"}));
  EXPECT_EQ(store.Lookup(Item("older", "5555555555555")), "newer");
}

TEST(ClipTextStore, KeysCompareWithoutLetterCase) {
  ClipTextStore store;
  store.Assign({"/:HDR:\\abcdefghijklm", "text", "/:TLR:\\ABCDEFGHIJKLM"});
  EXPECT_EQ(store.Lookup(Item("t", "ABCDEFGHIJKLM")), "text");
  EXPECT_TRUE(store.ContainsKey("AbCdEfGhIjKlM"));
  EXPECT_FALSE(store.ContainsKey("1234567890123"));
}

TEST(ClipTextStore, TrailerIsSearchedBelowItsOwnHeader) {
  // A newer clip whose text quotes the older clip's trailer line.
  ClipTextStore store;
  store.InsertAtTop(Record("1111111111111", {"the real text"}));
  store.InsertAtTop(Record("2222222222222", {"/:tlr:\\1111111111111", "quoted"}));
  EXPECT_EQ(store.Lookup(Item("x", "1111111111111")), "the real text");
  EXPECT_EQ(store.Lookup(Item("y", "2222222222222")), "/:tlr:\\1111111111111\r\nquoted");
}

TEST(ClipTextStore, HeaderLineQuotedInANewerClipIsThatClipsText) {
  // A passage of a clip file copied as text quotes the older clip's header
  // on a line of its own; the older clip still reads its own record, before
  // and after a reload.
  ClipTextStore store;
  store.InsertAtTop(Record("1111111111111", {"the real text"}));
  store.InsertAtTop(Record("2222222222222", {"x", "/:hdr:\\1111111111111", "y"}));
  ClipTextStore reloaded;
  reloaded.AssignFileBytes(store.FileBytes());
  for (const ClipTextStore* s : {&store, &reloaded}) {
    EXPECT_EQ(s->Lookup(Item("", "1111111111111")), "the real text");
    EXPECT_EQ(s->Lookup(Item("", "2222222222222")), "x\r\n/:hdr:\\1111111111111\r\ny");
  }
}

TEST(ClipTextStore, HeaderThatNothingClosesHidesNoRecordBelowIt) {
  ClipTextStore store;
  store.Assign({"/:hdr:\\7777777777777", "damaged", "/:hdr:\\1000000000001", "below", "/:tlr:\\1000000000001",
                "/:hdr:\\1000000000002", "/:hdr:\\7777777777777", "/:tlr:\\1000000000002"});
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "below");
  EXPECT_EQ(store.Lookup(Item("", "1000000000002")), "/:hdr:\\7777777777777");
  EXPECT_EQ(store.Lookup(Item("", "7777777777777")), std::nullopt);
  EXPECT_TRUE(store.ContainsKey("7777777777777"));
}

TEST(ClipTextStore, KeyQuotedInsideALineIsNotARecordBoundary) {
  ClipTextStore store;
  store.InsertAtTop(Record("1111111111111", {"real"}));
  store.InsertAtTop(Record("3333333333333", {"see /:hdr:\\1111111111111 here"}));
  EXPECT_EQ(store.Lookup(Item("x", "1111111111111")), "real");
}

TEST(ClipTextStore, TitleThatContainsTheMarkerStillFindsItsKey) {
  ClipTextStore store;
  store.InsertAtTop(Record("4444444444444", {"/:hdr:\\9999999999999"}));
  const std::string item = Item("/:hdr:\\9999999999999", "4444444444444");
  EXPECT_EQ(ClipTextStore::KeyOfTitle(item), "4444444444444");
  EXPECT_EQ(store.Lookup(item), "/:hdr:\\9999999999999");
}

TEST(ClipTextStore, MissingPiecesGiveNoText) {
  ClipTextStore store;
  store.Assign({"/:hdr:\\7777777777777", "no trailer", "/:tlr:\\8888888888888", "orphan"});
  EXPECT_EQ(store.Lookup(Item("a", "7777777777777")), std::nullopt);  // trailer missing
  EXPECT_EQ(store.Lookup(Item("b", "8888888888888")), std::nullopt);  // header missing
  EXPECT_EQ(store.Lookup("a title without a key"), std::nullopt);
  EXPECT_EQ(store.Lookup("short /:hdr:\\123"), std::nullopt);
}

// A loaded clip's text is the bytes between its marker lines; a record that
// opens among captured lines and closes in the loaded file takes lines of
// both, and the boundary lines are neither lost nor doubled.
TEST(ClipTextStore, RecordsLookUpAcrossTheLoadedFilesEdges) {
  const std::string file =
      "/:tlr:\\1000000000001\r\n\r\n/:hdr:\\1000000000003\r\n/:tlr:\\1000000000003\r\n"
      "/:hdr:\\1000000000004\r\n\r\n/:tlr:\\1000000000004\r\nx\r\n/:tlr:\\1000000000002";
  ClipTextStore store;
  store.AssignFileBytes(file);
  EXPECT_EQ(store.Lookup(Item("", "1000000000003")), "");  // nothing in between
  EXPECT_EQ(store.Lookup(Item("", "1000000000004")), "");  // one empty line
  store.InsertAtTop({"/:hdr:\\1000000000002", "top"});
  EXPECT_EQ(store.Lookup(Item("", "1000000000002")),
            "top\r\n/:tlr:\\1000000000001\r\n\r\n/:hdr:\\1000000000003\r\n/:tlr:\\1000000000003\r\n"
            "/:hdr:\\1000000000004\r\n\r\n/:tlr:\\1000000000004\r\nx");
  EXPECT_EQ(store.Count(), 11);
  EXPECT_EQ(store.Line(2), "/:tlr:\\1000000000001");
  EXPECT_EQ(store.Line(10), "/:tlr:\\1000000000002");

  ClipTextStore closedAtOnce;
  closedAtOnce.AssignFileBytes(file);
  closedAtOnce.InsertAtTop({"/:hdr:\\1000000000001"});
  EXPECT_EQ(closedAtOnce.Lookup(Item("", "1000000000001")), "");  // by the file's first line
}

// Only a whole line can be a marker: one run on from the line above, cut
// short by a break inside it, or at the file's very start all count right.
TEST(ClipTextStore, LoadedMarkerLinesAreWholeLines) {
  ClipTextStore store;
  store.AssignFileBytes(
      "/:hdr:\\1000000000001\r\na\r\nx/:tlr:\\1000000000001\r\n"
      "/:tlr:\\1000\r\n0000001\r\n\n/:tlr:\\1000000000001\r\n\r/:tlr:\\1000000000001\r\n"
      "/:tlr:\\1000000000001\r\n");
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")),
            "a\r\nx/:tlr:\\1000000000001\r\n/:tlr:\\1000\r\n0000001\r\n\n/:tlr:\\1000000000001\r\n"
            "\r/:tlr:\\1000000000001");
  EXPECT_FALSE(store.ContainsKey("1000\r\n0000001"));  // 20 bytes to a CR LF, but two lines
}

TEST(ClipTextStore, LoadedLinesAndLaterInsertsLookUpTogether) {
  ClipTextStore store;
  Lines file = Record("1000000000001", {"loaded one"});
  const Lines second = Record("1000000000002", {"loaded", "two"});
  file.insert(file.end(), second.begin(), second.end());
  store.Assign(file);
  store.InsertAtTop(Record("1000000000003", {"captured"}));
  store.InsertAtTop(Record("1000000000004", {"captured", "", "three lines"}));
  store.InsertAtTop(Record("1000000000005", {}));
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "loaded one");
  EXPECT_EQ(store.Lookup(Item("", "1000000000002")), "loaded\r\ntwo");
  EXPECT_EQ(store.Lookup(Item("", "1000000000003")), "captured");
  EXPECT_EQ(SplitStoreFile(store.FileBytes()).size(), 17u);
  // The search reads the same texts in place.
  for (const char* key : {"1000000000001", "1000000000002", "1000000000003", "1000000000004", "1000000000005"}) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(store.TextView(key));
    EXPECT_EQ(std::string(*store.TextView(key)), store.Lookup(Item("", key)).value_or("none"));
  }
  EXPECT_EQ(store.TextView("1000000000009"), std::nullopt);

  store.Clear();
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(store.CharCount(), 0u);
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), std::nullopt);
  EXPECT_FALSE(store.ContainsKey("1000000000001"));
}

TEST(ClipTextStore, RecordThatDoesNotFitIsRejectedWhole) {
  ClipTextStore store;
  store.set_capacity(60);
  const Lines record = Record("1111111111111", {"12345"});  // 20+2+5+2+20 = 49
  store.InsertAtTop(record);
  EXPECT_EQ(store.CharCount(), 49u);
  // Another record needs 49 + 2 for the break between the two.
  try {
    store.InsertAtTop(Record("2222222222222", {"x"}));
    FAIL() << "expected the insertion to fail";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "RichEdit line insertion error");
  }
  EXPECT_EQ(store.Count(), 3);
  EXPECT_EQ(store.CharCount(), 49u);
  EXPECT_FALSE(store.ContainsKey("2222222222222"));
}

TEST(ClipTextStore, FullCapacityIsUsable) {
  ClipTextStore store;
  const std::size_t textSize = ClipTextStore::kCapacity - 44;  // header, trailer, two breaks
  store.InsertAtTop(Record("1212121212121", {std::string(textSize, 'z')}));
  EXPECT_EQ(store.CharCount(), ClipTextStore::kCapacity);
  EXPECT_THROW(store.InsertAtTop({""}), AppError);
  EXPECT_EQ(store.Lookup(Item("", "1212121212121"))->size(), textSize);
}

TEST(ClipTextStore, FileBytesLoadAsLinesAndSaveBackExactly) {
  ClipTextStore store;
  store.AssignFileBytes("/:hdr:\\1000000000001\r\nsplit\rhere\n\r\n/:tlr:\\1000000000001\r\n\r\n");
  EXPECT_EQ(store.Count(), 4);
  EXPECT_EQ(store.Line(1), "split\rhere\n");  // only CR LF ends a line of this file
  EXPECT_EQ(store.Line(3), "");
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "split\rhere\n");
  EXPECT_EQ(store.FileBytes(), "/:hdr:\\1000000000001\r\nsplit\rhere\n\r\n/:tlr:\\1000000000001\r\n\r\n");
  EXPECT_EQ(store.CharCount(), store.Text().size());

  // A last line without its break still counts, and is saved with one.
  store.AssignFileBytes("one\r\ntwo");
  EXPECT_EQ(store.Count(), 2);
  EXPECT_EQ(store.Line(1), "two");
  EXPECT_EQ(store.FileBytes(), "one\r\ntwo\r\n");
  store.AssignFileBytes("");
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(store.FileBytes(), "");
}

TEST(ClipTextStore, CapturesAboveALoadedFileSaveNewestFirstAndWinOnASharedKey) {
  ClipTextStore store;
  store.AssignFileBytes("/:hdr:\\1000000000001\r\nloaded\r\n/:tlr:\\1000000000001\r\n");
  store.InsertAtTop(Record("1000000000002", {"second"}));
  // A record under a key the file already has: the newer one is found.
  store.InsertAtTop(Record("1000000000001", {"newer", "text"}));
  EXPECT_EQ(store.Count(), 10);
  EXPECT_EQ(store.Line(0), "/:hdr:\\1000000000001");
  EXPECT_EQ(store.Line(4), "/:hdr:\\1000000000002");
  EXPECT_EQ(store.Line(9), "/:tlr:\\1000000000001");
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "newer\r\ntext");
  EXPECT_EQ(store.Lookup(Item("", "1000000000002")), "second");
  const std::string bytes =
      "/:hdr:\\1000000000001\r\nnewer\r\ntext\r\n/:tlr:\\1000000000001\r\n"
      "/:hdr:\\1000000000002\r\nsecond\r\n/:tlr:\\1000000000002\r\n"
      "/:hdr:\\1000000000001\r\nloaded\r\n/:tlr:\\1000000000001\r\n";
  EXPECT_EQ(store.FileBytes(), bytes);
  std::string pieces;
  for (const std::string_view piece : store.FilePieces()) pieces += piece;
  EXPECT_EQ(pieces, bytes);

  ClipTextStore reloaded;
  reloaded.AssignFileBytes(bytes);
  EXPECT_EQ(reloaded.Lookup(Item("", "1000000000001")), "newer\r\ntext");
  EXPECT_EQ(reloaded.FileBytes(), bytes);
}

// A block of records goes in whole or as far as it fits, on top of what
// the store holds, whether it is put in line by line (small beside the
// store) or indexed with the store as one file (large); a text quoting a
// header line stays that text's.
TEST(ClipTextStore, ARecordBlockGoesOnTopAsFarAsItFits) {
  for (const std::string& second : {std::string("second"), std::string(1000, 's')}) {
    ClipTextStore store;
    store.AssignFileBytes("/:hdr:\\1000000000001\r\nloaded\r\n/:tlr:\\1000000000001\r\n");
    store.InsertRecordAtTop("1000000000002", second);
    const std::string below = store.FileBytes();
    ClipTextStore::RecordBlock block(3, 0);
    block.Add("1000000000003", "first");
    block.Add("1000000000004", "two\nlines /:hdr:\\1000000000002\r\n/:hdr:\\1000000000002");
    block.Add("1000000000005", "last");
    // Room for the first two records only: each is 46 characters more than
    // its text, a lone LF becomes CR LF.
    const std::size_t room = store.CharCount() + (46 + 5) + (46 + 53);
    store.set_capacity(room - 1);
    EXPECT_EQ(store.FittingRecords(block), 1u);
    store.set_capacity(room);
    EXPECT_EQ(store.FittingRecords(block), 2u);
    EXPECT_THROW(store.InsertRecordsAtTop(block, 3), AppError);
    EXPECT_FALSE(store.ContainsKey("1000000000003"));
    store.InsertRecordsAtTop(std::move(block), 2);
    EXPECT_EQ(store.FileBytes(),
              "/:hdr:\\1000000000003\r\nfirst\r\n/:tlr:\\1000000000003\r\n"
              "/:hdr:\\1000000000004\r\ntwo\r\nlines /:hdr:\\1000000000002\r\n/:hdr:\\1000000000002\r\n"
              "/:tlr:\\1000000000004\r\n" +
                  below);
    EXPECT_EQ(store.CharCount(), store.Text().size());
    EXPECT_EQ(store.TextView("1000000000003"), "first");
    EXPECT_EQ(store.Lookup(Item("", "1000000000004")), "two\r\nlines /:hdr:\\1000000000002\r\n/:hdr:\\1000000000002");
    EXPECT_EQ(store.Lookup(Item("", "1000000000002")), second);
    EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "loaded");
    EXPECT_FALSE(store.ContainsKey("1000000000005"));
  }
}

// Removing a key: every record of it goes (loaded and captured, in any
// letter case), the rest stays in order, and the lines taken put it back.
TEST(ClipTextStore, RemoveKeyTakesEveryRecordOfTheKeyAndItsLinesPutItBack) {
  ClipTextStore store;
  store.AssignFileBytes(
      "/:hdr:\\1000000000001\r\nold text\r\n/:TLR:\\1000000000001\r\n"
      "/:hdr:\\1000000000002\r\nkept\r\n/:tlr:\\1000000000002\r\n"
      "/:hdr:\\1000000000001\r\nloose, no trailer\r\n");
  store.InsertAtTop(Record("1000000000001", {"newer", "see /:hdr:\\1000000000002 here"}));
  const Lines removed = store.RemoveKey("1000000000001");
  EXPECT_EQ(removed, (Lines{"/:hdr:\\1000000000001", "newer", "see /:hdr:\\1000000000002 here", "/:tlr:\\1000000000001",
                            "/:hdr:\\1000000000001", "old text", "/:TLR:\\1000000000001", "/:hdr:\\1000000000001"}));
  EXPECT_EQ(store.FileBytes(), "/:hdr:\\1000000000002\r\nkept\r\n/:tlr:\\1000000000002\r\nloose, no trailer\r\n");
  EXPECT_FALSE(store.ContainsKey("1000000000001"));
  EXPECT_EQ(store.Lookup(Item("", "1000000000002")), "kept");
  EXPECT_EQ(store.CharCount(), store.Text().size());
  EXPECT_TRUE(store.RemoveKey("1000000000001").empty());
  EXPECT_TRUE(store.RemoveKey("").empty());

  store.InsertAtTop(removed);
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "newer\r\nsee /:hdr:\\1000000000002 here");
  EXPECT_EQ(store.Lookup(Item("", "1000000000002")), "kept");
}

// A store loaded elsewhere becomes another one whole: its lines, its
// indexes (which now read the new owner's lines) and its captures.
TEST(ClipTextStore, StoreTakenFromAnotherWorksAsItDidThere) {
  ClipTextStore loaded;
  loaded.AssignFileBytes("/:hdr:\\1000000000001\r\nloaded\r\n/:tlr:\\1000000000001\r\n");
  loaded.InsertAtTop(Record("1000000000002", {"captured"}));
  const std::string bytes = loaded.FileBytes();
  ClipTextStore store;
  store.InsertAtTop(Record("1000000000009", {"replaced"}));
  store.TakeFrom(loaded);
  EXPECT_EQ(store.FileBytes(), bytes);
  EXPECT_FALSE(store.ContainsKey("1000000000009"));
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "loaded");
  EXPECT_EQ(store.Lookup(Item("", "1000000000002")), "captured");
  store.InsertAtTop(Record("1000000000001", {"newer"}));
  EXPECT_EQ(store.Lookup(Item("", "1000000000001")), "newer");
  // The one taken from is left empty, and works on its own.
  EXPECT_TRUE(loaded.Empty());
  EXPECT_FALSE(loaded.ContainsKey("1000000000001"));
  loaded.InsertAtTop(Record("1000000000003", {"again"}));
  EXPECT_EQ(loaded.Lookup(Item("", "1000000000003")), "again");
  EXPECT_FALSE(store.ContainsKey("1000000000003"));
}

}  // namespace
}  // namespace solvane
