// corvanta-probe verify: the same calculations twice, directly on the 1.0
// package (the probe as a 1.0 simulator, with its own 1.0 material object)
// and through the 1.1 manager, compared quantity by quantity. What the
// bridge changes on purpose is applied to the direct values first: property
// names and derivative suffixes, the fixed second condition of pure-compound
// properties, their mass-to-mole conversion with molecular weights in kg/mol,
// and the phases a 1.1 client sees ("Overall" and combined phases removed).
#include "Commands.h"

#include <algorithm>
#include <cmath>

#include "ArrayValues.h"
#include "Calculations.h"
#include "Comparison.h"
#include "Material10.h"
#include "Names.h"
#include "OpenPackage.h"
#include "Package10Client.h"
#include "PropertyNameTable.h"
#include "PropertyPackage.h"
#include "Text.h"

namespace {

// The state the property calculations start from and the flashes start at:
// an equimolar mixture of the package's first compounds, as check uses it.
constexpr double verifyTemperature = 300.0;
constexpr double verifyPressure = 1e6;
constexpr double verifyVaporFraction = 0.5;
constexpr size_t mixtureCompounds = 3;

constexpr double dependentPressure = 101325.0;  // of pressure-dependent properties

// Fugacity coefficients by CalcAndGetLnPhi flag: 1.0 name and the name of
// the 1.1 output.
constexpr struct {
    int flag;
    const wchar_t *name10;
    const wchar_t *output;
} lnPhiParts[] = {
    {1, L"LogFugacityCoefficient", L"lnPhi"},
    {2, L"LogFugacityCoefficient.Dtemperature", L"lnPhiDT"},
    {4, L"LogFugacityCoefficient.Dpressure", L"lnPhiDP"},
    {8, L"LogFugacityCoefficient.Dmoles", L"lnPhiDn"},
};

struct Verification {
    Package10Client &direct;
    PackageClient &bridged;
    Comparison &compare;
    std::vector<std::wstring> mixtureIds;
    MixtureState mixture;  // the feed of the flashes
    // The state the properties are calculated at: overall, and per phase
    // of the bridged package (its phase labels, in order).
    MixtureState overall;
    std::vector<MixtureState> phaseStates;

