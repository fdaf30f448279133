// Single-phase, two-phase and fugacity-coefficient calculations through the
// package, checked against the ideal-mixture model called directly.
#include <cmath>

#include <gtest/gtest.h>

#include "IdealBridge.h"

namespace {

constexpr double temperature = 360.0;
constexpr double pressure = 150000.0;

void ExpectNear(const std::vector<double> &expected, const std::vector<double> &actual, double relative)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(expected[i], actual[i], relative * (std::fabs(expected[i]) + 1e-300)) << "element " << i;
}

// The model's values for the material's compound order (toluene, benzene).
std::vector<double> Reordered(const std::vector<double> &byModel)
{
    return {byModel[1], byModel[0]};
}

}  // namespace

TEST(SinglePhase, ValuesReachTheMaterialForTheMaterialsCompoundOrder)
{
    IdealBridge bridge;
    bridge.material->compoundIds = {L"TOLUENE", L"benzene"};  // other order and letter case
    bridge.Start();
    const std::vector<double> x = {0.3, 0.7};  // toluene, benzene
    bridge.PutPhase(L"Liquid", x, temperature, pressure);
    bridge.material->Put(L"temperature", L"Vapor", L"", {999.0});  // must not be read

    for (int round = 0; round < 2; ++round) {  // the second round validates on the quick path
        ASSERT_EQ(S_OK, bridge.package->CalcSinglePhaseProp(Strings({L"enthalpy", L"logFugacityCoefficient"}).Value(),
                                                            ScopedBstr(L"Liquid").Get()))
            << bridge.Error();
        const std::vector<double> modelX = {0.7, 0.3};
        ExpectNear({bridge.model.Enthalpy(false, temperature, modelX)},
                   bridge.material->Values(L"enthalpy", L"Liquid", L"mole"), 1e-12);
        ExpectNear(Reordered(bridge.model.LnPhi(false, temperature, pressure)),
                   bridge.material->Values(L"logFugacityCoefficient", L"Liquid", L""), 1e-12);
    }
    EXPECT_EQ(L"CalcProp [enthalpy, logFugacityCoefficient] [Liquid] mixture", bridge.package10->calls.back());
}

TEST(SinglePhase, RequestsThe10PackageCannotServeAreRefusedOrReported)
{
    IdealBridge bridge;
    bridge.Start();
    bridge.PutPhase(L"Vapor", {0.5, 0.5}, temperature, pressure);
    ScopedBstr vapor(L"Vapor");

    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcSinglePhaseProp(Strings({L"kvalue"}).Value(), vapor.Get()));
    EXPECT_EQ(L"Invalid/unsupported single-phase property: kvalue", bridge.Error());
    EXPECT_EQ(ECapeUnknownHR,
              bridge.package->CalcSinglePhaseProp(Strings({L"enthalpy"}).Value(), ScopedBstr(L"Solid").Get()));
    EXPECT_EQ(L"Unsupported/unknown phase: \"Solid\"", bridge.Error());
    EXPECT_EQ(0, bridge.package10->CountCalls(L"CalcProp"));

    // The 1.0 package succeeds but sets nothing.
    bridge.package10->script.onCalcProp = [](CScriptedPackage10 &, ICapeThermoMaterialObject *,
                                             const std::vector<std::wstring> &, const std::vector<std::wstring> &,
                                             const std::wstring &) { return S_OK; };
    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcSinglePhaseProp(Strings({L"volume"}).Value(), vapor.Get()));
    EXPECT_EQ(L"Property \"volume\" was not calculated", bridge.Error());
}

