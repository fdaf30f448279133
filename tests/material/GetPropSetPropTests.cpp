// The material object's GetProp and SetProp, called the way a 1.0 package
// calls them, with the package's per-call state prepared by hand.
#include <gtest/gtest.h>

#include "ExampleBridge.h"

namespace {

// A started bridge whose package is initialised and has validated the
// material, so that the selection is that of the material: the first count
// of methane, ethane and propane over the example's package.
struct Prepared : ExampleBridge {
    explicit Prepared(size_t count = 3)
        : ExampleBridge(std::vector<std::wstring>(std::begin(firstThree), std::begin(firstThree) + count))
    {
    }
    static constexpr const wchar_t *firstThree[] = {L"methane", L"ethane", L"propane"};

    void Begin()
    {
        Start();
        long count = 0;
        ASSERT_EQ(S_OK, package->GetNumCompounds(&count));
        ASSERT_TRUE(package->ValidateContextMaterial(L"test", L"test")) << Error();
        object = package->materialObject.Get();
    }

    HRESULT Get(const wchar_t *property, const wchar_t *phase, const wchar_t *calcType, const wchar_t *basis,
                ScopedVariant &results)
    {
        return object->GetProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(), VARIANT{},
                               ScopedBstr(calcType).Get(), ScopedBstr(basis).Get(), results.Receive());
    }
    HRESULT Set(const wchar_t *property, const wchar_t *phase, const wchar_t *calcType, const wchar_t *basis,
                const std::vector<double> &values)
    {
        return object->SetProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(), VARIANT{},
                               ScopedBstr(calcType).Get(), ScopedBstr(basis).Get(), Doubles(values).Value());
    }

    std::wstring ObjectError() const { return object->ErrorDescription(); }

    CMaterialObject *object = nullptr;
};

constexpr const wchar_t *refused = L"Unexpected call or arguments";

}  // namespace

TEST(MaterialGetProp, EachModeAnswersFromItsOwnSource)
{
    Prepared p;
    p.Begin();
    CPropertyPackage &pkg = *p.package;
    ScopedVariant r;

    pkg.materialObject->calcMode = CalcModePure;
    pkg.calcTemperature = 350.0;
    ASSERT_EQ(S_OK, p.Get(L"temperature", L"OVERALL", nullptr, nullptr, r));
    EXPECT_EQ(std::vector<double>{350.0}, ReadDoubles(r.Value()));
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"temperature", L"Vapor", nullptr, nullptr, r));
    EXPECT_EQ(refused, p.ObjectError());
    EXPECT_EQ(VT_EMPTY, r.Type());
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"enthalpy", nullptr, nullptr, nullptr, r));

    // Single phase: T and P of the phase being calculated, whatever phase is named.
    pkg.materialObject->calcMode = CalcModeSinglePhase;
    pkg.conditionPhase.Reset(MakeBstr(L"Liquid"));
    p.material->Put(L"temperature", L"Liquid", L"", {330.0});
    ASSERT_EQ(S_OK, p.Get(L"temperature", L"Liquid1", L"mixture", nullptr, r));
    EXPECT_EQ(std::vector<double>{330.0}, ReadDoubles(r.Value()));
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"enthalpy", L"Liquid", L"mixture", L"mole", r));

    // Equilibrium: the first temperature read becomes the flash temperature.
    pkg.materialObject->calcMode = CalcModeEquilibrium;
    pkg.calcTemperature = 0.0;
    p.material->Put(L"temperature", L"Overall", L"", {350.0});
    ASSERT_EQ(S_OK, p.Get(L"temperature", L"Liquid", nullptr, nullptr, r));
    p.material->Put(L"temperature", L"Overall", L"", {360.0});
    ASSERT_EQ(S_OK, p.Get(L"temperature", nullptr, L"mixture", nullptr, r));
    EXPECT_EQ(std::vector<double>{360.0}, ReadDoubles(r.Value()));
    EXPECT_EQ(350.0, pkg.calcTemperature);
    p.material->Put(L"enthalpy", L"Vapor", L"mole", {-5.0});
    ASSERT_EQ(S_OK, p.Get(L"enthalpy", L"Vapor", L"", L"mole", r));
    EXPECT_EQ(std::vector<double>{-5.0}, ReadDoubles(r.Value()));
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"enthalpy", L"Vapor", L"pure", L"mole", r));
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"enthalpy", L"overall", L"", L"mole", r));  // the material has none
    EXPECT_EQ(L"Property \"enthalpy\" in \"mole\" basis is not set for overall", p.ObjectError());

    pkg.materialObject->calcMode = 5;
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"temperature", nullptr, nullptr, nullptr, r));
    EXPECT_EQ(refused, p.ObjectError());
}

