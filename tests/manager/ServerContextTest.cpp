// The activation contexts asked for per class: only servers the registry
// names, and local servers only when their program exists.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ServerContext.h"

namespace {

// One registry value of a class registration.
struct Value {
    const wchar_t *key;   // below the class key ("" for the class key); "AppID" for the AppID key
    const wchar_t *name;  // null: the default value
    const wchar_t *data;  // null: the class identifier, as the AppID of the class itself
    DWORD type = REG_SZ;
};

constexpr DWORD inproc = CLSCTX_INPROC_SERVER, local = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;

TEST(ServerContextTest, OutOfProcessOnlyForServersThatCanStart)
{
    // Registers the class with these values and asks for its context; the keys written go at the end.
    std::vector<std::wstring> written;
    const auto contextOf = [&](const std::wstring &clsid, const std::vector<Value> &values) {
        const std::wstring classKey = L"CLSID\\" + clsid, appKey = L"AppID\\" + clsid;
        written.insert(written.end(), {classKey, appKey});
        for (const Value &value : values) {
            const std::wstring key = value.key;
            const std::wstring path = key == L"AppID" ? appKey : key.empty() ? classKey : classKey + L"\\" + key;
            const wchar_t *data = value.data ? value.data : clsid.c_str();
            EXPECT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, path.c_str(), value.name, value.type, data,
                                      static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
        CLSID id;
        EXPECT_EQ(CLSIDFromString(clsid.c_str(), &id), S_OK);
        return RegisteredServerContext(id);
    };
    const struct {
        std::vector<Value> values;
        DWORD expected;
    } cases[] = {
        {{}, inproc},
        {{{L"InprocServer32", nullptr, L"C:\\nowhere\\missing.dll"}}, inproc},
        {{{L"LocalServer32", nullptr, L"C:\\nowhere\\missing.exe"}}, inproc},
        {{{L"LocalServer32", nullptr, L"\"C:\\windows\\system32\\notepad.exe\" /Automation"}}, local},
        {{{L"LocalServer32", nullptr, L"C:\\windows\\system32\\notepad -Embedding"}}, local},
        {{{L"LocalServer32", nullptr, L"%SystemRoot%\\system32\\notepad.exe", REG_EXPAND_SZ}}, local},
        {{{L"LocalServer32", L"ServerExecutable", L"C:\\windows\\system32\\notepad.exe"}}, local},
        {{{L"InprocHandler32", nullptr, L"ole32.dll"}}, inproc | CLSCTX_INPROC_HANDLER},
        {{{L"", L"AppID", nullptr}, {L"AppID", L"LocalService", L"AcmeThermo"}}, local},
        {{{L"", L"AppID", nullptr}, {L"AppID", L"RemoteServerName", L"thermo.example"}}, inproc | CLSCTX_REMOTE_SERVER},
        {{{L"InprocServer32", nullptr, L"C:\\thermo\\acme.dll"}, {L"", L"AppID", nullptr},
          {L"AppID", L"DllSurrogate", L""}},
         local},
        // Emulation: the servers of the class it is treated as (the fourth) count.
        {{{L"TreatAs", nullptr, L"{7B0C7E00-0000-4000-8000-000000000004}"}}, local},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::wstring clsid = std::wstring(L"{7B0C7E00-0000-4000-8000-00000000000") + L"123456789ABC"[i] + L"}";
        EXPECT_EQ(contextOf(clsid, cases[i].values), cases[i].expected) << testing::PrintToString(clsid);
    }
    for (const std::wstring &key : written) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
}

}  // namespace
