// The shared history's cryptography and folder watch against the real API.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/win32/win32_folder_watch.h"
#include "platform/win32/win32_message_window.h"
#include "platform/win32/win32_share_crypto.h"
#include "platform/win32/win32_text.h"
#include "pump.h"

namespace solvane::win32 {
namespace {

std::string Bytes(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), 0, 16));
  return bytes;
}

std::string Flipped(std::string bytes, std::size_t at) {
  bytes[at] ^= 0x01;
  return bytes;
}

// The GCM paper's test case 16: AES-256, a 96-bit IV and associated data.
const std::string kKey = Bytes("feffe9928665731c6d6a8f9467308308feffe9928665731c6d6a8f9467308308");
const std::string kNonce = Bytes("cafebabefacedbaddecaf888");
const std::string kAssociated = Bytes("feedfacedeadbeeffeedfacedeadbeefabaddad2");
const std::string kPlain = Bytes(
    "d9313225f88406e5a55909c5aff5269a86a7a9531534f7da2e4c303d8a318a72"
    "1c3c0c95956809532fcf0e2449a6b525b16aedf5aa0de657ba637b39");
const std::string kSealed = Bytes(
    "522dc1f099567d07f47f37a32a84427d643a8cdcbfe5c0c97598a2bd2555d1aa"
    "8cb08e48590dbb3da7b08b1056828838c5f61e6393ba7a0abcc9f662"
    "76fc6ece0f4e1768cddf8853bb2d551b");  // the ciphertext, then the tag

class ShareCryptoTest : public ::testing::Test {
 protected:
  Win32ShareCrypto crypto;
};

TEST_F(ShareCryptoTest, OpensTheKnownAnswerOnlyWhole) {
  EXPECT_EQ(crypto.Seal(kKey, kNonce, kAssociated, kPlain), kSealed);
  EXPECT_EQ(crypto.Open(kKey, kNonce, kAssociated, kSealed), kPlain);
  const std::string inputs[] = {kKey, kNonce, kAssociated, kSealed};
  for (int part = 0; part < 4; ++part) {
    for (std::size_t i = 0; i < inputs[part].size(); ++i) {
      std::string in[] = {kKey, kNonce, kAssociated, kSealed};
      in[part] = Flipped(in[part], i);
      EXPECT_EQ(crypto.Open(in[0], in[1], in[2], in[3]), std::nullopt) << "input " << part << ", byte " << i;
    }
  }
  EXPECT_EQ(crypto.Open(kKey, kNonce, kAssociated, kSealed.substr(0, kShareTagBytes - 1)), std::nullopt);
  EXPECT_EQ(crypto.Open(kKey.substr(0, 16), kNonce, kAssociated, kSealed), std::nullopt);  // not AES-128
  EXPECT_EQ(crypto.Seal(kKey, kNonce + '\0', kAssociated, kPlain), std::nullopt);
}

// An empty text still gets a tag, and it is checked: the GCM paper's test
// case 13 (all-zero key and IV, nothing else).
TEST_F(ShareCryptoTest, EmptyTextIsSealedAndChecked) {
  const std::string key(32, '\0'), nonce(12, '\0'), tag = Bytes("530f8afbc74536b9a963b4f1c4cb738b");
  EXPECT_EQ(crypto.Seal(key, nonce, "", ""), tag);
  EXPECT_EQ(crypto.Open(key, nonce, "", tag), "");
  EXPECT_EQ(crypto.Open(key, nonce, "", Flipped(tag, 15)), std::nullopt);
  EXPECT_EQ(crypto.Open(key, nonce, "x", tag), std::nullopt);
  EXPECT_EQ(crypto.Open(kKey, kNonce, kAssociated, crypto.Seal(kKey, kNonce, kAssociated, "").value_or("")), "");
}

TEST_F(ShareCryptoTest, DerivesPbkdf2Sha256Keys) {
  // RFC 7914, section 11: the first 32 of its 64 bytes.
  EXPECT_EQ(crypto.DeriveKey("passwd", "salt", 1),
            Bytes("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"));
  // The program's own count; the answer from Python's hashlib.pbkdf2_hmac.
  EXPECT_EQ(crypto.DeriveKey("correct horse", "solvane salt", kShareKeyIterations),
            Bytes("3feac3bd661bd88c873884d4aa1f8c4c3f94f1f19220b056b66cceb39a458c6d"));
}

TEST_F(ShareCryptoTest, RandomBytesDifferAndProtectedSecretsComeBackOnlyWhole) {
  const auto first = crypto.Random(32), second = crypto.Random(32);
  EXPECT_EQ(first.value_or("").size(), 32u);
  EXPECT_NE(first, second);
  const std::string secret("share key \0\xff", 12);
  const std::string blob = crypto.Protect(secret).value_or("");
  ASSERT_FALSE(blob.empty());
  EXPECT_EQ(blob.find(secret), std::string::npos);
  EXPECT_EQ(crypto.Unprotect(blob), secret);
  EXPECT_EQ(crypto.Unprotect(Flipped(blob, blob.size() - 1)), std::nullopt);
  EXPECT_EQ(crypto.Unprotect(blob.substr(0, blob.size() / 2)), std::nullopt);
}

constexpr UINT kChanged = WM_APP + 7;

// Two fresh folders with a name beyond ANSI, and a window that counts the
// watch's messages.
class FolderWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const char* name : {"a", "b"}) {
      folders.push_back(Utf8Of(temp) + "solvane_\xc3\xa9_" + std::to_string(GetCurrentProcessId()) + name);
      CreateDirectoryW(Widen(folders.back()).c_str(), nullptr);
    }
    window = windows.Create("SolvaneWatchTest", 0, [this](HWND w, UINT m, WPARAM wp, LPARAM lp) {
      if (m == kChanged) return LRESULT{++changes};
      return DefWindowProcW(w, m, wp, lp);
    });
  }
  void TearDown() override {
    for (const std::string& file : written) DeleteFileW(Widen(file).c_str());
    for (const std::string& folder : folders) RemoveDirectoryW(Widen(folder).c_str());
  }
  // Makes a file in folder `at`, then counts the messages: those within
  // 300 ms, or (`wait`) until the first, for up to 5 s.
  int Write(int at, bool wait = false) {
    Pump(300);  // what came before
    changes = 0;
    written.push_back(folders[at] + "\\" + std::to_string(written.size()) + ".log");
    HANDLE file = CreateFileW(Widen(written.back()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(file, "event", 5, &done, nullptr));
    CloseHandle(file);
    for (int i = 0; i < (wait ? 100 : 6) && changes == 0; ++i) Pump(50);
    return changes;
  }

  MessageWindows windows{GetModuleHandleW(nullptr)};
  HWND window = nullptr;
  int changes = 0;
  std::vector<std::string> folders, written;
};

TEST_F(FolderWatchTest, ReportsFilesMadeInTheFolderWatchedLast) {
  Win32FolderWatch watch(window, kChanged);
  ASSERT_TRUE(watch.Watch(folders[0]));
  EXPECT_GT(Write(0, true), 0);
  ASSERT_TRUE(watch.Watch(folders[1]));
  EXPECT_EQ(Write(0), 0);
  EXPECT_GT(Write(1, true), 0);
  EXPECT_FALSE(watch.Watch(folders[0] + "\\missing"));
  EXPECT_EQ(Write(1), 0);  // the failed Watch ended the one before
  ASSERT_TRUE(watch.Watch(folders[1]));
  ASSERT_TRUE(watch.Watch(""));
  EXPECT_EQ(Write(1), 0);
}

}  // namespace
}  // namespace solvane::win32