    const MixtureState &StateOf(const std::wstring &phase) const
    {
        for (size_t i = 0; i < bridged.phaseLabels.size() && i < phaseStates.size(); ++i)
            if (NamesEqual(bridged.phaseLabels[i].c_str(), phase.c_str())) return phaseStates[i];
        return overall;
    }
};

// Names for the elements of a list of values over the given compounds.
std::vector<std::wstring> Elements(const std::vector<std::wstring> &ids, size_t count)
{
    if (count == ids.size()) return ids;
    std::vector<std::wstring> elements;
    if (count == ids.size() * ids.size()) {
        for (const std::wstring &i : ids)
            for (const std::wstring &j : ids) elements.push_back(i + L"/" + j);
    }
    return elements;
}

// Compares values found in the two materials; each side may lack them.
void CompareStored(Verification &v, const std::wstring &quantity, const std::vector<std::wstring> &ids,
                   const std::vector<double> *direct, ValueBasis directBasis, const std::vector<double> *bridged,
                   ValueBasis bridgedBasis, const std::wstring &detail = std::wstring())
{
    if (!v.compare.Outcome(quantity, direct != nullptr, L"the package set no value", bridged != nullptr,
                           L"the package set no value"))
        return;
    if (directBasis != bridgedBasis) {
        v.compare.Texts(quantity + L" basis", {}, {BasisName(directBasis)}, {BasisName(bridgedBasis)});
        return;
    }
    v.compare.Numbers(quantity, Elements(ids, direct->size()), *direct, *bridged, detail);
}

void VerifyCompounds(Verification &v)
{
    const CompoundTable &d = v.direct.compounds;
    const CompoundTable &b = v.bridged.compoundTable;
    v.compare.Texts(L"compound ids", d.ids, d.ids, b.ids);
    v.compare.Texts(L"compound formulae", d.ids, d.formulae, b.formulae);
    v.compare.Texts(L"compound names", d.ids, d.names, b.names);
    v.compare.Texts(L"compound CAS numbers", d.ids, d.casNumbers, b.casNumbers);
    v.compare.Numbers(L"compound boiling points", d.ids, d.boilTemps, b.boilTemps);
    // Both lists in g/mol: the bridge uses kg/mol only inside, for basis conversions.
    v.compare.Numbers(L"compound molecular weights", d.ids, d.molWts, b.molWts, L"g/mol on both sides");

    std::vector<std::wstring> lists[4], all;
    std::wstring error;
    v.bridged.TDependentPropList(lists[0], error);
    v.bridged.PDependentPropList(lists[1], error);
    v.bridged.SinglePhasePropList(lists[2], error);
    v.bridged.TwoPhasePropList(lists[3], error);
    for (const auto &list : lists) all.insert(all.end(), list.begin(), list.end());
    std::sort(all.begin(), all.end());
    v.compare.Texts(L"supported properties", v.direct.Names11(), v.direct.Names11(), all);
}

// Compound constants as the bridge lists them, each asked of the 1.0
// package directly for all compounds at once.
void VerifyConstants(Verification &v)
{
    std::vector<std::wstring> names;
    std::wstring error;
    if (!v.bridged.ConstPropList(names, error)) return;
    const std::vector<std::wstring> &ids = v.direct.compounds.ids;
    ComPtr<ICapeThermoMaterialObject> material = CMaterial10::Create(ids, v.direct.phases);
    for (const std::wstring &name11 : names) {
        const wchar_t *name10 = name11.c_str();
        for (const PropertyRow *row : ConstantPropertyRows())
            if (NamesEqual(row->name11, name11.c_str())) name10 = row->name10;
        const std::wstring quantity = L"constant " + name11;
        ScopedVariant direct, bridged, props;
        std::wstring directError, bridgedError;
        bool directOk = v.direct.ComponentConstant(material.Get(), name10, direct.Get(), directError);
        PutStrings(props.Get(), {name11});
        ScopedVariant compounds;
        PutStrings(compounds.Get(), ids);
        HRESULT hr = v.bridged.compounds->GetCompoundConstant(props.Value(), compounds.Value(), bridged.Get());
        if (FAILED(hr)) bridgedError = FailureText(v.bridged.compounds.Get(), hr);
        if (!v.compare.Outcome(quantity, directOk, directError, SUCCEEDED(hr), bridgedError)) continue;
        std::vector<double> directNumbers, bridgedNumbers;
        if (ReadVariantNumbers(direct.Value(), directNumbers, error) &&
            ReadVariantNumbers(bridged.Value(), bridgedNumbers, error)) {
            v.compare.Numbers(quantity, ids, directNumbers, bridgedNumbers);
            continue;
        }
        std::vector<std::wstring> directTexts, bridgedTexts;
        ReadVariantsAsText(direct.Value(), directTexts, error);
        ReadVariantsAsText(bridged.Value(), bridgedTexts, error);
        v.compare.Texts(quantity, ids, directTexts, bridgedTexts);
    }
}

// The phase a pure-compound calculation names: the first liquid, else the first phase.
std::wstring PurePhase(const PackageClient &bridged)
{
    std::wstring liquid = bridged.PhaseOfState(L"Liquid");
    return liquid.empty() && !bridged.phaseLabels.empty() ? bridged.phaseLabels[0] : liquid;
}

// A pure-compound value given in mass basis, in the mole basis the bridge
// hands out: times M^-exponent, M in kg/mol. False when a weight is missing.
bool ToMoleBasis(const std::wstring &name10, const std::vector<double> &molWts, std::vector<double> &values)
{
    std::wstring base = name10.substr(0, name10.find(L'.'));
    const PropertyRow *row = LookupPropertyRow(base.c_str());
    int exponent = row ? row->basisExponent : 0;
    if (values.size() != molWts.size()) return false;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!(molWts[i] > 0.0)) return false;
        values[i] *= std::pow(molWts[i] * 0.001, -exponent);
    }
    return true;
}

