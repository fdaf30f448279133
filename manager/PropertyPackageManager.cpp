#include "PropertyPackageManager.h"

#include "ComHolders.h"
#include "ErrorText.h"
#include "PropertyPackage.h"
#include "ThermoSystemDiscovery.h"
#include "ThermoSystemSession.h"

namespace {

constexpr const wchar_t *managerInterface = L"ICapeThermoPropertyPackageManager";
constexpr const wchar_t *getPackageScope = L"CPropertyPackageManager::GetPropertyPackage";

std::wstring Quoted(const std::wstring &text)
{
    return L"\"" + text + L"\"";
}

}  // namespace

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
        if (separator == std::wstring::npos) return Fail(L"Invalid package name", getPackageScope, managerInterface);
        return CreatePackage(fullName.substr(0, separator), fullName.substr(separator + 2), package);
    });
}

HRESULT CPropertyPackageManager::CreatePackage(const std::wstring &systemName, const std::wstring &packageName,
                                               IDispatch **package)
{
    const GUID *clsid = ThermoSystemDiscovery().thermoSystemClsids.Lookup(systemName.c_str());
    if (!clsid)
        return Fail(L"Thermo system " + Quoted(systemName) + L" not found on this system", getPackageScope,
                    managerInterface);

    ThermoSystemSession session;
    HRESULT hr = session.Create(*clsid);
    if (FAILED(hr))
        return Fail(L"Failed to create thermo system " + Quoted(systemName) + L": " + ErrorText(hr),
                    getPackageScope, managerInterface);
    if (FAILED(hr = session.InitNew()))
        return Fail(L"Failed to initialize thermo system " + Quoted(systemName) + L" (InitNew): " + ErrorText(hr),
                    getPackageScope, managerInterface);
    if (FAILED(hr = session.Initialize()))
        return Fail(L"Failed to initialize thermo system " + Quoted(systemName) + L" (Initialize): " +
                        CapeErrorText(session.Utilities(), hr),
                    getPackageScope, managerInterface);

    const std::wstring resolveFailure =
        L"Failed to resolve package " + Quoted(packageName) + L" from thermo system " + Quoted(systemName) + L": ";
    ComPtr<IDispatch> resolved;
    {
        ScopedBstr name(packageName.c_str());
        hr = session.System()->ResolvePropertyPackage(name.Get(), resolved.Receive());
    }
    if (FAILED(hr)) return Fail(resolveFailure + CapeErrorText(session.System(), hr), getPackageScope, managerInterface);
    session.Terminate();
    if (!resolved)
        return Fail(resolveFailure + L"ICapeThermoPropertyPackage not implemented on returned object",
                    getPackageScope, managerInterface);

    ComPtr<CPropertyPackage> wrapper = ComPtr<CPropertyPackage>::Adopt(new CPropertyPackage());
    wrapper->NonDelegatingAddRef();
    wrapper->put_ComponentName(ScopedBstr(packageName.c_str()).Get());
    hr = QueryFrom(resolved.Get(), wrapper->package10);
    resolved.Reset();
    if (FAILED(hr) || !wrapper->package10)
        return Fail(resolveFailure + L"ICapeThermoPropertyPackage not implemented on returned object",
                    getPackageScope, managerInterface);

    ICapeIdentification *identification = nullptr;
    hr = wrapper->QueryInterface(__uuidof(ICapeIdentification), reinterpret_cast<void **>(&identification));
    if (FAILED(hr)) return Fail(L"Failed to create property package: " + ErrorText(hr), getPackageScope, managerInterface);
    *package = identification;
    return S_OK;
}
