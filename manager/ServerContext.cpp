// Asking COM for every context (CLSCTX_ALL) makes a class that cannot be
// created in-process fall through to out-of-process activation. Under Wine
// that goes to rpcss, which it first tries to start as a service: several
// seconds per class, even when no out-of-process server is registered at
// all. On Windows the service control manager answers a class without a
// local server quickly, but a LocalServer32 whose program is missing costs a
// failed process launch, and an AppID with a RemoteServerName a network
// attempt. So out-of-process contexts are requested only for servers the
// registry names and, for local servers, whose program exists; a broken
// registration then costs a few registry reads and one failed in-process
// lookup. The in-process context is always requested: that lookup is cheap
// everywhere and also finds classes COM knows outside the registry
// (activation-context manifests, class objects registered by the process).
#include "ServerContext.h"

#include <cwchar>
#include <cwctype>
#include <string>

#include "RegistryKey.h"

namespace {

// A string value of key or of its subkey (null name: the default value),
// environment variables expanded; empty when absent or not a string.
std::wstring ReadText(HKEY key, const wchar_t *subkey, const wchar_t *name)
{
    RegistryKey opened;
    if (subkey && !opened.Open(key, subkey, KEY_QUERY_VALUE)) return {};
    const HKEY source = subkey ? opened.key : key;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(source, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(source, name, nullptr, &type, reinterpret_cast<BYTE *>(text.data()), &bytes) !=
        ERROR_SUCCESS)
        return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    if (type != REG_EXPAND_SZ) return text;
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(needed, L'\0');
    if (!needed || ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed) != needed) return {};
    expanded.resize(needed - 1);
    return expanded;
}

bool HasValue(HKEY key, const wchar_t *subkey, const wchar_t *name)
{
    RegistryKey opened;
    if (subkey && !opened.Open(key, subkey, KEY_QUERY_VALUE)) return false;
    return RegQueryValueExW(subkey ? opened.key : key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool IsFile(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the program of a LocalServer32 command line exists. A quoted
// program ends at its closing quote; an unquoted one is tried at every blank,
// with and without ".exe", the way a process launch resolves it.
bool ProgramExists(const std::wstring &commandLine)
{
    size_t start = 0;
    while (start < commandLine.size() && iswspace(commandLine[start])) ++start;
    if (start == commandLine.size()) return false;
    if (commandLine[start] == L'"') {
        const size_t end = commandLine.find(L'"', start + 1);
        return IsFile(commandLine.substr(start + 1, end == std::wstring::npos ? end : end - start - 1));
    }
    for (size_t end = start; end <= commandLine.size(); ++end) {
        if (end < commandLine.size() && commandLine[end] != L' ') continue;
        const std::wstring program = commandLine.substr(start, end - start);
        if (IsFile(program) || IsFile(program + L".exe")) return true;
    }
    return false;
}

}  // namespace

DWORD RegisteredServerContext(REFCLSID clsid)
{
    CLSID effective = clsid;
    if (FAILED(CoGetTreatAsClass(clsid, &effective))) effective = clsid;
    wchar_t path[6 + 39] = L"CLSID\\";
    if (!StringFromGUID2(effective, path + 6, 39)) return CLSCTX_INPROC_SERVER;

    DWORD context = CLSCTX_INPROC_SERVER;
    RegistryKey classKey;
    if (!classKey.Open(HKEY_CLASSES_ROOT, path, KEY_READ)) return context;
    if (!ReadText(classKey.key, L"InprocHandler32", nullptr).empty()) context |= CLSCTX_INPROC_HANDLER;
    std::wstring program = ReadText(classKey.key, L"LocalServer32", nullptr);
    if (program.empty()) program = ReadText(classKey.key, L"LocalServer32", L"ServerExecutable");
    if (ProgramExists(program)) context |= CLSCTX_LOCAL_SERVER;
    const std::wstring appId = ReadText(classKey.key, nullptr, L"AppID");
    if (!appId.empty()) {
        RegistryKey app;
        if (app.Open(HKEY_CLASSES_ROOT, (L"AppID\\" + appId).c_str(), KEY_READ)) {
            if (!ReadText(app.key, nullptr, L"LocalService").empty()) context |= CLSCTX_LOCAL_SERVER;
            // A DLL surrogate hosts the in-process server in a process of its own.
            if (HasValue(app.key, nullptr, L"DllSurrogate") && HasValue(classKey.key, L"InprocServer32", nullptr))
                context |= CLSCTX_LOCAL_SERVER;
            if (!ReadText(app.key, nullptr, L"RemoteServerName").empty()) context |= CLSCTX_REMOTE_SERVER;
        }
    }
    return context;
}