TEST(MaterialGetProp, MassFractionsBeyondTheLocalBufferAndTheirFailures)
{
    // 40 compounds: more than the fixed buffer holds.
    Prepared p(2);
    std::vector<std::wstring> ids;
    std::vector<double> weights, moles;
    for (int i = 0; i < 40; ++i) {
        ids.push_back(L"c" + std::to_wstring(i));
        weights.push_back(i + 1.0);
        moles.push_back(1.0);
    }
    weights[39] = CapeEmptyDouble;  // unknown
    p.material->compounds.ids = ids;
    p.UseScriptedLists(weights);
    p.Begin();
    CPropertyPackage &pkg = *p.package;
    pkg.materialObject->calcMode = CalcModeLnPhi;
    ScopedBstr vapor(L"Vapor");
    pkg.currentPhase = vapor.Get();
    OwnedVariant amounts = Doubles(moles);
    pkg.lnPhiComposition = &amounts.Value();
    ScopedVariant r;

    EXPECT_EQ(ECapeUnknownHR, p.Get(L"fraction", L"Vapor", L"mixture", L"mass", r));
    EXPECT_EQ(L"Unable to perform mole/mass conversion, one or more missing molecular weights", p.ObjectError());
    EXPECT_EQ(VT_EMPTY, r.Type());

    pkg.molecularWeights[39] = 0.040;
    pkg.inverseMolecularWeights[39] = 25.0;
    ASSERT_EQ(S_OK, p.Get(L"fraction", L"Vapor", L"mixture", L"mass", r)) << p.ObjectError();
    const std::vector<double> fractions = ReadDoubles(r.Value());
    ASSERT_EQ(40u, fractions.size());
    for (int i = 0; i < 40; ++i) EXPECT_NEAR((i + 1) / 820.0, fractions[i], 1e-15) << i;

    // Mole basis hands back the call's numbers as fractions.
    ASSERT_EQ(S_OK, p.Get(L"fraction", L"vapor", nullptr, L"mole", r));
    EXPECT_EQ(std::vector<double>(40, 1.0 / 40), ReadDoubles(r.Value()));
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"fraction", L"Vapor", nullptr, L"molar", r));
    EXPECT_EQ(L"Unexpected basis. Should be \"mole\" or \"mass\"", p.ObjectError());
    EXPECT_EQ(ECapeUnknownHR, p.Get(L"fraction", L"Liquid", nullptr, L"mole", r));
    EXPECT_EQ(refused, p.ObjectError());
}

