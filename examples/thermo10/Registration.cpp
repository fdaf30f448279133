// Self-registration of the example thermo system, as any third-party
// CAPE-OPEN 1.0 thermo system does it: class, ProgIDs, categories and the
// CAPE-OPEN description, written under HKEY_CLASSES_ROOT.
#include <windows.h>
#include <olectl.h>

#include <string>

#include "ExampleIds.h"

namespace {

const wchar_t *const ThermoSystemCategory = L"{678C09A3-7D66-11D2-A67D-00105A42887F}";
const wchar_t *const CapeOpenComponentCategory = L"{678C09A1-7D66-11D2-A67D-00105A42887F}";

// Sets one string value (name null: the default value) of key path under
// HKEY_CLASSES_ROOT, creating the key.
LONG SetString(const std::wstring &path, const wchar_t *name, const std::wstring &value)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

LONG CreateKey(const std::wstring &path)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
    if (status == ERROR_SUCCESS) RegCloseKey(key);
    return status;
}

bool ModulePath(std::wstring &path)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ModulePath), &module))
        return false;
    wchar_t buffer[MAX_PATH];
    DWORD length = GetModuleFileNameW(module, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    path.assign(buffer, length);
    return true;
}

HRESULT ResultOf(LONG status)
{
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

}  // namespace

STDAPI DllUnregisterServer()
{
    const std::wstring keys[] = {std::wstring(L"CLSID\\") + ExampleThermoClsidText, ExampleThermoProgId,
                                 ExampleThermoIndependentProgId};
    HRESULT result = S_OK;
    for (const std::wstring &key : keys) {
        LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = ResultOf(status);
    }
    return result;
}

STDAPI DllRegisterServer()
{
    std::wstring path;
    if (!ModulePath(path)) return SELFREG_E_CLASS;
    const std::wstring clsid = std::wstring(L"CLSID\\") + ExampleThermoClsidText;
    const std::wstring description = clsid + L"\\CapeDescription";
    const std::wstring categories = clsid + L"\\Implemented Categories\\";
    LONG status = ERROR_SUCCESS;
    auto set = [&](const std::wstring &key, const wchar_t *name, const std::wstring &value) {
        if (status == ERROR_SUCCESS) status = SetString(key, name, value);
    };
    set(clsid, nullptr, ExampleThermoName);
    set(clsid + L"\\InprocServer32", nullptr, path);
    set(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    set(clsid + L"\\ProgID", nullptr, ExampleThermoProgId);
    set(clsid + L"\\VersionIndependentProgID", nullptr, ExampleThermoIndependentProgId);
    if (status == ERROR_SUCCESS) status = CreateKey(categories + ThermoSystemCategory);
    if (status == ERROR_SUCCESS) status = CreateKey(categories + CapeOpenComponentCategory);
    set(description, L"Name", ExampleThermoName);
    set(description, L"Description",
        L"Example CAPE-OPEN 1.0 thermo system with Peng-Robinson and Ideal packages");
    set(description, L"CapeVersion", L"1.0");
    set(description, L"ComponentVersion", L"1.0");
    set(description, L"VendorURL", L"https://github.com/corvanta");
    set(description, L"About",
        L"Example Thermo, shipped with Corvanta so that the bridge can be run end to end");
    set(ExampleThermoProgId, nullptr, ExampleThermoName);
    set(std::wstring(ExampleThermoProgId) + L"\\CLSID", nullptr, ExampleThermoClsidText);
    set(ExampleThermoIndependentProgId, nullptr, ExampleThermoName);
    set(std::wstring(ExampleThermoIndependentProgId) + L"\\CLSID", nullptr, ExampleThermoClsidText);
    set(std::wstring(ExampleThermoIndependentProgId) + L"\\CurVer", nullptr, ExampleThermoProgId);
    if (status != ERROR_SUCCESS) {
        DllUnregisterServer();
        return SELFREG_E_CLASS;
    }
    return S_OK;
}
