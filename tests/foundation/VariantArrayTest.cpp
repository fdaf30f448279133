// CVariantArray validation and the name helpers every list goes through.
#include <gtest/gtest.h>

#include "ComHolders.h"
#include "Names.h"
#include "TestVariants.h"
#include "VariantArray.h"

TEST(CVariantArray, CheckAcceptsEmptyAndHonoursTheLowerBound)
{
    // No value at all is an empty list too: every package test passes one.
    std::wstring error;
    CVariantArray list;
    list.Attach(MakeStringArray({L"e1", L"e2", L"e3"}, 1), true);
    ASSERT_TRUE(list.Check(VT_BSTR, error));
    EXPECT_EQ(1, list.LowerBound());
    EXPECT_EQ(3, list.Count());
    EXPECT_STREQ(L"e1", ScopedBstr::Adopt(list.GetString(0)).Text());
    EXPECT_STREQ(L"e3", list.PeekString(2));
    EXPECT_EQ(nullptr, list.PeekString(3));
    EXPECT_EQ(nullptr, list.PeekString(-1));
    CVariantArray unchecked;  // reads the same elements without a Check of its own
    unchecked.Attach(list.Value(), false);
    EXPECT_STREQ(L"e1", unchecked.PeekString(0));

    CVariantArray none;
    none.Attach(MakeStringArray({}, 5), true);
    ASSERT_TRUE(none.Check(VT_BSTR, error));
    EXPECT_EQ(0, none.Count());
}

TEST(CVariantArray, CheckNamesTheExpectedTypeAndRejectsOtherShapes)
{
    // Double lists and single strings are refused with their texts in the package and material object tests.
    std::wstring error;
    CVariantArray strings;
    strings.Attach(MakeStringArray({L"e0", L"e1"}), true);
    EXPECT_FALSE(strings.Check(VT_VARIANT, error));
    EXPECT_EQ(L"Expected an array of type VARIANT", error);
    // The held value survives a failed check and is still released by the holder.
    EXPECT_TRUE(strings.Check(VT_BSTR, error));

    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    VARIANT matrix{};
    V_VT(&matrix) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&matrix) = SafeArrayCreate(VT_BSTR, 2, bounds);
    CVariantArray twoDimensional;
    twoDimensional.Attach(matrix, true);
    EXPECT_FALSE(twoDimensional.Check(VT_BSTR, error));
    EXPECT_EQ(L"unexpected dimension; 1-dimensional array expected", error);

    EXPECT_STREQ(L"long", ElementTypeName(VT_I4));  // the material's phase statuses
}

TEST(CVariantArray, OwnershipRules)
{
    // A value the holder does not own is forgotten, not released, by Reset.
    VARIANT shared = MakeStringArray({L"e0", L"e1"});
    {
        CVariantArray borrowed;
        borrowed.Attach(shared, false);
        borrowed.Reset();
        EXPECT_TRUE(borrowed.IsEmpty());
        EXPECT_TRUE(borrowed.Owned());
    }
    LONG upper = -1;
    EXPECT_EQ(S_OK, SafeArrayGetUBound(V_ARRAY(&shared), 1, &upper));
    EXPECT_EQ(1, upper);
    VariantClear(&shared);

    // Moving keeps the value alive in the destination only. (Create, PutElement
    // and GetDouble are used by every list the package tests read.)
    CVariantArray doubles;
    doubles.Attach(MakeDoubleArray({0.0, 1.5, 3.0}), true);
    CVariantArray moved(std::move(doubles));
    EXPECT_TRUE(doubles.IsEmpty());
    std::wstring error;
    ASSERT_TRUE(moved.Check(VT_R8, error));
    EXPECT_EQ(3, moved.Count());
}

TEST(Names, ComparisonAndFolding)
{
    EXPECT_TRUE(NamesEqual(nullptr, L""));
    EXPECT_TRUE(NamesEqual(L"", nullptr));
    EXPECT_TRUE(NamesEqual(nullptr, nullptr));
    EXPECT_TRUE(NamesEqual(L"Vapor", L"VAPOR"));
    EXPECT_FALSE(NamesEqual(L"Vapor", L"Vapour"));
    EXPECT_FALSE(NamesEqual(L"Vapor", nullptr));
    // Past ASCII the system's comparison decides, letter case still ignored.
    EXPECT_TRUE(NamesEqual(L"Phase\u00c9tat", L"PHASE\u00e9TAT"));
    EXPECT_FALSE(NamesEqual(L"\u00c9tat", L"\u00c8tat"));

    EXPECT_EQ(L"phasefraction", ToLowerName(L"PhaseFraction"));
    EXPECT_EQ(L"\u00c9tat", ToLowerName(L"\u00c9TAT"));  // only A-Z fold
    EXPECT_EQ(L"", ToLowerName(nullptr));

    FoldedName folded(std::wstring(300, L'Q').c_str());
    EXPECT_EQ(std::wstring(300, L'q'), folded.Text());
    FoldedName edge(std::wstring(127, L'Z').c_str());
    EXPECT_EQ(std::wstring(127, L'z'), edge.Text());
}
