// What the flash and check commands put on the material before a package
// sees it, and how they read a flash result back.
#include <gtest/gtest.h>

#include "ArrayValues.h"
#include "Calculations.h"
#include "PropertyStore.h"

namespace {

class CalculationsTest : public testing::Test {
protected:
    void SetUp() override
    {
        CompoundTable compounds;
        compounds.ids = {L"methane", L"propane"};
        ASSERT_EQ(S_OK, CMaterial11::Create(compounds, {L"Vapor", L"Liquid"}, material));
    }
    const std::vector<double> &Value(const wchar_t *phase, const wchar_t *property, ValueBasis basis)
    {
        static const std::vector<double> none;
        const std::vector<double> *found = material->store.Get(phase, property, basis);
        return found ? *found : none;
    }
    HRESULT SetPresent(std::vector<std::wstring> labels)
    {
        ScopedVariant names, statuses;
        PutStrings(names.Get(), labels);
        PutLongs(statuses.Get(), std::vector<long>(labels.size(), CAPE_ATEQUILIBRIUM));
        return material->SetPresentPhases(names.Value(), statuses.Value());
    }
    void SetPhase(const wchar_t *phase, const wchar_t *property, std::vector<double> values)
    {
        ScopedVariant array;
        PutDoubles(array.Get(), values);
        ASSERT_EQ(S_OK, material->SetSinglePhaseProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(),
                                                     ScopedBstr(L"mole").Get(), array.Value()));
    }

    ComPtr<CMaterial11> material;
    MixtureState mixture{300.0, 1e5, {0.25, 0.75}};
};

}  // namespace

TEST_F(CalculationsTest, FlashPreparationFixesTheGivenConditionsOverTheMixture)
{
    SetPresent({L"Liquid"});
    SetPhase(L"Liquid", L"enthalpy", {-1.0});  // a previous result must not survive
    std::wstring error;
    ASSERT_TRUE(PrepareFlash(*material.Get(), mixture,
                             {{FlashVariable::Pressure, 2e6}, {FlashVariable::VaporFraction, 0.4}}, error))
        << std::string(error.begin(), error.end());

    EXPECT_EQ((std::vector<std::wstring>{L"Vapor", L"Liquid"}), material->presentPhases);
    EXPECT_EQ(std::vector<double>{300.0}, Value(L"overall", L"temperature", ValueBasis::Undefined));
    EXPECT_EQ(std::vector<double>{2e6}, Value(L"overall", L"pressure", ValueBasis::Undefined));
    EXPECT_EQ((std::vector<double>{0.25, 0.75}), Value(L"overall", L"fraction", ValueBasis::Mole));
    // The vapour fraction is a property of the phase labelled Vapor, in mole basis.
    EXPECT_EQ(std::vector<double>{0.4}, Value(L"Vapor", L"phaseFraction", ValueBasis::Mole));
    EXPECT_TRUE(Value(L"Liquid", L"enthalpy", ValueBasis::Mole).empty());

    ASSERT_TRUE(PrepareFlash(*material.Get(), mixture,
                             {{FlashVariable::Enthalpy, -5000.0}, {FlashVariable::Entropy, -20.0}}, error));
    EXPECT_EQ(std::vector<double>{-5000.0}, Value(L"overall", L"enthalpy", ValueBasis::Mole));
    EXPECT_EQ(std::vector<double>{-20.0}, Value(L"overall", L"entropy", ValueBasis::Mole));
    EXPECT_EQ(std::vector<double>{1e5}, Value(L"overall", L"pressure", ValueBasis::Undefined));
}

TEST_F(CalculationsTest, PhasePreparationGivesEveryPhaseTheMixtureConditions)
{
    std::wstring error;
    ASSERT_TRUE(PreparePhases(*material.Get(), mixture, error));
    for (const wchar_t *phase : {L"Vapor", L"Liquid"}) {
        double t = 0, p = 0;
        ScopedVariant x;
        ASSERT_EQ(S_OK, material->GetTPFraction(ScopedBstr(phase).Get(), &t, &p, x.Get()));
        EXPECT_EQ(300.0, t);
        EXPECT_EQ(1e5, p);
        EXPECT_EQ(std::vector<double>{0.5}, Value(phase, L"phaseFraction", ValueBasis::Mole));
    }
}

TEST_F(CalculationsTest, FlashResultsAreReadPerPresentPhaseAndIncompleteOnesRefused)
{
    ASSERT_EQ(S_OK, SetPresent({L"Liquid", L"Vapor"}));
    for (const wchar_t *phase : {L"Liquid", L"Vapor"}) {
        SetPhase(phase, L"temperature", {250.0});
        SetPhase(phase, L"pressure", {2e6});
    }
    SetPhase(L"Liquid", L"phaseFraction", {0.6});
    SetPhase(L"Liquid", L"fraction", {0.1, 0.9});
    SetPhase(L"Vapor", L"phaseFraction", {0.4});

    std::vector<PhaseResult> phases;
    std::wstring error;
    EXPECT_FALSE(ReadFlashResult(*material.Get(), phases, error));
    EXPECT_EQ(L"the flash left phase \"Vapor\" without a mole composition", error);

    SetPhase(L"Vapor", L"fraction", {0.8, 0.2});
    ASSERT_TRUE(ReadFlashResult(*material.Get(), phases, error));
    ASSERT_EQ(2u, phases.size());
    EXPECT_EQ(L"Liquid", phases[0].label);  // in the order the package made them present
    EXPECT_EQ(0.6, phases[0].fraction);
    EXPECT_EQ((std::vector<double>{0.8, 0.2}), phases[1].composition);
    EXPECT_EQ(250.0, phases[1].temperature);

    ASSERT_EQ(S_OK, SetPresent({}));
    EXPECT_FALSE(ReadFlashResult(*material.Get(), phases, error));
    EXPECT_EQ(L"the flash left no phase present", error);
}

TEST(PropertyStore, BasisStandInsNeverServeStaleValues)
{
    PropertyStore store;
    const double mole[] = {1.0}, undefined[] = {2.0}, mass[] = {3.0};
    store.Set(L"Vapor", L"density", ValueBasis::Mole, mole, 1);
    store.Set(L"Vapor", L"density", ValueBasis::Mass, mass, 1);
    ASSERT_NE(nullptr, store.Get(L"vapor", L"DENSITY", ValueBasis::Undefined));
    EXPECT_EQ(1.0, (*store.Get(L"Vapor", L"density", ValueBasis::Undefined))[0]);
    // A newer value without basis replaces the mole one for every reader.
    store.Set(L"Vapor", L"density", ValueBasis::Undefined, undefined, 1);
    EXPECT_EQ(2.0, (*store.Get(L"Vapor", L"density", ValueBasis::Mole))[0]);
    EXPECT_EQ(3.0, (*store.Get(L"Vapor", L"density", ValueBasis::Mass))[0]);
    ValueBasis basis = ValueBasis::Mass;
    ASSERT_NE(nullptr, store.GetAnyBasis(L"Vapor", L"density", basis));
    EXPECT_EQ(ValueBasis::Undefined, basis);

    // Clearing one phase leaves phases whose labels merely start alike.
    store.Set(L"Vapor2", L"density", ValueBasis::Mole, mole, 1);
    store.ClearPhase(L"VAPOR");
    EXPECT_EQ(nullptr, store.GetAnyBasis(L"Vapor", L"density", basis));
    EXPECT_NE(nullptr, store.Get(L"Vapor2", L"density", ValueBasis::Mole));
}
