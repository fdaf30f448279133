// Compound constants and temperature- or pressure-dependent properties: the
// values, the basis conversion, and the compound selection they borrow.
#include <cmath>

#include <gtest/gtest.h>

#include "IdealBridge.h"

namespace {

void ExpectNear(const std::vector<double> &expected, const std::vector<double> &actual, double relative)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(expected[i], actual[i], relative * std::fabs(expected[i])) << "element " << i;
}

// The selection the material object presents, as indices and identifiers.
void ExpectSelection(const CPropertyPackage &package, const std::vector<int> &indices,
                     const std::vector<std::wstring> &ids)
{
    EXPECT_EQ(indices, package.selectionIndices);
    EXPECT_EQ(ids, ReadStrings(package.selectionIds.Value()));
}

}  // namespace

TEST(Compounds, TDependentValuesInMoleAndMassBasisAreMoleBasisForTheClient)
{
    for (bool massBasis : {false, true}) {
        IdealBridge bridge(3);
        bridge.model.pureValuesInMassBasis = massBasis;
        bridge.Start();
        ScopedVariant values;
        ASSERT_EQ(S_OK, bridge.package->GetTDependentProperty(
                            Strings({L"vaporPressure", L"idealGasHeatCapacity"}).Value(), 350.0,
                            Strings({L"p-xylene", L"BENZENE"}).Value(), values.Get()))
            << bridge.Error();
        const IdealMixtureModel &m = bridge.model;
        // Property-major: both compounds of the first property first.
        ExpectNear({m.VaporPressure(2, 350.0), m.VaporPressure(0, 350.0), m.IdealGasHeatCapacity(2, 350.0),
                    m.IdealGasHeatCapacity(0, 350.0)},
                   ReadDoubles(values.Value()), 1e-12);
        EXPECT_EQ(L"CalcProp [vaporPressure, idealGasHeatCapacity] [Liquid] pure", bridge.package10->calls.back());
    }
}

TEST(Compounds, PDependentValuesForEveryCompoundAtTheGivenPressure)
{
    IdealBridge bridge;
    bridge.Start();
    ScopedVariant values;
    VARIANT all;
    VariantInit(&all);
    ASSERT_EQ(S_OK, bridge.package->GetPDependentProperty(Strings({L"boilingPointTemperature"}).Value(), 2e5, all,
                                                          values.Get()))
        << bridge.Error();
    ExpectNear({bridge.model.BoilingPointTemperature(0, 2e5), bridge.model.BoilingPointTemperature(1, 2e5)},
               ReadDoubles(values.Value()), 1e-12);
    // Antoine at one atmosphere gives the normal boiling point.
    EXPECT_NEAR(353.2, bridge.model.BoilingPointTemperature(0, 101325.0), 0.3);
}

TEST(Compounds, TheSelectionIsRestoredAfterEveryRequestFailuresIncluded)
{
    IdealBridge bridge;
    bridge.material->compoundIds = {L"toluene"};
    bridge.Start();
    bridge.PutPhase(L"Liquid", {1.0}, 360.0, 1e5);
    ASSERT_EQ(S_OK, bridge.package->CalcSinglePhaseProp(Strings({L"volume"}).Value(), ScopedBstr(L"Liquid").Get()));
    ExpectSelection(*bridge.package, {1}, {L"toluene"});

    ScopedVariant values;
    EXPECT_EQ(ECapeUnknownHR, bridge.package->GetTDependentProperty(Strings({L"boilingPointTemperature"}).Value(),
                                                                    300.0, Strings({L"benzene"}).Value(),
                                                                    values.Get()));
    EXPECT_EQ(L"Invalid/unsupported temperature dependent property: boilingPointTemperature", bridge.Error());
    ExpectSelection(*bridge.package, {1}, {L"toluene"});

    // A 1.0 package that fails without setting anything.
    bridge.package10->script.failures[L"CalcProp"] = {ECapeUnknownHR, L"no pure values today"};
    EXPECT_EQ(ECapeUnknownHR, bridge.package->GetTDependentProperty(Strings({L"vaporPressure"}).Value(), 300.0,
                                                                    Strings({L"benzene"}).Value(), values.Get()));
    EXPECT_EQ(L"Values for vaporPressure were not calculated by underlying property package", bridge.Error());
    ExpectSelection(*bridge.package, {1}, {L"toluene"});
    bridge.package10->script.failures.clear();

    EXPECT_EQ(S_OK, bridge.package->GetCompoundConstant(Strings({L"molecularWeight"}).Value(),
                                                        Strings({L"benzene", L"toluene"}).Value(), values.Get()));
    ExpectSelection(*bridge.package, {1}, {L"toluene"});
    EXPECT_EQ(ECapeUnknownHR, bridge.package->GetCompoundConstant(Strings({L"vaporPressure"}).Value(),
                                                                  Strings({L"benzene"}).Value(), values.Get()));
    EXPECT_EQ(L"Property values not available", bridge.Error());
    ExpectSelection(*bridge.package, {1}, {L"toluene"});

    // The next calculation validates the material again and sees toluene only.
    ASSERT_EQ(S_OK, bridge.package->CalcSinglePhaseProp(Strings({L"volume"}).Value(), ScopedBstr(L"Liquid").Get()));
    ExpectNear({bridge.model.Compound(1).liquidVolume}, bridge.material->Values(L"volume", L"Liquid", L"mole"),
               1e-12);
}

