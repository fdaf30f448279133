// Flashes through the package: flash condition parsing, the 1.0 flash on the
// material object, and the transfer of its results to the 1.1 material. The
// numbers are the example's ideal package's, checked against its own flash.
#include "ExampleBridge.h"
#include "Flash.h"
#include "IdealMixture.h"

namespace {

const std::vector<double> feed = {0.4, 0.6};

// The example's own ideal flash of the same mixture.
struct IdealFlash {
    IdealMixture model{{FindCompound(L"n-pentane"), FindCompound(L"n-hexane")}};
    ::Flash flash{model};
    FlashResult TP(double temperature, double pressure)
    {
        FlashResult result;
        std::wstring error;
        EXPECT_TRUE(flash.TP(temperature, pressure, feed, result, error));
        return result;
    }
};

using Equilibrium = ExampleBridge;
using EquilibriumSpec = ExampleBridge;

const StringList temperatureSpec = {L"Temperature", L"", L"overall"};
const StringList pressureSpec = {L"Pressure", L"", L"overall"};
const StringList vaporFractionSpec = {L"phaseFraction", L"mole", L"Vapor"};

}  // namespace

TEST_F(Equilibrium, TpFlashGivesTheModelsSplitAndWritesNoOverallConditions)
{
    PutFeed(feed, 328.0, 101325.0);
    ASSERT_EQ(S_OK, RunFlash(pressureSpec, temperatureSpec)) << Error();

    const FlashResult expected = IdealFlash().TP(328.0, 101325.0);
    EXPECT_EQ(1, Script().CountCalls(L"CalcEquilibrium TP"));
    EXPECT_EQ((StringList{L"Vapor", L"Liquid"}), material->presentPhases);
    EXPECT_EQ((std::vector<LONG>{1, 1}), material->phaseStatuses);
    ExpectNear({expected.vaporFraction}, material->Values(L"phaseFraction", L"Vapor", L"mole"), 0, 1e-12);
    ExpectNear({1 - expected.vaporFraction}, material->Values(L"phaseFraction", L"Liquid", L"mole"), 0, 1e-12);
    ExpectNear(expected.y, material->Values(L"fraction", L"Vapor", L"mole"), 0, 1e-12);
    ExpectNear(expected.x, material->Values(L"fraction", L"Liquid", L"mole"), 0, 1e-12);
    // The specified T and P became the phase conditions, and were not written back.
    EXPECT_EQ(std::vector<double>{328.0}, material->Values(L"temperature", L"Liquid", L""));
    EXPECT_EQ(std::vector<double>{101325.0}, material->Values(L"pressure", L"Vapor", L""));
    EXPECT_EQ(0, material->CountCalls(L"SetOverallProp"));
}

TEST_F(Equilibrium, PhFlashWritesOverallTemperatureButNotPressure)
{
    IdealFlash ideal;
    const FlashResult atTarget = ideal.TP(327.0, 101325.0);
    PutFeed(feed, 0.0, 101325.0);
    material->Put(L"enthalpy", L"Overall", L"mole", {ideal.flash.Enthalpy(atTarget)});
    ASSERT_EQ(S_OK, RunFlash(pressureSpec, {L"Enthalpy", L"mole", L"overall"})) << Error();

    EXPECT_EQ(1, Script().CountCalls(L"CalcEquilibrium PH"));
    ExpectNear({327.0}, material->Values(L"temperature", L"Overall", L""), 0, 1e-4);
    EXPECT_EQ(1, material->CountCalls(L"SetOverallProp temperature"));
    EXPECT_EQ(0, material->CountCalls(L"SetOverallProp pressure"));
    ExpectNear(atTarget.y, material->Values(L"fraction", L"Vapor", L"mole"), 0, 1e-5);
}

TEST_F(Equilibrium, FlashFailuresLeaveNoStateForTheNextFlash)
{
    PutFeed(feed, 328.0, 101325.0);
    EXPECT_EQ(ECapeUnknownHR, RunFlash({L"Enthalpy", L"", L"overall"}, {L"Entropy", L"", L"overall"}));
    EXPECT_EQ(L"Unsupported equilibrium specification", Error());
    EXPECT_EQ(0, Script().CountCalls(L"CalcEquilibrium"));

    // A package that neither reads nor sets the temperature.
    Script().onCalcEquilibrium = [](auto &, ICapeThermoMaterialObject *, auto &) { return S_OK; };
    EXPECT_EQ(ECapeUnknownHR, RunFlash(temperatureSpec, pressureSpec));
    EXPECT_EQ(L"Unknown temperature after flash", Error());

    // Composition without a phase fraction for one phase, then a clean flash.
    FlashSets({L"Liquid"}, {});
    EXPECT_EQ(ECapeUnknownHR, RunFlash(temperatureSpec, pressureSpec));
    EXPECT_EQ(L"Phase fraction was not set for present phase Liquid", Error());

    Script().onCalcEquilibrium = nullptr;  // the example's flash again
    PutFeed(feed, 500.0, 101325.0);        // all vapour
    ASSERT_EQ(S_OK, RunFlash(temperatureSpec, pressureSpec)) << Error();
    EXPECT_EQ((StringList{L"Vapor"}), material->presentPhases);
    ExpectNear(feed, material->Values(L"fraction", L"Vapor", L"mole"), 0, 1e-12);
}