TEST(MaterialSetProp, PureValuesGoToTheirSlotInMoleBasis)
{
    Prepared p;  // methane, ethane, propane
    p.Begin();
    CPropertyPackage &pkg = *p.package;
    pkg.materialObject->calcMode = CalcModePure;
    pkg.pureResults.Create(9, VT_R8);
    pkg.resultSlots.Clear();
    pkg.resultSlots.Entry(L"vaporPressure") = 0;
    pkg.resultSlots.Entry(L"idealGasHeatCapacity") = 1;
    pkg.resultSlots.Entry(L"density") = 2;
    pkg.slotFilled.assign(3, false);
    const double m[] = {0.016043, 0.030070, 0.044097};  // kg/mol

    // J/(kg K) times kg/mol is J/(mol K); kg/m3 divided by kg/mol is mol/m3.
    ASSERT_EQ(S_OK, p.Set(L"idealGasHeatCapacity", L"Liquid", L"pure", L"mass", {1000, 2000, 3000}));
    ASSERT_EQ(S_OK, p.Set(L"density", nullptr, L"pure", L"MASS", {800, 850, 860}));
    ASSERT_EQ(S_OK, p.Set(L"vaporPressure", nullptr, nullptr, L"mass", {1, 2, 3}));
    ASSERT_EQ(S_OK, p.Set(L"volume", nullptr, nullptr, L"mass", {1, 2, 3}));  // not requested
    const std::vector<double> stored = ReadDoubles(pkg.pureResults.Value());
    const std::vector<double> expected = {1, 2, 3, 1000 * m[0], 2000 * m[1], 3000 * m[2],
                                          800 / m[0], 850 / m[1], 860 / m[2]};
    ASSERT_EQ(9u, stored.size());
    for (size_t i = 0; i < 9; ++i) EXPECT_NEAR(expected[i], stored[i], 1e-9 * expected[i]) << i;
    EXPECT_EQ((std::vector<bool>{true, true, true}), pkg.slotFilled);

    EXPECT_EQ(ECapeUnknownHR, p.Set(L"density", nullptr, nullptr, nullptr, {1, 2}));
    EXPECT_EQ(L"Unexpected number of values", p.ObjectError());
    EXPECT_EQ(ECapeUnknownHR, p.object->SetProp(ScopedBstr(L"density").Get(), nullptr, VARIANT{}, nullptr, nullptr,
                                                Strings({L"1", L"2", L"3"}).Value()));
    EXPECT_EQ(L"Invalid format for values: Expected an array of type double precision", p.ObjectError());

    // A missing weight stops the conversion where it is met.
    pkg.molecularWeights[1] = pkg.inverseMolecularWeights[1] = 0.0;
    EXPECT_EQ(ECapeUnknownHR, p.Set(L"density", nullptr, nullptr, L"mass", {1, 1, 1}));
    EXPECT_EQ(L"One or more missing molecular weights; unable to perform basis conversion", p.ObjectError());
    const std::vector<double> after = ReadDoubles(pkg.pureResults.Value());
    EXPECT_NEAR(1 / m[0], after[6], 1e-9);
    EXPECT_EQ(stored[7], after[7]);
}

TEST(MaterialSetProp, FlashResultsAreCheckedAndKeptPerPhase)
{
    Prepared p(2);
    p.Begin();
    CPropertyPackage &pkg = *p.package;
    pkg.materialObject->calcMode = CalcModeEquilibrium;
    pkg.phaseComposition.resize(2);
    pkg.phaseFractionValue.resize(2);
    pkg.compositionBasis.assign(2, nullptr);
    pkg.phaseFractionBasis.assign(2, nullptr);
    pkg.phaseResultSet.assign(2, false);

    EXPECT_EQ(ECapeUnknownHR, p.Set(L"pressure", nullptr, nullptr, nullptr, {1, 2}));
    EXPECT_EQ(L"Unexpected number of values for pressure: scalar expected", p.ObjectError());
    EXPECT_EQ(ECapeUnknownHR, p.Set(L"fraction", L"Vapor", nullptr, L"molar", {1, 0}));
    EXPECT_EQ(L"Invalid basis for fraction", p.ObjectError());
    EXPECT_EQ(ECapeUnknownHR, p.Set(L"phaseFraction", L"Solid", nullptr, L"mole", {1}));
    EXPECT_EQ(L"Unknown/unsupported phase", p.ObjectError());
    EXPECT_EQ(E_POINTER, p.Set(L"fraction", nullptr, nullptr, L"mole", {1, 0}));
    EXPECT_EQ(ECapeUnknownHR, p.Set(L"viscosity", L"Vapor", nullptr, nullptr, {1}));
    EXPECT_EQ(refused, p.ObjectError());
    EXPECT_EQ((std::vector<bool>{false, false}), pkg.phaseResultSet);

    // Derivatives and other known properties are not flash results: dropped.
    EXPECT_EQ(S_OK, p.Set(L"logFugacityCoefficient.dtemperature", L"Vapor", nullptr, nullptr,
                          {1, 2}));
    EXPECT_EQ(S_OK, p.Set(L"enthalpy", L"Vapor", nullptr, L"mole", {1}));
    ASSERT_EQ(S_OK, p.Set(L"fraction", L"VAPOR", nullptr, L"mole", {0.5, 0.5}));
    ASSERT_EQ(S_OK, p.Set(L"fraction", L"Vapor", nullptr, L"mass", {0.2, 0.8}));
    ASSERT_EQ(S_OK, p.Set(L"temperature", L"Liquid", nullptr, L"", {351.5}));
    EXPECT_EQ((std::vector<double>{0.2, 0.8}), ReadDoubles(pkg.phaseComposition[0].Value()));
    EXPECT_EQ(pkg.bstrMass.Get(), pkg.compositionBasis[0]);
    EXPECT_EQ((std::vector<bool>{true, false}), pkg.phaseResultSet);
    EXPECT_TRUE(pkg.phaseFractionValue[0].IsEmpty());
    EXPECT_EQ(351.5, pkg.calcTemperature);
}

