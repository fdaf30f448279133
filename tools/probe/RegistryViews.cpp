#include "RegistryViews.h"

#include <cstdint>
#include <cstdio>
#include <cwctype>

namespace {

// On 64-bit Windows, the 32-bit view of a classes key is its Wow6432Node.
const wchar_t *const clsid64 = L"Software\\Classes\\CLSID";
const wchar_t *const clsid32 = L"Software\\Classes\\Wow6432Node\\CLSID";

bool Is64BitWindows()
{
    if (ProcessBitness() == 64) return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// No redirection: the paths above name the stored keys themselves.
REGSAM ViewAccess()
{
    return Is64BitWindows() ? KEY_WOW64_64KEY : 0;
}

std::wstring QueryString(HKEY key, const wchar_t *subkey, const wchar_t *name)
{
    DWORD type = 0, bytes = 0;
    if (RegGetValueW(key, subkey, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return std::wstring();
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(key, subkey, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, text.data(),
                     &bytes) != ERROR_SUCCESS)
        return std::wstring();
    text.resize(wcsnlen(text.c_str(), text.size()));
    if (type == REG_EXPAND_SZ) {
        DWORD length = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
        std::wstring expanded(length, L'\0');
        if (length && ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length)) {
            expanded.resize(length - 1);
            text = expanded;
        }
    }
    return text;
}

// A LocalServer32 command line names its program first, maybe in quotes.
std::wstring ProgramOf(const std::wstring &command)
{
    if (!command.empty() && command[0] == L'"') {
        size_t end = command.find(L'"', 1);
        return command.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
    }
    std::wstring lower = command;
    for (wchar_t &c : lower) c = towlower(c);
    size_t exe = lower.find(L".exe ");
    return exe == std::wstring::npos ? command : command.substr(0, exe + 4);
}

}  // namespace

std::wstring RegistryLocation::Describe() const
{
    return std::to_wstring(bitness) + (perUser ? L"-bit per user" : L"-bit per machine");
}

bool RegistryLocation::OpenClsid(RegistryKey &key, REGSAM access) const
{
    return key.Open(root, clsidPath, access | ViewAccess());
}

bool RegistryLocation::OpenClass(const std::wstring &clsid, RegistryKey &key) const
{
    return key.Open(root, (std::wstring(clsidPath) + L"\\" + clsid).c_str(), KEY_READ | ViewAccess());
}

int ProcessBitness()
{
    return static_cast<int>(sizeof(void *) * 8);
}

std::vector<RegistryLocation> RegistryLocations()
{
    if (!Is64BitWindows())
        return {{HKEY_LOCAL_MACHINE, clsid64, 32, false}, {HKEY_CURRENT_USER, clsid64, 32, true}};
    return {{HKEY_LOCAL_MACHINE, clsid64, 64, false},
            {HKEY_LOCAL_MACHINE, clsid32, 32, false},
            {HKEY_CURRENT_USER, clsid64, 64, true},
            {HKEY_CURRENT_USER, clsid32, 32, true}};
}

std::wstring RegisteredServer(HKEY classKey, bool &inproc)
{
    std::wstring path = QueryString(classKey, L"InprocServer32", nullptr);
    inproc = !path.empty();
    if (inproc) {
        if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
        return path;
    }
    return ProgramOf(QueryString(classKey, L"LocalServer32", nullptr));
}

std::wstring FindServerFile(const std::wstring &server)
{
    if (server.empty()) return std::wstring();
    if (server.find_first_of(L"\\/:") != std::wstring::npos) {
        DWORD attributes = GetFileAttributesW(server.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::wstring();
        return server;
    }
    wchar_t found[MAX_PATH];
    DWORD length = SearchPathW(nullptr, server.c_str(), nullptr, MAX_PATH, found, nullptr);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return found;
}

int BinaryBitness(const std::wstring &file, std::wstring &what)
{
    what = L"unreadable";
    FILE *stream = _wfopen(file.c_str(), L"rb");
    if (!stream) return 0;
    unsigned char header[0x40];
    uint32_t offset = 0;
    unsigned char signature[6] = {};
    bool read = std::fread(header, 1, sizeof header, stream) == sizeof header && header[0] == 'M' &&
                header[1] == 'Z';
    if (read) {
        offset = header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | static_cast<uint32_t>(header[0x3F]) << 24;
        read = std::fseek(stream, static_cast<long>(offset), SEEK_SET) == 0 &&
               std::fread(signature, 1, sizeof signature, stream) == sizeof signature;
    }
    std::fclose(stream);
    if (!read || signature[0] != 'P' || signature[1] != 'E' || signature[2] || signature[3]) {
        what = L"not a Windows binary";
        return 0;
    }
    const struct {
        unsigned machine;
        int bitness;
        const wchar_t *text;
    } machines[] = {
        {0x014C, 32, L"32-bit (x86)"},
        {0x8664, 64, L"64-bit (x64)"},
        {0xAA64, 64, L"64-bit (ARM64)"},
        {0x01C4, 32, L"32-bit (ARM)"},
    };
    unsigned machine = signature[4] | signature[5] << 8;
    for (const auto &known : machines) {
        if (known.machine == machine) {
            what = known.text;
            return known.bitness;
        }
    }
    wchar_t text[40];
    std::swprintf(text, 40, L"unknown machine 0x%04X", machine);
    what = text;
    return 0;
}

std::wstring ReadDefaultValue(HKEY key, const wchar_t *subkey)
{
    return QueryString(key, subkey, nullptr);
}
