// Single-phase, two-phase and fugacity-coefficient calculations through the
// package over the example's ideal package, checked against the example's
// model and the closed forms of an ideal mixture: ln phi = ln(Psat / P) in
// the liquid and 0 in the vapour, K = Psat / P.
#include <cmath>

#include "ExampleBridge.h"
#include "Saturation.h"

namespace {

using SinglePhase = ExampleBridge;
using TwoPhase = ExampleBridge;
using LnPhi = ExampleBridge;
using RepeatedCalls = ExampleBridge;

constexpr double temperature = 330.0;
constexpr double pressure = 150000.0;

// ln phi of each compound in the ideal liquid.
std::vector<double> LiquidLnPhi(const StringList &ids, double t, double p)
{
    std::vector<double> values;
    for (const std::wstring &id : ids)
        values.push_back(std::log(Saturation(*FindCompound(id.c_str()), t).pressure / p));
    return values;
}

}  // namespace

TEST_F(SinglePhase, RequestsThe10PackageCannotServeAreRefusedOrReported)
{
    PutPhase(L"Vapor", {0.5, 0.5}, temperature, pressure);

    EXPECT_EQ(ECapeUnknownHR, package->CalcSinglePhaseProp(Strings({L"enthalpy"}).Value(), ScopedBstr(L"Solid").Get()));
    EXPECT_EQ(L"Unsupported/unknown phase: \"Solid\"", Error());
    EXPECT_EQ(0, Script().CountCalls(L"CalcProp"));

    Script().inner.Reset();  // a 1.0 package that succeeds but sets nothing
    EXPECT_EQ(ECapeUnknownHR, package->CalcSinglePhaseProp(Strings({L"volume"}).Value(), ScopedBstr(L"Vapor").Get()));
    EXPECT_EQ(L"Property \"volume\" was not calculated", Error());
}

TEST_F(TwoPhase, KValuesAndSurfaceTensionOnLiquidWithOneRetryOnly)
{
    // The example's properties and a surface tension that, as some 1.0
    // packages do, is given for the phase "Liquid" only.
    ScopedVariant list;
    Script().inner->GetPropList(list.Get());
    StringList names = ReadStrings(list.Value());
    names.push_back(L"surfaceTension");
    Script().rawLists[L"props"] = [names](VARIANT *out) { *out = MakeStringArray(names); };
    Script().onCalcProp = [](auto &self, ICapeThermoMaterialObject *material, const StringList &props,
                             const StringList &phases, const std::wstring &calcType) {
        if (props != StringList{L"surfaceTension"}) {
            return self.script.inner->CalcProp(material, Strings(props).Value(), Strings(phases).Value(),
                                               ScopedBstr(calcType.c_str()).Get());
        }
        if (phases != StringList{L"Liquid"})
            return self.FailWith(ECapeUnknownHR, L"surface tension of the liquid only", L"CalcProp");
        return SetProp10(material, L"surfaceTension", L"Liquid", nullptr, {0.0123});
    };
    PutPhase(L"Vapor", {0.6, 0.4}, temperature, pressure);
    PutPhase(L"Liquid", {0.2, 0.8}, temperature, pressure);
    const ScopedVariant pair = Strings({L"Vapor", L"Liquid"});

    ASSERT_EQ(S_OK, package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), pair.Value())) << Error();
    std::vector<double> k = LiquidLnPhi({L"n-pentane", L"n-hexane"}, temperature, pressure);
    for (double &value : k) value = std::exp(value);
    ExpectNear(k, material->Values(L"kvalue", L"Vapor,Liquid", L""), 1e-12);

    const int before = Script().CountCalls(L"CalcProp");
    ASSERT_EQ(S_OK, package->CalcTwoPhaseProp(Strings({L"surfaceTension"}).Value(), pair.Value())) << Error();
    EXPECT_EQ(before + 2, Script().CountCalls(L"CalcProp"));
    ExpectNear({0.0123}, material->Values(L"surfaceTension", L"Vapor,Liquid", L""), 0.0);

    ASSERT_EQ(S_OK, package->CalcTwoPhaseProp(Strings({L"surfaceTension"}).Value(), pair.Value()));
    EXPECT_EQ(before + 3, Script().CountCalls(L"CalcProp"));
    EXPECT_EQ(L"CalcProp [surfaceTension] [Liquid] mixture", Script().calls.back());
}

