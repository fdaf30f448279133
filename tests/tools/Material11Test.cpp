// The probe's material as a package sees it: through ICapeThermoMaterial
// and ICapeThermoCompounds, with failures readable through ECapeUser.
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

TEST_F(Material11Test, PhaseValuesRoundTripAcrossLetterCaseAndBasisStandIns)
{
    ASSERT_EQ(S_OK, SetPresent({L"vapor", L"Liquid"}));
    ASSERT_EQ(S_OK, SetPhase(L"VAPOR", L"temperature", nullptr, {250.0}));
    ASSERT_EQ(S_OK, SetPhase(L"Vapor", L"Pressure", L"", {5e6}));
    ASSERT_EQ(S_OK, SetPhase(L"Vapor", L"fraction", L"mole", {0.9, 0.1}));
    ASSERT_EQ(S_OK, SetPhase(L"Vapor", L"density", L"mass", {42.0}));

    std::vector<double> values;
    // Undefined and mole basis stand in for each other, mass does not.
    ASSERT_EQ(S_OK, GetPhase(L"Vapor", L"temperature", L"mole", values));
    EXPECT_EQ(std::vector<double>{250.0}, values);
    ASSERT_EQ(S_OK, GetPhase(L"vapor", L"FRACTION", nullptr, values));
    EXPECT_EQ((std::vector<double>{0.9, 0.1}), values);
    EXPECT_EQ(ECapeUnknownHR, GetPhase(L"Vapor", L"density", L"mole", values));
    EXPECT_EQ("CMaterial11::GetSinglePhaseProp: Property \"density\" in \"mole\" basis is not set for phase "
              "\"Vapor\"",
              Narrow(LastFailure()));

    double t = 0, p = 0;
    ScopedVariant x;
    ASSERT_EQ(S_OK, material->GetTPFraction(ScopedBstr(L"Vapor").Get(), &t, &p, x.Get()));
    EXPECT_EQ(250.0, t);
    EXPECT_EQ(5e6, p);
    // The present phases keep the package's spelling of the labels.
    ScopedVariant labels, statuses;
    ASSERT_EQ(S_OK, material->GetPresentPhases(labels.Get(), statuses.Get()));
    std::vector<std::wstring> present;
    std::wstring error;
    ASSERT_TRUE(ReadStrings(labels.Value(), present, error));
    EXPECT_EQ((std::vector<std::wstring>{L"Vapor", L"Liquid"}), present);
}

TEST_F(Material11Test, ValuesOfAPhaseThatLeavesAreForgotten)
{
    ASSERT_EQ(S_OK, SetPresent({L"Vapor", L"Liquid"}));
    ASSERT_EQ(S_OK, SetPhase(L"Liquid", L"phaseFraction", L"mole", {0.3}));
    ASSERT_EQ(S_OK, SetPhase(L"Vapor", L"phaseFraction", L"mole", {0.7}));
    ASSERT_EQ(S_OK, SetPresent({L"Vapor"}));
    std::vector<double> values;
    EXPECT_EQ(S_OK, GetPhase(L"Vapor", L"phaseFraction", L"mole", values));
    EXPECT_EQ(ECapeUnknownHR, GetPhase(L"Liquid", L"phaseFraction", L"mole", values));
    // and a phase that is not present takes no values.
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Liquid", L"phaseFraction", L"mole", {0.3}));
    EXPECT_EQ("CMaterial11::SetSinglePhaseProp: Phase \"Liquid\" is not present", Narrow(LastFailure()));
}

TEST_F(Material11Test, RefusesMalformedInputWithAReason)
{
    EXPECT_EQ(ECapeUnknownHR, SetPresent({L"Vapor", L"Solid"}));
    EXPECT_EQ("CMaterial11::SetPresentPhases: Unknown phase \"Solid\"", Narrow(LastFailure()));
    EXPECT_EQ(ECapeUnknownHR, SetPresent({L"Vapor", L"VAPOR"}));
    ASSERT_EQ(S_OK, SetPresent({L"Vapor"}));
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Vapor", L"temperature", L"kmol", {300.0}));
    EXPECT_EQ("CMaterial11::SetSinglePhaseProp: Invalid basis \"kmol\"", Narrow(LastFailure()));
    EXPECT_EQ(ECapeUnknownHR, SetPhase(L"Vapor", L"temperature", nullptr, {}));

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

TEST_F(Material11Test, TwoPhaseValuesBelongToTheOrderedPair)
{
    ScopedVariant pair, reversed, values, result;
    PutStrings(pair.Get(), {L"vapor", L"liquid"});
    PutStrings(reversed.Get(), {L"Liquid", L"Vapor"});
    PutDoubles(values.Get(), {0.012});
    ASSERT_EQ(S_OK, material->SetTwoPhaseProp(ScopedBstr(L"surfaceTension").Get(), pair.Value(), nullptr,
                                              values.Value()));
    EXPECT_EQ(S_OK, material->GetTwoPhaseProp(ScopedBstr(L"surfaceTension").Get(), pair.Value(), nullptr,
                                              result.Get()));
    EXPECT_EQ(ECapeUnknownHR, material->GetTwoPhaseProp(ScopedBstr(L"surfaceTension").Get(), reversed.Value(),
                                                        nullptr, result.Get()));
}

TEST_F(Material11Test, NewAndCopiedMaterialsCarryTheCompounds)
{
    ASSERT_EQ(S_OK, SetPresent({L"Vapor"}));
    ASSERT_EQ(S_OK, SetPhase(L"Vapor", L"temperature", nullptr, {300.0}));
    ComPtr<IDispatch> created;
    ASSERT_EQ(S_OK, material->CreateMaterial(created.Receive()));
    ComPtr<ICapeThermoCompounds> compounds;
    ASSERT_EQ(S_OK, created.As(compounds));
    ScopedVariant ids, formulae, names, boil, molwts, cas;
    ASSERT_EQ(S_OK, compounds->GetCompoundList(ids.Get(), formulae.Get(), names.Get(), boil.Get(), molwts.Get(),
                                               cas.Get()));
    std::vector<std::wstring> idList;
    std::vector<double> weights;
    std::wstring error;
    ASSERT_TRUE(ReadStrings(ids.Value(), idList, error));
    ASSERT_TRUE(ReadDoubles(molwts.Value(), weights, error));
    EXPECT_EQ((std::vector<std::wstring>{L"methane", L"propane"}), idList);
    EXPECT_EQ((std::vector<double>{16.043, 44.097}), weights);

    // A new material starts empty; a copy takes phases and values over.
    ComPtr<ICapeThermoMaterial> copy;
    ASSERT_EQ(S_OK, created.As(copy));
    ScopedVariant result;
    EXPECT_EQ(ECapeUnknownHR, copy->GetSinglePhaseProp(ScopedBstr(L"temperature").Get(), ScopedBstr(L"Vapor").Get(),
                                                       nullptr, result.Get()));
    IDispatch *source = static_cast<DispatchPart<ICapeThermoMaterial> *>(object.Get());
    ASSERT_EQ(S_OK, copy->CopyFromMaterial(&source));
    EXPECT_EQ(S_OK, copy->GetSinglePhaseProp(ScopedBstr(L"temperature").Get(), ScopedBstr(L"Vapor").Get(), nullptr,
                                             result.Get()));
    EXPECT_EQ(E_POINTER, copy->CopyFromMaterial(nullptr));
}
