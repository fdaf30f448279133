// ICapeThermoPhases and ICapeThermoUniversalConstant.
#include <bit>

#include "PackageCoreFixture.h"

TEST_F(PackageCoreTest, PhasesAreListedCountedAndDescribedInAnyCase)
{
    Script().phases = {L"Vapor", L"Liquid1"};
    ScopedVariant labels, states, keys, value;
    // Null arguments: E_POINTER, without a message nor initialisation.
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseInfo(ScopedBstr(L"Vapor").Get(), nullptr, value.Get()));
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseInfo(nullptr, ScopedBstr(L"stateOfAggregation").Get(), value.Get()));
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseInfo(ScopedBstr(L"Vapor").Get(), ScopedBstr(L"x").Get(), nullptr));
    EXPECT_EQ(E_POINTER, Phases()->GetNumPhases(nullptr));
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseList(labels.Get(), states.Get(), nullptr));
    EXPECT_EQ(L"", Error());
    EXPECT_TRUE(Script().calls.empty());

    long count = 0;
    ASSERT_EQ(S_OK, Phases()->GetNumPhases(&count));
    EXPECT_EQ(2, count);
    *labels.Get() = MakeStringArray({L"old"});  // cleared, not leaked
    ASSERT_EQ(S_OK, Phases()->GetPhaseList(labels.Get(), states.Get(), keys.Get()));
    EXPECT_EQ((StringList{L"Vapor", L"Liquid1"}), ReadStrings(labels.Value()));
    EXPECT_EQ((StringList{L"Vapor", L"Liquid"}), ReadStrings(states.Value()));
    EXPECT_EQ(StringList(2), ReadStrings(keys.Value()));

    ASSERT_EQ(S_OK, Phases()->GetPhaseInfo(ScopedBstr(L"VAPOR").Get(), ScopedBstr(L"STATEOFAGGREGATION").Get(),
                                           value.Get()));
    EXPECT_STREQ(L"Vapor", V_BSTR(value.Get()));
    ASSERT_EQ(S_OK, Phases()->GetPhaseInfo(ScopedBstr(L"liquid1").Get(), ScopedBstr(L"keyCompoundId").Get(),
                                           value.Receive()));
    EXPECT_EQ(VT_BSTR, value.Type());
    EXPECT_EQ(nullptr, V_BSTR(value.Get()));
    // The label is checked first.
    EXPECT_EQ(ECapeUnknownHR, Phases()->GetPhaseInfo(ScopedBstr(L"Solid").Get(), ScopedBstr(L"colour").Get(),
                                                     value.Receive()));
    ExpectError(L"Invalid/unsuppored phase name", L"CPropertyPackage::GetPhaseInfo", L"ICapeThermoPhases");
    EXPECT_EQ(ECapeUnknownHR, Phases()->GetPhaseInfo(ScopedBstr(L"Vapor").Get(), ScopedBstr(L"colour").Get(),
                                                     value.Receive()));
    EXPECT_EQ(L"Invalid/unsuppored phase attribute", Error());
}

TEST_F(PackageCoreTest, UniversalConstantsAreExactAndNeedNoInitialization)
{
    ICapeThermoUniversalConstant *constants = package;
    const std::pair<const wchar_t *, unsigned long long> expected[] = {
        {L"avogadroConstant", 0x44DFE186380198FCull},  {L"boltzmannConstant", 0x3B30B0E7E1E86726ull},
        {L"molarGasConstant", 0x4020A1027E5F8170ull},  {L"speedOfLightInVacuum", 0x41B1DE784A19999Aull},
        {L"standardAccelerationOfGravity", 0x40239D013A92A305ull},
    };
    ScopedVariant list;
    ASSERT_EQ(S_OK, constants->GetUniversalConstantList(list.Get()));
    const StringList ids = ReadStrings(list.Value());
    ASSERT_EQ(5u, ids.size());
    VARIANT value;
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i].first, ids[i]);
        V_VT(&value) = VT_I4;  // written over, whatever it held
        ASSERT_EQ(S_OK, constants->GetUniversalConstant(ScopedBstr(expected[i].first).Get(), &value));
        ASSERT_EQ(VT_R8, V_VT(&value));
        EXPECT_EQ(expected[i].second, std::bit_cast<unsigned long long>(V_R8(&value))) << expected[i].first;
    }
    EXPECT_EQ(S_OK, constants->GetUniversalConstant(ScopedBstr(L"MOLARGASCONSTANT").Get(), &value));
    for (const wchar_t *unknown : {L"", L"gravity"}) {
        EXPECT_EQ(ECapeUnknownHR, constants->GetUniversalConstant(ScopedBstr(unknown).Get(), &value));
        ExpectError(L"Unknown/unsupported constant", L"CPropertyPackage::GetUniversalConstant",
                    L"ICapeThermoUniversalConstant");
    }
    EXPECT_EQ(ECapeUnknownHR, constants->GetUniversalConstant(nullptr, &value));
    EXPECT_EQ(E_POINTER, constants->GetUniversalConstant(ScopedBstr(L"molarGasConstant").Get(), nullptr));
    EXPECT_TRUE(Script().calls.empty());
}
