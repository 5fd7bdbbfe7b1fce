#include "lumora/array.h"

#include <gtest/gtest.h>

using lumora::Array;

TEST(Array, AMissingKeyGivesNoEntry)
{
    Array<bool *> cells;
    EXPECT_EQ(cells.GetEntry(1), nullptr);
    bool cell = true;
    cells.Add(&cell, 1);
    EXPECT_EQ(cells.GetEntry(0), nullptr);
    EXPECT_EQ(cells.GetEntry(2), nullptr);
    EXPECT_EQ(cells.GetEntry(-1), nullptr);
    Array<int> sizes;
    EXPECT_EQ(sizes.GetEntry(7), 0);
}

TEST(Array, EntriesAreFoundByTheirKeys)
{
    bool cells[4] = {};
    Array<bool *> selected;
    for (long key = 1; key <= 3; key++) selected.Add(&cells[key], key);
    EXPECT_EQ(selected.Length(), 3);
    for (long key = 1; key <= 3; key++) EXPECT_EQ(selected.GetEntry(key), &cells[key]);
}

TEST(Array, AddingUnderAnExistingKeyReplacesTheEntry)
{
    Array<int> values;
    values.Add(10, 5);
    values.Add(20, 5);
    EXPECT_EQ(values.GetEntry(5), 20);
    EXPECT_EQ(values.Length(), 1);
}

TEST(Array, RemoveTakesOneEntryAndRemoveAllEmptiesIt)
{
    Array<int> values;
    values.Add(1, 1);
    values.Add(2, 2);
    values.Add(3, -3);
    EXPECT_TRUE(values.Remove(2));
    EXPECT_FALSE(values.Remove(2));
    EXPECT_EQ(values.GetEntry(2), 0);
    EXPECT_EQ(values.GetEntry(-3), 3);
    values.RemoveAll();
    EXPECT_EQ(values.Length(), 0);
    EXPECT_EQ(values.GetEntry(1), 0);
    EXPECT_EQ(values.GetEntry(-3), 0);
}
