#include "TestThermoSystems.h"

#include <ocidl.h>
#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ClassFactory.h"
#include "ComHolders.h"
#include "MaterialObjectCalls.h"
#include "ScriptArrays.h"
#include "ScriptedPackage10.h"
#include "VariantLists.h"

extern "C" {
TestThermoState testThermoState = {false, false, 0, 0, 0, L""};
}

namespace {

// The test classes. The name (CapeDescription Name; null: no CapeDescription
// key) also selects the behaviour a row's comment gives; the others behave
// normally.
struct TestClass {
    const wchar_t *clsid;
    const wchar_t *name;
    std::vector<std::wstring> packages;
    bool Is(const wchar_t *behaviour) const { return name && wcscmp(name, behaviour) == 0; }
};

const TestClass testClasses[] = {
    {TEST_CLSID(L"01"), L"Sys", {L"A", L"B"}},
    {TEST_CLSID(L"02"), L"NoInitNew", {L"P"}},          // InitNew: E_NOTIMPL
    {TEST_CLSID(L"03"), L"NoInitialize", {L"P"}},       // Initialize: ECapeNoImplHR
    {TEST_CLSID(L"04"), L"BrokenInitialize", {L"P"}},   // Initialize always fails with its own text
    {TEST_CLSID(L"05"), L"LateInitialize", {L"P"}},     // ... only once the test armed late failures
    {TEST_CLSID(L"06"), L"LateInitNew", {L"P"}},        // InitNew fails with E_ACCESSDENIED when armed
    {TEST_CLSID(L"07"), L"Numbers", {}},                // GetPropertyPackages: an array of doubles
    {TEST_CLSID(L"08"), L"Empty", {}},                  // GetPropertyPackages: an array of no strings
    {TEST_CLSID(L"09"), L"ThermoX", {L"Upper"}},
    {TEST_CLSID(L"0A"), L"thermox", {L"Lower"}},
    {TEST_CLSID(L"0B"), L"Acme Thermo 2", {L"P"}},
    {TEST_CLSID(L"0C"), L"Acme Server", {}},            // registered only, as a 1.1 manager
    {TEST_CLSID(L"0D"), L"ResolveFails", {L"P"}},       // ResolvePropertyPackage fails with its own text
    {TEST_CLSID(L"0E"), L"NotAPackage", {L"P"}},        // ResolvePropertyPackage gives a non-package
    {TEST_CLSID_NAMELESS, nullptr, {L"P"}},
    {TEST_CLSID(L"10"), L"LateCreate", {L"P"}},         // creation fails with E_ABORT when armed
    {TEST_CLSID(L"11"), L"Drifting", {L"P"}},           // its packages' enthalpy changes with every call
    {TEST_CLSID(L"12"), L"NullCreate", {L"P"}},         // creation answers S_FALSE with no object
    {TEST_CLSID(L"13"), L"NullQuery", {L"P"}},          // IPersistStreamInit query: S_OK with no object
    {TEST_CLSID(L"14"), L"LateNullCreate", {L"P"}},     // NullCreate once armed
    {TEST_CLSID(L"15"), L"LateNullUtilities", {L"P"}},  // ICapeUtilities query: S_OK, no object, once armed
    {TEST_CLSID(L"16"), L"NullResolve", {L"P"}},        // ResolvePropertyPackage: S_OK with no object
    {TEST_CLSID(L"17"), L"HugeNames", {L"P"}},          // one huge package name when huge names are armed
    {TEST_CLSID_SCRIPT_ARRAYS, TEST_PROGID_SCRIPT_ARRAYS, {}},  // the script helper: no thermo system
};

TestThermoState &state = testThermoState;
std::wstring lastResolve;  // the text of state.lastResolve

constexpr const wchar_t *thermoSystemCategory = L"{678C09A3-7D66-11D2-A67D-00105A42887F}";
constexpr const wchar_t *componentCategory = L"{678C09A1-7D66-11D2-A67D-00105A42887F}";
constexpr const wchar_t *managerCategory = L"{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}";

// Sets enthalpy, the one property the drifting package lists, to a value
// that grows with every call in the process: no two calculations agree.
HRESULT DriftingEnthalpy(CScriptedPackage10 &, ICapeThermoMaterialObject *material,
                         const std::vector<std::wstring> &, const std::vector<std::wstring> &phases,
                         const std::wstring &calcType)
{
    static double drift = 0.0;
    if (!material || phases.empty()) return E_INVALIDARG;
    return SetProp10(material, L"enthalpy", phases[0].c_str(), L"mole", {-1000.0 - ++drift}, calcType.c_str());
}

// The small package every resolvable test system hands out.
ComPtr<ICapeThermoPropertyPackage> MakePackage(bool drifting)
{
    CScriptedPackage10 *raw = nullptr;
    ComPtr<ICapeThermoPropertyPackage> package = CreateScriptedPackage10(&raw);
    if (!raw) return package;
    raw->script.UseMethaneEthane();
    raw->script.propList = {L"enthalpy", L"fugacityCoefficient"};
    raw->script.trivial = true;  // so that scripts can flash and calculate
    if (drifting) {
        raw->script.propList = {L"enthalpy"};
        raw->script.onCalcProp = DriftingEnthalpy;
    }
    return package;
}

class CTestThermoSystem : public CapeObject<ICapeThermoSystem, ICapeUtilities>, public IPersistStreamInit {
public:
    explicit CTestThermoSystem(const TestClass &testClass) : testClass(testClass)
    {
        ++state.created;
        ++state.live;
        SetIdentification(testClass.name ? testClass.name : L"", L"A thermo system of the tests");
    }
    ~CTestThermoSystem() override
    {
        --state.live;
        if (initialized) ++state.unterminated;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        const bool nullAnswer =
            (testClass.Is(L"NullQuery") && IsEqualIID(riid, IID_IPersistStreamInit)) ||
            (testClass.Is(L"LateNullUtilities") && state.lateFailures && IsEqualIID(riid, __uuidof(ICapeUtilities)));
        if (nullAnswer && ppv) {
            *ppv = nullptr;
            return S_OK;
        }
        return CapeObject::QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return CapeObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CapeObject::Release(); }

