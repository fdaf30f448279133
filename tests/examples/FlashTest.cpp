// Flashes of both models: equilibrium conditions, round trips between
// flash conditions, single-phase regions and the pure-compound special case.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CompoundData.h"
#include "Flash.h"
#include "IdealMixture.h"
#include "PengRobinson.h"
#include "Saturation.h"

namespace {

std::vector<const CompoundData *> Compounds(std::initializer_list<const wchar_t *> ids)
{
    std::vector<const CompoundData *> list;
    for (const wchar_t *id : ids) list.push_back(FindCompound(id));
    return list;
}

bool TwoPhase(const FlashResult &r)
{
    return r.hasVapor && r.hasLiquid;
}

}  // namespace

class FlashOnModel : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        auto list = Compounds({L"methane", L"propane", L"n-butane", L"n-hexane"});
        if (GetParam())
            model = std::make_unique<PengRobinson>(list);
        else
            model = std::make_unique<IdealMixture>(list);
        flash = std::make_unique<Flash>(*model);
    }
    std::unique_ptr<ThermoModel> model;
    std::unique_ptr<Flash> flash;
    std::vector<double> z{0.4, 0.2, 0.2, 0.2};
    std::wstring error;
    FlashResult r, back;
    PhaseState liquid, vapor;
};

TEST_P(FlashOnModel, TwoPhaseSplitHasEqualFugacitiesAndClosesMaterialBalance)
{
    ASSERT_TRUE(flash->TP(300, 20e5, z, r, error));
    ASSERT_TRUE(TwoPhase(r));
    EXPECT_GT(r.vaporFraction, 0.05);
    EXPECT_LT(r.vaporFraction, 0.95);
    model->Evaluate(r.temperature, r.pressure, r.x.data(), PhaseKind::Liquid, 0, liquid);
    model->Evaluate(r.temperature, r.pressure, r.y.data(), PhaseKind::Vapor, 0, vapor);
    double sx = 0, sy = 0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        EXPECT_NEAR(std::log(r.x[i]) + liquid.lnPhi[i], std::log(r.y[i]) + vapor.lnPhi[i], 1e-8) << i;
        EXPECT_NEAR(z[i], r.vaporFraction * r.y[i] + (1 - r.vaporFraction) * r.x[i], 1e-12) << i;
        sx += r.x[i];
        sy += r.y[i];
    }
    EXPECT_NEAR(1, sx, 1e-12);
    EXPECT_NEAR(1, sy, 1e-12);
}

TEST_P(FlashOnModel, EnthalpyAndEntropyFlashesGiveBackTheTemperature)
{
    for (double T : {200.0, 300.0, 450.0}) {  // liquid, two-phase, vapour at 20 bar
        ASSERT_TRUE(flash->TP(T, 20e5, z, r, error));
        ASSERT_TRUE(flash->PH(20e5, flash->Enthalpy(r), z, back, error)) << T;
        EXPECT_NEAR(T, back.temperature, 1e-5) << T;
        EXPECT_NEAR(r.vaporFraction, back.vaporFraction, 1e-6) << T;
        ASSERT_TRUE(flash->PS(20e5, flash->Entropy(r), z, back, error)) << T;
        EXPECT_NEAR(T, back.temperature, 1e-5) << T;
    }
}

TEST_P(FlashOnModel, VaporFractionFlashesAgreeWithTpFlash)
{
    ASSERT_TRUE(flash->PVF(20e5, 0.5, z, r, error));
    ASSERT_TRUE(flash->TP(r.temperature, 20e5, z, back, error));
    EXPECT_NEAR(0.5, back.vaporFraction, 1e-6);
    ASSERT_TRUE(flash->TVF(300, 0.3, z, r, error));
    ASSERT_TRUE(flash->TP(300, r.pressure, z, back, error));
    EXPECT_NEAR(0.3, back.vaporFraction, 1e-6);
    // Bubble and dew points bracket the two-phase region.
    FlashResult bubble, dew;
    ASSERT_TRUE(flash->PVF(20e5, 0, z, bubble, error));
    ASSERT_TRUE(flash->PVF(20e5, 1, z, dew, error));
    EXPECT_LT(bubble.temperature, dew.temperature);
    ASSERT_TRUE(flash->TP(bubble.temperature - 0.5, 20e5, z, back, error));
    EXPECT_FALSE(back.hasVapor);
    ASSERT_TRUE(flash->TP(dew.temperature + 0.5, 20e5, z, back, error));
    EXPECT_FALSE(back.hasLiquid);
    ASSERT_TRUE(flash->TP(0.5 * (bubble.temperature + dew.temperature), 20e5, z, back, error));
    EXPECT_TRUE(TwoPhase(back));
}

