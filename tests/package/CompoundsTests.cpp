// Compound constants and temperature- or pressure-dependent properties: the
// values and the compound selection they borrow.
#include "ExampleBridge.h"
#include "IdealGas.h"
#include "Saturation.h"

namespace {

using Compounds = ExampleBridge;

// The selection the material object presents: n-hexane, the package's sixth compound.
void ExpectHexaneSelected(const CPropertyPackage &package)
{
    EXPECT_EQ(std::vector<int>{5}, package.selectionIndices);
    EXPECT_EQ(StringList{L"n-hexane"}, ReadStrings(package.selectionIds.Value()));
}

}  // namespace

TEST_F(Compounds, TAndPDependentValuesForTheAskedCompoundsPropertyMajor)
{
    SetContext({L"n-butane", L"n-pentane", L"n-hexane"});
    ScopedVariant values;
    ASSERT_EQ(S_OK, package->GetTDependentProperty(Strings({L"vaporPressure", L"idealGasHeatCapacity"}).Value(), 350.0,
                                                   Strings({L"n-hexane", L"N-BUTANE"}).Value(), values.Get()))
        << Error();
    const CompoundData &hexane = *FindCompound(L"n-hexane"), &butane = *FindCompound(L"n-butane");
    // Property-major: both compounds of the first property first.
    ExpectNear({Saturation(hexane, 350.0).pressure, Saturation(butane, 350.0).pressure,
                IdealGasHeatCapacity(hexane, 350.0), IdealGasHeatCapacity(butane, 350.0)},
               ReadDoubles(values.Value()), 1e-12);
    EXPECT_EQ(L"CalcProp [vaporPressure, idealGasHeatCapacity] [Liquid] pure", Script().calls.back());

    ASSERT_EQ(S_OK, package->GetPDependentProperty(Strings({L"boilingPointTemperature"}).Value(), 2e5,
                                                   Strings({L"n-hexane", L"n-pentane"}).Value(), values.Receive()))
        << Error();
    double pentane = 0, hexaneBoiling = 0;
    ASSERT_TRUE(BoilingTemperature(*FindCompound(L"n-pentane"), 2e5, pentane));
    ASSERT_TRUE(BoilingTemperature(hexane, 2e5, hexaneBoiling));
    ExpectNear({hexaneBoiling, pentane}, ReadDoubles(values.Value()), 1e-12);
}

TEST_F(Compounds, TheSelectionIsRestoredAfterEveryRequestFailuresIncluded)
{
    SetContext({L"n-hexane"});  // the package's sixth compound
    PutPhase(L"Liquid", {1.0}, 330.0, 1e5);
    ASSERT_EQ(S_OK, package->CalcSinglePhaseProp(Strings({L"volume"}).Value(), ScopedBstr(L"Liquid").Get()));
    ExpectHexaneSelected(*package);

    ScopedVariant values;
    EXPECT_EQ(ECapeUnknownHR, package->GetTDependentProperty(Strings({L"boilingPointTemperature"}).Value(), 300.0,
                                                             Strings({L"n-pentane"}).Value(), values.Get()));
    EXPECT_EQ(L"Invalid/unsupported temperature dependent property: boilingPointTemperature", Error());
    ExpectHexaneSelected(*package);

    // A 1.0 package that fails without setting anything.
    Script().failures[L"CalcProp"] = {ECapeUnknownHR, L"no pure values today"};
    EXPECT_EQ(ECapeUnknownHR, package->GetTDependentProperty(Strings({L"vaporPressure"}).Value(), 300.0,
                                                             Strings({L"n-pentane"}).Value(), values.Get()));
    EXPECT_EQ(L"Values for vaporPressure were not calculated by underlying property package", Error());
    ExpectHexaneSelected(*package);

    EXPECT_EQ(S_OK, package->GetCompoundConstant(Strings({L"molecularWeight"}).Value(),
                                                 Strings({L"n-pentane", L"n-hexane"}).Value(), values.Get()));
    ExpectHexaneSelected(*package);
    EXPECT_EQ(ECapeUnknownHR, package->GetCompoundConstant(Strings({L"vaporPressure"}).Value(),
                                                           Strings({L"n-pentane"}).Value(), values.Get()));
    EXPECT_EQ(L"Property values not available", Error());
    ExpectHexaneSelected(*package);
}

TEST_F(Compounds, ConstantsArePartialWhenSomeCallsFail)
{
    UseScriptedLists({72.15, 86.177});
    Script().constants[L"molecularWeight"] = {{L"n-pentane", 72.15}, {L"n-hexane", 86.177}};
    Script().constants[L"normalBoilingPoint"] = {{L"n-pentane", 309.22}};
    package->SetError(L"earlier failure", L"earlier scope", L"earlier interface");

    ScopedVariant values;
    EXPECT_EQ(ECapeThrmPropertyNotAvailableHR,
              package->GetCompoundConstant(Strings({L"molecularWeight", L"normalBoilingPoint"}).Value(),
                                           Strings({L"n-pentane", L"N-Hexane"}).Value(), values.Get()));
    EXPECT_EQ(L"earlier failure", Error());
    ASSERT_EQ(VT_ARRAY | VT_VARIANT, values.Type());
    const VARIANT *elements = static_cast<const VARIANT *>(V_ARRAY(values.Get())->pvData);
    EXPECT_DOUBLE_EQ(72.15, V_R8(&elements[0]));
    EXPECT_DOUBLE_EQ(86.177, V_R8(&elements[1]));
    EXPECT_DOUBLE_EQ(309.22, V_R8(&elements[2]));
    EXPECT_EQ(VT_EMPTY, V_VT(&elements[3]));
    // Each call presented exactly the one compound asked about.
    EXPECT_EQ(1, Script().CountCalls(L"GetComponentConstant normalBoilingPoint [n-hexane]"));

    // A property that is not a constant leaves its elements empty, silently.
    EXPECT_EQ(S_OK, package->GetCompoundConstant(Strings({L"molecularWeight", L"enthalpy"}).Value(),
                                                 Strings({L"n-pentane"}).Value(), values.Get()));
    EXPECT_EQ(L"earlier failure", Error());

    EXPECT_EQ(ECapeUnknownHR, package->GetCompoundConstant(Strings({L"molecularWeight"}).Value(),
                                                           Strings({L"xylene"}).Value(), values.Get()));
    EXPECT_EQ(L"Invalid/unknown compound ID \"xylene\"", Error());

    // Nothing asked: an empty answer; an empty property list: no values.
    const VARIANT nothing{};
    ASSERT_EQ(S_OK, package->GetCompoundConstant(nothing, nothing, values.Receive()));
    EXPECT_EQ(VT_EMPTY, values.Type());
    EXPECT_EQ(ECapeUnknownHR, package->GetCompoundConstant(Strings({}).Value(), nothing, values.Receive()));
    EXPECT_EQ(L"Property values not available", Error());
}
