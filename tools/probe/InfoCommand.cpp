#include "Commands.h"

#include "ComHolders.h"
#include "OpenPackage.h"
#include "Text.h"

namespace {

using ListReader = bool (PackageClient::*)(std::vector<std::wstring> &, std::wstring &);

}  // namespace

ExitCode RunInfo(const ProbeOptions &options, Report &report, std::wstring &error)
{
    ManagerClient manager;
    PackageClient package;
    if (!OpenPackage(options, manager, package, error)) return ExitFailed;
    std::string name = ToUtf8(options.packageName);
    ExitCode code = ExitOk;

    const CompoundTable &compounds = package.compoundTable;
    Table &compoundTable = report.AddTable(
        "Compounds of " + name, {"id", "formula", "name", "molecular weight", "boiling point [K]", "CAS"});
    for (size_t i = 0; i < compounds.Count(); ++i)
        compoundTable.AddRow({Cell::Text(compounds.ids[i]), Cell::Text(compounds.formulae[i]),
                              Cell::Text(compounds.names[i]), Cell::Number(compounds.molWts[i]),
                              Cell::Number(compounds.boilTemps[i]), Cell::Text(compounds.casNumbers[i])});

    Table &phaseTable = report.AddTable("Phases", {"label", "state of aggregation"});
    for (size_t i = 0; i < package.phaseLabels.size(); ++i)
        phaseTable.AddRow({Cell::Text(package.phaseLabels[i]), Cell::Text(package.statesOfAggregation[i])});

    const struct {
        const char *list;
        ListReader read;
    } lists[] = {
        {"constant", &PackageClient::ConstPropList},
        {"temperature-dependent", &PackageClient::TDependentPropList},
        {"pressure-dependent", &PackageClient::PDependentPropList},
        {"single-phase", &PackageClient::SinglePhasePropList},
        {"two-phase", &PackageClient::TwoPhasePropList},
    };
    Table &propertyTable = report.AddTable("Supported properties", {"kind", "property"});
    for (const auto &list : lists) {
        std::vector<std::wstring> names;
        std::wstring listError;
        if (!(package.*list.read)(names, listError)) {
            propertyTable.AddRow({Cell::Text(list.list), Cell::Text(L"(list failed: " + listError + L")")});
            code = ExitFailed;
            continue;
        }
        for (const std::wstring &property : names) propertyTable.AddRow({Cell::Text(list.list), Cell::Text(property)});
    }

    Table &constantTable = report.AddTable("Universal constants", {"constant", "value"});
    std::vector<std::wstring> constants;
    std::wstring listError;
    if (!package.UniversalConstantList(constants, listError)) {
        constantTable.AddRow({Cell::Text(L"(list failed: " + listError + L")"), Cell()});
        code = ExitFailed;
    }
    for (const std::wstring &constant : constants) {
        ScopedBstr id(constant.c_str());
        ScopedVariant value;
        HRESULT hr = package.constants->GetUniversalConstant(id.Get(), value.Get());
        ScopedVariant number;
        if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(number.Get(), value.Get(), 0, VT_R8))) {
            constantTable.AddRow({Cell::Text(constant), Cell::Number(V_R8(number.Get()))});
        } else {
            constantTable.AddRow({Cell::Text(constant), Cell::Text(L"failed: " + FailureText(package.constants.Get(), hr))});
            code = ExitFailed;
        }
    }
    if (code != ExitOk) error = L"some lists or constants could not be read";
    return code;
}
