// ICapeThermoPhases and ICapeThermoUniversalConstant.
#include "PackageCoreFixture.h"

class PhasesTest : public PackageCoreTest {
protected:
    void SetUp() override { Script().phases = {L"Vapor", L"Liquid1"}; }
    ICapeThermoPhases *Phases() { return package; }
};

TEST_F(PhasesTest, ListAndCountDescribeEveryPhase)
{
    long count = 0;
    ASSERT_EQ(S_OK, Phases()->GetNumPhases(&count));
    EXPECT_EQ(2, count);
    ScopedVariant labels, states, keys;
    // Out values holding something are cleared, not leaked or kept.
    *labels.Get() = MakeStringArray({L"old"});
    ASSERT_EQ(S_OK, Phases()->GetPhaseList(labels.Get(), states.Get(), keys.Get()));
    EXPECT_EQ((StringList{L"Vapor", L"Liquid1"}), ReadStrings(labels.Value()));
    EXPECT_EQ((StringList{L"Vapor", L"Liquid"}), ReadStrings(states.Value()));
    bool ok = false;
    EXPECT_EQ(StringList(2), ReadStrings(keys.Value(), &ok));
    EXPECT_TRUE(ok);
}

TEST_F(PhasesTest, PhaseInfoIgnoresCaseAndChecksTheLabelFirst)
{
    VARIANT value;
    ASSERT_EQ(S_OK, Phases()->GetPhaseInfo(ScopedBstr(L"VAPOR").Get(), ScopedBstr(L"STATEOFAGGREGATION").Get(), &value));
    ASSERT_EQ(VT_BSTR, V_VT(&value));
    EXPECT_STREQ(L"Vapor", V_BSTR(&value));
    VariantClear(&value);

    ASSERT_EQ(S_OK, Phases()->GetPhaseInfo(ScopedBstr(L"liquid1").Get(), ScopedBstr(L"keyCompoundId").Get(), &value));
    EXPECT_EQ(VT_BSTR, V_VT(&value));
    EXPECT_EQ(nullptr, V_BSTR(&value));

    EXPECT_EQ(ECapeUnknownHR,
              Phases()->GetPhaseInfo(ScopedBstr(L"Solid").Get(), ScopedBstr(L"colour").Get(), &value));
    EXPECT_EQ(L"Invalid/unsuppored phase name", package->ErrorDescription());
    EXPECT_EQ(L"CPropertyPackage::GetPhaseInfo", package->ErrorScope());
    EXPECT_EQ(L"ICapeThermoPhases", package->ErrorInterface());
    EXPECT_EQ(ECapeUnknownHR,
              Phases()->GetPhaseInfo(ScopedBstr(L"Vapor").Get(), ScopedBstr(L"colour").Get(), &value));
    EXPECT_EQ(L"Invalid/unsuppored phase attribute", package->ErrorDescription());
}

TEST_F(PhasesTest, NullArgumentsGiveEPointerWithoutAMessage)
{
    VARIANT value;
    ScopedVariant a, b;
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseInfo(ScopedBstr(L"Vapor").Get(), nullptr, &value));
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseInfo(nullptr, ScopedBstr(L"stateOfAggregation").Get(), &value));
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseInfo(ScopedBstr(L"Vapor").Get(), ScopedBstr(L"x").Get(), nullptr));
    EXPECT_EQ(E_POINTER, Phases()->GetNumPhases(nullptr));
    EXPECT_EQ(E_POINTER, Phases()->GetPhaseList(a.Get(), b.Get(), nullptr));
    EXPECT_EQ(L"", package->ErrorDescription());
    // Nor do they initialise the package.
    EXPECT_TRUE(package10->script.calls.empty());
}

TEST_F(PackageCoreTest, UniversalConstantsAreExactAndNeedNoInitialization)
{
    ICapeThermoUniversalConstant *constants = package;
    const struct {
        const wchar_t *id;
        unsigned long long bits;
    } expected[] = {
        {L"avogadroConstant", 0x44DFE186380198FCull},     {L"boltzmannConstant", 0x3B30B0E7E1E86726ull},
        {L"molarGasConstant", 0x4020A1027E5F8170ull},     {L"speedOfLightInVacuum", 0x41B1DE784A19999Aull},
        {L"standardAccelerationOfGravity", 0x40239D013A92A305ull},
    };
    ScopedVariant list;
    ASSERT_EQ(S_OK, constants->GetUniversalConstantList(list.Get()));
    StringList ids = ReadStrings(list.Value());
    ASSERT_EQ(5u, ids.size());
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i].id, ids[i]);
        VARIANT value;
        V_VT(&value) = VT_I4;  // written over, whatever it held
        ASSERT_EQ(S_OK, constants->GetUniversalConstant(ScopedBstr(expected[i].id).Get(), &value));
        ASSERT_EQ(VT_R8, V_VT(&value));
        EXPECT_EQ(expected[i].bits, DoubleBits(V_R8(&value))) << expected[i].id;
    }
    VARIANT value;
    ASSERT_EQ(S_OK, constants->GetUniversalConstant(ScopedBstr(L"MOLARGASCONSTANT").Get(), &value));
    EXPECT_EQ(8.31447215, V_R8(&value));

    for (const wchar_t *unknown : {L"", L"gravity"}) {
        EXPECT_EQ(ECapeUnknownHR, constants->GetUniversalConstant(ScopedBstr(unknown).Get(), &value));
        EXPECT_EQ(L"Unknown/unsupported constant", package->ErrorDescription());
        EXPECT_EQ(L"CPropertyPackage::GetUniversalConstant", package->ErrorScope());
        EXPECT_EQ(L"ICapeThermoUniversalConstant", package->ErrorInterface());
    }
    EXPECT_EQ(ECapeUnknownHR, constants->GetUniversalConstant(nullptr, &value));
    EXPECT_EQ(E_POINTER, constants->GetUniversalConstant(ScopedBstr(L"molarGasConstant").Get(), nullptr));
    EXPECT_TRUE(package10->script.calls.empty());
}
