#include "PropertyPackageManager.h"

#include "ComHolders.h"
#include "ErrorText.h"
#include "PropertyPackage.h"
#include "ThermoSystemDiscovery.h"
#include "ThermoSystemSession.h"

CPropertyPackageManager::CPropertyPackageManager()
{
    SetIdentification(L"Corvanta",
                      L"Use a property pacakge from a version 1.0 thermo system as version 1.1 property package");
}

IUnknown *CPropertyPackageManager::MainInterface()
{
    return static_cast<DispatchPart<ICapeThermoPropertyPackageManager> *>(this);
}

IUnknown *CPropertyPackageManager::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoPropertyPackageManager))) return MainInterface();
    return nullptr;
}

HRESULT CPropertyPackageManager::GetPropertyPackageList(VARIANT *packageNames)
{
    return ComGuard([&] {
        if (!packageNames) return E_POINTER;
        DiscoverThermoSystems();
        // An out-only argument: whatever it held is not ours to clear.
        VariantInit(packageNames);
        VariantCopy(packageNames, const_cast<VARIANT *>(&ThermoSystemDiscovery().packageList.Value()));
        return S_OK;
    });
}

HRESULT CPropertyPackageManager::GetPropertyPackage(BSTR packageName, IDispatch **package)
{
    return ComGuard([&] {
        if (!package || !packageName) return E_POINTER;
        DiscoverThermoSystems();
        std::wstring fullName(packageName, SysStringLen(packageName));
        size_t separator = fullName.find(L"//");
        if (separator == std::wstring::npos) return FailRequest(L"Invalid package name");
        return CreatePackage(fullName.substr(0, separator), fullName.substr(separator + 2), package);
    });
}

HRESULT CPropertyPackageManager::FailRequest(const std::wstring &description)
{
    return Fail(description, L"CPropertyPackageManager::GetPropertyPackage",
                L"ICapeThermoPropertyPackageManager");
}

HRESULT CPropertyPackageManager::CreatePackage(const std::wstring &systemName, const std::wstring &packageName,
                                               IDispatch **package)
{
    ComPtr<IDispatch> resolved;
    std::wstring failure;
    if (!ResolveThermoPackage(systemName, packageName, resolved, failure)) return FailRequest(failure);

    // Out of memory here is recorded like every other failure of the request.
    CPropertyPackage *created = nullptr;
    HRESULT hr = ComGuard([&] {
        created = new CPropertyPackage();
        return S_OK;
    });
    if (FAILED(hr)) return FailRequest(L"Failed to create property package: " + ErrorText(hr));
    ComPtr<CPropertyPackage> wrapper = ComPtr<CPropertyPackage>::Adopt(created);
    wrapper->NonDelegatingAddRef();
    hr = wrapper->put_ComponentName(ScopedBstr(packageName.c_str()).Get());
    if (FAILED(hr)) return FailRequest(L"Failed to create property package: " + ErrorText(hr));
    hr = QueryFrom(resolved.Get(), wrapper->package10);
    resolved.Reset();
    if (FAILED(hr) || !wrapper->package10) return FailRequest(NotAPackageMessage(systemName, packageName));

    ICapeIdentification *identification = nullptr;
    hr = wrapper->QueryInterface(__uuidof(ICapeIdentification), reinterpret_cast<void **>(&identification));
    if (FAILED(hr)) return FailRequest(L"Failed to create property package: " + ErrorText(hr));
    *package = identification;
    return S_OK;
}
