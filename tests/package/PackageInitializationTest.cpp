// Lazy initialisation: compounds, molecular weights, the phase filter, the
// supported properties and constants, and failures remembered for the
// package's life.
#include <limits>

#include "PackageCoreFixture.h"

namespace {
const PropertyRecord *By10(CPropertyPackage *p, const wchar_t *name) { return p->propsBy10Name.Lookup(name); }
const PropertyRecord *By11(CPropertyPackage *p, const wchar_t *name) { return p->propsBy11Name.Lookup(name); }
}  // namespace

TEST_F(PackageCoreTest, CompoundsAndMolecularWeightsInSIWithUnknownWeightsZero)
{
    Script().compoundIds = {L"Water", L"unknown1", L"unknown2", L"Methane"};
    Script().molecularWeights = {18.015, CapeEmptyDouble, std::numeric_limits<double>::quiet_NaN(), 16.043};
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ((StringList{L"Initialize", L"GetComponentList", L"GetPhaseList", L"GetPropList"}),
              StringList(Script().calls.begin(), Script().calls.begin() + 4));
    ExpectNear({0.018015, 0, 0, 0.016043}, package->molecularWeights, 1e-15);
    ExpectNear({1 / 0.018015, 0, 0, 1 / 0.016043}, package->inverseMolecularWeights, 1e-15);
    ASSERT_NE(nullptr, package->compoundIndex.Lookup(L"METHANE"));
    EXPECT_EQ(3, *package->compoundIndex.Lookup(L"METHANE"));
    EXPECT_EQ(Script().casNumbers, Labels(package->casNoList));

    // Weights are read at the list's own lower bound, and may be too few.
    Fresh();
    Script().compoundIds = {L"a", L"b", L"c"};
    Script().rawLists[L"molwt"] = [](VARIANT *out) { *out = MakeDoubleArray({10.0, 20.0}, 5); };
    ASSERT_EQ(S_OK, Initialize());
    ExpectNear({0.01, 0.02, 0.0}, package->molecularWeights, 1e-15);

    // No compounds at all: nothing to probe constants with.
    Fresh();
    Script().compoundIds.clear();
    Script().molecularWeights.clear();
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_TRUE(package->compoundIds.empty());
    EXPECT_EQ(0, Script().CountCalls(L"GetComponentConstant"));
}

TEST_F(PackageCoreTest, PhaseFilterKeepsRealPhasesWithTheirStateOfAggregation)
{
    const struct {
        StringList phases10, labels, states;
        const wchar_t *purePhase;
    } cases[] = {
        // Combined phases made of accepted ones are dropped, "Overall" too.
        {{L"Vapor", L"Liquid", L"VaporLiquid", L"LiquidLiquid", L"Liquid2", L"OVERALL", L""},
         {L"Vapor", L"Liquid", L"Liquid2"}, {L"Vapor", L"Liquid", L"Liquid"}, L"Liquid"},
        {{L"vapour", L"Water", L"L2", L"L1", L"Aqueous", L"Solid1", L"liquidX"},
         {L"vapour", L"Water", L"L2", L"L1", L"Aqueous", L"Solid1", L"liquidX"},
         {L"Unknown", L"Liquid", L"Liquid", L"Unknown", L"Unknown", L"Solid", L"Liquid"}, L"liquidX"},
        // A combined name listed before its parts is kept.
        {{L"liquidvapor", L"Vapor", L"Liquid", L"VAPORVAPOR"}, {L"liquidvapor", L"Vapor", L"Liquid"},
         {L"Liquid", L"Vapor", L"Liquid"}, L"liquidvapor"},
        {{L"Vapor"}, {L"Vapor"}, {L"Vapor"}, L"Vapor"},
    };
    for (const auto &c : cases) {
        Fresh();
        Script().phases = c.phases10;
        ASSERT_EQ(S_OK, Initialize());
        const CPropertyPackage &p = *package;
        EXPECT_EQ(c.labels, Labels(p.phaseLabelsList));
        EXPECT_EQ(c.states, Labels(p.stateOfAggregationList));
        for (size_t i = 0; i < c.labels.size(); ++i) {
            ASSERT_NE(nullptr, p.phaseIndex.Lookup(c.labels[i].c_str()));
            EXPECT_EQ(static_cast<int>(i), *p.phaseIndex.Lookup(c.labels[i].c_str()));
        }
        EXPECT_EQ(StringList(c.labels.size()), Labels(p.keyCompoundIdList));  // null strings
        EXPECT_EQ(StringList{c.purePhase}, Labels(p.purePhaseList));
    }
}