TEST(TwoPhase, KValuesAndSurfaceTensionOnLiquidWithOneRetryOnly)
{
    IdealBridge bridge;
    bridge.model.surfaceTensionOnlyOnLiquid = true;
    bridge.Start();
    bridge.PutPhase(L"Vapor", {0.6, 0.4}, temperature, pressure);
    bridge.PutPhase(L"Liquid", {0.2, 0.8}, temperature, pressure);
    const OwnedVariant pair = Strings({L"Vapor", L"Liquid"});

    ASSERT_EQ(S_OK, bridge.package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), pair.Value())) << bridge.Error();
    ExpectNear(bridge.model.KValues(temperature, pressure),
               bridge.material->Values(L"kvalue", L"Vapor,Liquid", L""), 1e-12);

    const double sigma =
        0.2 * bridge.model.Compound(0).surfaceTension + 0.8 * bridge.model.Compound(1).surfaceTension;
    const int before = bridge.package10->CountCalls(L"CalcProp");
    ASSERT_EQ(S_OK, bridge.package->CalcTwoPhaseProp(Strings({L"surfaceTension"}).Value(), pair.Value()))
        << bridge.Error();
    EXPECT_EQ(before + 2, bridge.package10->CountCalls(L"CalcProp"));
    ExpectNear({sigma}, bridge.material->Values(L"surfaceTension", L"Vapor,Liquid", L""), 1e-12);

    ASSERT_EQ(S_OK, bridge.package->CalcTwoPhaseProp(Strings({L"surfaceTension"}).Value(), pair.Value()));
    EXPECT_EQ(before + 3, bridge.package10->CountCalls(L"CalcProp"));
    EXPECT_EQ(L"CalcProp [surfaceTension] [Liquid] mixture", bridge.package10->calls.back());

    EXPECT_EQ(ECapeUnknownHR,
              bridge.package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), Strings({L"Liquid", L"Vapor"}).Value()));
    EXPECT_EQ(L"Unsupported phase combination", bridge.Error());
}

TEST(LnPhi, ValueAndDerivativesAgreeWithFiniteDifferencesOfTheModel)
{
    IdealBridge bridge(3);
    bridge.Start();
    ScopedBstr liquid(L"Liquid");
    const OwnedVariant moles = Doubles({2.0, 1.0, 1.0});  // not normalised on purpose
    ScopedVariant lnPhi, dT, dP, dn;

    ASSERT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(liquid.Get(), temperature, pressure, moles.Value(), 15,
                                                    lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()))
        << bridge.Error();
    const IdealMixtureModel &model = bridge.model;
    ExpectNear(model.LnPhi(false, temperature, pressure), ReadDoubles(lnPhi.Value()), 1e-12);
    const double hT = 1e-3, hP = 1.0;
    std::vector<double> fdT, fdP;
    for (size_t i = 0; i < 3; ++i) {
        fdT.push_back((model.LnPhi(false, temperature + hT, pressure)[i] -
                       model.LnPhi(false, temperature - hT, pressure)[i]) / (2 * hT));
        fdP.push_back((model.LnPhi(false, temperature, pressure + hP)[i] -
                       model.LnPhi(false, temperature, pressure - hP)[i]) / (2 * hP));
    }
    ExpectNear(fdT, ReadDoubles(dT.Value()), 1e-6);
    ExpectNear(fdP, ReadDoubles(dP.Value()), 1e-6);
    EXPECT_EQ(std::vector<double>(9, 0.0), ReadDoubles(dn.Value()));  // ideal solution
}

TEST(LnPhi, FlagsSelectExactlyTheRequestedOutputs)
{
    IdealBridge bridge;
    bridge.Start();
    ScopedBstr vapor(L"Vapor");
    const OwnedVariant moles = Doubles({1.0, 1.0});
    ScopedVariant lnPhi, dT, dP, dn;
    V_VT(dT.Get()) = VT_I4;  // sentinels: untouched outputs keep them
    V_I4(dT.Get()) = 7;
    V_VT(dn.Get()) = VT_I4;

    ASSERT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 5,
                                                    lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()))
        << bridge.Error();
    EXPECT_EQ(L"CalcProp [LogFugacityCoefficient, LogFugacityCoefficient.Dpressure] [Vapor] mixture",
              bridge.package10->calls.back());
    EXPECT_EQ((std::vector<double>{0.0, 0.0}), ReadDoubles(lnPhi.Value()));
    EXPECT_EQ(VT_I4, dT.Type());
    EXPECT_EQ(7, V_I4(dT.Get()));
    EXPECT_EQ(VT_I4, dn.Type());

    const int calls = bridge.package10->CountCalls(L"CalcProp");
    EXPECT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 0,
                                                    nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 16,
                                                              lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()));
    EXPECT_EQ(L"Invalid calculation request flags", bridge.Error());
    EXPECT_EQ(E_POINTER, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 2,
                                                         lnPhi.Get(), nullptr, dP.Get(), dn.Get()));
    EXPECT_EQ(calls, bridge.package10->CountCalls(L"CalcProp"));

    // A 1.0 package that succeeds without setting the value.
    bridge.package10->script.onCalcProp = [](CScriptedPackage10 &, ICapeThermoMaterialObject *,
                                             const std::vector<std::wstring> &, const std::vector<std::wstring> &,
                                             const std::wstring &) { return S_OK; };
    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 1,
                                                              lnPhi.Get(), nullptr, nullptr, nullptr));
    EXPECT_EQ(L"Property LogFugacityCoefficient was not set", bridge.Error());
    EXPECT_EQ(VT_EMPTY, lnPhi.Type());
}

