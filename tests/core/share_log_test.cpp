// The shared folder's files: what a reader makes of files that a sync
// program cut short, damaged, duplicated or copied aside, and of entries
// that were tampered with or sealed under another key; and the merge,
// which must give every machine the same history whatever order the same
// events arrive in.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/share_ledger.h"
#include "core/share_log.h"
#include "platform/fake/fake_share_crypto.h"

namespace solvane {
namespace {

class ShareLogTest : public ::testing::Test {
 protected:
  std::string Event(ShareEventKind kind, std::int64_t time, const std::string& text, std::uint64_t position) {
    ShareEvent event;
    event.kind = kind;
    event.time = time;
    event.text = text;
    return SealShareEvent(crypto, key, machine, position, event).value();
  }
  // A file of `count` captures "text 0" .. at positions 0 ..
  std::string File(int count) {
    std::string file = ShareLogHeader(machine);
    for (int i = 0; i < count; ++i) file += Event(ShareEventKind::kCapture, 1000 + i, "text " + std::to_string(i), i);
    return file;
  }
  std::vector<std::string> Texts(const std::string& file, const std::string& withKey) {
    std::vector<std::string> texts;
    const ShareLogRead read = ReadShareLog(file);
    for (const SealedEntry& entry : read.entries) {
      if (auto event = OpenShareEntry(crypto, withKey, read.machine, entry)) texts.push_back(event->text);
    }
    return texts;
  }

