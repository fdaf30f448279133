#include "Discovery.h"

#include <ocidl.h>

#include "CapeOpenIds.h"
#include "ComHolders.h"
#include "ExampleIds.h"
#include "PropertyPackageManager.h"
#include "ThermoSystemDiscovery.h"

namespace {

constexpr int maxAliases = 100;
constexpr int brokenCount = 10;

std::wstring AliasClsid(int i)
{
    wchar_t text[64];
    wsprintfW(text, L"{B3A7C000-0000-4000-8000-%012d}", i);
    return text;
}

std::wstring BrokenClsid(int i)
{
    wchar_t text[64];
    wsprintfW(text, L"{B3A7C0BD-0000-4000-8000-%012d}", i);
    return text;
}

void SetText(HKEY parent, const wchar_t *subkey, const wchar_t *name, const std::wstring &text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(parent, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// A class in the CAPE-OPEN 1.0 thermo system category, named name.
void RegisterThermoSystem(const std::wstring &clsid, const std::wstring &name)
{
    const std::wstring key = L"CLSID\\" + clsid;
    SetText(HKEY_CLASSES_ROOT, key.c_str(), nullptr, name);
    SetText(HKEY_CLASSES_ROOT, (key + L"\\Implemented Categories\\" + CatidThermoSystem10Text).c_str(), nullptr, L"");
    SetText(HKEY_CLASSES_ROOT, (key + L"\\CapeDescription").c_str(), L"Name", name);
}

void Unregister(const std::wstring &clsid)
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str());
}

void RemoveAll()
{
    for (int i = 1; i < maxAliases; ++i) Unregister(AliasClsid(i));
    for (int i = 0; i < brokenCount; ++i) Unregister(BrokenClsid(i));
}

// The example plus count - 1 aliases of it, and broken registrations: a
// missing DLL, no server at all, or a missing program, in turn.
void Register(int count, int broken)
{
    RemoveAll();
    for (int i = 1; i < count; ++i) {
        const std::wstring clsid = AliasClsid(i);
        RegisterThermoSystem(clsid, L"Bench Thermo " + std::to_wstring(i));
        SetText(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid + L"\\TreatAs").c_str(), nullptr, ExampleThermoClsidText);
    }
    for (int i = 0; i < broken; ++i) {
        const std::wstring clsid = BrokenClsid(i);
        RegisterThermoSystem(clsid, L"Broken Thermo " + std::to_wstring(i));
        const std::wstring key = L"CLSID\\" + clsid;
        if (i % 3 == 0)
            SetText(HKEY_CLASSES_ROOT, (key + L"\\InprocServer32").c_str(), nullptr, L"C:\\nowhere\\thermo.dll");
        else if (i % 3 == 2)
            SetText(HKEY_CLASSES_ROOT, (key + L"\\LocalServer32").c_str(), nullptr, L"C:\\nowhere\\thermo.exe");
    }
}

// What a 1.0 client does with thermo systems it already knows: create,
// initialise, ask for the packages, terminate.
HRESULT StartEach(const std::vector<CLSID> &classes)
{
    for (const CLSID &clsid : classes) {
        ComPtr<ICapeThermoSystem> system;
        HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ICapeThermoSystem),
                                      system.ReceiveVoid());
        if (FAILED(hr)) return hr;
        ComPtr<IPersistStreamInit> persist;
        if (SUCCEEDED(QueryFrom(system.Get(), persist))) persist->InitNew();
        ComPtr<ICapeUtilities> utilities;
        if (SUCCEEDED(QueryFrom(system.Get(), utilities))) utilities->Initialize();
        ScopedVariant packages;
        hr = system->GetPropertyPackages(packages.Get());
        if (utilities) utilities->Terminate();
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

// The manager's first package list, discovery included; E_FAIL unless it
// lists both packages of every working thermo system.
HRESULT ListPackages(ICapeThermoPropertyPackageManager *manager, int count)
{
    ResetThermoSystemDiscovery();
    ScopedVariant list;
    HRESULT hr = manager->GetPropertyPackageList(list.Get());
    if (FAILED(hr)) return hr;
    if (V_VT(list.Get()) != (VT_ARRAY | VT_BSTR)) return E_FAIL;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(V_ARRAY(list.Get()), 1, &lower);
    SafeArrayGetUBound(V_ARRAY(list.Get()), 1, &upper);
    return upper - lower + 1 == 2 * count ? S_OK : E_FAIL;
}

}  // namespace

DiscoveryRows::DiscoveryRows() = default;

DiscoveryRows::~DiscoveryRows()
{
    RemoveAll();
    ResetThermoSystemDiscovery();
}

bool DiscoveryRows::Add(std::vector<Operation> &rows, std::wstring &reason)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + ExampleThermoClsidText + L"\\InprocServer32").c_str(),
                      0, KEY_READ, &key) != ERROR_SUCCESS) {
        reason = L"ExampleThermo10.dll is not registered";
        return false;
    }
    RegCloseKey(key);
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    CreateComObject<CPropertyPackageManager>(nullptr, __uuidof(ICapeThermoPropertyPackageManager),
                                             manager.ReceiveVoid());
    struct Case {
        const char *name;
        int count, broken;
    } cases[] = {
        {"1 thermo system", 1, 0},
        {"10 thermo systems", 10, 0},
        {"100 thermo systems", 100, 0},
        {"1 + 10 uncreatable", 1, brokenCount},
    };
    for (const Case &c : cases) {
        std::vector<CLSID> classes{CLSID_ExampleThermoSystem};
        for (int i = 1; i < c.count; ++i) {
            CLSID clsid;
            CLSIDFromString(AliasClsid(i).c_str(), &clsid);
            classes.push_back(clsid);
        }
        Operation op;
        op.package = "discovery";
        op.name = c.name;
        op.direct = [classes] { return StartEach(classes); };
        const int count = c.count;
        op.bridged = [manager, count] { return ListPackages(manager.Get(), count); };
        const int broken = c.broken;
        op.prepare = [count, broken] { Register(count, broken); };
        op.rounds = 3;
        op.bridgeError = [] { return std::wstring(L"the package list is incomplete"); };
        rows.push_back(std::move(op));
    }
    return true;
}