void VerifyDependent(Verification &v, bool temperature)
{
    std::vector<std::wstring> names;
    std::wstring error;
    if (!(temperature ? v.bridged.TDependentPropList(names, error) : v.bridged.PDependentPropList(names, error)))
        return;
    const std::vector<std::wstring> &ids = v.direct.compounds.ids;
    const double T = temperature ? verifyTemperature : DependentPropertyTemperature;
    const double P = temperature ? DependentPropertyPressure : dependentPressure;
    const std::wstring phase = PurePhase(v.bridged);
    for (const std::wstring &name11 : names) {
        const std::wstring name10 = v.direct.Name10(name11);
        const std::wstring quantity = (temperature ? L"T-dependent " : L"P-dependent ") + name11;
        CMaterial10 *material = nullptr;
        ComPtr<ICapeThermoMaterialObject> object = CMaterial10::Create(ids, v.direct.phases, &material);
        for (const wchar_t *where : {phase.c_str(), L"Overall"}) {
            material->Put(L"temperature", where, {T});
            material->Put(L"pressure", where, {P});
        }
        std::wstring directError, bridgedError;
        bool directOk = v.direct.CalcProp(object.Get(), {name10}, phase, L"pure", directError);
        ValueBasis basis = ValueBasis::Undefined;
        const std::vector<double> *found = material->store.GetAnyBasis(phase.c_str(), name10.c_str(), basis);
        if (!found) found = material->store.GetAnyBasis(L"Overall", name10.c_str(), basis);
        std::vector<double> direct = found ? *found : std::vector<double>();
        if (directOk && !found) {
            directOk = false;
            directError = L"the package set no value";
        }
        std::wstring detail = L"asked for phase " + phase + L" at " +
                              (temperature ? L"P = " + NumberText(P) + L" Pa" : L"T = " + NumberText(T) + L" K");
        if (directOk && basis == ValueBasis::Mass) {
            detail += L"; mass basis converted to mole with M in kg/mol";
            if (!ToMoleBasis(name10, v.direct.compounds.molWts, direct)) {
                directOk = false;
                directError = L"no molecular weights to convert the mass-basis values";
            }
        }

        ScopedVariant props, compounds, values;
        PutStrings(props.Get(), {name11});
        PutStrings(compounds.Get(), ids);
        ICapeThermoCompounds &calls = *v.bridged.compounds.Get();
        HRESULT hr = temperature ? calls.GetTDependentProperty(props.Value(), T, compounds.Value(), values.Get())
                                 : calls.GetPDependentProperty(props.Value(), P, compounds.Value(), values.Get());
        std::vector<double> bridged;
        if (FAILED(hr)) bridgedError = FailureText(v.bridged.compounds.Get(), hr);
        else if (!ReadDoubles(values.Value(), bridged, bridgedError)) hr = E_FAIL;
        if (v.compare.Outcome(quantity, directOk, directError, SUCCEEDED(hr), bridgedError))
            v.compare.Numbers(quantity, ids, direct, bridged, detail);
    }
}

// The 1.0 name of the combined vapour-liquid phase two-phase properties are asked for.
constexpr const wchar_t *vaporLiquid = L"VaporLiquid";

// Every phase of the direct material at its state, as the bridged material
// holds it; the combined and overall phases, and phases the bridge leaves
// out, at the overall state: whichever the package reads its conditions from.
void PutStates(CMaterial10 &material, const Verification &v)
{
    std::vector<std::wstring> phases = v.direct.phases;
    phases.push_back(vaporLiquid);
    phases.push_back(L"Overall");
    for (const std::wstring &phase : phases) {
        const MixtureState &state = v.StateOf(phase);
        material.Put(L"temperature", phase, {state.temperature});
        material.Put(L"pressure", phase, {state.pressure});
        material.Put(L"fraction", phase, state.composition, L"mole");
    }
}

