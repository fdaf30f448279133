// What the package keeps from one call to the next so as not to rebuild it
// (phase list, lnPhi name lists, result slots): a call
// with other arguments must never see the previous call's.
#include "ExampleBridge.h"

namespace {

using RepeatedCalls = ExampleBridge;

struct Call {
    const wchar_t *phase;
    StringList props;                  // single-phase properties, or empty for lnPhi
    int flags;                         // lnPhi flags
    const wchar_t *logged;             // the 1.0 call it must become
};

}  // namespace

TEST_F(RepeatedCalls, EachCallAsksThe10PackageForItsOwnPhaseAndNames)
{
    PutPhase(L"Vapor", {0.5, 0.5}, 400.0, 1e5);
    PutPhase(L"Liquid", {0.5, 0.5}, 300.0, 1e5);
    const Call calls[] = {
        {L"Vapor", {L"enthalpy"}, 0, L"CalcProp [enthalpy] [Vapor] mixture"},
        {L"Liquid", {L"entropy"}, 0, L"CalcProp [entropy] [Liquid] mixture"},
        {L"Liquid", {}, 1, L"CalcProp [logFugacityCoefficient] [Liquid] mixture"},
        {L"Vapor", {}, 3, L"CalcProp [logFugacityCoefficient, logFugacityCoefficient.Dtemperature] [Vapor] mixture"},
        {L"Vapor", {}, 1, L"CalcProp [logFugacityCoefficient] [Vapor] mixture"},
        {L"Vapor", {}, 3, L"CalcProp [logFugacityCoefficient, logFugacityCoefficient.Dtemperature] [Vapor] mixture"},
        {L"Vapor", {L"enthalpy", L"volume"}, 0, L"CalcProp [enthalpy, volume] [Vapor] mixture"},
    };
    for (const Call &call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.logged));
        ScopedBstr phase(call.phase);
        if (call.flags) {
            ScopedVariant lnPhi, dT;
            ASSERT_EQ(S_OK, package->CalcAndGetLnPhi(phase.Get(), 350.0, 1e5, Doubles({1.0, 1.0}).Value(), call.flags,
                                                     lnPhi.Get(), dT.Get(), nullptr, nullptr))
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
