// The variable store: 400 slots, names compared ignoring case.
#include "script/store.h"
#include <gtest/gtest.h>
#include <string>

class VariableStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { clearVariableStore(); }
    void TearDown() override { clearVariableStore(); }
};

TEST_F(VariableStoreTest, NamesIgnoreCaseAndTakeTheLatestSpelling) {
    int slot = SetVariable("dstdir", "C:\\A");
    EXPECT_EQ(0, slot);
    EXPECT_EQ(slot, SetVariable("DstDir", "C:\\B"));
    EXPECT_STREQ("C:\\B", GetVariable("DSTDIR"));
    EXPECT_EQ(1, variableCount());
    EXPECT_EQ(nullptr, GetVariable("OTHER"));
}

TEST_F(VariableStoreTest, FullStoreRefusesNewNamesUntilOneIsCleared) {
    for (int i = 0; i < kVariableSlots; i++) ASSERT_EQ(i, SetVariable(("V" + std::to_string(i)).c_str(), "x"));
    EXPECT_EQ(-1, SetVariable("ONE_MORE", "y"));
    EXPECT_EQ(nullptr, GetVariable("ONE_MORE"));
    EXPECT_EQ(5, SetVariable("v5", "changed"));  // an existing name still works
    ClearVariable("V7");
    EXPECT_EQ(7, SetVariable("ONE_MORE", "y"));  // the lowest free slot
    EXPECT_STREQ("y", GetVariable("one_more"));
}

TEST_F(VariableStoreTest, ClearAndEmptyValues) {
    SetVariable("A", "");
    ASSERT_NE(nullptr, GetVariable("A"));
    EXPECT_STREQ("", GetVariable("A"));
    ClearVariable("a");
    EXPECT_EQ(nullptr, GetVariable("A"));
    ClearVariable("NOT_THERE");
    EXPECT_EQ(-1, SetVariable(nullptr, "x"));
    EXPECT_EQ(-1, SetVariable("B", nullptr));
    EXPECT_EQ(0, variableCount());
}