void VerifyPhaseProperties(Verification &v, CMaterial11 &bridgedMaterial)
{
    CMaterial10 *material = nullptr;
    ComPtr<ICapeThermoMaterialObject> object = CMaterial10::Create(v.mixtureIds, v.direct.phases, &material);
    PutStates(*material, v);
    std::vector<std::wstring> names;
    std::wstring error;
    if (!v.bridged.SinglePhasePropList(names, error)) names.clear();
    for (const std::wstring &phase : v.bridged.phaseLabels) {
        for (const std::wstring &name11 : names) {
            const std::wstring name10 = v.direct.Name10(name11);
            const std::wstring quantity = name11 + L" " + phase;
            material->Remove(name10, phase);
            std::wstring directError, bridgedError;
            bool directOk = v.direct.CalcProp(object.Get(), {name10}, phase, L"mixture", directError);
            std::vector<double> bridgedValues;
            ValueBasis directBasis = ValueBasis::Undefined, bridgedBasis = ValueBasis::Undefined;
            bool bridgedOk = CalcPhaseProperty(v.bridged, bridgedMaterial, phase, name11, bridgedValues,
                                               bridgedBasis, bridgedError);
            if (!v.compare.Outcome(quantity, directOk, directError, bridgedOk, bridgedError)) continue;
            const std::vector<double> *direct = material->store.GetAnyBasis(phase.c_str(), name10.c_str(), directBasis);
            CompareStored(v, quantity, v.mixtureIds, direct, directBasis, &bridgedValues, bridgedBasis);
        }
    }

    if (!v.bridged.TwoPhasePropList(names, error)) names.clear();
    const std::wstring pair = PhasePairLabel(L"Vapor", L"Liquid");
    for (const std::wstring &name11 : names) {
        const std::wstring name10 = v.direct.Name10(name11);
        const std::wstring quantity = name11 + L" " + pair;
        std::wstring directError, bridgedError, directPhase = vaporLiquid;
        material->Remove(name10, directPhase);
        bool directOk = v.direct.CalcProp(object.Get(), {name10}, directPhase, L"mixture", directError);
        // Some packages give surface tension for the liquid alone; the bridge asks that way next.
        if (!directOk && NamesEqual(name10.c_str(), L"surfaceTension")) {
            directPhase = L"Liquid";
            material->Remove(name10, directPhase);
            directOk = v.direct.CalcProp(object.Get(), {name10}, directPhase, L"mixture", directError);
        }
        ScopedVariant props, labels;
        PutStrings(props.Get(), {name11});
        PutStrings(labels.Get(), {L"Vapor", L"Liquid"});
        HRESULT hr = v.bridged.routine->CalcTwoPhaseProp(props.Value(), labels.Value());
        if (FAILED(hr)) bridgedError = FailureText(v.bridged.routine.Get(), hr);
        if (!v.compare.Outcome(quantity, directOk, directError, SUCCEEDED(hr), bridgedError)) continue;
        ValueBasis directBasis = ValueBasis::Undefined, bridgedBasis = ValueBasis::Undefined;
        const std::vector<double> *direct = material->store.GetAnyBasis(directPhase.c_str(), name10.c_str(),
                                                                        directBasis);
        const std::vector<double> *bridged = bridgedMaterial.store.GetAnyBasis(pair.c_str(), name11.c_str(),
                                                                               bridgedBasis);
        CompareStored(v, quantity, v.mixtureIds, direct, directBasis, bridged, bridgedBasis,
                      L"asked of the 1.0 package for phase " + directPhase);
    }
}