    // ICapeThermoSystem
    STDMETHODIMP GetPropertyPackages(VARIANT *list) override
    {
        if (!list) return E_POINTER;
        VariantInit(list);
        return ComGuard([&] {
            if (testClass.Is(L"Numbers"))
                PutDoubles(list, {1.0, 2.0});
            else if (testClass.Is(L"HugeNames") && state.hugeNames)
                PutStrings(list, {std::wstring(TEST_HUGE_NAME_LENGTH, L'x')});
            else
                PutStrings(list, testClass.packages);
            return S_OK;
        });
    }
    STDMETHODIMP ResolvePropertyPackage(BSTR name, IDispatch **package) override
    {
        if (!package) return E_POINTER;
        *package = nullptr;
        lastResolve = std::wstring(testClass.name ? testClass.name : testClass.clsid) + L"|" +
                      std::wstring(name ? name : L"", SysStringLen(name));
        state.lastResolve = lastResolve.c_str();
        if (testClass.Is(L"ResolveFails"))
            return Fail(L"ResolveFails has no package of that name", L"CTestThermoSystem::ResolvePropertyPackage",
                        L"ICapeThermoSystem");
        if (testClass.Is(L"NullResolve")) return S_OK;
        if (testClass.Is(L"NotAPackage")) {
            *package = static_cast<DispatchPart<ICapeThermoSystem> *>(this);
            AddRef();
            return S_OK;
        }
        ComPtr<ICapeThermoPropertyPackage> made = MakePackage(testClass.Is(L"Drifting"));
        if (!made) return E_OUTOFMEMORY;
        *package = made.Detach();
        return S_OK;
    }

    // ICapeUtilities
    STDMETHODIMP get_parameters(IDispatch **parameters) override
    {
        if (!parameters) return E_POINTER;
        *parameters = nullptr;
        return ECapeNoImplHR;
    }
    STDMETHODIMP put_simulationContext(IDispatch *) override { return ECapeNoImplHR; }
    STDMETHODIMP Initialize() override
    {
        if (testClass.Is(L"NoInitialize")) return ECapeNoImplHR;
        if (testClass.Is(L"BrokenInitialize") || (testClass.Is(L"LateInitialize") && state.lateFailures))
            return Fail(L"The licence of this thermo system has expired", L"CTestThermoSystem::Initialize",
                        L"ICapeUtilities");
        initialized = true;
        return S_OK;
    }
    STDMETHODIMP Terminate() override
    {
        initialized = false;
        return S_OK;
    }
    STDMETHODIMP Edit() override { return ECapeNoImplHR; }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID *classId) override { return CLSIDFromString(testClass.clsid, classId); }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream *) override { return E_NOTIMPL; }
    STDMETHODIMP Save(IStream *, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER *) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        if (testClass.Is(L"NoInitNew")) return E_NOTIMPL;
        if (testClass.Is(L"LateInitNew") && state.lateFailures) return E_ACCESSDENIED;
        return S_OK;
    }