TEST_F(LnPhi, ValueAndDerivativesAreThoseOfRaoultsLaw)
{
    const StringList three = {L"n-butane", L"n-pentane", L"n-hexane"};
    SetContext(three);
    const ScopedVariant moles = Doubles({2.0, 1.0, 1.0});  // not normalised on purpose
    ScopedVariant lnPhi, dT, dP, dn;

    ASSERT_EQ(S_OK, package->CalcAndGetLnPhi(ScopedBstr(L"Liquid").Get(), temperature, pressure, moles.Value(), 15,
                                             lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()))
        << Error();
    ExpectNear(LiquidLnPhi(three, temperature, pressure), ReadDoubles(lnPhi.Value()), 1e-12);
    // d ln phi / dT = d ln Psat / dT; d ln phi / dP = -1 / P; nothing in the mole numbers.
    std::vector<double> slopes;
    for (const std::wstring &id : three)
        slopes.push_back(Saturation(*FindCompound(id.c_str()), temperature).dLnPressureDT);
    ExpectNear(slopes, ReadDoubles(dT.Value()), 1e-12);
    ExpectNear(std::vector<double>(3, -1.0 / pressure), ReadDoubles(dP.Value()), 1e-12);
    EXPECT_EQ(std::vector<double>(9, 0.0), ReadDoubles(dn.Value()));
}

TEST_F(LnPhi, FlagsSelectExactlyTheRequestedOutputs)
{
    const ScopedVariant moles = Doubles({1.0, 1.0});
    auto lnPhiWith = [&](int flags, VARIANT *lnPhi, VARIANT *dT, VARIANT *dP, VARIANT *dn) {
        return package->CalcAndGetLnPhi(ScopedBstr(L"Vapor").Get(), temperature, pressure, moles.Value(), flags, lnPhi,
                                        dT, dP, dn);
    };
    ScopedVariant lnPhi, dT, dP, dn;
    V_VT(dT.Get()) = VT_I4;  // sentinels: untouched outputs keep them
    V_I4(dT.Get()) = 7;
    V_VT(dn.Get()) = VT_I4;

    ASSERT_EQ(S_OK, lnPhiWith(5, lnPhi.Get(), dT.Get(), dP.Get(), dn.Get())) << Error();
    EXPECT_EQ((std::vector<double>{0.0, 0.0}), ReadDoubles(lnPhi.Value()));
    EXPECT_EQ(VT_I4, dT.Type());
    EXPECT_EQ(7, V_I4(dT.Get()));
    EXPECT_EQ(VT_I4, dn.Type());

    const int calls = Script().CountCalls(L"CalcProp");
    EXPECT_EQ(S_OK, lnPhiWith(0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ECapeUnknownHR, lnPhiWith(16, lnPhi.Get(), dT.Get(), dP.Get(), dn.Get()));
    EXPECT_EQ(L"Invalid calculation request flags", Error());
    EXPECT_EQ(E_POINTER, lnPhiWith(2, lnPhi.Get(), nullptr, dP.Get(), dn.Get()));
    EXPECT_EQ(calls, Script().CountCalls(L"CalcProp"));

    Script().inner.Reset();  // a 1.0 package that succeeds without setting the value
    EXPECT_EQ(ECapeUnknownHR, lnPhiWith(1, lnPhi.Get(), nullptr, nullptr, nullptr));
    EXPECT_EQ(L"Property LogFugacityCoefficient was not set", Error());
    EXPECT_EQ(VT_EMPTY, lnPhi.Type());
}

TEST_F(LnPhi, CompositionInMassBasisIsReadFromTheCallsMoleNumbers)
{
    // A 1.0 package that asks for the composition in mass basis, as many do,
    // with more compounds than a fixed buffer holds.
    StringList ids;
    std::vector<double> weights;
    for (int i = 0; i < 40; ++i) {
        ids.push_back(L"c" + std::to_wstring(i));
        weights.push_back(i + 1.0);
    }
    SetContext(ids);
    UseScriptedLists(weights);
    std::vector<double> massFractions;
    Script().onCalcProp = [&](auto &, ICapeThermoMaterialObject *material, const StringList &props, auto &, auto &) {
        HRESULT hr = GetProp10(material, L"fraction", L"Vapor", L"mass", &massFractions);
        return FAILED(hr) ? hr : SetProp10(material, props[0].c_str(), L"Vapor", nullptr, std::vector<double>(40, 0.0));
    };
    auto lnPhiOf = [&](const std::vector<double> &moles) {
        ScopedVariant lnPhi;
        return package->CalcAndGetLnPhi(ScopedBstr(L"Vapor").Get(), temperature, pressure, Doubles(moles).Value(), 1,
                                        lnPhi.Get(), nullptr, nullptr, nullptr);
    };
    ASSERT_EQ(S_OK, lnPhiOf(std::vector<double>(40, 1.0))) << Error();
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
            Script().molecularWeights.back() = CapeEmptyDouble;
            ASSERT_EQ(S_OK, Utilities()->Edit());
        }
        EXPECT_EQ(ECapeUnknownHR, lnPhiOf(c.moles));
        EXPECT_EQ(c.failure, package->materialObject->ErrorDescription());
        EXPECT_TRUE(massFractions.empty());
    }
}