// Fugacity coefficients and every derivative the package lists, per phase.
void VerifyLnPhi(Verification &v)
{
    int flags = 0;
    std::vector<std::wstring> names10;
    for (const auto &part : lnPhiParts) {
        for (const std::wstring &listed : v.direct.props) {
            if (!NamesEqual(listed.c_str(), part.name10)) continue;
            flags |= part.flag;
            names10.push_back(listed);
            break;
        }
    }
    if (!(flags & 1)) return;
    for (const std::wstring &phase : v.bridged.phaseLabels) {
        CMaterial10 *material = nullptr;
        ComPtr<ICapeThermoMaterialObject> object = CMaterial10::Create(v.mixtureIds, v.direct.phases, &material);
        PutStates(*material, v);
        const MixtureState &state = v.StateOf(phase);
        const std::wstring quantity = L"CalcAndGetLnPhi " + phase;
        std::wstring directError, bridgedError;
        for (const std::wstring &name10 : names10) material->Remove(name10, phase);
        bool directOk = v.direct.CalcProp(object.Get(), names10, phase, L"mixture", directError);

        ScopedVariant moles, outputs[4];
        PutDoubles(moles.Get(), state.composition);
        ScopedBstr label(phase.c_str());
        HRESULT hr = v.bridged.routine->CalcAndGetLnPhi(label.Get(), state.temperature, state.pressure,
                                                        moles.Value(), flags, outputs[0].Get(), outputs[1].Get(),
                                                        outputs[2].Get(), outputs[3].Get());
        if (FAILED(hr)) bridgedError = FailureText(v.bridged.routine.Get(), hr);
        if (!v.compare.Outcome(quantity, directOk, directError, SUCCEEDED(hr), bridgedError)) continue;
        size_t named = 0;
        for (size_t p = 0; p < 4; ++p) {
            if (!(flags & lnPhiParts[p].flag)) continue;
            const std::wstring &name10 = names10[named++];
            std::vector<double> bridged;
            std::wstring ignored;
            ReadDoubles(outputs[p].Value(), bridged, ignored);
            // The outputs carry no basis: whatever the package gave passes unchanged.
            ValueBasis basis = ValueBasis::Undefined;
            const std::vector<double> *direct = material->store.GetAnyBasis(phase.c_str(), name10.c_str(), basis);
            CompareStored(v, std::wstring(lnPhiParts[p].output) + L" " + phase, v.mixtureIds, direct, basis, &bridged,
                          basis);
        }
    }
}

// What a flash left: temperature, pressure, and per present phase (those
// with a composition) its fraction and composition with their bases.
struct FlashOutcome {
    double temperature = 0.0, pressure = 0.0;
    std::vector<std::wstring> present;
    std::vector<const std::vector<double> *> fractions, compositions;
    std::vector<ValueBasis> fractionBases, compositionBases;
};

void ReadOutcome(const PropertyStore &store, const std::vector<std::wstring> &phases, FlashOutcome &outcome)
{
    ValueBasis basis;
    for (const std::wstring &phase : phases) {
        const std::vector<double> *composition = store.GetAnyBasis(phase.c_str(), L"fraction", basis);
        if (!composition || NamesEqual(phase.c_str(), L"Overall")) continue;
        outcome.present.push_back(phase);
        outcome.compositions.push_back(composition);
        outcome.compositionBases.push_back(basis);
        outcome.fractions.push_back(store.GetAnyBasis(phase.c_str(), L"phaseFraction", basis));
        outcome.fractionBases.push_back(basis);
    }
}

// The overall inputs of a flash on the direct material, as PrepareFlash
// puts them on the bridged one.
void PutFlashInputs(CMaterial10 &material, const MixtureState &mixture, const std::vector<FlashCondition> &conditions)
{
    material.store.Clear();
    material.Put(L"temperature", L"Overall", {mixture.temperature});
    material.Put(L"pressure", L"Overall", {mixture.pressure});
    material.Put(L"fraction", L"Overall", mixture.composition, L"mole");
    material.Put(L"totalFlow", L"Overall", {1.0}, L"mole");
    for (const FlashCondition &condition : conditions) {
        std::vector<std::wstring> names = FlashConditionList(condition.variable);
        material.Put(names[0], condition.variable == FlashVariable::VaporFraction ? names[2] : L"Overall",
                     {condition.value}, names[1]);
    }
}

std::wstring Joined(const std::vector<std::wstring> &names)
{
    std::wstring text;
    for (const std::wstring &name : names) text += (text.empty() ? L"" : L", ") + name;
    return text;
}

void CompareFlash(Verification &v, const std::wstring &name, const FlashOutcome &direct, const FlashOutcome &bridged)
{
    v.compare.Numbers(name + L" temperature", {}, {direct.temperature}, {bridged.temperature});
    v.compare.Numbers(name + L" pressure", {}, {direct.pressure}, {bridged.pressure});
    v.compare.Texts(name + L" present phases", {}, {Joined(direct.present)}, {Joined(bridged.present)});
    for (size_t d = 0; d < direct.present.size(); ++d) {
        for (size_t b = 0; b < bridged.present.size(); ++b) {
            if (!NamesEqual(direct.present[d].c_str(), bridged.present[b].c_str())) continue;
            const std::wstring phase = name + L" " + direct.present[d];
            CompareStored(v, phase + L" phase fraction", {}, direct.fractions[d], direct.fractionBases[d],
                          bridged.fractions[b], bridged.fractionBases[b]);
            CompareStored(v, phase + L" composition", v.mixtureIds, direct.compositions[d],
                          direct.compositionBases[d], bridged.compositions[b], bridged.compositionBases[b]);
        }
    }
}

