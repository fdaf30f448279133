// CMaterialObject as a 1.0 package sees it inside a request for pure values:
// the compound list and the values SetProp takes, and the methods it does
// not offer.
#include <functional>

#include "PackageCoreFixture.h"

// A package of the compounds A, B and C, C of unknown molecular weight.
class MaterialObjectTest : public PackageCoreTest {
protected:
    MaterialObjectTest()
    {
        Script().compoundIds = {L"A", L"B", L"C"};
        Script().molecularWeights = {2.0, 4.0, CapeEmptyDouble};
        Script().propList = {L"heatOfVaporization"};
        EXPECT_EQ(S_OK, Initialize());
    }
};

TEST_F(MaterialObjectTest, MethodsNotOfferedFailWithoutCheckingArguments)
{
    ICapeThermoMaterialObject *m = package->materialObject.Get();
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
        EXPECT_EQ(scope + L" is not implemented", package->materialObject->ErrorDescription());
        EXPECT_EQ(scope, package->materialObject->ErrorScope());
        EXPECT_EQ(L"ICapeThermoMaterialObject", package->materialObject->ErrorInterface());
    }
    EXPECT_EQ(S_OK, m->RemoveResults(Strings({L"enthalpy"}).Value()));
    EXPECT_EQ(S_OK, m->RemoveResults(empty));
}

// The 1.0 package answers each request with one SetProp call of the row's
// compound list, basis and values, and ignores a refusal: the client must
// still get an error, never the values of a refused answer.
TEST_F(MaterialObjectTest, SetPropTakesAllCompoundsInOrderAndDoublesConvertedPerMole)
{
    const wchar_t *notInOrder = L"SetProp is only supported for all compounds in material order";
    const wchar_t *notStrings = L"Invalid format for compIds: Expected an array of type string";
    const struct {
        StringList requested;  // the compounds of the request
        ScopedVariant compIds, values;
        const wchar_t *basis;
        const wchar_t *error;         // null when accepted
        std::vector<double> results = {};  // what the client gets
    } cases[] = {
        {{L"c", L"A"}, ScopedVariant(), Doubles({1, 2}), nullptr, nullptr, {1, 2}},
        {{L"c", L"A"}, Strings({}), Doubles({1, 2}), nullptr, nullptr, {1, 2}},
        {{L"c", L"A"}, ScopedVariant(MakeStringArray({L"C", L"a"}, 3)), Doubles({1, 2}), nullptr, nullptr, {1, 2}},
        {{L"c", L"A"}, Strings({L"A", L"C"}), Doubles({1, 2}), nullptr, notInOrder},
        {{L"c", L"A"}, Strings({L"C"}), Doubles({1, 2}), nullptr, notInOrder},
        {{L"c", L"A"}, Strings({L"C", L"A", L"B"}), Doubles({1, 2}), nullptr, notInOrder},
        {{L"c", L"A"}, ScopedVariant(MakeStringArrayWithNull({L"C", L""}, 1)), Doubles({1, 2}), nullptr, notInOrder},
        {{L"c", L"A"}, ScopedVariant(MakeString(L"C")), Doubles({1, 2}), nullptr, notStrings},
        {{L"c", L"A"}, Doubles({1, 2}), Doubles({1, 2}), nullptr, notStrings},
        {{L"c", L"A"}, ScopedVariant(), Strings({L"1", L"2"}), nullptr,
         L"Invalid format for values: Expected an array of type double precision"},
        {{L"c", L"A"}, ScopedVariant(), Doubles({1, 2}), L"mass",
         L"One or more missing molecular weights; unable to perform basis conversion"},
        // J/kg times kg/mol.
        {{L"B", L"A"}, ScopedVariant(), Doubles({1000, 500}), L"mass", nullptr, {4, 1}},
    };
    for (const auto &c : cases) {
        HRESULT set = E_FAIL;
        std::wstring error;
        Script().onCalcProp = [&](auto &, ICapeThermoMaterialObject *m, const StringList &props, auto &, auto &) {
            set = m->SetProp(ScopedBstr(props[0].c_str()).Get(), nullptr, c.compIds.Value(), ScopedBstr(L"pure").Get(),
                             ScopedBstr(c.basis).Get(), c.values.Value());
            error = package->materialObject->ErrorDescription();
            return S_OK;
        };
        ScopedVariant results;
        const HRESULT hr = package->GetTDependentProperty(Strings({L"heatOfVaporization"}).Value(), 300.0,
                                                          Strings(c.requested).Value(), results.Get());
        if (c.error) {
            EXPECT_EQ(ECapeUnknownHR, set) << c.error;
            EXPECT_EQ(c.error, error);
            EXPECT_EQ(ECapeUnknownHR, hr) << c.error;
        } else {
            EXPECT_EQ(S_OK, hr) << Error();
            ExpectNear(c.results, ReadDoubles(results.Value()), 1e-15);
        }
    }
}