TEST_F(PackageCoreTest, FailuresAreReportedByEveryLaterCallWithoutAskingThe10PackageAgain)
{
    const struct {
        void (*script)(ScriptedPackage10Script &);
        const wchar_t *message;
    } cases[] = {
        {[](ScriptedPackage10Script &s) { s.failures[L"Initialize"] = {ECapeUnknownHR, L"no licence"}; },
         L"Initialize failed: no licence"},
        {[](ScriptedPackage10Script &s) { s.failures[L"GetComponentList"] = {ECapeUnknownHR, L"database missing"}; },
         L"Failed to get list of compounds: database missing"},
        {[](ScriptedPackage10Script &s) { s.rawLists[L"compIds"] = [](VARIANT *o) { *o = MakeDoubleArray({1}); }; },
         L"Invalid list of compound IDs: Expected an array of type string"},
        {[](ScriptedPackage10Script &s) { s.rawLists[L"molwt"] = [](VARIANT *o) { *o = MakeStringArray({L"1"}); }; },
         L"Invalid list of compound molecular weights: Expected an array of type double precision"},
        {[](ScriptedPackage10Script &s) { s.failures[L"GetPhaseList"] = {ECapeUnknownHR, L"phases unknown"}; },
         L"Failed to get list of phases: phases unknown"},
        // No text from the 1.0 package: the code's own.
        {[](ScriptedPackage10Script &s) { s.failures[L"GetPhaseList"] = {ECapeNoImplHR, L""}; },
         L"Failed to get list of phases: not implemented"},
        {[](ScriptedPackage10Script &s) { s.rawLists[L"phases"] = [](VARIANT *o) { *o = MakeString(L"Vapor"); }; },
         L"Invalid list of phases: Expected an array of type string"},
        {[](ScriptedPackage10Script &s) { s.phases = {L"Overall", L""}; }, L"Property package contains no phases"},
    };
    for (const auto &c : cases) {
        Fresh();
        c.script(Script());
        long count = 0;
        EXPECT_EQ(ECapeUnknownHR, Phases()->GetNumPhases(&count));
        ExpectError(c.message, L"CPropertyPackage::GetNumPhases", L"ICapeThermoPhases");
        const size_t calls = Script().calls.size();
        EXPECT_EQ(ECapeUnknownHR, Initialize());
        ExpectError(c.message, L"CPropertyPackage::Initialize", L"ICapeUtilities");
        EXPECT_EQ(calls, Script().calls.size());
    }
    Fresh();
    package->package10.Reset();
    long count = -1;
    EXPECT_EQ(ECapeUnknownHR, Phases()->GetNumPhases(&count));
    EXPECT_EQ(L"Property package is not available", Error());
}

TEST_F(PackageCoreTest, PropertyListIsTranslatedWithDerivativeSuffixes)
{
    Script().propList = {L"enthalpy.dtemperature", L"heatCapacity", L"kvalues", L"vaporPressure.dtemperature",
                         L"boilingPointTemperature.dpressure", L"fugacityCoefficient.DMOLES", L"kvalues.dpressure",
                         // None of these is offered:
                         L"vaporPressure.dpressure", L"kvalues.dmoles", L"enthalpy.dT", L"temperature",
                         L"noSuchProperty", L"", L"enthalpy.dtemperature.dpressure", L"acentricFactor"};
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ((StringList{L"enthalpy.Dtemperature", L"heatCapacityCp", L"fugacityCoefficient.Dmoles"}),
              Labels(package->singlePhasePropList));
    EXPECT_EQ((StringList{L"kvalue", L"kvalue.Dpressure"}), Labels(package->twoPhasePropList));
    EXPECT_EQ(StringList{L"vaporPressure.Dtemperature"}, Labels(package->tDependentPropList));
    EXPECT_EQ(StringList{L"boilingPointTemperature.Dpressure"}, Labels(package->pDependentPropList));

    // Both maps ignore letter case and lead to the other name.
    ASSERT_NE(nullptr, By11(package, L"HEATCAPACITYCP"));
    EXPECT_STREQ(L"heatCapacity", By11(package, L"HEATCAPACITYCP")->name10.Text());
    ASSERT_NE(nullptr, By10(package, L"ENTHALPY.DTEMPERATURE"));
    EXPECT_STREQ(L"enthalpy.Dtemperature", By10(package, L"ENTHALPY.DTEMPERATURE")->name11.Text());
    for (const wchar_t *refused : {L"vaporPressure.dpressure", L"kvalues.dmoles", L"enthalpy.dT", L"noSuchProperty",
                                   L"enthalpy.dtemperature.dpressure"})
        EXPECT_EQ(nullptr, By10(package, refused)) << refused;
}