// Every pair of flash conditions the bridge can pass on, run on both sides.
// The first flash that succeeds through the bridge fixes the state the later
// ones are set to: its temperature, pressure, enthalpy and entropy, and the
// vapour fraction asked for. Starting with a vapour fraction puts that state
// in the two-phase region, where flashes have the most to get right.
void VerifyFlashes(Verification &v, CMaterial11 &bridgedMaterial, std::vector<PhaseResult> &referencePhases)
{
    using V = FlashVariable;
    const std::pair<V, V> pairs[] = {
        {V::Pressure, V::VaporFraction}, {V::Temperature, V::Pressure},   {V::Temperature, V::VaporFraction},
        {V::Pressure, V::Enthalpy},      {V::Pressure, V::Entropy},       {V::Temperature, V::Enthalpy},
        {V::Temperature, V::Entropy},    {V::Enthalpy, V::VaporFraction}, {V::Entropy, V::VaporFraction},
    };
    const EquilibriumSpecCode bits[] = {SpecTemperature, SpecPressure, SpecEnthalpy, SpecEntropy, SpecVaporFraction};
    double reference[] = {verifyTemperature, verifyPressure, 0.0, 0.0, verifyVaporFraction};  // by FlashVariable
    bool stateKnown = false, caloricKnown = false;
    CMaterial10 *material = nullptr;
    ComPtr<ICapeThermoMaterialObject> object = CMaterial10::Create(v.mixtureIds, v.direct.phases, &material);
    for (const auto &[a, b] : pairs) {
        const std::wstring name = std::wstring(L"flash ") + FlashVariableName(a) + L", " + FlashVariableName(b);
        if ((a == V::Enthalpy || a == V::Entropy || b == V::Enthalpy || b == V::Entropy) && !caloricKnown) {
            v.compare.Skip(name, L"no mixture enthalpy and entropy from an earlier flash");
            continue;
        }
        const FlashCondition first{a, reference[static_cast<int>(a)]};
        const FlashCondition second{b, reference[static_cast<int>(b)]};
        const wchar_t *flashType = FlashType10(bits[static_cast<int>(a)] | bits[static_cast<int>(b)]);

        FlashOutcome direct, bridged;
        std::wstring directError, bridgedError;
        PutFlashInputs(*material, v.mixture, {first, second});
        bool directOk = v.direct.CalcEquilibrium(object.Get(), flashType, directError);
        const std::vector<double> *t = material->store.Get(L"Overall", L"temperature", ValueBasis::Undefined);
        const std::vector<double> *p = material->store.Get(L"Overall", L"pressure", ValueBasis::Undefined);
        if (t && p) {
            direct.temperature = t->front();
            direct.pressure = p->front();
        }
        ReadOutcome(material->store, v.direct.phases, direct);

        bool bridgedOk = PrepareFlash(bridgedMaterial, v.mixture, {first, second}, bridgedError) &&
                         RunFlash(v.bridged, first, second, bridgedError);
        std::vector<PhaseResult> phases;
        if (bridgedOk && ReadFlashResult(bridgedMaterial, phases, bridgedError)) {
            bridged.temperature = phases[0].temperature;
            bridged.pressure = phases[0].pressure;
        }
        ReadOutcome(bridgedMaterial.store, v.bridged.phaseLabels, bridged);
        if (!v.compare.Outcome(name, directOk, directError, bridgedOk, bridgedError)) continue;
        CompareFlash(v, name, direct, bridged);

        if (stateKnown || phases.empty()) continue;
        stateKnown = true;
        referencePhases = phases;
        reference[static_cast<int>(V::Temperature)] = phases[0].temperature;
        reference[static_cast<int>(V::Pressure)] = phases[0].pressure;
        std::wstring ignored;
        caloricKnown = MixtureEnthalpyEntropy(v.bridged, bridgedMaterial, phases, reference[2], reference[3], ignored);
    }
}

}  // namespace

