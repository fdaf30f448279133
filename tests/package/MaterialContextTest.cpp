// The context material: setting it, and mapping its compounds onto the
// package's before each calculation.
#include "PackageCoreFixture.h"

class MaterialContextTest : public PackageCoreTest {
protected:
    void SetUp() override
    {
        Script().compoundIds = {L"A", L"B", L"C"};
        Script().molecularWeights = {1.0, 2.0, 3.0};
        ASSERT_EQ(S_OK, Initialize());
    }

    std::vector<int> Selection() const { return package->selectionIndices; }
    std::vector<bool> Present() const { return package->compoundPresent; }
};

TEST_F(MaterialContextTest, MapsReorderedSubsetsInMaterialOrder)
{
    SetContext({L"c", L"A"});
    ASSERT_TRUE(Validate());
    EXPECT_EQ((std::vector<int>{2, 0}), Selection());
    EXPECT_EQ((std::vector<bool>{true, false, true}), Present());
    // The identifiers are kept as the material spelt them.
    EXPECT_EQ((StringList{L"c", L"A"}), ReadStrings(package->selectionIds.Value()));

    // Same material again, then changed compounds without a new SetMaterial.
    ASSERT_TRUE(Validate());
    EXPECT_EQ((std::vector<int>{2, 0}), Selection());
    material->compounds.ids = {L"C", L"B"};
    ASSERT_TRUE(Validate());
    EXPECT_EQ((std::vector<int>{2, 1}), Selection());
    EXPECT_EQ((std::vector<bool>{false, true, true}), Present());
    material->compounds.ids = {L"B"};
    ASSERT_TRUE(Validate());
    EXPECT_EQ((std::vector<int>{1}), Selection());
    EXPECT_EQ((std::vector<bool>{false, true, false}), Present());
    EXPECT_EQ(4, material->CountCalls(L"GetCompoundList"));
}

TEST_F(MaterialContextTest, DuplicateIsRefusedAgainAfterAFailedValidation)
{
    SetContext({L"A", L"a"});
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"Compound \"a", package->ErrorDescription());
    // The partly updated selection of the failure must not make the second
    // attempt pass.
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"Compound \"a", package->ErrorDescription());
}

struct ValidationFailure {
    const char *name;
    void (*prepare)(CMaterial11 &);
    const wchar_t *message;
};

class ValidationFailureTest : public MaterialContextTest, public testing::WithParamInterface<ValidationFailure> {};

TEST_P(ValidationFailureTest, IsRecordedWithTheCallersScope)
{
    SetContext({L"A", L"B"});
    ASSERT_TRUE(Validate());
    GetParam().prepare(*material);
    EXPECT_FALSE(Validate());
    EXPECT_EQ(GetParam().message, package->ErrorDescription());
    EXPECT_EQ(L"CTest::Calc", package->ErrorScope());
    EXPECT_EQ(L"ICapeTest", package->ErrorInterface());
    // The previous list stays until a validation succeeds.
    EXPECT_EQ((StringList{L"A", L"B"}), ReadStrings(package->selectionIds.Value()));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ValidationFailureTest,
    testing::Values(
        ValidationFailure{"ListFails",
                          [](CMaterial11 &m) { m.failures[L"GetCompoundList"] = {ECapeUnknownHR, L"no list"}; },
                          L"Failed to get list of compounds from context material: no list"},
        ValidationFailure{"WrongType",
                          [](CMaterial11 &m) {
                              m.rawLists[L"compIds"] = [](VARIANT *out) { *out = MakeLongArray({1}); };
                          },
                          L"Invalid list of compounds from context material: Expected an array of type string"},
        ValidationFailure{"Empty", [](CMaterial11 &m) { m.compounds.ids.clear(); },
                          L"Empty list of compounds from context material"},
        ValidationFailure{"NullId",
                          [](CMaterial11 &m) {
                              m.rawLists[L"compIds"] = [](VARIANT *out) {
                                  *out = MakeStringArrayWithNulls({L"A", L""}, {false, true});
                              };
                          },
                          L"Compound list from context material contains empty strings"},
        ValidationFailure{"EmptyId", [](CMaterial11 &m) { m.compounds.ids = {L"A", L""}; },
                          L"Unknown compound \"\" in context material's compound list"},
        ValidationFailure{"Unknown", [](CMaterial11 &m) { m.compounds.ids = {L"B", L"water"}; },
                          L"Unknown compound \"water\" in context material's compound list"},
        ValidationFailure{"Duplicate", [](CMaterial11 &m) { m.compounds.ids = {L"C", L"B", L"C"}; },
                          L"Compound \"C"}),
    [](const testing::TestParamInfo<ValidationFailure> &info) { return std::string(info.param.name); });

TEST_F(MaterialContextTest, NeedsAMaterialWithCompounds)
{
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"No material object has been set", package->ErrorDescription());

    ComPtr<CMaterial11> noCompounds = CMaterial11::Create({L"A"});
    noCompounds->hasCompounds = false;
    ASSERT_EQ(S_OK, package->SetMaterial(noCompounds->Interface()));
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"Context material does not expose ICapeThermoCompounds", package->ErrorDescription());
}

TEST_F(MaterialContextTest, SetMaterialAcceptsOnlyMaterialsAndUnsetReleasesThem)
{
    SetContext({L"A"});
    ASSERT_TRUE(Validate());
    material->Interface()->AddRef();
    const ULONG heldWithContext = material->Interface()->Release();

    // A 1.0 package is no 1.1 material: refused, and no context remains.
    EXPECT_EQ(ECapeUnknownHR, package->SetMaterial(package10Ref.Get()));
    EXPECT_EQ(0u, package->ErrorDescription().find(L"Failed to get ICapeThermoMaterial pointer: "));
    EXPECT_EQ(L"CPropertyPackage::SetMaterial", package->ErrorScope());
    EXPECT_EQ(L"ICapeThermoMaterialContext", package->ErrorInterface());
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"No material object has been set", package->ErrorDescription());
    material->Interface()->AddRef();
    EXPECT_LT(material->Interface()->Release(), heldWithContext);

    ASSERT_EQ(S_OK, package->SetMaterial(material->Interface()));
    ASSERT_EQ(S_OK, package->SetMaterial(nullptr));
    EXPECT_FALSE(package->contextMaterial);
    ASSERT_EQ(S_OK, package->SetMaterial(material->Interface()));
    ASSERT_TRUE(Validate());
    ASSERT_EQ(S_OK, package->UnsetMaterial());
    EXPECT_FALSE(package->contextMaterial);
    EXPECT_FALSE(package->contextCompounds);
    EXPECT_EQ(VT_EMPTY, package->selectionIds.Type());
}
