// Supported properties: translation of the 1.0 property list into the four
// 1.1 lists and the name maps, and the probing of compound constants.
#include "PackageCoreFixture.h"

namespace {

const PropertyRecord *By10(CPropertyPackage *package, const wchar_t *name)
{
    return package->propsBy10Name.Lookup(name);
}

const PropertyRecord *By11(CPropertyPackage *package, const wchar_t *name)
{
    return package->propsBy11Name.Lookup(name);
}

}  // namespace

TEST_F(PackageCoreTest, PropertyListIsTranslatedWithDerivativeSuffixes)
{
    Script().propList = {L"enthalpy.dtemperature", L"heatCapacity", L"kvalues", L"vaporPressure.dtemperature",
                         L"boilingPointTemperature.dpressure", L"fugacityCoefficient.DMOLES",
                         L"kvalues.dpressure",
                         // None of these is offered:
                         L"vaporPressure.dpressure", L"kvalues.dmoles", L"enthalpy.dT", L"temperature",
                         L"noSuchProperty", L"", L"enthalpy.dtemperature.dpressure", L"acentricFactor"};
    ASSERT_EQ(S_OK, Initialize());

    EXPECT_EQ((StringList{L"enthalpy.Dtemperature", L"heatCapacityCp", L"fugacityCoefficient.Dmoles"}),
              Labels(package->singlePhasePropList));
    EXPECT_EQ((StringList{L"kvalue", L"kvalue.Dpressure"}), Labels(package->twoPhasePropList));
    EXPECT_EQ(StringList{L"vaporPressure.Dtemperature"}, Labels(package->tDependentPropList));
    EXPECT_EQ(StringList{L"boilingPointTemperature.Dpressure"}, Labels(package->pDependentPropList));

    const PropertyRecord *enthalpyDT = By11(package, L"enthalpy.Dtemperature");
    ASSERT_NE(nullptr, enthalpyDT);
    EXPECT_STREQ(L"enthalpy.dtemperature", enthalpyDT->name10.Text());
    EXPECT_EQ(DerivativeTemperature, enthalpyDT->derivative);
    EXPECT_FALSE(enthalpyDT->namesDiffer);
    ASSERT_NE(nullptr, enthalpyDT->row);
    EXPECT_EQ(PropertyCategory::SinglePhase, enthalpyDT->row->category);

    // Maps ignore letter case, and each finds the same record.
    const PropertyRecord *cp = By11(package, L"HEATCAPACITYCP");
    ASSERT_NE(nullptr, cp);
    EXPECT_STREQ(L"heatCapacity", cp->name10.Text());
    EXPECT_TRUE(cp->namesDiffer);
    ASSERT_NE(nullptr, By10(package, L"HeatCapacity"));
    EXPECT_STREQ(L"heatCapacityCp", By10(package, L"HeatCapacity")->name11.Text());
    EXPECT_EQ(DerivativeMoles, By11(package, L"fugacityCoefficient.Dmoles")->derivative);
    EXPECT_STREQ(L"kvalue", By10(package, L"kvalues")->name11.Text());

    for (const wchar_t *refused : {L"vaporPressure.dpressure", L"kvalues.dmoles", L"enthalpy.dT", L"noSuchProperty",
                                   L"enthalpy.dtemperature.dpressure"})
        EXPECT_EQ(nullptr, By10(package, refused)) << refused;
    EXPECT_EQ(nullptr, By11(package, L"vaporPressure.Dpressure"));
    EXPECT_EQ(nullptr, By11(package, L"kvalue.Dmoles"));
}

