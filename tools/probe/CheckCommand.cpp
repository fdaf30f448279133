#include "Commands.h"

#include <algorithm>

#include "ArrayValues.h"
#include "Calculations.h"
#include "ComHolders.h"
#include "OpenPackage.h"
#include "Stopwatch.h"
#include "Text.h"

namespace {

// Conditions of the sweep: a light mixture is gaseous here and boils
// partly at lower temperatures, so every flash type has a solution.
constexpr double sweepTemperature = 300.0;
constexpr double sweepPressure = 1e6;
constexpr double sweepVaporFraction = 0.5;
constexpr size_t sweepCompounds = 3;

class CheckTable {
public:
    CheckTable(Table &table) : table_(table) {}

    // Runs one call and records it; call returns false with the failure text.
    // The failure of an optional call is shown but fails nothing.
    template <class Call>
    bool Run(const std::wstring &name, Call &&call, bool optional = false)
    {
        std::wstring failure, detail;
        Stopwatch watch;
        bool ok = call(failure, detail);
        double elapsed = watch.ElapsedMilliseconds();
        if (!ok && !optional) ++failures_;
        std::wstring result = ok ? L"OK" : optional ? L"not available: " + failure : failure;
        table_.AddRow({Cell::Text(name), Cell::Text(result), Cell::Number(elapsed), Cell::Text(detail)});
        return ok;
    }
    void Skip(const std::wstring &name, const std::wstring &reason)
    {
        table_.AddRow({Cell::Text(name), Cell::Text(L"skipped: " + reason), Cell(), Cell()});
    }
    int Failures() const { return failures_; }

private:
    Table &table_;
    int failures_ = 0;
};

// The values of a reference state the flashes of one family start from.
struct Reference {
    double values[5] = {};  // by FlashVariable
};

void CheckCompoundCalls(PackageClient &package, CheckTable &check)
{
    ScopedVariant ids;
    PutStrings(ids.Get(), package.compoundTable.ids);
    std::vector<std::wstring> names;
    if (!check.Run(L"GetConstPropList", [&](std::wstring &f, std::wstring &) {
            return package.ConstPropList(names, f);
        }))
        names.clear();
    for (const std::wstring &name : names) {
        check.Run(L"GetCompoundConstant " + name, [&](std::wstring &f, std::wstring &) {
            ScopedVariant props, values;
            PutStrings(props.Get(), {name});
            HRESULT hr = package.compounds->GetCompoundConstant(props.Value(), ids.Value(), values.Get());
            if (FAILED(hr) || hr != S_OK) f = FailureText(package.compounds.Get(), hr);
            return hr == S_OK;
        });
    }
    for (bool temperature : {true, false}) {
        const wchar_t *listName = temperature ? L"GetTDependentPropList" : L"GetPDependentPropList";
        if (!check.Run(listName, [&](std::wstring &f, std::wstring &) {
                return temperature ? package.TDependentPropList(names, f) : package.PDependentPropList(names, f);
            }))
            names.clear();
        for (const std::wstring &name : names) {
            std::wstring call = temperature ? L"GetTDependentProperty " : L"GetPDependentProperty ";
            check.Run(call + name, [&](std::wstring &f, std::wstring &detail) {
                ScopedVariant props, values;
                PutStrings(props.Get(), {name});
                HRESULT hr = temperature ? package.compounds->GetTDependentProperty(props.Value(), sweepTemperature,
                                                                                    ids.Value(), values.Get())
                                         : package.compounds->GetPDependentProperty(props.Value(), 101325.0,
                                                                                    ids.Value(), values.Get());
                detail = temperature ? L"T = " + NumberText(sweepTemperature) + L" K" : L"P = 101325 Pa";
                if (FAILED(hr)) f = FailureText(package.compounds.Get(), hr);
                return SUCCEEDED(hr);
            });
        }
    }
}

void CheckPropertyCalls(PackageClient &package, CMaterial11 &material, const MixtureState &mixture,
                        CheckTable &check)
{
    std::vector<std::wstring> names;
    if (!check.Run(L"GetSinglePhasePropList", [&](std::wstring &f, std::wstring &) {
            return package.SinglePhasePropList(names, f);
        }))
        names.clear();
    std::wstring conditions =
        L"T = " + NumberText(mixture.temperature) + L" K, P = " + NumberText(mixture.pressure) + L" Pa";
    for (const std::wstring &phase : package.phaseLabels) {
        for (const std::wstring &name : names) {
            check.Run(L"CalcSinglePhaseProp " + name + L" " + phase, [&](std::wstring &f, std::wstring &detail) {
                std::vector<double> values;
                ValueBasis basis;
                detail = conditions;
                return CalcPhaseProperty(package, material, phase, name, values, basis, f);
            });
        }
    }
    if (!check.Run(L"GetTwoPhasePropList", [&](std::wstring &f, std::wstring &) {
            return package.TwoPhasePropList(names, f);
        }))
        names.clear();
    std::wstring vapor = package.PhaseOfState(L"Vapor"), liquid = package.PhaseOfState(L"Liquid");
    for (const std::wstring &name : names) {
        std::wstring call = L"CalcTwoPhaseProp " + name;
        if (vapor.empty() || liquid.empty()) {
            check.Skip(call, L"the package has no vapour and liquid phase");
            continue;
        }
        check.Run(call + L" " + vapor + L"/" + liquid, [&](std::wstring &f, std::wstring &detail) {
            ScopedVariant props, labels;
            PutStrings(props.Get(), {name});
            PutStrings(labels.Get(), {vapor, liquid});
            detail = conditions;
            HRESULT hr = package.routine->CalcTwoPhaseProp(props.Value(), labels.Value());
            if (FAILED(hr)) f = FailureText(package.routine.Get(), hr);
            return SUCCEEDED(hr);
        });
    }
}

// Flashes of every supported pair of conditions. The values of one flash
// (temperature, pressure, mixture enthalpy and entropy) become the
// conditions of the next, so each flash has a solution to find.
void CheckFlashes(PackageClient &package, CMaterial11 &material, const MixtureState &mixture, CheckTable &check)
{
    using V = FlashVariable;
    const std::pair<V, V> pairs[] = {
        {V::Temperature, V::Pressure},   {V::Pressure, V::VaporFraction}, {V::Temperature, V::VaporFraction},
        {V::Pressure, V::Enthalpy},      {V::Pressure, V::Entropy},       {V::Temperature, V::Enthalpy},
        {V::Temperature, V::Entropy},    {V::Enthalpy, V::VaporFraction}, {V::Entropy, V::VaporFraction},
        {V::Enthalpy, V::Entropy},
    };
    Reference single, boiling;  // from a flash without, and with, a vapour fraction
    single.values[static_cast<int>(V::Temperature)] = sweepTemperature;
    single.values[static_cast<int>(V::Pressure)] = sweepPressure;
    boiling = single;
    bool enthalpyKnown[2] = {false, false};
    for (const auto &[a, b] : pairs) {
        std::wstring pairName = std::wstring(FlashVariableName(a)) + L", " + FlashVariableName(b);
        bool supported = false;
        if (!check.Run(L"CheckEquilibriumSpec " + pairName, [&](std::wstring &f, std::wstring &detail) {
                // The package judges the pair against a material with every phase present.
                bool ok = PrepareFlash(material, mixture, {}, f) && CheckFlash(package, {a, 0.0}, {b, 0.0}, supported, f);
                detail = supported ? L"supported" : L"not supported";
                return ok;
            }) ||
            !supported)
            continue;
        bool withFraction = a == V::VaporFraction || b == V::VaporFraction;
        Reference &reference = withFraction ? boiling : single;
        bool needsCaloric = a == V::Enthalpy || a == V::Entropy || b == V::Enthalpy || b == V::Entropy;
        if (needsCaloric && !enthalpyKnown[withFraction]) {
            check.Skip(L"CalcEquilibrium " + pairName, L"no mixture enthalpy and entropy from an earlier flash");
            continue;
        }
        reference.values[static_cast<int>(V::VaporFraction)] = sweepVaporFraction;
        FlashCondition first{a, reference.values[static_cast<int>(a)]};
        FlashCondition second{b, reference.values[static_cast<int>(b)]};
        std::vector<PhaseResult> phases;
        // A package is expected to flash at T and P, at P with H or S, and at
        // T or P with a vapour fraction; the bridge advertises every other
        // pair too, but whether the 1.0 package below does it is its own choice.
        bool core = (a == V::Temperature && b == V::Pressure) || a == V::Pressure ||
                    (a == V::Temperature && b == V::VaporFraction);
        bool flashed = check.Run(L"CalcEquilibrium " + pairName, [&](std::wstring &f, std::wstring &detail) {
            detail = std::wstring(FlashVariableName(a)) + L" = " + NumberText(first.value) + L", " +
                     FlashVariableName(b) + L" = " + NumberText(second.value);
            if (!PrepareFlash(material, mixture, {first, second}, f) || !RunFlash(package, first, second, f) ||
                !ReadFlashResult(material, phases, f))
                return false;
            detail += L" -> T = " + NumberText(phases[0].temperature) + L" K, P = " + NumberText(phases[0].pressure) +
                      L" Pa, " + std::to_wstring(phases.size()) + L" phase(s)";
            return true;
        }, !core);
        if (!flashed || enthalpyKnown[withFraction]) continue;
        // The first successful flash of its family fixes the family's reference.
        reference.values[static_cast<int>(V::Temperature)] = phases[0].temperature;
        reference.values[static_cast<int>(V::Pressure)] = phases[0].pressure;
        double h = 0.0, s = 0.0;
        std::wstring ignored;
        if (MixtureEnthalpyEntropy(package, material, phases, h, s, ignored)) {
            reference.values[static_cast<int>(V::Enthalpy)] = h;
            reference.values[static_cast<int>(V::Entropy)] = s;
            enthalpyKnown[withFraction] = true;
        }
    }
}

}  // namespace

