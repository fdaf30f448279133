// What the flash and check commands put on the material before a package
// sees it, how they read a flash result back, and the in-memory material's
// refusals as the probe's user meets them when a package misbehaves.
#include <gtest/gtest.h>

#include "Calculations.h"
#include "CapeClient.h"
#include "PropertyStore.h"
#include "TestVariants.h"
#include "Text.h"

namespace {

class CalculationsTest : public testing::Test {
protected:
    HRESULT SetPresent(std::vector<std::wstring> labels)
    {
        ScopedVariant statuses(MakeList(std::vector<long>(labels.size(), CAPE_ATEQUILIBRIUM)));
        return material->SetPresentPhases(Strings(labels).Value(), statuses.Value());
    }
    HRESULT SetPhase(const wchar_t *phase, const wchar_t *property, const wchar_t *basis,
                     std::vector<double> values)
    {
        return material->SetSinglePhaseProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(),
                                            ScopedBstr(basis).Get(), Doubles(values).Value());
    }
    std::wstring LastFailure() { return FailureText(material->Interface(), ECapeUnknownHR); }

    ComPtr<CMaterial11> material = CMaterial11::Create({L"methane", L"propane"});
    MixtureState mixture{300.0, 1e5, {0.25, 0.75}};
};

}  // namespace

// The conditions, compositions and phases the preparations put on the
// material are seen end to end (ProbeEndToEnd, verify, ConcurrentClientsTest);
// here what only shows on the material: a flash finds no result of an earlier
// one, and the phases of a property calculation share the mixture equally.
TEST_F(CalculationsTest, PreparationsLeaveNoEarlierResultAndShareThePhasesEqually)
{
    SetPresent({L"Liquid"});
    material->Put(L"enthalpy", L"Liquid", L"mole", {-1.0});
    std::wstring error;
    ASSERT_TRUE(PrepareFlash(*material.Get(), mixture,
                             {{FlashVariable::Pressure, 2e6}, {FlashVariable::VaporFraction, 0.4}}, error))
        << ToUtf8(error);
    EXPECT_FALSE(material->Has(L"enthalpy", L"Liquid", L"mole"));

    ASSERT_TRUE(PreparePhases(*material.Get(), mixture, error)) << ToUtf8(error);
    for (const wchar_t *phase : {L"Vapor", L"Liquid"})
        EXPECT_EQ(std::vector<double>{0.5}, material->Values(L"phaseFraction", phase, L"mole")) << ToUtf8(phase);
}

TEST_F(CalculationsTest, FlashResultsAreReadPerPresentPhaseAndIncompleteOnesRefused)
{
    ASSERT_EQ(S_OK, SetPresent({L"Liquid", L"Vapor"}));
    for (const wchar_t *phase : {L"Liquid", L"Vapor"}) {
        material->Put(L"temperature", phase, L"", {250.0});
        material->Put(L"pressure", phase, L"", {2e6});
    }
    material->Put(L"phaseFraction", L"Liquid", L"mole", {0.6});
    material->Put(L"fraction", L"Liquid", L"mole", {0.1, 0.9});
    material->Put(L"phaseFraction", L"Vapor", L"mole", {0.4});

    std::vector<PhaseResult> phases;
    std::wstring error;
    EXPECT_FALSE(ReadFlashResult(*material.Get(), phases, error));
    EXPECT_EQ(L"the flash left phase \"Vapor\" without a mole composition", error);

    material->Put(L"fraction", L"Vapor", L"mole", {0.8, 0.2});
    ASSERT_TRUE(ReadFlashResult(*material.Get(), phases, error));
    ASSERT_EQ(2u, phases.size());
    EXPECT_EQ(L"Liquid", phases[0].label);  // in the order made present; the values: ProbeEndToEnd, verify

    ASSERT_EQ(S_OK, SetPresent({}));
    EXPECT_FALSE(ReadFlashResult(*material.Get(), phases, error));
    EXPECT_EQ(L"the flash left no phase present", error);
}

// The material's ordinary values are exercised by every package test that uses it as a context.
TEST_F(CalculationsTest, MaterialRefusesMalformedInputWithAReason)
{
    EXPECT_EQ(ECapeUnknownHR, SetPresent({L"Vapor", L"Solid"}));
    EXPECT_EQ(L"CMaterial11::SetPresentPhases: Unknown phase \"Solid\"", LastFailure());
    EXPECT_EQ(ECapeUnknownHR, SetPresent({L"Vapor", L"VAPOR"}));
    ASSERT_EQ(S_OK, SetPresent({L"Vapor"}));
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Vapor", L"temperature", L"kmol", {300.0}));
    EXPECT_EQ(L"CMaterial11::SetSinglePhaseProp: Invalid basis \"kmol\"", LastFailure());
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Vapor", L"temperature", nullptr, {}));
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Liquid", L"phaseFraction", L"mole", {0.3}));
    EXPECT_EQ(L"CMaterial11::SetSinglePhaseProp: Phase \"Liquid\" is not present", LastFailure());
    // Undefined and mole basis stand in for each other, mass does not.
    ASSERT_EQ(S_OK, SetPhase(L"VAPOR", L"density", L"mass", {42.0}));
    EXPECT_EQ(ECapeUnknownHR, material->GetSinglePhaseProp(ScopedBstr(L"density").Get(), ScopedBstr(L"Vapor").Get(),
                                                           ScopedBstr(L"mole").Get(), ScopedVariant().Get()));
    EXPECT_EQ(L"CMaterial11::GetSinglePhaseProp: Property \"density\" in \"mole\" basis is not set for phase "
              L"\"Vapor\"",
              LastFailure());

    ScopedVariant notAnArray(MakeString(L"300"));
    EXPECT_EQ(ECapeUnknownHR, material->SetOverallProp(ScopedBstr(L"temperature").Get(), nullptr, notAnArray.Value()));
    EXPECT_NE(std::wstring::npos, LastFailure().find(L"Invalid values: "));

    EXPECT_EQ(ECapeUnknownHR, material->GetTwoPhaseProp(ScopedBstr(L"surfaceTension").Get(),
                                                        Strings({L"Vapor"}).Value(), nullptr, ScopedVariant().Get()));
    EXPECT_EQ(L"CMaterial11::GetTwoPhaseProp: Two phase labels expected", LastFailure());

    double t = 0, p = 0;
    EXPECT_EQ(E_POINTER, material->GetOverallTPFraction(&t, &p, nullptr));
    EXPECT_EQ(ECapeUnknownHR, material->GetOverallTPFraction(&t, &p, ScopedVariant().Get()));
    EXPECT_EQ(L"CMaterial11::GetOverallTPFraction: Property \"temperature\" is not set for overall",
              LastFailure());
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
