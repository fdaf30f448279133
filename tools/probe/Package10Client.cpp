#include "Package10Client.h"

#include <algorithm>

#include "ArrayValues.h"
#include "CapeClient.h"
#include "PropertyNameTable.h"
#include "PropertyRecord.h"
#include "ThermoSystemDiscovery.h"
#include "ThermoSystemSession.h"
#include "VariantLists.h"

Package10Client::~Package10Client()
{
    if (utilities) utilities->Terminate();
}

bool Package10Client::Failed(HRESULT hr, const wchar_t *call, std::wstring &error) const
{
    if (SUCCEEDED(hr)) return false;
    error = std::wstring(call) + L" failed: " + FailureText(package.Get(), hr);
    return true;
}

bool Package10Client::Open(const std::wstring &fullName, std::wstring &error)
{
    size_t separator = fullName.find(L"//");
    if (separator == std::wstring::npos) {
        error = L"\"" + fullName + L"\" is no package name (thermo system//package)";
        return false;
    }
    DiscoverThermoSystems();
    ComPtr<IDispatch> resolved;
    if (!ResolveThermoPackage(fullName.substr(0, separator), fullName.substr(separator + 2), resolved, error))
        return false;
    if (FAILED(QueryFrom(resolved.Get(), package)) || !package) {
        error = L"the resolved object is no CAPE-OPEN 1.0 property package";
        return false;
    }
    ComPtr<ICapeUtilities> candidate;
    if (SUCCEEDED(QueryFrom(package.Get(), candidate)) && candidate) {
        HRESULT hr = candidate->Initialize();
        if (FAILED(hr)) {
            error = L"Initialize failed: " + FailureText(candidate.Get(), hr);
            return false;
        }
        utilities = candidate;
    }

    ScopedVariant ids, formulae, names, boilTemps, molWts, casNumbers, phaseList, propList;
    if (Failed(package->GetComponentList(ids.Get(), formulae.Get(), names.Get(), boilTemps.Get(), molWts.Get(),
                                         casNumbers.Get()),
               L"GetComponentList", error) ||
        Failed(package->GetPhaseList(phaseList.Get()), L"GetPhaseList", error))
        return false;
    if (!ReadCompoundTable(ids.Value(), formulae.Value(), names.Value(), boilTemps.Value(), molWts.Value(),
                           casNumbers.Value(), compounds, error) ||
        !ReadStrings(phaseList.Value(), phases, error)) {
        error = L"unreadable compound or phase list: " + error;
        return false;
    }

    // A package that lists no properties supports none, through the bridge too.
    std::wstring ignored;
    if (SUCCEEDED(package->GetPropList(propList.Get()))) ReadStrings(propList.Value(), props, ignored);
    EnsurePropertyIndexes();
    for (const std::wstring &name10 : props) {
        std::wstring name11;
        const PropertyRow *row = nullptr;
        int32_t derivative = 0;
        if (!TranslatePropertyName10(name10.c_str(), name11, row, derivative)) continue;
        if (!names10.Contains(name11.c_str())) names11.push_back(name11);
        names10.Entry(name11.c_str()) = name10;
    }
    std::sort(names11.begin(), names11.end());
    return true;
}

std::wstring Package10Client::Name10(const std::wstring &name11) const
{
    const std::wstring *found = names10.Lookup(name11.c_str());
    return found ? *found : std::wstring();
}

bool Package10Client::CalcProp(ICapeThermoMaterialObject *material, const std::vector<std::wstring> &properties,
                               const std::wstring &phase, const wchar_t *calcType, std::wstring &error)
{
    ScopedVariant propList, phaseList;
    PutStrings(propList.Get(), properties);
    PutStrings(phaseList.Get(), {phase});
    ScopedBstr type(calcType);
    return !Failed(package->CalcProp(material, propList.Value(), phaseList.Value(), type.Get()), L"CalcProp", error);
}

bool Package10Client::CalcEquilibrium(ICapeThermoMaterialObject *material, const wchar_t *flashType,
                                      std::wstring &error)
{
    ScopedVariant noProperties;
    ScopedBstr type(flashType);
    return !Failed(package->CalcEquilibrium(material, type.Get(), noProperties.Value()), L"CalcEquilibrium",
                   error);
}

bool Package10Client::ComponentConstant(ICapeThermoMaterialObject *material, const std::wstring &name10,
                                        VARIANT *values, std::wstring &error)
{
    ScopedVariant propList;
    PutStrings(propList.Get(), {name10});
    return !Failed(package->GetComponentConstant(material, propList.Value(), values), L"GetComponentConstant",
                   error);
}
