#include "Registration.h"

#include <string>

#include "ClassTable.h"
#include "CorvantaModule.h"
#include "Registrar.h"

namespace {

constexpr DWORD modulePathCapacity = 260;
constexpr const wchar_t *appIdText = L"{4BA94D07-14EF-4937-B7D8-300C29D1E77A}";
constexpr LANGID scriptLanguage = 1033;

bool perUserMode = false;

// Only the existence of the value counts, not its type or data.
void ReadInstallModeSetting()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Corvanta", 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    if (RegQueryValueExW(key, L"InstallMode", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        perUserMode = true;
    RegCloseKey(key);
}

// Registry scripts are read in the system's default locale, whatever the
// calling thread uses; the thread gets its own locale back on every path.
class SystemLocaleScope {
public:
    SystemLocaleScope() : saved(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~SystemLocaleScope() { SetThreadLocale(saved); }
    SystemLocaleScope(const SystemLocaleScope &) = delete;
    SystemLocaleScope &operator=(const SystemLocaleScope &) = delete;

private:
    LCID saved;
};

HMODULE ScriptModule()
{
    if (corvantaModule.Handle()) return corvantaModule.Handle();
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ScriptModule), &module);
    return module;
}

// The module's path, which registration writes as the server.
HRESULT ModulePath(HMODULE module, std::wstring &path)
{
    wchar_t buffer[modulePathCapacity];
    DWORD length = GetModuleFileNameW(module, buffer, modulePathCapacity);
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (length >= modulePathCapacity) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    path.assign(buffer, length);
    return S_OK;
}

HRESULT LoadScript(HMODULE module, WORD id, std::wstring &text)
{
    HRSRC resource = FindResourceExW(module, L"REGISTRY", MAKEINTRESOURCEW(id), scriptLanguage);
    if (!resource) return HRESULT_FROM_WIN32(GetLastError());
    HGLOBAL loaded = LoadResource(module, resource);
    DWORD size = SizeofResource(module, resource);
    const char *bytes = loaded ? static_cast<const char *>(LockResource(loaded)) : nullptr;
    if (!bytes) return HRESULT_FROM_WIN32(GetLastError());
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), nullptr, 0);
    text.assign(static_cast<size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), text.data(), length);
    return S_OK;
}

// The key that stands for HKCR: the real one, or the per-user classes key.
HRESULT OpenClassesRoot(bool registering, HKEY &root)
{
    root = HKEY_CLASSES_ROOT;
    if (!perUserMode) return S_OK;
    LSTATUS status = registering
        ? RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          &root, nullptr)
        : RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, KEY_READ | KEY_WRITE, &root);
    if (status == ERROR_FILE_NOT_FOUND && !registering) {
        root = nullptr;  // nothing was ever registered for this user
        return S_OK;
    }
    return HRESULT_FROM_WIN32(status);
}

HRESULT RunScript(WORD id, bool registering, bool withVersion)
{
    HMODULE module = ScriptModule();
    std::wstring path;
    HRESULT hr = ModulePath(module, path);
    if (FAILED(hr)) return hr;
    std::vector<RegistryScriptRoot> roots;
    hr = PrepareRegistryScript(module, id, path, withVersion ? corvantaModule.VersionText() : nullptr, roots);
    if (FAILED(hr)) return hr;

    HKEY classesRoot = nullptr;
    hr = OpenClassesRoot(registering, classesRoot);
    if (FAILED(hr)) return hr;
    if (!classesRoot) return S_OK;
    hr = ApplyRegistryScript(roots, registering, classesRoot);
    if (classesRoot != HKEY_CLASSES_ROOT) RegCloseKey(classesRoot);
    return hr;
}

HRESULT Register()
{
    SystemLocaleScope locale;
    HRESULT hr = RunScript(moduleScriptId, true, false);
    if (FAILED(hr)) return hr;
    for (size_t i = 0; i < classTableSize; ++i) {
        if (!classTable[i].registration) continue;
        hr = classTable[i].registration(true);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT Unregister()
{
    SystemLocaleScope locale;
    for (size_t i = 0; i < classTableSize; ++i) {
        if (!classTable[i].registration) continue;
        HRESULT hr = classTable[i].registration(false);
        if (FAILED(hr)) return hr;
    }
    return RunScript(moduleScriptId, false, false);
}

}  // namespace

HRESULT PrepareRegistryScript(HMODULE module, WORD id, const std::wstring &modulePath, const wchar_t *versionText,
                              std::vector<RegistryScriptRoot> &roots)
{
    // Script strings are in single quotes, where a quote is written twice.
    std::wstring quoted;
    for (wchar_t c : modulePath) {
        quoted += c;
        if (c == L'\'') quoted += L'\'';
    }
    RegistryReplacements replacements = {{L"MODULE", quoted}, {L"MODULE_RAW", quoted}, {L"APPID", appIdText}};
    if (versionText) replacements.push_back({L"DLLVERSION", versionText});

    std::wstring script;
    HRESULT hr = LoadScript(module, id, script);
    if (FAILED(hr)) return hr;
    std::wstring substituted;
    hr = SubstituteReplacements(script, replacements, substituted);
    if (FAILED(hr)) return hr;
    return ParseRegistryScript(substituted, roots);
}

bool PerUserMode() { return perUserMode; }

HRESULT RegisterManagerClass(bool registering)
{
    return RunScript(managerScriptId, registering, true);
}

HRESULT RegisterServer()
{
    ReadInstallModeSetting();
    return Register();
}

HRESULT UnregisterServer()
{
    ReadInstallModeSetting();
    return Unregister();
}

HRESULT InstallServer(bool install, const wchar_t *commandLine)
{
    if (commandLine && lstrcmpiW(commandLine, L"user") == 0) perUserMode = true;
    if (!install) return UnregisterServer();
    HRESULT hr = RegisterServer();
    if (FAILED(hr)) {
        // Remove whatever the failed registration wrote; its own code is what counts.
        UnregisterServer();
        return hr;
    }
    return S_OK;
}