TEST(MaterialSetProp, PhaseAndBasisRulesOfTwoPhaseAndFugacityResults)
{
    Prepared p(2);
    p.Begin();
    CPropertyPackage &pkg = *p.package;

    // Two-phase values go to the material only for VaporLiquid or Liquid.
    pkg.materialObject->calcMode = CalcModeTwoPhase;
    const OwnedVariant pair = Strings({L"Vapor", L"Liquid"});
    pkg.twoPhaseLabels = &pair.Value();
    pkg.resultSlots.Clear();
    pkg.resultSlots.Entry(L"kvalues") = 0;
    pkg.requestRecords.assign(1, pkg.propsBy10Name.Lookup(L"kvalues"));
    pkg.slotFilled.assign(1, false);
    EXPECT_EQ(S_OK, p.Set(L"kvalues", L"Vapor", L"mixture", nullptr, {2, 0.5}));
    EXPECT_FALSE(pkg.slotFilled[0]);
    EXPECT_EQ(ECapeUnknownHR, p.Set(L"kvalues", L"liquid", nullptr, nullptr, {2, 0.5}));
    EXPECT_EQ(refused, p.ObjectError());
    ASSERT_EQ(S_OK, p.Set(L"kvalues", L"vaporliquid", L"mixture", nullptr, {2, 0.5}));
    EXPECT_TRUE(pkg.slotFilled[0]);
    EXPECT_EQ((std::vector<double>{2, 0.5}), p.material->Values(L"kvalue", L"Vapor,Liquid", L""));

    // Fugacity results: only .Dmoles may name a basis, and only "mole".
    pkg.materialObject->calcMode = CalcModeLnPhi;
    ScopedBstr liquid(L"Liquid");
    pkg.currentPhase = liquid.Get();
    ScopedVariant lnPhi, dn;
    pkg.resultSlots.Clear();
    pkg.resultSlots.Entry(L"LogFugacityCoefficient") = 0;
    pkg.resultSlots.Entry(L"LogFugacityCoefficient.Dmoles") = 1;
    pkg.lnPhiTargets = {lnPhi.Get(), dn.Get()};
    pkg.slotFilled.assign(2, false);
    const OwnedVariant oneMole = Doubles({0.25, 0.75});
    pkg.lnPhiComposition = &oneMole.Value();
    EXPECT_EQ(ECapeUnknownHR,
              p.Set(L"logFugacityCoefficient", L"Liquid", L"mixture", L"mole", {1, 2}));
    EXPECT_EQ(L"Invalid basis", p.ObjectError());
    EXPECT_EQ(ECapeUnknownHR,
              p.Set(L"LogFugacityCoefficient.Dmoles", L"Liquid", L"mixture", L"mass", {0, 0, 0, 0}));
    EXPECT_EQ(L"Invalid basis", p.ObjectError());
    EXPECT_EQ(S_OK, p.Set(L"logFugacityCoefficient", L"Vapor", L"mixture", nullptr, {9, 9}));
    ASSERT_EQ(S_OK, p.Set(L"logFugacityCoefficient.dmoles", L"liquid", L"mixture", L"mole",
                          {0, 1, 2, 3}));
    ASSERT_EQ(S_OK, p.Set(L"logFugacityCoefficient", L"Liquid", L"mixture", L"", {1, 2}));
    EXPECT_EQ((std::vector<double>{1, 2}), ReadDoubles(lnPhi.Value()));
    EXPECT_EQ((std::vector<double>{0, 1, 2, 3}), ReadDoubles(dn.Value()));
    EXPECT_EQ((std::vector<bool>{true, true}), pkg.slotFilled);
}
