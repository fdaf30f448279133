// Single-phase, two-phase and fugacity-coefficient calculations through the
// package over the example's ideal package, checked against the example's
// model and the closed forms of an ideal mixture: ln phi = ln(Psat / P) in
// the liquid and 0 in the vapour, K = Psat / P.
#include <cmath>

#include <gtest/gtest.h>

#include "ExampleBridge.h"
#include "IdealMixture.h"
#include "MaterialObjectCalls.h"
#include "Saturation.h"

namespace {

constexpr double temperature = 330.0;
constexpr double pressure = 150000.0;
const std::vector<std::wstring> compounds = {L"n-pentane", L"n-hexane"};

// ln phi of each compound in the ideal liquid.
std::vector<double> LiquidLnPhi(const std::vector<std::wstring> &ids, double t, double p)
{
    std::vector<double> values;
    for (const std::wstring &id : ids) values.push_back(std::log(Saturation(Compound(id.c_str()), t).pressure / p));
    return values;
}

}  // namespace

TEST(SinglePhase, ValuesReachTheMaterialForTheMaterialsCompoundOrder)
{
    ExampleBridge bridge({L"N-HEXANE", L"n-pentane"});  // other order and letter case than the package
    const std::vector<double> x = {0.3, 0.7};  // n-hexane, n-pentane
    bridge.PutPhase(L"Liquid", x, temperature, pressure);
    bridge.material->Put(L"temperature", L"Vapor", L"", {999.0});  // must not be read

    for (int round = 0; round < 2; ++round) {  // the second round validates on the quick path
        ASSERT_EQ(S_OK, bridge.package->CalcSinglePhaseProp(Strings({L"enthalpy", L"logFugacityCoefficient"}).Value(),
                                                            ScopedBstr(L"Liquid").Get()))
            << bridge.Error();
        PhaseState state;
        IdealMixture({&Compound(L"n-hexane"), &Compound(L"n-pentane")})
            .Evaluate(temperature, pressure, x.data(), PhaseKind::Liquid, RequestCaloric, state);
        ExpectNear({state.enthalpy}, bridge.material->Values(L"enthalpy", L"Liquid", L"mole"), 1e-12);
        ExpectNear(LiquidLnPhi({L"n-hexane", L"n-pentane"}, temperature, pressure),
                   bridge.material->Values(L"logFugacityCoefficient", L"Liquid", L""), 1e-12);
    }
    EXPECT_EQ(L"CalcProp [enthalpy, logFugacityCoefficient] [Liquid] mixture", bridge.package10->script.calls.back());
}

TEST(SinglePhase, RequestsThe10PackageCannotServeAreRefusedOrReported)
{
    ExampleBridge bridge(compounds);
    bridge.PutPhase(L"Vapor", {0.5, 0.5}, temperature, pressure);
    ScopedBstr vapor(L"Vapor");

    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcSinglePhaseProp(Strings({L"kvalue"}).Value(), vapor.Get()));
    EXPECT_EQ(L"Invalid/unsupported single-phase property: kvalue", bridge.Error());
    EXPECT_EQ(ECapeUnknownHR,
              bridge.package->CalcSinglePhaseProp(Strings({L"enthalpy"}).Value(), ScopedBstr(L"Solid").Get()));
    EXPECT_EQ(L"Unsupported/unknown phase: \"Solid\"", bridge.Error());
    EXPECT_EQ(0, bridge.package10->script.CountCalls(L"CalcProp"));

    // The 1.0 package succeeds but sets nothing.
    bridge.package10->script.onCalcProp = [](CScriptedPackage10 &, ICapeThermoMaterialObject *,
                                             const std::vector<std::wstring> &, const std::vector<std::wstring> &,
                                             const std::wstring &) { return S_OK; };
    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcSinglePhaseProp(Strings({L"volume"}).Value(), vapor.Get()));
    EXPECT_EQ(L"Property \"volume\" was not calculated", bridge.Error());
}

