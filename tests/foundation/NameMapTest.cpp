// Case-insensitive name maps and the property-name table.
#include <gtest/gtest.h>

#include "NameMap.h"
#include "PropertyNameTable.h"

TEST(NameMap, KeysIgnoreLetterCase)
{
    NameMap<int> map;
    map.Entry(L"PhaseFraction") = 7;
    map.Entry(L"PHASEFRACTION") = 9;  // same entry, last value wins
    EXPECT_EQ(1u, map.Size());
    int value = 42;
    EXPECT_FALSE(map.Find(L"absent", value));
    EXPECT_EQ(42, value);  // untouched
    EXPECT_TRUE(map.Find(L"phasefraction", value));
    EXPECT_EQ(9, value);

    // Fill, for maps refilled per call, is seen by the repeated-call tests.
    map.Clear();
    EXPECT_TRUE(map.Empty());
    EXPECT_FALSE(map.Contains(L"phasefraction"));  // long names: FoldedName in the Names test
}

TEST(PropertyNameTable, IndexesAreBuiltFromTheTable)
{
    EnsurePropertyIndexes();
    EXPECT_EQ(45u, ConstantPropertyRows().size());  // string constants included
    EXPECT_EQ(nullptr, LookupPropertyRow(L"acentricFactor"));  // constants are not looked up by name

    // Shapes and basis exponents; the 1.1 names, the categories and the one
    // build of the indexes are seen by the package tests.
    EXPECT_EQ(0, LookupPropertyRow(L"molecularWeight")->shape);
    EXPECT_EQ(2, LookupPropertyRow(L"DIFFUSIONCOEFFICIENT")->shape);
    EXPECT_EQ(-1, LookupPropertyRow(L"heatCapacity")->basisExponent);
    EXPECT_EQ(1, LookupPropertyRow(L"flow")->basisExponent);
}
