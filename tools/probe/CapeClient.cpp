#include "CapeClient.h"

#include "ArrayValues.h"
#include "ErrorText.h"
#include "Names.h"

std::wstring FailureText(IUnknown *component, HRESULT hr)
{
    ComPtr<ECapeUser> user;
    if (component && SUCCEEDED(QueryFrom(component, user)) && user) {
        ScopedBstr description, scope;
        if (SUCCEEDED(user->get_description(description.Receive())) && !description.IsEmpty()) {
            user->get_scope(scope.Receive());
            if (scope.IsEmpty()) return description.Text();
            return std::wstring(scope.Text()) + L": " + description.Text();
        }
    }
    return CapeErrorText(component, hr);
}

ManagerClient::~ManagerClient()
{
    if (utilities) utilities->Terminate();
}

bool ManagerClient::Open(const std::wstring &progId, std::wstring &error)
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
    if (FAILED(hr)) {
        error = L"no component is registered as \"" + progId + L"\" (is it registered with regsvr32?)";
        return false;
    }
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                          __uuidof(ICapeThermoPropertyPackageManager), manager.ReceiveVoid());
    if (FAILED(hr)) {
        error = L"cannot create \"" + progId + L"\" as a CAPE-OPEN 1.1 property package manager: " + ErrorText(hr);
        return false;
    }
    ComPtr<ICapeUtilities> candidate;
    if (SUCCEEDED(manager.As(candidate)) && candidate) {
        hr = candidate->Initialize();
        if (FAILED(hr) && hr != E_NOTIMPL && hr != static_cast<HRESULT>(0x80040509L)) {
            error = L"the manager failed to initialise: " + FailureText(candidate.Get(), hr);
            return false;
        }
        utilities = candidate;
    }
    return true;
}

bool ManagerClient::ListPackages(std::vector<std::wstring> &names, std::wstring &error)
{
    ScopedVariant list;
    HRESULT hr = manager->GetPropertyPackageList(list.Receive());
    if (FAILED(hr)) {
        error = L"GetPropertyPackageList failed: " + FailureText(manager.Get(), hr);
        return false;
    }
    if (!ReadStrings(list.Value(), names, error)) {
        error = L"GetPropertyPackageList gave no list of names: " + error;
        return false;
    }
    return true;
}

bool ManagerClient::GetPackage(const std::wstring &name, ComPtr<IDispatch> &package, std::wstring &error)
{
    ScopedBstr bstrName(name.c_str());
    HRESULT hr = manager->GetPropertyPackage(bstrName.Get(), package.Receive());
    if (FAILED(hr) || !package) {
        error = L"GetPropertyPackage(\"" + name + L"\") failed: " + FailureText(manager.Get(), hr);
        return false;
    }
    return true;
}

PackageClient::~PackageClient()
{
    if (context) context->UnsetMaterial();
    if (utilities) utilities->Terminate();
}

bool PackageClient::Open(const ComPtr<IDispatch> &object, std::wstring &error)
{
    package = object;
    IUnknown *unknown = package.Get();
    if (FAILED(QueryFrom(unknown, compounds)) || FAILED(QueryFrom(unknown, phases)) ||
        FAILED(QueryFrom(unknown, routine)) || FAILED(QueryFrom(unknown, equilibrium)) ||
        FAILED(QueryFrom(unknown, context)) || FAILED(QueryFrom(unknown, constants))) {
        error = L"the package lacks one of the CAPE-OPEN 1.1 thermo interfaces";
        return false;
    }
    QueryFrom(unknown, utilities);
    if (utilities) {
        HRESULT hr = utilities->Initialize();
        if (FAILED(hr)) {
            error = L"Initialize failed: " + FailureText(utilities.Get(), hr);
            return false;
        }
    }

    ScopedVariant ids, formulae, names, boilTemps, molWts, casNumbers;
    HRESULT hr = compounds->GetCompoundList(ids.Get(), formulae.Get(), names.Get(), boilTemps.Get(), molWts.Get(),
                                            casNumbers.Get());
    if (FAILED(hr)) {
        error = L"GetCompoundList failed: " + FailureText(compounds.Get(), hr);
        return false;
    }
    if (!ReadCompoundTable(ids.Value(), formulae.Value(), names.Value(), boilTemps.Value(), molWts.Value(),
                           casNumbers.Value(), compoundTable, error)) {
        error = L"GetCompoundList gave no list of compound identifiers: " + error;
        return false;
    }

    ScopedVariant labels, states, keys;
    hr = phases->GetPhaseList(labels.Get(), states.Get(), keys.Get());
    if (FAILED(hr)) {
        error = L"GetPhaseList failed: " + FailureText(phases.Get(), hr);
        return false;
    }
    if (!ReadStrings(labels.Value(), phaseLabels, error) || !ReadStrings(states.Value(), statesOfAggregation, error)) {
        error = L"GetPhaseList gave no list of phases: " + error;
        return false;
    }
    statesOfAggregation.resize(phaseLabels.size());
    return true;
}

bool PackageClient::ReadList(IUnknown *component, HRESULT (*call)(IUnknown *, VARIANT *),
                             std::vector<std::wstring> &names, std::wstring &error)
{
    ScopedVariant list;
    HRESULT hr = call(component, list.Get());
    if (FAILED(hr)) {
        error = FailureText(component, hr);
        return false;
    }
    return ReadStrings(list.Value(), names, error);
}

bool PackageClient::ConstPropList(std::vector<std::wstring> &names, std::wstring &error)
{
    return ReadList(compounds.Get(), [](IUnknown *c, VARIANT *v) {
        return static_cast<ICapeThermoCompounds *>(c)->GetConstPropList(v);
    }, names, error);
}

bool PackageClient::TDependentPropList(std::vector<std::wstring> &names, std::wstring &error)
{
    return ReadList(compounds.Get(), [](IUnknown *c, VARIANT *v) {
        return static_cast<ICapeThermoCompounds *>(c)->GetTDependentPropList(v);
    }, names, error);
}

bool PackageClient::PDependentPropList(std::vector<std::wstring> &names, std::wstring &error)
{
    return ReadList(compounds.Get(), [](IUnknown *c, VARIANT *v) {
        return static_cast<ICapeThermoCompounds *>(c)->GetPDependentPropList(v);
    }, names, error);
}

bool PackageClient::SinglePhasePropList(std::vector<std::wstring> &names, std::wstring &error)
{
    return ReadList(routine.Get(), [](IUnknown *c, VARIANT *v) {
        return static_cast<ICapeThermoPropertyRoutine *>(c)->GetSinglePhasePropList(v);
    }, names, error);
}

bool PackageClient::TwoPhasePropList(std::vector<std::wstring> &names, std::wstring &error)
{
    return ReadList(routine.Get(), [](IUnknown *c, VARIANT *v) {
        return static_cast<ICapeThermoPropertyRoutine *>(c)->GetTwoPhasePropList(v);
    }, names, error);
}

bool PackageClient::UniversalConstantList(std::vector<std::wstring> &names, std::wstring &error)
{
    return ReadList(constants.Get(), [](IUnknown *c, VARIANT *v) {
        return static_cast<ICapeThermoUniversalConstant *>(c)->GetUniversalConstantList(v);
    }, names, error);
}

std::wstring PackageClient::PhaseOfState(const wchar_t *state) const
{
    for (size_t i = 0; i < phaseLabels.size(); ++i)
        if (NamesEqual(statesOfAggregation[i].c_str(), state)) return phaseLabels[i];
    return std::wstring();
}
