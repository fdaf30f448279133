// The in-memory material as the probe's user meets it when a package
// misbehaves: refusals with their reason, through ECapeUser. Its ordinary
// values are exercised by every package test that uses it as a context.
#include <gtest/gtest.h>

#include "ArrayValues.h"
#include "CapeClient.h"
#include "Material11.h"

namespace {

std::string Narrow(const std::wstring &text)
{
    return std::string(text.begin(), text.end());
}

class Material11Test : public testing::Test {
protected:
    void SetUp() override
    {
        CompoundTable compounds;
        compounds.ids = {L"methane", L"propane"};
        compounds.formulae = {L"CH4", L"C3H8"};
        compounds.names = {L"Methane", L"Propane"};
        compounds.casNumbers = {L"74-82-8", L"74-98-6"};
        compounds.boilTemps = {111.66, 231.02};
        compounds.molWts = {16.043, 44.097};
        ASSERT_EQ(S_OK, CMaterial11::Create(compounds, {L"Vapor", L"Liquid"}, object));
        material = object.Get();
    }

    HRESULT SetPresent(std::vector<std::wstring> labels)
    {
        ScopedVariant names, statuses;
        PutStrings(names.Get(), labels);
        PutLongs(statuses.Get(), std::vector<long>(labels.size(), CAPE_ATEQUILIBRIUM));
        return material->SetPresentPhases(names.Value(), statuses.Value());
    }
    HRESULT SetPhase(const wchar_t *phase, const wchar_t *property, const wchar_t *basis,
                     std::vector<double> values)
    {
        ScopedVariant array;
        PutDoubles(array.Get(), values);
        return material->SetSinglePhaseProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(),
                                            ScopedBstr(basis).Get(), array.Value());
    }
    HRESULT GetPhase(const wchar_t *phase, const wchar_t *property, const wchar_t *basis, std::vector<double> &out)
    {
        ScopedVariant array;
        HRESULT hr = material->GetSinglePhaseProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(),
                                                  ScopedBstr(basis).Get(), array.Get());
        std::wstring error;
        if (SUCCEEDED(hr)) {
            EXPECT_TRUE(ReadDoubles(array.Value(), out, error));
        }
        return hr;
    }
    std::wstring LastFailure() { return FailureText(material, ECapeUnknownHR); }

    ComPtr<CMaterial11> object;
    ICapeThermoMaterial *material = nullptr;
};

}  // namespace

TEST_F(Material11Test, RefusesMalformedInputWithAReason)
{
    EXPECT_EQ(ECapeUnknownHR, SetPresent({L"Vapor", L"Solid"}));
    EXPECT_EQ("CMaterial11::SetPresentPhases: Unknown phase \"Solid\"", Narrow(LastFailure()));
    EXPECT_EQ(ECapeUnknownHR, SetPresent({L"Vapor", L"VAPOR"}));
    ASSERT_EQ(S_OK, SetPresent({L"Vapor"}));
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Vapor", L"temperature", L"kmol", {300.0}));
    EXPECT_EQ("CMaterial11::SetSinglePhaseProp: Invalid basis \"kmol\"", Narrow(LastFailure()));
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Vapor", L"temperature", nullptr, {}));
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Liquid", L"phaseFraction", L"mole", {0.3}));
    EXPECT_EQ("CMaterial11::SetSinglePhaseProp: Phase \"Liquid\" is not present", Narrow(LastFailure()));
    // Undefined and mole basis stand in for each other, mass does not.
    ASSERT_EQ(S_OK, SetPhase(L"VAPOR", L"density", L"mass", {42.0}));
    std::vector<double> values;
    EXPECT_EQ(ECapeUnknownHR, GetPhase(L"Vapor", L"density", L"mole", values));
    EXPECT_EQ("CMaterial11::GetSinglePhaseProp: Property \"density\" in \"mole\" basis is not set for phase "
              "\"Vapor\"",
              Narrow(LastFailure()));

    ScopedVariant notAnArray;
    V_VT(notAnArray.Get()) = VT_R8;
    V_R8(notAnArray.Get()) = 300.0;
    EXPECT_EQ(ECapeUnknownHR, material->SetOverallProp(ScopedBstr(L"temperature").Get(), nullptr, notAnArray.Value()));
    EXPECT_NE(std::wstring::npos, LastFailure().find(L"Invalid values: "));

    ScopedVariant pair;
    PutStrings(pair.Get(), {L"Vapor"});
    EXPECT_EQ(ECapeUnknownHR, material->GetTwoPhaseProp(ScopedBstr(L"surfaceTension").Get(), pair.Value(), nullptr,
                                                        ScopedVariant().Get()));
    EXPECT_EQ("CMaterial11::GetTwoPhaseProp: Two phase labels expected", Narrow(LastFailure()));

    double t = 0, p = 0;
    EXPECT_EQ(E_POINTER, material->GetOverallTPFraction(&t, &p, nullptr));
    EXPECT_EQ(ECapeUnknownHR, material->GetOverallTPFraction(&t, &p, ScopedVariant().Get()));
    EXPECT_EQ("CMaterial11::GetOverallTPFraction: Property \"temperature\" is not set for overall",
              Narrow(LastFailure()));
}