  fake::FakeShareCrypto crypto;
  std::string key = std::string(kShareKeyBytes, 'k');
  std::string machine = "0123456789abcdef0123456789abcdef";
};

TEST_F(ShareLogTest, AWholeFileGivesEveryEventWithItsMachinePositionKindAndTime) {
  std::string file = File(2) + Event(ShareEventKind::kClear, 5000, "", 2);
  const ShareLogRead read = ReadShareLog(file);
  EXPECT_EQ(read.machine, machine);
  EXPECT_EQ(read.damaged, 0);
  EXPECT_EQ(read.wholeBytes, file.size());
  ASSERT_EQ(read.entries.size(), 3u);
  const auto clear = OpenShareEntry(crypto, key, machine, read.entries[2]).value();
  EXPECT_EQ(clear.kind, ShareEventKind::kClear);
  EXPECT_EQ(clear.time, 5000);
  EXPECT_EQ(clear.position, 2u);
  EXPECT_EQ(clear.machine, machine);
  EXPECT_EQ(Texts(file, key), (std::vector<std::string>{"text 0", "text 1", ""}));
}

// The standard CRC-32 (as zip has it), whatever the length's remainder of eight.
TEST(ShareLogChecksumTest, IsTheStandardCrc32) {
  EXPECT_EQ(Crc32(""), 0u);
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

TEST_F(ShareLogTest, AFileCutAnywhereGivesTheWholeEntriesBeforeTheCutAndNoDamage) {
  const std::string file = File(3);
  const std::size_t ends[] = {File(1).size(), File(2).size()};
  for (std::size_t cut = 0; cut < file.size(); ++cut) {
    const ShareLogRead read = ReadShareLog(std::string_view(file).substr(0, cut));
    EXPECT_EQ(read.damaged, 0) << cut;
    EXPECT_EQ(read.entries.size(),
              std::count_if(std::begin(ends), std::end(ends), [&](std::size_t end) { return end <= cut; }))
        << cut;
  }
}

TEST_F(ShareLogTest, DamageInTheMiddleIsSteppedOverAndCountedOnce) {
  std::string file = File(3);
  const std::size_t second = File(1).size();
  file[second + 20] ^= 0x01;  // inside the second entry: its checksum fails
  EXPECT_EQ(Texts(file, key), (std::vector<std::string>{"text 0", "text 2"}));
  EXPECT_EQ(ReadShareLog(file).damaged, 1);
  // Garbage between entries (a sync that wrote a block twice) is damage too.
  std::string spliced = File(1) + "\x01garbage SCF" + File(2).substr(File(1).size());
  EXPECT_EQ(Texts(spliced, key), (std::vector<std::string>{"text 0", "text 1"}));
  EXPECT_EQ(ReadShareLog(spliced).damaged, 1);
}

TEST_F(ShareLogTest, TamperedMovedOrForeignEntriesDoNotAuthenticate) {
  const std::string file = File(2);
  const ShareLogRead read = ReadShareLog(file);
  std::string flipped(read.entries[0].sealed);
  flipped[0] ^= 0x40;
  SealedEntry tampered = read.entries[0];
  tampered.sealed = flipped;
  EXPECT_FALSE(OpenShareEntry(crypto, key, machine, tampered));
  SealedEntry moved = read.entries[0];
  moved.position = 1;  // put in another place of the file
  EXPECT_FALSE(OpenShareEntry(crypto, key, machine, moved));
  EXPECT_FALSE(OpenShareEntry(crypto, key, "another machine", read.entries[0]));
  // A checksum made again after the change does not help: the tag holds.
  EXPECT_TRUE(Texts(File(2), std::string(kShareKeyBytes, 'x')).empty());
}

TEST_F(ShareLogTest, TheTextNeverAppearsInTheFileAndEachEntryHasItsOwnNonce) {
  const std::string file = ShareLogHeader(machine) + Event(ShareEventKind::kCapture, 1, "secret words", 0) +
                           Event(ShareEventKind::kCapture, 1, "secret words", 1);
  EXPECT_EQ(file.find("secret"), std::string::npos);
  const ShareLogRead read = ReadShareLog(file);
  EXPECT_NE(read.entries[0].nonce, read.entries[1].nonce);
  crypto.failRandom = true;
  EXPECT_FALSE(SealShareEvent(crypto, key, machine, 2, ShareEvent{}));
}

TEST_F(ShareLogTest, TheSaltFileRoundTripsAndItsCheckTellsAWrongKey) {
  const ShareSalt salt = SealSaltCheck(crypto, key, "0123456789abcdef").value();
  const auto parsed = ParseShareSalt(ShareSaltBytes(salt));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->salt, salt.salt);
  EXPECT_TRUE(KeyFitsSalt(crypto, key, *parsed));
  EXPECT_FALSE(KeyFitsSalt(crypto, std::string(kShareKeyBytes, 'x'), *parsed));
  EXPECT_FALSE(ParseShareSalt("Solvane Clips shared folder 1\r\nsalt zz\r\ncheck 00 00\r\n"));
  EXPECT_FALSE(ParseShareSalt(ShareSaltBytes(salt).substr(0, 40)));
}

// The merge.

ShareEvent Made(ShareEventKind kind, std::int64_t time, std::string text, std::string machine, std::uint64_t position) {
  ShareEvent event;
  event.kind = kind;
  event.time = time;
  event.text = std::move(text);
  event.machine = std::move(machine);
  event.position = position;
  return event;
}

std::vector<std::string> ShownTexts(const ShareLedger& ledger) {
  std::vector<std::string> texts;
  for (const auto& clip : ledger.Shown()) texts.push_back(std::string(clip.text) + (clip.kept ? " (kept)" : ""));
  return texts;
}

TEST(ShareLedgerTest, OneTextIsOneClipAtItsLatestUseAndRemovalsAndClearsHoldAgainstLateEvents) {
  ShareLedger ledger;
  ledger.Add(Made(ShareEventKind::kCapture, 10, "a", "A", 0));
  ledger.Add(Made(ShareEventKind::kCapture, 20, "b", "B", 0));
  ledger.Add(Made(ShareEventKind::kCapture, 30, "a", "B", 1));  // copied on both: one clip, at the top
  EXPECT_EQ(ShownTexts(ledger), (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(ledger.Add(Made(ShareEventKind::kCapture, 99, "dup", "B", 1)));  // a conflicted copy's entry
  ledger.Add(Made(ShareEventKind::kRemove, ledger.NextTime(25), "a", "A", 1));
  ledger.Add(Made(ShareEventKind::kCapture, 28, "a", "C", 0));  // an old copy arriving late
  EXPECT_EQ(ShownTexts(ledger), (std::vector<std::string>{"b"}));
  ledger.Add(Made(ShareEventKind::kKeep, 40, "b", "A", 2));
  ledger.Add(Made(ShareEventKind::kCapture, 45, "c", "A", 3));
  ledger.Add(Made(ShareEventKind::kClear, ledger.NextTime(50), "", "B", 2));
  ledger.Add(Made(ShareEventKind::kCapture, 48, "d", "C", 1));  // made before the clear, arrived after
  EXPECT_EQ(ShownTexts(ledger), (std::vector<std::string>{"b (kept)"}));
  // A machine whose clock is behind still puts a new copy after the clear.
  ledger.Add(Made(ShareEventKind::kCapture, ledger.NextTime(5), "c", "C", 2));
  EXPECT_EQ(ShownTexts(ledger), (std::vector<std::string>{"c", "b (kept)"}));
}

// Any interleaving of the machines' events, delivered in any order and
// some of them twice, gives the same history.
TEST(ShareLedgerTest, EveryDeliveryOrderOfTheSameEventsGivesTheSameHistory) {
  std::mt19937 random(20261209);
  const std::vector<std::string> texts = {"a", "b", "c", "d", "e"};
  for (int round = 0; round < 200; ++round) {
    std::vector<ShareEvent> events;
    ShareLedger writer;  // each machine stamps its events as the program does
    for (int i = 0; i < 40; ++i) {
      const std::string machine = std::string(1, static_cast<char>('A' + random() % 3));
      const auto kind = static_cast<ShareEventKind>(1 + random() % 6);
      const std::string text = kind == ShareEventKind::kClear ? "" : texts[random() % texts.size()];
      const std::int64_t now = static_cast<std::int64_t>(random() % 100);
      const std::int64_t time = writer.NextTime(now);
      events.push_back(Made(kind, time, text, machine, static_cast<std::uint64_t>(i)));
      if (random() % 2) writer.Add(events.back());  // seen by the next writer, or not yet
    }
    ShareLedger first;
    for (const ShareEvent& event : events) first.Add(event);
    for (int order = 0; order < 5; ++order) {
      std::vector<ShareEvent> delivered = events;
      delivered.insert(delivered.end(), events.begin(), events.begin() + random() % events.size());
      std::shuffle(delivered.begin(), delivered.end(), random);
      ShareLedger other;
      for (const ShareEvent& event : delivered) other.Add(event);
      ASSERT_EQ(ShownTexts(other), ShownTexts(first)) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace solvane