TEST_F(PackageCoreTest, StateVariablesAreTranslatedEvenWhenThePropertyListFails)
{
    Script().failures[L"GetPropList"] = {ECapeUnknownHR, L"no list"};
    ASSERT_EQ(S_OK, Initialize());
    for (CVariantArray *list : {&package->tDependentPropList, &package->pDependentPropList,
                                &package->singlePhasePropList, &package->twoPhasePropList})
        EXPECT_EQ(VT_EMPTY, list->Type());
    for (const wchar_t *word : {L"Temperature", L"Pressure", L"PhaseFraction", L"Fraction"}) {
        for (const PropertyRecord *record : {By10(package, word), By11(package, word)}) {
            ASSERT_NE(nullptr, record) << word;
            EXPECT_STREQ(word, record->name10.Text());
            EXPECT_STREQ(word, record->name11.Text());
            EXPECT_NE(nullptr, record->row);
            EXPECT_FALSE(record->namesDiffer);
        }
    }
    // Nothing of the failure is reported.
    EXPECT_EQ(L"", package->ErrorDescription());
}

TEST_F(PackageCoreTest, PropertyListOfTheWrongTypeSupportsNothing)
{
    Script().propList = {L"enthalpy"};
    Script().rawLists[L"props"] = [](VARIANT *out) { *out = MakeDoubleArray({1.0}); };
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(VT_EMPTY, package->singlePhasePropList.Type());
    EXPECT_EQ(nullptr, By10(package, L"enthalpy"));
}

TEST_F(PackageCoreTest, ConstantsAreProbedOneCompoundAtATime)
{
    Script().compoundIds = {L"A", L"B", L"C"};
    Script().molecularWeights = {1.0, 2.0, 3.0};
    // molecularWeight is known for every compound, acentricFactor only for
    // the last one, nothing else for any.
    bool onlyOneCompound = true;
    Script().onGetComponentConstant = [&](CScriptedPackage10 &, ICapeThermoMaterialObject *material,
                                          const StringList &props, VARIANT *values) -> HRESULT {
        long count = 0;
        ScopedVariant ids;
        if (FAILED(material->GetNumComponents(&count)) || count != 1 ||
            FAILED(material->get_ComponentIds(ids.Get())) || ReadStrings(ids.Value()).size() != 1)
            onlyOneCompound = false;
        const std::wstring compound = ReadStrings(ids.Value()).empty() ? L"" : ReadStrings(ids.Value())[0];
        if (props == StringList{L"molecularWeight"} || (props == StringList{L"acentricFactor"} && compound == L"C")) {
            *values = MakeDoubleArray({1.0});
            return S_OK;
        }
        return ECapeUnknownHR;
    };
    ASSERT_EQ(S_OK, Initialize());

    EXPECT_EQ((StringList{L"acentricFactor", L"molecularWeight"}), Labels(package->constPropList));
    EXPECT_TRUE(onlyOneCompound);
    EXPECT_EQ(1, package10->script.CountCalls(L"GetComponentConstant molecularWeight [A]"));
    EXPECT_EQ(0, package10->script.CountCalls(L"GetComponentConstant molecularWeight [B]"));
    for (const wchar_t *c : {L"[A]", L"[B]", L"[C]"}) {
        EXPECT_EQ(1, package10->script.CountCalls(std::wstring(L"GetComponentConstant acentricFactor ") + c)) << c;
        EXPECT_EQ(1, package10->script.CountCalls(std::wstring(L"GetComponentConstant criticalTemperature ") + c)) << c;
    }
    const PropertyRecord *acentric = By11(package, L"acentricfactor");
    ASSERT_NE(nullptr, acentric);
    EXPECT_EQ(PropertyCategory::Constant, acentric->row->category);
    EXPECT_EQ(nullptr, By11(package, L"criticalTemperature"));

    // The temporary one-compound selection is gone afterwards.
    EXPECT_EQ(VT_EMPTY, package->selectionIds.Type());
    EXPECT_EQ(0, package->selectionIds.Count());
}

TEST_F(PackageCoreTest, NoConstantIsListedWhenTheProbesFail)
{
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(VT_EMPTY, package->constPropList.Type());
    EXPECT_EQ(static_cast<int>(ConstantPropertyRows().size() * 2), package10->script.CountCalls(L"GetComponentConstant"));
}