protected:
    IUnknown *MainInterface() override { return static_cast<DispatchPart<ICapeThermoSystem> *>(this); }
    IUnknown *FindOwnInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, __uuidof(ICapeThermoSystem))) return MainInterface();
        if (IsEqualIID(riid, __uuidof(ICapeUtilities))) return static_cast<DispatchPart<ICapeUtilities> *>(this);
        if (IsEqualIID(riid, IID_IPersistStreamInit)) return static_cast<IPersistStreamInit *>(this);
        return nullptr;
    }

private:
    const TestClass &testClass;
    bool initialized = false;
};

HRESULT CreateTestSystem(const TestClass &testClass, IUnknown *outer, REFIID riid, void **ppv)
{
    if (testClass.Is(TEST_PROGID_SCRIPT_ARRAYS)) return CreateScriptArrays(outer, riid, ppv);
    if (outer) return CLASS_E_NOAGGREGATION;
    if (testClass.Is(L"Acme Server")) return E_NOTIMPL;
    if (testClass.Is(L"LateCreate") && state.lateFailures) return E_ABORT;
    if (testClass.Is(L"NullCreate") || (testClass.Is(L"LateNullCreate") && state.lateFailures)) {
        if (ppv) *ppv = nullptr;
        return S_FALSE;
    }
    auto *system = new CTestThermoSystem(testClass);
    system->NonDelegatingAddRef();
    HRESULT hr = system->NonDelegatingQueryInterface(riid, ppv);
    system->NonDelegatingRelease();
    return hr;
}

// Class objects, one per class, made on first request; the DLL never
// unloads, so they are never released.
CClassFactory *classObjects[std::size(testClasses)] = {};

// A string value below HKEY_CLASSES_ROOT (name null: the default value), its key made as needed.
struct Entry {
    std::wstring key;
    const wchar_t *name = nullptr, *data = L"";
};

}  // namespace

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void **ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (size_t i = 0; i < std::size(testClasses); ++i) {
        const TestClass &c = testClasses[i];
        CLSID candidate;
        if (FAILED(CLSIDFromString(c.clsid, &candidate)) || !IsEqualCLSID(candidate, clsid)) continue;
        if (!classObjects[i])
            classObjects[i] = new (std::nothrow) CClassFactory([&c](IUnknown *outer, REFIID iid, void **out) {
                return CreateTestSystem(c, outer, iid, out);
            });
        return classObjects[i] ? classObjects[i]->QueryInterface(riid, ppv) : E_OUTOFMEMORY;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// Stays loaded, so that the counters keep their values for the test program.
HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

// In-process classes with apartment threading; the thermo systems with their
// categories and name, the script helper with its ProgID.
HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(GetModuleHandleW(TEST_THERMO_DLL), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return E_FAIL;
    for (const TestClass &c : testClasses) {
        const bool helper = c.Is(TEST_PROGID_SCRIPT_ARRAYS);
        const std::wstring key = std::wstring(L"CLSID\\") + c.clsid, categories = key + L"\\Implemented Categories\\";
        std::vector<Entry> entries = {{key, nullptr, helper ? c.name : L"Corvanta test thermo system"},
                                      {key + L"\\InprocServer32", nullptr, path},
                                      {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"}};
        if (helper) {
            entries.push_back({key + L"\\ProgID", nullptr, c.name});
            entries.push_back({c.name + std::wstring(L"\\CLSID"), nullptr, c.clsid});
        } else {
            entries.push_back({categories + componentCategory});
            entries.push_back({categories + (c.Is(L"Acme Server") ? managerCategory : thermoSystemCategory)});
            if (c.name) entries.push_back({key + L"\\CapeDescription", L"Name", c.name});
        }
        for (const Entry &entry : entries) {
            const LSTATUS status = RegSetKeyValueW(HKEY_CLASSES_ROOT, entry.key.c_str(), entry.name, REG_SZ, entry.data,
                                                   static_cast<DWORD>((lstrlenW(entry.data) + 1) * sizeof(wchar_t)));
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
        }
    }
    return S_OK;
}

HRESULT WINAPI DllUnregisterServer()
{
    for (const TestClass &c : testClasses)
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + c.clsid).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, TEST_PROGID_SCRIPT_ARRAYS);
    return S_OK;
}

}  // extern "C"