ExitCode RunCheck(const ProbeOptions &options, Report &report, std::wstring &error)
{
    ManagerClient manager;
    PackageClient package;
    if (!OpenPackage(options, manager, package, error)) return ExitFailed;
    Table &table = report.AddTable("Check of " + ToUtf8(options.packageName),
                                   {"call", "result", "time [ms]", "detail"});
    CheckTable check(table);
    CheckCompoundCalls(package, check);

    // An equimolar mixture of the package's first compounds.
    CompoundTable compounds = package.compoundTable;
    size_t count = std::min(compounds.Count(), sweepCompounds);
    for (auto *list : {&compounds.ids, &compounds.formulae, &compounds.names, &compounds.casNumbers})
        list->resize(count);
    compounds.boilTemps.resize(count);
    compounds.molWts.resize(count);
    MixtureState mixture{sweepTemperature, sweepPressure, std::vector<double>(count, 1.0 / count)};
    ComPtr<CMaterial11> material;
    if (count == 0 || FAILED(CMaterial11::Create(compounds, package.phaseLabels, material))) {
        error = L"the package has no compounds to mix";
        return ExitFailed;
    }
    bool ready = check.Run(L"SetMaterial", [&](std::wstring &f, std::wstring &) {
        return PreparePhases(*material.Get(), mixture, f) && UseMaterial(package, *material.Get(), f);
    });
    if (ready) {
        CheckPropertyCalls(package, *material.Get(), mixture, check);
        CheckFlashes(package, *material.Get(), mixture, check);
    }
    if (check.Failures() == 0) return ExitOk;
    error = std::to_wstring(check.Failures()) + L" call(s) failed";
    return ExitFailed;
}