TEST(TwoPhase, KValuesAndSurfaceTensionOnLiquidWithOneRetryOnly)
{
    ExampleBridge bridge(compounds);
    // The example's properties and a surface tension that, as some 1.0
    // packages do, is given for the phase "Liquid" only.
    ScopedVariant list;
    bridge.package10->script.inner->GetPropList(list.Get());
    std::vector<std::wstring> names = ReadStrings(list.Value());
    names.push_back(L"surfaceTension");
    bridge.package10->script.rawLists[L"props"] = [names](VARIANT *out) { *out = MakeStringArray(names); };
    bridge.package10->script.onCalcProp = [](CScriptedPackage10 &self, ICapeThermoMaterialObject *material,
                                             const std::vector<std::wstring> &props,
                                             const std::vector<std::wstring> &phases, const std::wstring &calcType) {
        if (props != std::vector<std::wstring>{L"surfaceTension"}) {
            // Everything else the example calculates.
            return self.script.inner->CalcProp(material, Strings(props).Value(), Strings(phases).Value(),
                                               ScopedBstr(calcType.c_str()).Get());
        }
        if (phases != std::vector<std::wstring>{L"Liquid"})
            return self.FailWith(ECapeUnknownHR, L"surface tension of the liquid only", L"CalcProp");
        return SetProp10(material, L"surfaceTension", L"Liquid", nullptr, {0.0123});
    };
    bridge.PutPhase(L"Vapor", {0.6, 0.4}, temperature, pressure);
    bridge.PutPhase(L"Liquid", {0.2, 0.8}, temperature, pressure);
    const ScopedVariant pair = Strings({L"Vapor", L"Liquid"});

    ASSERT_EQ(S_OK, bridge.package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), pair.Value())) << bridge.Error();
    std::vector<double> k = LiquidLnPhi(compounds, temperature, pressure);
    for (double &value : k) value = std::exp(value);
    ExpectNear(k, bridge.material->Values(L"kvalue", L"Vapor,Liquid", L""), 1e-12);

    const int before = bridge.package10->script.CountCalls(L"CalcProp");
    ASSERT_EQ(S_OK, bridge.package->CalcTwoPhaseProp(Strings({L"surfaceTension"}).Value(), pair.Value()))
        << bridge.Error();
    EXPECT_EQ(before + 2, bridge.package10->script.CountCalls(L"CalcProp"));
    ExpectNear({0.0123}, bridge.material->Values(L"surfaceTension", L"Vapor,Liquid", L""), 0.0);

    ASSERT_EQ(S_OK, bridge.package->CalcTwoPhaseProp(Strings({L"surfaceTension"}).Value(), pair.Value()));
    EXPECT_EQ(before + 3, bridge.package10->script.CountCalls(L"CalcProp"));
    EXPECT_EQ(L"CalcProp [surfaceTension] [Liquid] mixture", bridge.package10->script.calls.back());

    EXPECT_EQ(ECapeUnknownHR,
              bridge.package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), Strings({L"Liquid", L"Vapor"}).Value()));
    EXPECT_EQ(L"Unsupported phase combination", bridge.Error());
}

TEST(LnPhi, ValueAndDerivativesAreThoseOfRaoultsLaw)
{
    const std::vector<std::wstring> three = {L"n-butane", L"n-pentane", L"n-hexane"};
    ExampleBridge bridge(three);
    ScopedBstr liquid(L"Liquid");
    const ScopedVariant moles = Doubles({2.0, 1.0, 1.0});  // not normalised on purpose
    ScopedVariant lnPhi, dT, dP, dn;

    ASSERT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(liquid.Get(), temperature, pressure, moles.Value(), 15,
                                                    lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()))
        << bridge.Error();
    ExpectNear(LiquidLnPhi(three, temperature, pressure), ReadDoubles(lnPhi.Value()), 1e-12);
    // d ln phi / dT = d ln Psat / dT; d ln phi / dP = -1 / P; nothing in the mole numbers.
    std::vector<double> slopes;
    for (const std::wstring &id : three) slopes.push_back(Saturation(Compound(id.c_str()), temperature).dLnPressureDT);
    ExpectNear(slopes, ReadDoubles(dT.Value()), 1e-12);
    ExpectNear(std::vector<double>(3, -1.0 / pressure), ReadDoubles(dP.Value()), 1e-12);
    EXPECT_EQ(std::vector<double>(9, 0.0), ReadDoubles(dn.Value()));
}