TEST_F(PackageCoreTest, StateVariablesAreKnownEvenWhenThePropertyListFailsOrIsNoList)
{
    for (bool fails : {true, false}) {
        Fresh();
        if (fails)
            Script().failures[L"GetPropList"] = {ECapeUnknownHR, L"no list"};
        else
            Script().rawLists[L"props"] = [](VARIANT *out) { *out = MakeDoubleArray({1.0}); };
        ASSERT_EQ(S_OK, Initialize());
        EXPECT_EQ(VT_EMPTY, package->singlePhasePropList.Type());
        EXPECT_EQ(nullptr, By10(package, L"enthalpy"));
        for (const wchar_t *word : {L"Temperature", L"Pressure", L"PhaseFraction", L"Fraction"}) {
            for (const PropertyRecord *record : {By10(package, word), By11(package, word)}) {
                ASSERT_NE(nullptr, record) << word;
                EXPECT_STREQ(word, record->name10.Text());
                EXPECT_STREQ(word, record->name11.Text());
                EXPECT_FALSE(record->namesDiffer);
            }
        }
        EXPECT_EQ(L"", Error());
    }
}

TEST_F(PackageCoreTest, ConstantsAreProbedOneCompoundAtATime)
{
    Script().compoundIds = {L"A", L"B", L"C"};
    Script().molecularWeights = {1.0, 2.0, 3.0};
    // molecularWeight is known for every compound, acentricFactor for the last only.
    bool onlyOneCompound = true;
    Script().onGetComponentConstant = [&](CScriptedPackage10 &, ICapeThermoMaterialObject *material,
                                          const StringList &props, VARIANT *values) -> HRESULT {
        ScopedVariant ids;
        long count = 0;
        material->GetNumComponents(&count);
        material->get_ComponentIds(ids.Get());
        const StringList compounds = ReadStrings(ids.Value());
        if (count != 1 || compounds.size() != 1) onlyOneCompound = false;
        if (props == StringList{L"molecularWeight"} || (props == StringList{L"acentricFactor"} && compounds[0] == L"C")) {
            *values = MakeDoubleArray({1.0});
            return S_OK;
        }
        return ECapeUnknownHR;
    };
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ((StringList{L"acentricFactor", L"molecularWeight"}), Labels(package->constPropList));
    EXPECT_TRUE(onlyOneCompound);
    EXPECT_EQ(1, Script().CountCalls(L"GetComponentConstant molecularWeight [A]"));
    EXPECT_EQ(0, Script().CountCalls(L"GetComponentConstant molecularWeight [B]"));
    for (const wchar_t *c : {L"[A]", L"[B]", L"[C]"})
        EXPECT_EQ(1, Script().CountCalls(std::wstring(L"GetComponentConstant criticalTemperature ") + c)) << c;
    const PropertyRecord *acentric = package->constantsBy11Name.Lookup(L"acentricfactor");
    ASSERT_NE(nullptr, acentric);
    EXPECT_EQ(PropertyCategory::Constant, acentric->row->category);
    EXPECT_EQ(nullptr, package->constantsBy11Name.Lookup(L"criticalTemperature"));
    EXPECT_EQ(VT_EMPTY, package->selectionIds.Type());  // the one-compound selection is gone

    // Every probe fails: no constant listed, every row tried for both compounds.
    Fresh();
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(VT_EMPTY, package->constPropList.Type());
    EXPECT_EQ(static_cast<int>(ConstantPropertyRows().size() * 2), Script().CountCalls(L"GetComponentConstant"));
}