TEST(LnPhi, CompositionInMassBasisIsReadFromTheCallsMoleNumbers)
{
    // A 1.0 package that asks for the composition in mass basis, as many do.
    IdealBridge bridge;
    std::vector<double> massFractions;
    std::wstring failure;
    bridge.package10->script.molecularWeights = {2.0, 18.0};
    bridge.package10->script.onCalcProp = [&](CScriptedPackage10 &, ICapeThermoMaterialObject *material,
                                              const std::vector<std::wstring> &props,
                                              const std::vector<std::wstring> &, const std::wstring &) {
        ScopedBstr fraction(L"fraction"), vapor(L"Vapor"), mixture(L"mixture"), mass(L"mass");
        VARIANT none;
        VariantInit(&none);
        ScopedVariant result;
        HRESULT hr = material->GetProp(fraction.Get(), vapor.Get(), none, mixture.Get(), mass.Get(), result.Get());
        massFractions = ReadDoubles(result.Value());
        if (FAILED(hr)) {
            ComPtr<ECapeUser> user;
            QueryFrom(material, user);
            ScopedBstr description;
            user->get_description(description.Receive());
            failure = description.Text();
            return hr;
        }
        ScopedBstr name(props[0].c_str());
        return material->SetProp(name.Get(), vapor.Get(), none, mixture.Get(), nullptr, Doubles({0, 0}).Value());
    };
    bridge.Start();
    ScopedBstr vapor(L"Vapor");
    ScopedVariant lnPhi;

    ASSERT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure,
                                                    Doubles({1.0, 1.0}).Value(), 1, lnPhi.Get(), nullptr, nullptr,
                                                    nullptr));
    ExpectNear({0.1, 0.9}, massFractions, 1e-14);

    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure,
                                                              Doubles({0.0, 0.0}).Value(), 1, lnPhi.Get(), nullptr,
                                                              nullptr, nullptr));
    EXPECT_EQ(L"Total mole numbers are zero", failure);
    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure,
                                                              Doubles({1.0}).Value(), 1, lnPhi.Get(), nullptr,
                                                              nullptr, nullptr));
    EXPECT_EQ(L"Invalid mole numbers: unexpected number of values", failure);
}

TEST(LnPhi, A10PackageCallingBackAfterTheCallReachesNoneOfTheCallersValues)
{
    IdealBridge bridge;
    bridge.Start();
    ScopedVariant lnPhi;
    {
        ScopedBstr vapor(L"Vapor");
        ASSERT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(vapor.Get(), 350.0, 1e5, Doubles({1.0, 1.0}).Value(), 1,
                                                        lnPhi.Get(), nullptr, nullptr, nullptr));
    }
    ICapeThermoMaterialObject *kept = bridge.package10->lastMaterial.Get();
    ASSERT_NE(nullptr, kept);
    VARIANT none;
    VariantInit(&none);
    ScopedVariant read;
    kept->GetProp(ScopedBstr(L"fraction").Get(), nullptr, none, nullptr, ScopedBstr(L"mass").Get(), read.Get());
    EXPECT_EQ(VT_EMPTY, read.Type());
    EXPECT_EQ(S_OK, kept->SetProp(ScopedBstr(L"LogFugacityCoefficient").Get(), nullptr, none,
                                  ScopedBstr(L"mixture").Get(), nullptr, Doubles({5.0, 5.0}).Value()));
    EXPECT_EQ((std::vector<double>{0.0, 0.0}), ReadDoubles(lnPhi.Value()));
}
