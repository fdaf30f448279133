// Lazy initialisation: compounds, molecular weights, the phase filter, the
// pure-compound phase, and failures remembered for the package's life.
#include <cmath>
#include <limits>

#include "PackageCoreFixture.h"

TEST_F(PackageCoreTest, InitializationReadsCompoundsAndConvertsMolecularWeights)
{
    Script().compoundIds = {L"Water", L"unknown1", L"unknown2", L"Methane"};
    Script().molecularWeights = {18.015, CapeEmptyDouble, std::numeric_limits<double>::quiet_NaN(), 16.043};
    ASSERT_EQ(S_OK, Initialize());

    EXPECT_FALSE(package->initPending);
    EXPECT_EQ((StringList{L"Initialize", L"GetComponentList", L"GetPhaseList", L"GetPropList"}),
              StringList(package10->script.calls.begin(), package10->script.calls.begin() + 4));
    ASSERT_EQ(4u, package->compoundIds.size());
    EXPECT_STREQ(L"Water", package->compoundIds[0].Text());
    EXPECT_EQ(L"water", package->lowerCompoundIds[0]);
    EXPECT_DOUBLE_EQ(0.018015, package->molecularWeights[0]);
    EXPECT_DOUBLE_EQ(1.0 / 0.018015, package->inverseMolecularWeights[0]);
    for (int unknown : {1, 2}) {
        EXPECT_EQ(0.0, package->molecularWeights[unknown]);
        EXPECT_EQ(0.0, package->inverseMolecularWeights[unknown]);
    }
    ASSERT_NE(nullptr, package->compoundIndex.Lookup(L"METHANE"));
    EXPECT_EQ(3, *package->compoundIndex.Lookup(L"METHANE"));
    EXPECT_EQ((std::vector<bool>(4, false)), package->compoundPresent);
    // The six lists are kept as the 1.0 package gave them.
    EXPECT_EQ(Script().casNumbers, ReadStrings(package->casNoList.Value()));
}

TEST_F(PackageCoreTest, MolecularWeightsAreReadAtTheListsOwnLowerBoundAndMayBeShort)
{
    Script().compoundIds = {L"a", L"b", L"c"};
    Script().rawLists[L"molwt"] = [](VARIANT *out) { *out = MakeDoubleArray({10.0, 20.0}, 5); };
    ASSERT_EQ(S_OK, Initialize());
    ASSERT_EQ(3u, package->molecularWeights.size());
    EXPECT_DOUBLE_EQ(0.01, package->molecularWeights[0]);
    EXPECT_DOUBLE_EQ(0.02, package->molecularWeights[1]);
    EXPECT_EQ(0.0, package->molecularWeights[2]);
    EXPECT_EQ(0.0, package->inverseMolecularWeights[2]);
}

TEST_F(PackageCoreTest, PackageWithoutCompoundsInitializes)
{
    Script().compoundIds.clear();
    Script().molecularWeights.clear();
    Script().constants[L"molecularWeight"];
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_TRUE(package->compoundIds.empty());
    EXPECT_EQ(0, package10->script.CountCalls(L"GetComponentConstant"));
}

struct PhaseCase {
    StringList phases10;
    StringList labels;
    StringList states;
    const wchar_t *purePhase;
};

class PhaseFilterTest : public PackageCoreTest, public testing::WithParamInterface<PhaseCase> {};

TEST_P(PhaseFilterTest, KeepsRealPhasesWithTheirStateOfAggregation)
{
    const PhaseCase &c = GetParam();
    Script().phases = c.phases10;
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(c.labels, Labels(package->phaseLabelsList));
    EXPECT_EQ(c.states, Labels(package->stateOfAggregationList));
    ASSERT_EQ(c.labels.size(), package->phaseLabels.size());
    for (size_t i = 0; i < c.labels.size(); ++i) {
        EXPECT_EQ(c.labels[i], package->phaseLabels[i].Text());
        ASSERT_NE(nullptr, package->phaseIndex.Lookup(c.labels[i].c_str()));
        EXPECT_EQ(static_cast<int>(i), *package->phaseIndex.Lookup(c.labels[i].c_str()));
    }
    // Key compounds are null strings, one per phase.
    StringList keys = Labels(package->keyCompoundIdList);
    EXPECT_EQ(StringList(c.labels.size()), keys);
    EXPECT_STREQ(c.purePhase, package->purePhase.Text());
    EXPECT_EQ(StringList{c.purePhase}, Labels(package->purePhaseList));
}

