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
    EXPECT_FALSE(map.Contains(L"phasefraction"));

    // Long names (beyond the stack buffer) are found as well.
    std::wstring longName(200, L'X');
    map.Entry(longName.c_str()) = 3;
    EXPECT_EQ(3, *map.Lookup(std::wstring(200, L'x').c_str()));
}

TEST(PropertyNameTable, IndexesAreBuiltOnceFromTheTable)
{
    EnsurePropertyIndexes();
    EnsurePropertyIndexes();  // a second build must not duplicate anything
    EXPECT_EQ(45u, ConstantPropertyRows().size());
    EXPECT_STREQ(L"acentricFactor", ConstantPropertyRows().front()->name10);

    const PropertyRow *molecularWeight = LookupPropertyRow(L"molecularWeight");
    ASSERT_NE(nullptr, molecularWeight);
    EXPECT_EQ(PropertyCategory::SinglePhase, molecularWeight->category);
    EXPECT_EQ(0, molecularWeight->shape);
    const PropertyRow *diffusion = LookupPropertyRow(L"DIFFUSIONCOEFFICIENT");
    ASSERT_NE(nullptr, diffusion);
    EXPECT_EQ(2, diffusion->shape);
    EXPECT_EQ(nullptr, LookupPropertyRow(L"acentricFactor"));

    const PropertyRow *heatCapacity = LookupPropertyRow(L"heatCapacity");
    ASSERT_NE(nullptr, heatCapacity);
    EXPECT_STREQ(L"heatCapacityCp", heatCapacity->name11);
    EXPECT_EQ(-1, heatCapacity->basisExponent);
    EXPECT_STREQ(L"kvalue", LookupPropertyRow(L"kvalues")->name11);
    EXPECT_EQ(1, LookupPropertyRow(L"flow")->basisExponent);
    EXPECT_EQ(PropertyCategory::PhaseFraction, LookupPropertyRow(L"phasefraction")->category);
}