TEST_F(EquilibriumSpec, ExactlyTheTwentyTwoPairsHaveAFlashType)
{
    std::vector<StringList> conditions = {temperatureSpec, pressureSpec, vaporFractionSpec};
    for (const wchar_t *property : {L"Enthalpy", L"EnthalpyF", L"Entropy", L"EntropyF", L"Volume", L"InternalEnergy"})
        conditions.push_back({property, L"", L"overall"});
    int supported = 0;
    for (size_t a = 0; a < conditions.size(); ++a) {
        for (size_t b = 0; b < conditions.size(); ++b) {
            if (a == b) continue;
            VARIANT_BOOL answer = VARIANT_TRUE;
            ASSERT_EQ(S_OK, package->CheckEquilibriumSpec(Strings(conditions[a]).Value(),
                                                          Strings(conditions[b]).Value(), nullptr, &answer));
            if (answer == VARIANT_TRUE) ++supported;
        }
    }
    EXPECT_EQ(44, supported);  // 22 pairs, each in both orders
}

TEST_F(EquilibriumSpec, RefusedSpecificationsExplainThemselves)
{
    const StringList both = {L"Vapor", L"Liquid"};
    struct Case {
        StringList spec1, spec2;
        const wchar_t *solutionType;
        StringList present;
        const wchar_t *message;  // null: accepted
    } cases[] = {
        {{L"phaseFraction", L"mass", L"Vapor"}, pressureSpec, nullptr, both,
         L"Invalid equilibruim specification 1: Vapor fraction specification is only supported in mole basis"},
        {{L"Temperature", L"", L"Vapor"}, pressureSpec, nullptr, both,
         L"Invalid equilibruim specification 1: Only overall phase is supported for flash property \"Temperature\""},
        {pressureSpec, {L"pressure", L"", L"Overall"}, nullptr, both,
         L"Invalid equilibruim specification 2: Multiple pressure specifications"},
        {temperatureSpec, {L"Pressure", L"", L"overall", L"benzene"}, nullptr, both,
         L"Invalid equilibruim specification 2: Compound based specification is not supported"},
        {temperatureSpec, {L"Pressure", L"overall"}, nullptr, both,
         L"Invalid equilibruim specification 2: expected 3 or 4 elements"},
        {{L"Density", L"", L"overall"}, pressureSpec, nullptr, both,
         L"Invalid equilibruim specification 1: Unsupported flash condition property \"Density\""},
        {temperatureSpec, pressureSpec, L"Normal", both,
         L"Normal and retrograde flashes only apply to vapor fraction flashes"},
        {vaporFractionSpec, pressureSpec, L"retrograde", both, L"Normal and retrograde flashes are not supported"},
        {temperatureSpec, pressureSpec, L"best", both, L"Invalid solution type argument"},
        // Present phases must be every package phase once.
        {temperatureSpec, pressureSpec, nullptr, {L"Vapor"},
         L"Phase equilibria for a subset of all phases is not supported"},
        {temperatureSpec, pressureSpec, nullptr, {L"Vapor", L"Solid"},
         L"Undefined phase \"Solid in list of present phases"},
        {temperatureSpec, pressureSpec, nullptr, {L"Vapor", L"VAPOR"},
         L"Phase \"VAPOR\" present more than once in list of present phases"},
        // Accepted: lower case, an empty compound, "unspecified", phases in another order.
        {{L"temperature", L"", L"OVERALL"}, {L"Pressure", L"", L"overall", L""}, L"unspecified", {L"Liquid", L"Vapor"},
         nullptr},
    };
    for (const Case &c : cases) {
        material->presentPhases = c.present;
        VARIANT_BOOL answer = c.message ? VARIANT_TRUE : VARIANT_FALSE;
        EXPECT_EQ(S_OK, package->CheckEquilibriumSpec(Strings(c.spec1).Value(), Strings(c.spec2).Value(),
                                                      ScopedBstr(c.solutionType).Get(), &answer));
        EXPECT_EQ(c.message ? VARIANT_FALSE : VARIANT_TRUE, answer) << (c.message ? c.message : L"accepted");
        if (c.message) {
            EXPECT_EQ(c.message, Error());
        }
    }
}