INSTANTIATE_TEST_SUITE_P(
    Phases, PhaseFilterTest,
    testing::Values(
        // Combined phases made of accepted ones are dropped, "Overall" too.
        PhaseCase{{L"Vapor", L"Liquid", L"VaporLiquid", L"LiquidLiquid", L"Liquid2", L"OVERALL", L""},
                  {L"Vapor", L"Liquid", L"Liquid2"},
                  {L"Vapor", L"Liquid", L"Liquid"},
                  L"Liquid"},
        PhaseCase{{L"vapour", L"Water", L"L2", L"L1", L"Aqueous", L"Solid1", L"liquidX"},
                  {L"vapour", L"Water", L"L2", L"L1", L"Aqueous", L"Solid1", L"liquidX"},
                  {L"Unknown", L"Liquid", L"Liquid", L"Unknown", L"Unknown", L"Solid", L"Liquid"},
                  L"liquidX"},
        // A combined name listed before its parts is kept.
        PhaseCase{{L"liquidvapor", L"Vapor", L"Liquid", L"VAPORVAPOR"},
                  {L"liquidvapor", L"Vapor", L"Liquid"},
                  {L"Liquid", L"Vapor", L"Liquid"},
                  L"liquidvapor"},
        PhaseCase{{L"Vapor", L"Liquid2"}, {L"Vapor", L"Liquid2"}, {L"Vapor", L"Liquid"}, L"Liquid2"},
        PhaseCase{{L"Vapor"}, {L"Vapor"}, {L"Vapor"}, L"Vapor"}));

TEST_F(PackageCoreTest, VaporAndLiquidLabelsAreNoticedInAnyCase)
{
    Script().phases = {L"VAPOR", L"Liquid1"};
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_TRUE(package->hasVaporLabel);
    EXPECT_FALSE(package->hasLiquidLabel);
}

struct InitFailureCase {
    const char *name;
    void (*script)(ScriptedPackage10Script &);
    const wchar_t *message;
};

class InitFailureTest : public PackageCoreTest, public testing::WithParamInterface<InitFailureCase> {};

TEST_P(InitFailureTest, IsReportedByEveryLaterCallWithoutAskingThe10PackageAgain)
{
    GetParam().script(Script());
    long count = 0;
    EXPECT_EQ(ECapeUnknownHR, static_cast<ICapeThermoPhases *>(package)->GetNumPhases(&count));
    EXPECT_EQ(GetParam().message, package->ErrorDescription());
    EXPECT_EQ(L"CPropertyPackage::GetNumPhases", package->ErrorScope());
    EXPECT_EQ(L"ICapeThermoPhases", package->ErrorInterface());
    EXPECT_EQ(GetParam().message, package->initError);

    const size_t callsAfterFailure = package10->script.calls.size();
    EXPECT_EQ(ECapeUnknownHR, Initialize());
    EXPECT_EQ(GetParam().message, package->ErrorDescription());
    EXPECT_EQ(L"CPropertyPackage::Initialize", package->ErrorScope());
    EXPECT_EQ(L"ICapeUtilities", package->ErrorInterface());
    EXPECT_EQ(callsAfterFailure, package10->script.calls.size());
    EXPECT_TRUE(package->initPending);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, InitFailureTest,
    testing::Values(
        InitFailureCase{"Initialize",
                        [](ScriptedPackage10Script &s) { s.failures[L"Initialize"] = {ECapeUnknownHR, L"no licence"}; },
                        L"Initialize failed: no licence"},
        InitFailureCase{"ComponentList",
                        [](ScriptedPackage10Script &s) {
                            s.failures[L"GetComponentList"] = {ECapeUnknownHR, L"database missing"};
                        },
                        L"Failed to get list of compounds: database missing"},
        InitFailureCase{"CompoundIdsType",
                        [](ScriptedPackage10Script &s) {
                            s.rawLists[L"compIds"] = [](VARIANT *out) { *out = MakeDoubleArray({1.0}); };
                        },
                        L"Invalid list of compound IDs: Expected an array of type string"},
        InitFailureCase{"MolecularWeightsType",
                        [](ScriptedPackage10Script &s) {
                            s.rawLists[L"molwt"] = [](VARIANT *out) { *out = MakeStringArray({L"16"}); };
                        },
                        L"Invalid list of compound molecular weights: Expected an array of type double precision"},
        InitFailureCase{"PhaseList",
                        [](ScriptedPackage10Script &s) {
                            s.failures[L"GetPhaseList"] = {ECapeUnknownHR, L"phases unknown"};
                        },
                        L"Failed to get list of phases: phases unknown"},
        InitFailureCase{"PhaseListType",
                        [](ScriptedPackage10Script &s) {
                            s.rawLists[L"phases"] = [](VARIANT *out) { *out = MakeString(L"Vapor"); };
                        },
                        L"Invalid list of phases: Expected an array of type string"},
        InitFailureCase{"NoPhases",
                        [](ScriptedPackage10Script &s) { s.phases = {L"Overall", L""}; },
                        L"Property package contains no phases"}),
    [](const testing::TestParamInfo<InitFailureCase> &info) { return std::string(info.param.name); });

TEST_F(PackageCoreTest, FailureTextFallsBackToTheStandardTextOfTheCode)
{
    // No description recorded by the 1.0 package: the code's own text.
    Script().failures[L"GetPhaseList"] = {ECapeNoImplHR, L""};
    EXPECT_EQ(ECapeUnknownHR, Initialize());
    EXPECT_EQ(L"Failed to get list of phases: not implemented", package->ErrorDescription());
}

TEST_F(PackageCoreTest, PackageWithoutA10PackageFailsCleanly)
{
    package->package10.Reset();
    long count = -1;
    EXPECT_EQ(ECapeUnknownHR, static_cast<ICapeThermoPhases *>(package)->GetNumPhases(&count));
    EXPECT_EQ(L"Property package is not available", package->ErrorDescription());
}
