#include "base/shortcut.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_key_names.h"

namespace solvane {
namespace {

class ShortCutTest : public ::testing::Test {
 protected:
  ShortCut Value(std::string_view text) { return TextToShortCut(text, names); }
  std::string Text(ShortCut value) { return ShortCutToText(value, names); }
  fake::FakeKeyNames names;
};

TEST_F(ShortCutTest, TheOfferedHotkeyTextsHaveTheirValues) {
  EXPECT_EQ(Value("Ctrl+Alt+Down"), 49192);
  EXPECT_EQ(Value("Ctrl+Shift+Down"), 0x6028);
  EXPECT_EQ(Value("Ctrl+Shift+Up"), 0x6026);
  EXPECT_EQ(Value("Ctrl+Shift+Left"), 0x6025);
  EXPECT_EQ(Value("Ctrl+Shift+Right"), 0x6027);
  for (unsigned f = 2; f <= 12; ++f) EXPECT_EQ(Value("F" + std::to_string(f)), 0x70 + f - 1);
  EXPECT_EQ(Value("F5"), 116);
}

TEST_F(ShortCutTest, CaseAndModifierOrderDoNotMatter) {
  EXPECT_EQ(Value("ctrl+alt+down"), 49192);
  EXPECT_EQ(Value("ALT+CTRL+DOWN"), 49192);
  EXPECT_EQ(Value("ctrl+shift+f5"), 0x6074);
  EXPECT_EQ(Value("^Down"), 0x4028);
  EXPECT_EQ(Value("Shift+Shift+A"), 0x2041);
}

TEST_F(ShortCutTest, TextsThatNameNoKeyGiveZero) {
  EXPECT_EQ(Value(""), 0);
  EXPECT_EQ(Value("Shift+"), 0);
  EXPECT_EQ(Value("Ctrl+Alt+"), 0);
  EXPECT_EQ(Value("Ctrl+Nothing"), 0);
  EXPECT_EQ(Value("Down+Ctrl"), 0);
  EXPECT_EQ(Value("F25"), 0);
}

TEST_F(ShortCutTest, KeyNamesCoverTheFixedTableAndOneCharacterPlatformNames) {
  EXPECT_EQ(Text(0x08), "BkSp");
  EXPECT_EQ(Text(0x0D), "Enter");
  EXPECT_EQ(Text(0x1B), "Esc");
  EXPECT_EQ(Text(0x21), "PgUp");
  EXPECT_EQ(Text(0x2E), "Del");
  EXPECT_EQ(Text(0x87), "F24");
  EXPECT_EQ(Text(0x65), "5");   // keypad digits share the digit names
  EXPECT_EQ(Value("5"), 0x35);  // and the search finds the main row first
  EXPECT_EQ(Text(0xE028), "Shift+Ctrl+Alt+Down");
  EXPECT_EQ(Text(0xBA), ";");
  EXPECT_EQ(Value("Ctrl+;"), 0x40BA);
  EXPECT_EQ(Text(0x10), "");  // the platform's "Shift" is not one character
  EXPECT_EQ(Text(0x4090), "");
  EXPECT_EQ(Text(0), "");
}

}  // namespace
}  // namespace solvane
