// CMaterialObject: the compound-list check of GetProp/SetProp and the
// methods it does not offer.
#include <functional>

#include <gtest/gtest.h>

#include "MaterialObject.h"
#include "PropertyPackage.h"
#include "TestVariants.h"

namespace {

// A package in the state a validation of the material [c, A] leaves behind
// (package compounds A, B, C), without any 1.0 package.
class MaterialObjectTest : public testing::Test {
protected:
    MaterialObjectTest()
    {
        EXPECT_EQ(S_OK, CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds),
                                                           packageRef.ReceiveVoid()));
        package = static_cast<CPropertyPackage *>(packageRef.Get());
        package->lowerCompoundIds = {L"a", L"b", L"c"};
        package->selectionIndices = {2, 0};
        package->selectionIds.Attach(MakeStringArray({L"c", L"A"}), true);
        EXPECT_EQ(S_OK, CreateComObject<CMaterialObject>(nullptr, __uuidof(ICapeThermoMaterialObject),
                                                          objectRef.ReceiveVoid()));
        object = static_cast<CMaterialObject *>(objectRef.Get());
        object->package = package;
    }
    ~MaterialObjectTest() override { object->package = nullptr; }

    std::wstring Error() const { return object->ErrorDescription(); }

    ComPtr<ICapeThermoCompounds> packageRef;
    CPropertyPackage *package = nullptr;
    ComPtr<ICapeThermoMaterialObject> objectRef;
    CMaterialObject *object = nullptr;
};

}  // namespace

TEST_F(MaterialObjectTest, MethodsNotOfferedFailWithoutCheckingArguments)
{
    ICapeThermoMaterialObject *m = objectRef.Get();
    VARIANT empty{};
    const std::pair<const wchar_t *, std::function<HRESULT()>> calls[] = {
        {L"GetUniversalConstant", [&] { return m->GetUniversalConstant(empty, nullptr); }},
        {L"GetComponentConstant", [&] { return m->GetComponentConstant(empty, empty, nullptr); }},
        {L"CalcProp", [&] { return m->CalcProp(empty, empty, nullptr); }},
        {L"CalcEquilibrium", [&] { return m->CalcEquilibrium(nullptr, empty); }},
        {L"SetIndependentVar", [&] { return m->SetIndependentVar(empty, empty); }},
        {L"GetIndependentVar", [&] { return m->GetIndependentVar(empty, nullptr); }},
        {L"PropCheck", [&] { return m->PropCheck(empty, nullptr); }},
        {L"AvailableProps", [&] { return m->AvailableProps(nullptr); }},
        {L"CreateMaterialObject", [&] { return m->CreateMaterialObject(nullptr); }},
        {L"Duplicate", [&] { return m->Duplicate(nullptr); }},
        {L"ValidityCheck", [&] { return m->ValidityCheck(empty, nullptr); }},
        {L"GetPropList", [&] { return m->GetPropList(nullptr); }},
    };
    for (const auto &[method, call] : calls) {
        const std::wstring scope = std::wstring(L"CMaterialObject::") + method;
        EXPECT_EQ(ECapeUnknownHR, call()) << method;
        EXPECT_EQ(scope + L" is not implemented", Error());
        EXPECT_EQ(scope, object->ErrorScope());
        EXPECT_EQ(L"ICapeThermoMaterialObject", object->ErrorInterface());
    }
    ScopedVariant anything;
    *anything.Get() = MakeStringArray({L"enthalpy"});
    EXPECT_EQ(S_OK, m->RemoveResults(anything.Value()));
    EXPECT_EQ(S_OK, m->RemoveResults(empty));
}

TEST_F(MaterialObjectTest, CompoundListMustBeEmptyOrTheMaterialsInOrder)
{
    std::wstring error;
    VARIANT empty{};
    EXPECT_TRUE(object->CheckCompoundList(empty, error));
    const struct {
        VARIANT list;
        const wchar_t *error;  // null when accepted
    } cases[] = {
        {MakeStringArray({}), nullptr},
        {MakeStringArray({L"C", L"a"}, 3), nullptr},
        {MakeStringArray({L"A", L"C"}), L"SetProp is only supported for all compounds in material order"},
        {MakeStringArray({L"C"}), L"SetProp is only supported for all compounds in material order"},
        {MakeStringArray({L"C", L"A", L"B"}), L"SetProp is only supported for all compounds in material order"},
        {MakeStringArrayWithNull({L"C", L""}, 1),
         L"SetProp is only supported for all compounds in material order"},
        {MakeString(L"C"), L"Invalid format for compIds: Expected an array of type string"},
        {MakeDoubleArray({1.0, 2.0}), L"Invalid format for compIds: Expected an array of type string"},
    };
    for (const auto &c : cases) {
        error.clear();
        EXPECT_EQ(c.error == nullptr, object->CheckCompoundList(c.list, error)) << (c.error ? "refused" : "accepted");
        EXPECT_EQ(c.error ? c.error : L"", error);
        VARIANT copy = c.list;
        VariantClear(&copy);
    }
}
