// Flashes of both packages over a grid of conditions: every answer is an
// equilibrium (material balance, equal fugacities, never two identical
// phases) and the enthalpy and entropy flashes return to the TP flash; the
// vapour-fraction flashes answer the same way or fail with a reason.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "CompoundData.h"
#include "Flash.h"
#include "IdealMixture.h"
#include "PengRobinson.h"

namespace {

struct Mixture {
    const char *name;
    std::vector<const wchar_t *> ids;
    std::vector<double> z;
};

const Mixture NaturalGas{"natural gas",
                         {L"methane", L"ethane", L"propane", L"n-butane", L"nitrogen", L"carbon dioxide"},
                         {0.85, 0.07, 0.04, 0.02, 0.01, 0.01}};

const Mixture Mixtures[] = {
    NaturalGas,
    {"methane + n-hexane", {L"methane", L"n-hexane"}, {0.5, 0.5}},
    {"propane + n-butane", {L"propane", L"n-butane"}, {0.5, 0.5}},
    {"carbon dioxide + n-butane + n-pentane", {L"carbon dioxide", L"n-butane", L"n-pentane"}, {0.3, 0.4, 0.3}},
};

const double Temperatures[] = {100, 150, 200, 250, 300, 400, 500, 700};
const double Pressures[] = {1e3, 1e4, 1e5, 1e6, 3e6, 5e6, 1e7, 2e7, 3e7};

// The texts a vapour-fraction flash may fail with on these mixtures.
const wchar_t *const Reasons[] = {
    L"No two-phase solution: ",
    L"Vapour fraction flash has no solution at these conditions",
};

std::unique_ptr<ThermoModel> Make(bool pengRobinson, const std::vector<const wchar_t *> &ids)
{
    std::vector<const CompoundData *> list;
    for (const wchar_t *id : ids) list.push_back(FindCompound(id));
    if (pengRobinson) return std::make_unique<PengRobinson>(list);
    return std::make_unique<IdealMixture>(list);
}

double VaporFraction(const FlashResult &r)
{
    return (r.hasVapor && r.hasLiquid) ? r.vaporFraction : (r.hasVapor ? 1.0 : 0.0);
}

// A two-phase answer must be an equilibrium of two different phases.
void ExpectEquilibrium(const ThermoModel &model, const std::vector<double> &z, const FlashResult &r,
                       const std::string &where)
{
    if (!(r.hasVapor && r.hasLiquid)) return;
    PhaseState liquid, vapor;
    model.Evaluate(r.temperature, r.pressure, r.x.data(), PhaseKind::Liquid, 0, liquid);
    model.Evaluate(r.temperature, r.pressure, r.y.data(), PhaseKind::Vapor, 0, vapor);
    double gap = 0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        EXPECT_NEAR(z[i], r.vaporFraction * r.y[i] + (1 - r.vaporFraction) * r.x[i], 1e-10) << where;
        EXPECT_NEAR(std::log(r.x[i]) + liquid.lnPhi[i], std::log(r.y[i]) + vapor.lnPhi[i], 1e-7) << where;
        gap = std::max(gap, std::fabs(r.x[i] - r.y[i]));
    }
    EXPECT_TRUE(gap > 1e-6 || std::fabs(vapor.volume - liquid.volume) > 1e-4 * liquid.volume)
        << "trivial two-phase answer " << where;
}

class FlashGrid : public ::testing::TestWithParam<bool> {};

}  // namespace

TEST_P(FlashGrid, TpAnswersAreEquilibriaAndEnthalpyAndEntropyFlashesReturnToThem)
{
    for (const Mixture &mixture : Mixtures) {
        auto model = Make(GetParam(), mixture.ids);
        Flash flash(*model);
        FlashResult r, back;
        std::wstring error;
        for (double T : Temperatures) {
            for (double P : Pressures) {
                std::string where = std::string(mixture.name) + " at " + std::to_string(T) + " K, " +
                                    std::to_string(P) + " Pa";
                ASSERT_TRUE(flash.TP(T, P, mixture.z, r, error)) << where;
                ExpectEquilibrium(*model, mixture.z, r, where);
                for (bool entropy : {false, true}) {
                    double value = entropy ? flash.Entropy(r) : flash.Enthalpy(r);
                    ASSERT_TRUE(entropy ? flash.PS(P, value, mixture.z, back, error)
                                        : flash.PH(P, value, mixture.z, back, error))
                        << where;
                    EXPECT_NEAR(T, back.temperature, 1e-6 * T) << where << (entropy ? " PS" : " PH");
                    EXPECT_NEAR(VaporFraction(r), VaporFraction(back), 1e-5) << where;
                }
            }
        }
    }
}