// What the package keeps from one call to the next so as not to rebuild it
// (phase list, lnPhi name lists, result slots): a call with other arguments
// must never see the previous call's.
TEST_F(RepeatedCalls, EachCallAsksThe10PackageForItsOwnPhaseAndNames)
{
    PutPhase(L"Vapor", {0.5, 0.5}, 400.0, 1e5);
    PutPhase(L"Liquid", {0.5, 0.5}, 300.0, 1e5);
    const struct Call {
        const wchar_t *phase;
        StringList props;       // single-phase properties, or empty for lnPhi
        int flags;              // lnPhi flags
        const wchar_t *logged;  // the 1.0 call it must become, names as the 1.0 package lists them
    } calls[] = {
        {L"Vapor", {L"enthalpy"}, 0, L"CalcProp [enthalpy] [Vapor] mixture"},
        {L"Liquid", {L"entropy"}, 0, L"CalcProp [entropy] [Liquid] mixture"},
        {L"Liquid", {}, 1, L"CalcProp [logFugacityCoefficient] [Liquid] mixture"},
        {L"Vapor", {}, 3, L"CalcProp [logFugacityCoefficient, logFugacityCoefficient.Dtemperature] [Vapor] mixture"},
        {L"Vapor", {}, 1, L"CalcProp [logFugacityCoefficient] [Vapor] mixture"},
        {L"Vapor", {}, 3, L"CalcProp [logFugacityCoefficient, logFugacityCoefficient.Dtemperature] [Vapor] mixture"},
        {L"Vapor", {L"enthalpy", L"volume"}, 0, L"CalcProp [enthalpy, volume] [Vapor] mixture"},
        {L"Vapor", {}, 5, L"CalcProp [logFugacityCoefficient, logFugacityCoefficient.Dpressure] [Vapor] mixture"},
    };
    for (const Call &call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.logged));
        ScopedBstr phase(call.phase);
        if (call.flags) {
            ScopedVariant lnPhi, dT, dP;
            ASSERT_EQ(S_OK, package->CalcAndGetLnPhi(phase.Get(), 350.0, 1e5, Doubles({1.0, 1.0}).Value(), call.flags,
                                                     lnPhi.Get(), dT.Get(), dP.Get(), nullptr))
                << Error();
            EXPECT_EQ(2u, ReadDoubles(lnPhi.Value()).size());
            EXPECT_EQ(call.flags & 2 ? 2u : 0u, ReadDoubles(dT.Value()).size());
        } else {
            ASSERT_EQ(S_OK, package->CalcSinglePhaseProp(Strings(call.props).Value(), phase.Get())) << Error();
        }
        EXPECT_EQ(call.logged, Script().calls.back());
    }
}

// A 1.0 package that sets more than was asked: only this call's properties
// reach the material, also those that an earlier call asked for. Each call
// sets entropy, then enthalpy, with values of its own.
TEST_F(RepeatedCalls, OnlyTheRequestedPropertiesOfThisCallReachTheMaterial)
{
    Script().onCalcProp = [](auto &, ICapeThermoMaterialObject *material, const StringList &props, auto &, auto &) {
        const double call = props.front() == L"enthalpy" ? 1.0 : 2.0;
        SetProp10(material, L"entropy", L"Vapor", nullptr, {call + 10});
        return SetProp10(material, L"enthalpy", L"Vapor", nullptr, {call});
    };
    ScopedBstr vapor(L"Vapor");
    ASSERT_EQ(S_OK, package->CalcSinglePhaseProp(Strings({L"enthalpy"}).Value(), vapor.Get())) << Error();
    ASSERT_EQ(S_OK, package->CalcSinglePhaseProp(Strings({L"entropy"}).Value(), vapor.Get())) << Error();
    EXPECT_EQ((std::vector<double>{1.0}), material->Values(L"enthalpy", L"Vapor", L""));
    EXPECT_EQ((std::vector<double>{12.0}), material->Values(L"entropy", L"Vapor", L""));
}