TEST(LnPhi, FlagsSelectExactlyTheRequestedOutputs)
{
    ExampleBridge bridge(compounds);
    ScopedBstr vapor(L"Vapor");
    const ScopedVariant moles = Doubles({1.0, 1.0});
    ScopedVariant lnPhi, dT, dP, dn;
    V_VT(dT.Get()) = VT_I4;  // sentinels: untouched outputs keep them
    V_I4(dT.Get()) = 7;
    V_VT(dn.Get()) = VT_I4;

    ASSERT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 5,
                                                    lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()))
        << bridge.Error();
    // The names as the 1.0 package lists them.
    EXPECT_EQ(L"CalcProp [logFugacityCoefficient, logFugacityCoefficient.Dpressure] [Vapor] mixture",
              bridge.package10->script.calls.back());
    EXPECT_EQ((std::vector<double>{0.0, 0.0}), ReadDoubles(lnPhi.Value()));
    EXPECT_EQ(VT_I4, dT.Type());
    EXPECT_EQ(7, V_I4(dT.Get()));
    EXPECT_EQ(VT_I4, dn.Type());

    const int calls = bridge.package10->script.CountCalls(L"CalcProp");
    EXPECT_EQ(S_OK, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 0,
                                                    nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ECapeUnknownHR, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 16,
                                                              lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()));
    EXPECT_EQ(L"Invalid calculation request flags", bridge.Error());
    EXPECT_EQ(E_POINTER, bridge.package->CalcAndGetLnPhi(vapor.Get(), temperature, pressure, moles.Value(), 2,
                                                         lnPhi.Get(), nullptr, dP.Get(), dn.Get()));
    EXPECT_EQ(calls, bridge.package10->script.CountCalls(L"CalcProp"));

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
    // A 1.0 package that asks for the composition in mass basis, as many do,
    // with more compounds than a fixed buffer holds.
    std::vector<std::wstring> ids;
    std::vector<double> weights;
    for (int i = 0; i < 40; ++i) {
        ids.push_back(L"c" + std::to_wstring(i));
        weights.push_back(i + 1.0);
    }
    ExampleBridge bridge(ids);
    bridge.UseScriptedLists(weights);
    std::vector<double> massFractions;
    bridge.package10->script.onCalcProp = [&](CScriptedPackage10 &, ICapeThermoMaterialObject *material,
                                              const std::vector<std::wstring> &props,
                                              const std::vector<std::wstring> &, const std::wstring &) {
        HRESULT hr = GetProp10(material, L"fraction", L"Vapor", L"mass", &massFractions);
        return FAILED(hr) ? hr : SetProp10(material, props[0].c_str(), L"Vapor", nullptr, std::vector<double>(40, 0.0));
    };
    auto lnPhiOf = [&](const std::vector<double> &moles) {
        ScopedVariant lnPhi;
        return bridge.package->CalcAndGetLnPhi(ScopedBstr(L"Vapor").Get(), temperature, pressure,
                                               Doubles(moles).Value(), 1, lnPhi.Get(), nullptr, nullptr, nullptr);
    };
    ASSERT_EQ(S_OK, lnPhiOf(std::vector<double>(40, 1.0))) << bridge.Error();
    ASSERT_EQ(40u, massFractions.size());
    for (int i = 0; i < 40; ++i) EXPECT_NEAR((i + 1) / 820.0, massFractions[i], 1e-15) << i;

    const struct {
        std::vector<double> moles;
        const wchar_t *failure;
        bool weightUnknown;  // the last compound's, after the user's Edit
    } cases[] = {{std::vector<double>(40, 0.0), L"Total mole numbers are zero", false},
                 {{1.0}, L"Invalid mole numbers: unexpected number of values", false},
                 {std::vector<double>(40, 1.0),
                  L"Unable to perform mole/mass conversion, one or more missing molecular weights", true}};
    for (const auto &c : cases) {
        if (c.weightUnknown) {
            bridge.package10->script.molecularWeights.back() = CapeEmptyDouble;
            ASSERT_EQ(S_OK, static_cast<ICapeUtilities *>(bridge.package)->Edit());
        }
        EXPECT_EQ(ECapeUnknownHR, lnPhiOf(c.moles));
        EXPECT_EQ(c.failure, bridge.package->materialObject->ErrorDescription());
        EXPECT_TRUE(massFractions.empty());
    }
}
