// Case-insensitive name maps and the property-name table.
#include <gtest/gtest.h>

#include "NameMap.h"
#include "PropertyNameTable.h"

TEST(NameMap, KeysIgnoreLetterCase)
{
    NameMap<int> map;
    map.Entry(L"PhaseFraction") = 7;
    int value = -1;
    EXPECT_TRUE(map.Find(L"phasefraction", value));
    EXPECT_EQ(7, value);
    EXPECT_TRUE(map.Find(L"PHASEFRACTION", value));

    map.Entry(L"PHASEFRACTION") = 9;  // same entry, last value wins
    EXPECT_EQ(1u, map.Size());
    EXPECT_EQ(9, *map.Lookup(L"phaseFraction"));

    value = 42;
    EXPECT_FALSE(map.Find(L"absent", value));
    EXPECT_EQ(42, value);  // untouched

    // Fill resets the values of maps refilled per call and keeps their names.
    map.Entry(L"enthalpy") = 1;
    map.Fill(-1);
    EXPECT_EQ(2u, map.Size());
    EXPECT_EQ(-1, *map.Lookup(L"Enthalpy"));
    map.Entry(L"ENTHALPY") = 4;
    EXPECT_EQ(4, *map.Lookup(L"enthalpy"));
    EXPECT_EQ(-1, *map.Lookup(L"phaseFraction"));

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
