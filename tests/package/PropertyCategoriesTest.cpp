// Property names in more than one category, and the two-phase check that
// must agree with the calculation it announces.
#include <algorithm>

#include "PackageCoreFixture.h"

// molecularWeight and diffusionCoefficient are compound constants and
// single-phase properties; a 1.0 package may offer a name as both.
TEST_F(PackageCoreTest, NamesOfferedAsConstantAndSinglePhasePropertyWorkAsBoth)
{
    Script().propList = {L"molecularWeight", L"diffusionCoefficient"};
    Script().constants = {{L"molecularWeight", {{L"methane", 16.043}, {L"ethane", 30.07}}},
                          {L"diffusionCoefficient", {{L"methane", 1e-5}, {L"ethane", 2e-5}}}};
    Script().trivial = true;
    ASSERT_EQ(S_OK, Initialize());
    SetContext({L"methane", L"ethane"});
    PutPhase(L"Vapor", {0.5, 0.5}, 300.0, 1e5);
    ScopedBstr vapor(L"Vapor");

    const struct {
        const wchar_t *name;
        std::vector<double> constants;
    } cases[] = {{L"molecularWeight", {16.043, 30.07}}, {L"diffusionCoefficient", {1e-5, 2e-5}}};
    for (const auto &c : cases) {
        for (const CVariantArray *list : {&package->constPropList, &package->singlePhasePropList}) {
            const StringList names = Labels(*list);
            EXPECT_NE(names.end(), std::find(names.begin(), names.end(), c.name)) << c.name;
        }

        ScopedVariant values;
        ASSERT_EQ(S_OK, package->GetCompoundConstant(Strings({c.name}).Value(), ScopedVariant().Value(), values.Get()))
            << Error();
        ASSERT_EQ(VT_ARRAY | VT_VARIANT, values.Type());
        const VARIANT *elements = static_cast<const VARIANT *>(V_ARRAY(values.Get())->pvData);
        for (size_t i = 0; i < c.constants.size(); ++i) EXPECT_EQ(c.constants[i], V_R8(&elements[i])) << c.name;

        VARIANT_BOOL valid = VARIANT_FALSE;
        ASSERT_EQ(S_OK, package->CheckSinglePhasePropSpec(ScopedBstr(c.name).Get(), vapor.Get(), &valid));
        EXPECT_EQ(VARIANT_TRUE, valid) << c.name;
        ASSERT_EQ(S_OK, package->CalcSinglePhaseProp(Strings({c.name}).Value(), vapor.Get())) << Error();
        EXPECT_EQ(std::wstring(L"CalcProp [") + c.name + L"] [Vapor] mixture", Script().calls.back());
        EXPECT_FALSE(material->Values(c.name, L"Vapor", L"").empty()) << c.name;
    }
}

TEST_F(PackageCoreTest, TwoPhaseCheckAgreesWithTheCalculationOnEveryPhasePair)
{
    const struct {
        StringList packagePhases;
        ScopedVariant pair;
        bool accepted;
    } cases[] = {
        {{L"Vapor", L"Liquid"}, Strings({L"Vapor", L"Liquid"}), true},
        {{L"Vapor", L"Liquid"}, Strings({L"VAPOR", L"liquid"}), true},
        {{L"Vapor", L"Liquid"}, Strings({L"Liquid", L"Vapor"}), false},
        {{L"Vapor", L"Liquid"}, Strings({L"Vapor"}), false},
        {{L"Vapor", L"Liquid"}, Strings({L"Vapor", L"Liquid", L"Solid"}), false},
        {{L"Vapor", L"Liquid"}, Doubles({1.0, 2.0}), false},
        {{L"Vapor", L"Liquid"}, ScopedVariant(), false},
        // The package lacks one of the two phases the pair names.
        {{L"Vapor", L"Liquid1", L"Liquid2"}, Strings({L"Vapor", L"Liquid"}), false},
        {{L"Liquid"}, Strings({L"Vapor", L"Liquid"}), false},
    };
    for (const auto &c : cases) {
        Fresh();
        Script().phases = c.packagePhases;
        Script().propList = {L"kvalues"};
        ASSERT_EQ(S_OK, Initialize());
        SetContext({L"methane", L"ethane"});

        VARIANT_BOOL valid = VARIANT_FALSE;
        ASSERT_EQ(S_OK, package->CheckTwoPhasePropSpec(ScopedBstr(L"kvalue").Get(), c.pair.Value(), &valid));
        // The scripted package calculates nothing, so an accepted pair fails later.
        EXPECT_EQ(ECapeUnknownHR, package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), c.pair.Value()));
        const std::wstring error = Error();
        const bool refused = error == L"Unsupported phase combination" || error.rfind(L"Invalid phase pair", 0) == 0;
        EXPECT_EQ(c.accepted, !refused) << error;
        EXPECT_EQ(c.accepted ? VARIANT_TRUE : VARIANT_FALSE, valid) << error;
    }
}