ExitCode RunVerify(const ProbeOptions &options, Report &report, std::wstring &error)
{
    ManagerClient manager;
    PackageClient bridged;
    if (!OpenPackage(options, manager, bridged, error)) return ExitFailed;
    Package10Client direct;
    if (!direct.Open(options.packageName, error)) {
        error = L"package \"" + options.packageName + L"\" directly: " + error;
        return ExitFailed;
    }

    Table &table = report.AddTable("Verify of " + ToUtf8(options.packageName) + ": directly and through " +
                                       ToUtf8(options.managerProgId),
                                   {"quantity", "element", "direct 1.0", "via bridge", "rel. diff", "result",
                                    "detail"});
    Comparison compare(table, options.tolerance);
    Verification v{direct, bridged, compare, {}, {}, {}, {}};
    VerifyCompounds(v);
    VerifyConstants(v);
    VerifyDependent(v, true);
    VerifyDependent(v, false);

    CompoundTable mixture = bridged.compoundTable;
    size_t count = std::min(mixture.Count(), mixtureCompounds);
    for (auto *list : {&mixture.ids, &mixture.formulae, &mixture.names, &mixture.casNumbers}) list->resize(count);
    mixture.boilTemps.resize(count);
    mixture.molWts.resize(count);
    v.mixtureIds = mixture.ids;
    v.mixture = {verifyTemperature, verifyPressure, std::vector<double>(count, 1.0 / count)};
    ComPtr<CMaterial11> material;
    std::wstring failure;
    if (count == 0 || FAILED(CMaterial11::Create(mixture, bridged.phaseLabels, material)) ||
        !PreparePhases(*material.Get(), v.mixture, failure) || !UseMaterial(bridged, *material.Get(), failure)) {
        error = L"cannot set a mixture of the package's compounds as its material: " + failure;
        return ExitFailed;
    }
    std::vector<PhaseResult> flashed;
    VerifyFlashes(v, *material.Get(), flashed);
    // Properties at the state the first flash found, two phases when it
    // fixed a vapour fraction; at the feed when no flash succeeded.
    v.overall = v.mixture;
    v.phaseStates.assign(bridged.phaseLabels.size(), v.mixture);
    if (!flashed.empty()) {
        v.overall.temperature = flashed[0].temperature;
        v.overall.pressure = flashed[0].pressure;
        for (size_t i = 0; i < bridged.phaseLabels.size(); ++i) {
            v.phaseStates[i] = v.overall;
            for (const PhaseResult &phase : flashed)
                if (NamesEqual(phase.label.c_str(), bridged.phaseLabels[i].c_str()))
                    v.phaseStates[i].composition = phase.composition;
        }
    }
    if (!PreparePhases(*material.Get(), v.overall, v.phaseStates, failure)) {
        error = L"cannot set the state of the properties on the material: " + failure;
        return ExitFailed;
    }
    VerifyPhaseProperties(v, *material.Get());
    VerifyLnPhi(v);

    Table &summary = report.AddTable("Verdict", {"quantity", "value"});
    summary.AddRow({Cell::Text("quantities compared"), Cell::Number(compare.Compared())});
    summary.AddRow({Cell::Text("differing"), Cell::Number(compare.Differences())});
    summary.AddRow({Cell::Text("largest relative difference"), Cell::Number(compare.LargestDifference())});
    summary.AddRow({Cell::Text("properties at"),
                    Cell::Text(L"T = " + NumberText(v.overall.temperature) + L" K, P = " +
                               NumberText(v.overall.pressure) + L" Pa" +
                               (flashed.empty() ? L", the feed" : L", the phases of the first flash"))});
    if (compare.LargestDifference() > 0.0)
        summary.AddRow({Cell::Text("  in"), Cell::Text(compare.LargestQuantity())});
    summary.AddRow({Cell::Text("tolerance"), Cell::Number(options.tolerance)});
    if (compare.Differences() == 0) return ExitOk;
    error = std::to_wstring(compare.Differences()) + L" of " + std::to_wstring(compare.Compared()) +
            L" quantities differ between the direct and the bridged calculation";
    return ExitFailed;
}
