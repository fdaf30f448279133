#include "Commands.h"

#include "Calculations.h"
#include "Names.h"
#include "OpenPackage.h"
#include "Text.h"

namespace {

struct ShownProperty {
    const wchar_t *name;
    const char *moleUnit;
    const char *massUnit;
};

// The properties a flash table shows when the package offers them.
const ShownProperty shownProperties[] = {
    {L"enthalpy", "J/mol", "J/kg"},
    {L"entropy", "J/mol/K", "J/kg/K"},
    {L"heatCapacityCp", "J/mol/K", "J/kg/K"},
    {L"density", "mol/m3", "kg/m3"},
    {L"volume", "m3/mol", "m3/kg"},
    {L"compressibilityFactor", "", ""},
    {L"molecularWeight", "", ""},
    {L"viscosity", "Pa s", "Pa s"},
    {L"thermalConductivity", "W/m/K", "W/m/K"},
};

bool Offers(const std::vector<std::wstring> &list, const wchar_t *name)
{
    for (const std::wstring &entry : list)
        if (NamesEqual(entry.c_str(), name)) return true;
    return false;
}

// The material's compounds: those named by the user, in the user's order.
ExitCode BuildMixture(const ProbeOptions &options, const PackageClient &package, CompoundTable &compounds,
                      MixtureState &mixture, std::wstring &error)
{
    const CompoundTable &all = package.compoundTable;
    double sum = 0.0;
    for (const auto &[id, amount] : options.composition) {
        int index = all.IndexOf(id);
        if (index < 0) {
            error = L"package \"" + options.packageName + L"\" has no compound \"" + id + L"\"";
            return ExitBadArguments;
        }
        size_t i = static_cast<size_t>(index);
        compounds.ids.push_back(all.ids[i]);
        compounds.formulae.push_back(all.formulae[i]);
        compounds.names.push_back(all.names[i]);
        compounds.casNumbers.push_back(all.casNumbers[i]);
        compounds.boilTemps.push_back(all.boilTemps[i]);
        compounds.molWts.push_back(all.molWts[i]);
        mixture.composition.push_back(amount);
        sum += amount;
    }
    for (double &x : mixture.composition) x /= sum;
    mixture.temperature = 298.15;
    mixture.pressure = 101325.0;
    for (const FlashCondition &condition : options.conditions) {
        if (condition.variable == FlashVariable::Temperature) mixture.temperature = condition.value;
        if (condition.variable == FlashVariable::Pressure) mixture.pressure = condition.value;
    }
    return ExitOk;
}

std::string ValuesText(const std::vector<double> &values)
{
    std::string text;
    for (double value : values) {
        if (!text.empty()) text += ' ';
        text += FormatNumber(value);
    }
    return text;
}

}  // namespace

ExitCode RunFlash(const ProbeOptions &options, Report &report, std::wstring &error)
{
    ManagerClient manager;
    PackageClient package;
    if (!OpenPackage(options, manager, package, error)) return ExitFailed;
    CompoundTable compounds;
    MixtureState mixture;
    ExitCode code = BuildMixture(options, package, compounds, mixture, error);
    if (code != ExitOk) return code;

    ComPtr<CMaterial11> material;
    HRESULT hr = CMaterial11::Create(compounds, package.phaseLabels, material);
    if (FAILED(hr)) {
        error = L"cannot create the material";
        return ExitFailed;
    }
    std::vector<PhaseResult> phases;
    if (!PrepareFlash(*material.Get(), mixture, options.conditions, error) ||
        !UseMaterial(package, *material.Get(), error) ||
        !RunFlash(package, options.conditions[0], options.conditions[1], error) ||
        !ReadFlashResult(*material.Get(), phases, error)) {
        error = L"flash failed: " + error;
        return ExitFailed;
    }

    std::wstring fixedPair = std::wstring(FlashVariableName(options.conditions[0].variable)) + L", " +
                                 FlashVariableName(options.conditions[1].variable);
    std::wstring present;
    for (const PhaseResult &phase : phases) present += (present.empty() ? L"" : L", ") + phase.label;
    Table &summary = report.AddTable("Flash of " + ToUtf8(options.packageName), {"quantity", "value", "unit"});
    summary.AddRow({Cell::Text("fixed"), Cell::Text(fixedPair), Cell()});
    summary.AddRow({Cell::Text("temperature"), Cell::Number(phases[0].temperature), Cell::Text("K")});
    summary.AddRow({Cell::Text("pressure"), Cell::Number(phases[0].pressure), Cell::Text("Pa")});
    summary.AddRow({Cell::Text("present phases"), Cell::Text(present), Cell()});

    std::vector<std::wstring> offered;
    std::wstring listError;
    package.SinglePhasePropList(offered, listError);
    for (const PhaseResult &phase : phases) {
        Table &table = report.AddTable("Phase " + ToUtf8(phase.label), {"quantity", "value", "unit"});
        table.AddRow({Cell::Text("phase fraction"), Cell::Number(phase.fraction), Cell::Text("mol/mol")});
        for (size_t i = 0; i < compounds.Count() && i < phase.composition.size(); ++i)
            table.AddRow({Cell::Text(L"x " + compounds.ids[i]), Cell::Number(phase.composition[i]),
                          Cell::Text("mol/mol")});
        for (const ShownProperty &shown : shownProperties) {
            if (!Offers(offered, shown.name)) continue;
            std::vector<double> values;
            ValueBasis basis = ValueBasis::Undefined;
            std::wstring failure;
            if (!CalcPhaseProperty(package, *material.Get(), phase.label, shown.name, values, basis, failure)) {
                // The reason goes last, so that it does not widen the value column.
                table.AddRow({Cell::Text(shown.name), Cell::Text("failed"), Cell::Text(failure)});
                code = ExitFailed;
                continue;
            }
            const char *unit = basis == ValueBasis::Mass ? shown.massUnit : shown.moleUnit;
            Cell value = values.size() == 1 ? Cell::Number(values[0]) : Cell::Text(ValuesText(values));
            table.AddRow({Cell::Text(shown.name), value, Cell::Text(unit)});
        }
    }
    if (code != ExitOk) error = L"some properties could not be calculated";
    return code;
}