TEST(Compounds, ConstantsArePartialWhenSomeCallsFail)
{
    IdealBridge bridge;
    // normalBoilingPoint is known for benzene only.
    bridge.package10->script.constants[L"normalBoilingPoint"].erase(L"toluene");
    bridge.Start();
    bridge.package->SetError(L"earlier failure", L"earlier scope", L"earlier interface");

    ScopedVariant values;
    EXPECT_EQ(ECapeThrmPropertyNotAvailableHR,
              bridge.package->GetCompoundConstant(Strings({L"molecularWeight", L"normalBoilingPoint"}).Value(),
                                                  Strings({L"benzene", L"Toluene"}).Value(), values.Get()));
    EXPECT_EQ(L"earlier failure", bridge.Error());
    ASSERT_EQ(VT_ARRAY | VT_VARIANT, values.Type());
    std::vector<VARIANT> elements(4);
    for (LONG i = 0; i < 4; ++i) {
        VariantInit(&elements[i]);
        SafeArrayGetElement(V_ARRAY(values.Get()), &i, &elements[i]);
    }
    EXPECT_DOUBLE_EQ(78.112, V_R8(&elements[0]));
    EXPECT_DOUBLE_EQ(92.139, V_R8(&elements[1]));
    EXPECT_DOUBLE_EQ(353.24, V_R8(&elements[2]));
    EXPECT_EQ(VT_EMPTY, V_VT(&elements[3]));
    // Each call presented exactly the one compound asked about.
    EXPECT_EQ(1, bridge.package10->CountCalls(L"GetComponentConstant normalBoilingPoint [toluene]"));

    // A property that is not a constant leaves its elements empty, silently.
    EXPECT_EQ(S_OK, bridge.package->GetCompoundConstant(Strings({L"molecularWeight", L"enthalpy"}).Value(),
                                                        Strings({L"benzene"}).Value(), values.Get()));
    EXPECT_EQ(L"earlier failure", bridge.Error());

    EXPECT_EQ(ECapeUnknownHR, bridge.package->GetCompoundConstant(Strings({L"molecularWeight"}).Value(),
                                                                  Strings({L"xylene"}).Value(), values.Get()));
    EXPECT_EQ(L"Invalid/unknown compound ID \"xylene\"", bridge.Error());

    // Nothing asked: an empty answer; an empty property list: no values.
    VARIANT nothing;
    VariantInit(&nothing);
    ASSERT_EQ(S_OK, bridge.package->GetCompoundConstant(nothing, nothing, values.Receive()));
    EXPECT_EQ(VT_EMPTY, values.Type());
    EXPECT_EQ(ECapeUnknownHR, bridge.package->GetCompoundConstant(Strings({}).Value(), nothing, values.Receive()));
    EXPECT_EQ(L"Property values not available", bridge.Error());
}