TEST_P(FlashGrid, VaporFractionFlashesAnswerWithAnEquilibriumOrAReason)
{
    int answered = 0;
    for (const Mixture &mixture : Mixtures) {
        auto model = Make(GetParam(), mixture.ids);
        Flash flash(*model);
        FlashResult r, check;
        std::wstring error;
        for (bool atPressure : {true, false}) {
            for (double fixed : atPressure ? std::vector<double>(std::begin(Pressures), std::end(Pressures))
                                           : std::vector<double>(std::begin(Temperatures), std::end(Temperatures))) {
                for (double beta : {0.0, 0.5, 1.0}) {
                    std::string where = std::string(mixture.name) + (atPressure ? " PVF at " : " TVF at ") +
                                        std::to_string(fixed) + ", " + std::to_string(beta);
                    bool ok = atPressure ? flash.PVF(fixed, beta, mixture.z, r, error)
                                         : flash.TVF(fixed, beta, mixture.z, r, error);
                    if (!ok) {
                        bool known = false;
                        for (const wchar_t *reason : Reasons) known |= error.rfind(reason, 0) == 0;
                        EXPECT_TRUE(known) << where;
                        continue;
                    }
                    ++answered;
                    ASSERT_TRUE(r.hasVapor && r.hasLiquid) << where;
                    EXPECT_EQ(beta, r.vaporFraction) << where;
                    ExpectEquilibrium(*model, mixture.z, r, where);
                    if (beta != 0.5) continue;
                    ASSERT_TRUE(flash.TP(r.temperature, r.pressure, mixture.z, check, error)) << where;
                    EXPECT_NEAR(0.5, VaporFraction(check), 1e-6) << where;
                }
            }
        }
    }
    EXPECT_GT(answered, 100);  // more than half of the grid has two-phase answers
}

INSTANTIATE_TEST_SUITE_P(Models, FlashGrid, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "PengRobinson" : "Ideal");
                         });

// The two flashes that used to answer with identical phases, and the demo's.
TEST(FlashCriticalRegion, NoTwoPhaseAnswerAboveTheCriticalPointOrTheCricondentherm)
{
    for (bool pengRobinson : {true, false}) {
        FlashResult r;
        std::wstring error;
        auto methane = Make(pengRobinson, {L"methane"});
        EXPECT_FALSE(Flash(*methane).TVF(300, 0, {1.0}, r, error));
        EXPECT_EQ(L"No two-phase solution: temperature above the critical temperature of \"methane\" (190.55 K)",
                  error);
        auto pair = Make(pengRobinson, {L"methane", L"n-hexane"});
        EXPECT_FALSE(Flash(*pair).TVF(600, 0.5, {0.5, 0.5}, r, error));
        EXPECT_EQ(L"No two-phase solution: temperature above the cricondentherm", error);
        EXPECT_FALSE(Flash(*methane).PVF(50e5, 0.5, {1.0}, r, error));
        EXPECT_EQ(0u, error.find(L"No two-phase solution: pressure above the critical pressure"));

        auto gas = Make(pengRobinson, NaturalGas.ids);
        ASSERT_TRUE(Flash(*gas).TP(250, 5e6, NaturalGas.z, r, error));
        EXPECT_TRUE(r.hasVapor && r.hasLiquid);
        EXPECT_GT(r.vaporFraction, 0.8);
        EXPECT_LT(r.vaporFraction, 1.0);
        ExpectEquilibrium(*gas, NaturalGas.z, r, "demo gas");
    }
}

// Above its critical temperature methane is one phase, named vapour at every
// pressure; the dense mixture above its pseudo-critical temperature too.
TEST(FlashCriticalRegion, SupercriticalPhasesAreNamedVapour)
{
    auto methane = Make(true, {L"methane"});
    Flash flash(*methane);
    FlashResult r;
    std::wstring error;
    for (double P : {1e5, 5e6, 3e7, 1e8}) {
        ASSERT_TRUE(flash.TP(300, P, {1.0}, r, error));
        EXPECT_TRUE(r.hasVapor && !r.hasLiquid) << P;
    }
    ASSERT_TRUE(flash.TP(150, 3e7, {1.0}, r, error));
    EXPECT_TRUE(r.hasLiquid && !r.hasVapor);  // compressed liquid below Tc
}
