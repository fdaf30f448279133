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
    void ExpectSelection(const std::vector<int> &indices, const std::vector<bool> &present)
    {
        EXPECT_EQ(indices, package->selectionIndices);
        EXPECT_EQ(present, package->compoundPresent);
    }
};

TEST_F(MaterialContextTest, MapsReorderedSubsetsInMaterialOrderOnEveryValidation)
{
    SetContext({L"c", L"A"});
    ASSERT_TRUE(Validate());
    ExpectSelection({2, 0}, {true, false, true});
    EXPECT_EQ((StringList{L"c", L"A"}), Labels(package->selectionIds));  // as the material spelt them
    ASSERT_TRUE(Validate());
    ExpectSelection({2, 0}, {true, false, true});
    // Changed compounds without a new SetMaterial are seen too.
    material->compounds.ids = {L"C", L"B"};
    ASSERT_TRUE(Validate());
    ExpectSelection({2, 1}, {false, true, true});
    material->compounds.ids = {L"B"};
    ASSERT_TRUE(Validate());
    ExpectSelection({1}, {false, true, false});
    material->compounds.ids = {L"B", L"water"};
    EXPECT_FALSE(Validate());
    EXPECT_EQ(5, material->CountCalls(L"GetCompoundList"));  // one call per validation
}

TEST_F(MaterialContextTest, FailuresAreRecordedWithTheCallersScopeAndKeepThePreviousList)
{
    const struct {
        void (*prepare)(CMaterial11 &);
        const wchar_t *message;
    } cases[] = {
        {[](CMaterial11 &m) { m.failures[L"GetCompoundList"] = {ECapeUnknownHR, L"no list"}; },
         L"Failed to get list of compounds from context material: no list"},
        {[](CMaterial11 &m) { m.rawLists[L"compIds"] = [](VARIANT *out) { *out = MakeList(std::vector<long>{1}); }; },
         L"Invalid list of compounds from context material: Expected an array of type string"},
        {[](CMaterial11 &m) { m.compounds.ids.clear(); }, L"Empty list of compounds from context material"},
        {[](CMaterial11 &m) {
             m.rawLists[L"compIds"] = [](VARIANT *out) { *out = MakeStringArrayWithNull({L"A", L""}, 1); };
         },
         L"Compound list from context material contains empty strings"},
        {[](CMaterial11 &m) { m.compounds.ids = {L"A", L""}; },
         L"Unknown compound \"\" in context material's compound list"},
        {[](CMaterial11 &m) { m.compounds.ids = {L"B", L"water"}; },
         L"Unknown compound \"water\" in context material's compound list"},
        {[](CMaterial11 &m) { m.compounds.ids = {L"C", L"B", L"C"}; }, L"Compound \"C"},
    };
    for (const auto &c : cases) {
        SetContext({L"A", L"B"});
        ASSERT_TRUE(Validate());
        c.prepare(*material);
        EXPECT_FALSE(Validate()) << c.message;
        ExpectError(c.message, L"CTest::Calc", L"ICapeTest");
        EXPECT_EQ((StringList{L"A", L"B"}), Labels(package->selectionIds));
    }
    // The partly updated selection of a failure does not let a second attempt pass.
    SetContext({L"A", L"a"});
    EXPECT_FALSE(Validate());
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"Compound \"a", Error());
}

TEST_F(MaterialContextTest, SetMaterialAcceptsOnlyMaterialsWithCompoundsAndUnsetReleasesThem)
{
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"No material object has been set", Error());
    ComPtr<CMaterial11> noCompounds = CMaterial11::Create({L"A"});
    noCompounds->hasCompounds = false;
    ASSERT_EQ(S_OK, package->SetMaterial(noCompounds->Interface()));
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"Context material does not expose ICapeThermoCompounds", Error());

    SetContext({L"A"});
    ASSERT_TRUE(Validate());
    material->Interface()->AddRef();
    const ULONG heldWithContext = material->Interface()->Release();
    // A 1.0 package is no 1.1 material: refused, and no context remains.
    EXPECT_EQ(ECapeUnknownHR, package->SetMaterial(package10Ref.Get()));
    EXPECT_EQ(0u, Error().find(L"Failed to get ICapeThermoMaterial pointer: "));
    EXPECT_EQ(L"CPropertyPackage::SetMaterial", package->ErrorScope());
    EXPECT_FALSE(Validate());
    EXPECT_EQ(L"No material object has been set", Error());
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

// The 1.0 package's ComponentIds gets the material's own list of the last
// validation where that is what a copy would hold, and a copy otherwise.
TEST_F(MaterialContextTest, ComponentIdsAlwaysListsTheCurrentSelection)
{
    SetContext({L"c", L"A"});
    auto *object = static_cast<ICapeThermoMaterialObject *>(package->materialObject.Get());
    auto componentIds = [&] {
        ScopedVariant ids;
        EXPECT_EQ(S_OK, object->get_ComponentIds(ids.Get()));
        return ReadStrings(ids.Value());
    };
    ASSERT_TRUE(Validate());
    ASSERT_TRUE(Validate());
    EXPECT_FALSE(package->lentIds.IsEmpty());
    EXPECT_EQ((StringList{L"c", L"A"}), componentIds());
    EXPECT_TRUE(package->lentIds.IsEmpty());
    EXPECT_EQ((StringList{L"c", L"A"}), componentIds());

    // A selection put in place by a compound request is not the lent list.
    ASSERT_TRUE(Validate());
    VARIANT saved = package->selectionIds.Value();
    package->selectionIds.Disown();
    package->selectionIds.Attach(MakeStringArray({L"B"}), true);
    EXPECT_EQ((StringList{L"B"}), componentIds());
    package->selectionIds.Attach(saved, true);
    EXPECT_EQ((StringList{L"c", L"A"}), componentIds());

    // Initialisation (after Edit) replaces the selection: nothing stays lent.
    ASSERT_TRUE(Validate());
    ASSERT_TRUE(package->LoadFromPackage());
    EXPECT_TRUE(package->lentIds.IsEmpty());

    // Another spelling replaces the kept list.
    material->compounds.ids = {L"C", L"a"};
    ASSERT_TRUE(Validate());
    EXPECT_EQ((StringList{L"C", L"a"}), componentIds());
}
