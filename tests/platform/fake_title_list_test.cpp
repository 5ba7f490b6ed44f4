// The in-memory list must keep the rules of the real control, or the logic's
// tests would pass against behaviour the program never sees.

#include "platform/fake/fake_title_list.h"

#include <gtest/gtest.h>

#include "base/app_error.h"
#include "platform/fake/fake_text_metrics.h"

namespace solvane {
namespace {

class FakeListTest : public ::testing::Test {
 protected:
  int Width(const std::string& text) { return font.TextWidth(text + "x") + 18; }
  fake::FakeTextMetrics font;
  fake::FakeTitleList list{font};
};

TEST_F(FakeListTest, ChecksTravelWithTheirLinesAndLoadsClearThem) {
  list.Add("a");
  list.Add("b");
  list.SetChecked(1, true);
  list.Insert(0, "top");
  EXPECT_TRUE(list.Checked(2));
  EXPECT_FALSE(list.Checked(0));
  list.Delete(0);
  EXPECT_TRUE(list.Checked(1));
  list.Assign({"x", "y"});
  EXPECT_FALSE(list.Checked(0));
  EXPECT_FALSE(list.Checked(1));
}

TEST_F(FakeListTest, ToggleAndAllFollowTheCheckRules) {
  list.Assign({"a", "b", "c"});
  list.SetState(0, kGrayed);
  list.Toggle(0);
  EXPECT_EQ(list.State(0), kChecked);  // grayed becomes checked
  list.Toggle(0);
  EXPECT_EQ(list.State(0), kUnchecked);
  list.SetAllChecked(true);
  EXPECT_TRUE(list.Checked(0) && list.Checked(1) && list.Checked(2));
  list.SetAllChecked(false);
  EXPECT_FALSE(list.Checked(0) || list.Checked(1) || list.Checked(2));
}

TEST_F(FakeListTest, ExtentGrowsWithWideLinesAndIsRecomputedWhenTheWidestGoes) {
  list.Add("short");
  EXPECT_EQ(list.HorizontalExtent(), Width("short"));
  list.Insert(0, std::string(60, 'W'));
  EXPECT_EQ(list.HorizontalExtent(), Width(std::string(60, 'W')));
  list.SetHorizontalExtent(0);  // the program's reset
  list.Add("tiny");
  EXPECT_EQ(list.HorizontalExtent(), Width("tiny"));
  list.Delete(1);  // "short", wider than the extent now: recompute
  EXPECT_EQ(list.HorizontalExtent(), Width(std::string(60, 'W')));
  list.Clear();
  EXPECT_EQ(list.HorizontalExtent(), 0);
}

TEST_F(FakeListTest, IndexWritesSendOnlyChangesAndBadIndexesFail) {
  list.Assign({"a", "b"});
  list.SetItemIndex(-1);
  list.SetTopIndex(0);
  EXPECT_EQ(list.selectionWrites, 0);
  EXPECT_EQ(list.topIndexWrites, 0);
  list.SetItemIndex(1);
  EXPECT_EQ(list.selectionWrites, 1);
  EXPECT_THROW(list.Get(2), AppError);
  EXPECT_THROW(list.Delete(-1), AppError);
  list.refuseAfter = 2;
  try {
    list.Add("c");
    FAIL() << "expected a refusal";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "Unable to insert a line");
  }
  EXPECT_EQ(list.Count(), 2);
}

}  // namespace
}  // namespace solvane