TEST_P(FlashOnModel, SinglePhaseRegionsGiveOnePhaseWithTheFeed)
{
    ASSERT_TRUE(flash->TP(600, 5e5, z, r, error));
    EXPECT_TRUE(r.hasVapor && !r.hasLiquid);
    EXPECT_EQ(1, r.vaporFraction);
    EXPECT_EQ(z, r.y);
    ASSERT_TRUE(flash->TP(150, 50e5, z, r, error));
    EXPECT_TRUE(r.hasLiquid && !r.hasVapor);
    EXPECT_EQ(z, r.x);
}

TEST_P(FlashOnModel, RejectsSpecificationsWithoutAnswer)
{
    EXPECT_FALSE(flash->TP(-1, 1e5, z, r, error));
    EXPECT_FALSE(flash->PVF(1e5, 1.5, z, r, error));
    EXPECT_FALSE(flash->PH(1e5, 1e9, z, r, error));
    EXPECT_NE(std::wstring::npos, error.find(L"enthalpy"));
    std::vector<double> bad{0.5, 0.5};
    EXPECT_FALSE(flash->TP(300, 1e5, bad, r, error));
}

INSTANTIATE_TEST_SUITE_P(Models, FlashOnModel, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "PengRobinson" : "Ideal");
                         });

TEST(FlashPureCompound, BoilsAtItsVaporPressureWithAnyVaporFraction)
{
    PengRobinson model(Compounds({L"water"}));
    Flash flash(model);
    std::vector<double> z{1};
    std::wstring error;
    FlashResult r, liquid, vapor;
    ASSERT_TRUE(flash.PVF(101325, 0.25, z, r, error));
    double Tb = 0;
    ASSERT_TRUE(BoilingTemperature(model.Compound(0), 101325, Tb));
    EXPECT_NEAR(Tb, r.temperature, 1e-6);
    EXPECT_TRUE(r.hasVapor && r.hasLiquid);
    EXPECT_DOUBLE_EQ(0.25, r.vaporFraction);
    // Halfway between saturated liquid and vapour enthalpy: a two-phase PH answer.
    ASSERT_TRUE(flash.TP(Tb - 0.01, 101325, z, liquid, error));
    ASSERT_TRUE(flash.TP(Tb + 0.01, 101325, z, vapor, error));
    double H = 0.5 * (flash.Enthalpy(liquid) + flash.Enthalpy(vapor));
    ASSERT_TRUE(flash.PH(101325, H, z, r, error));
    EXPECT_NEAR(Tb, r.temperature, 0.02);
    EXPECT_NEAR(0.5, r.vaporFraction, 0.01);
}

TEST(FlashIdeal, BubblePressureFollowsRaoultsLaw)
{
    IdealMixture model(Compounds({L"n-pentane", L"n-hexane"}));
    Flash flash(model);
    std::vector<double> z{0.4, 0.6};
    std::wstring error;
    FlashResult r;
    ASSERT_TRUE(flash.TVF(330, 0, z, r, error));
    double expected =
        0.4 * Saturation(model.Compound(0), 330).pressure + 0.6 * Saturation(model.Compound(1), 330).pressure;
    EXPECT_NEAR(expected, r.pressure, 1e-6 * expected);
}

// Water and n-hexane barely mix: with methane beside them they form a vapour
// and two liquids, which a vapour-liquid package must refuse rather than
// answer with a two-phase split that is not at equilibrium. Hot enough, all
// is vapour and the enthalpy flash returns to it.
TEST(FlashImmiscible, WaterAndHexaneRefuseThreePhasesAndFlashAsVapourWhenHot)
{
    PengRobinson model(Compounds({L"water", L"n-hexane", L"methane"}));
    Flash flash(model);
    std::vector<double> z{0.45, 0.45, 0.1};
    std::wstring error;
    FlashResult r, back;
    for (double P : {1e5, 20e5}) {
        EXPECT_FALSE(flash.TP(300, P, z, r, error)) << P;
        EXPECT_NE(std::wstring::npos, error.find(L"phases")) << P;
    }
    ASSERT_TRUE(flash.TP(500, 1e5, z, r, error));
    EXPECT_TRUE(r.hasVapor && !r.hasLiquid);
    ASSERT_TRUE(flash.PH(1e5, flash.Enthalpy(r), z, back, error));
    EXPECT_NEAR(500, back.temperature, 1e-4);
}
