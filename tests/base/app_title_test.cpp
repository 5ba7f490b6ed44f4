#include "base/app_title.h"

#include <gtest/gtest.h>

namespace solvane {
namespace {

TEST(ApplicationTitle, FileNameBeforeItsFirstDotWithTheRestLowered) {
  EXPECT_EQ(ApplicationTitleOf("C:\\Program Files\\Solvane\\SolvaneClips.exe"), "Solvaneclips");
  EXPECT_EQ(ApplicationTitleOf("D:\\ABCD.EXE"), "Abcd");
  EXPECT_EQ(ApplicationTitleOf("Z:/tmp/my.tool.exe"), "my");
  EXPECT_EQ(ApplicationTitleOf("noext"), "noext");
}

}  // namespace
}  // namespace solvane
