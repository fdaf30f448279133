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
    const wchar_t *key;  // below the class key ("" for the class key); "AppID" for the AppID key
    const wchar_t *name;  // null: the default value
    const wchar_t *data;
    DWORD type = REG_SZ;
};

// Registrations made by a test are removed when it ends.
class ServerContextTest : public testing::Test {
protected:
    void TearDown() override
    {
        for (const std::wstring &key : written) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    }

    void Register(const wchar_t *clsid, const std::vector<Value> &values)
    {
        const std::wstring classKey = std::wstring(L"CLSID\\") + clsid;
        const std::wstring appKey = std::wstring(L"AppID\\") + clsid;
        written.push_back(classKey);
        written.push_back(appKey);
        for (const Value &value : values) {
            std::wstring path = std::wstring(value.key) == L"AppID" ? appKey : classKey;
            if (*value.key && std::wstring(value.key) != L"AppID") path += std::wstring(L"\\") + value.key;
            ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, path.c_str(), value.name, value.type, value.data,
                                      static_cast<DWORD>((wcslen(value.data) + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
    }

    static DWORD ContextOf(const wchar_t *clsid)
    {
        CLSID id;
        EXPECT_EQ(CLSIDFromString(clsid, &id), S_OK);
        return RegisteredServerContext(id);
    }

    std::vector<std::wstring> written;
};

constexpr DWORD inproc = CLSCTX_INPROC_SERVER;

TEST_F(ServerContextTest, OutOfProcessOnlyForServersThatCanStart)
{
    const wchar_t *notepad = L"C:\\windows\\system32\\notepad.exe";
    const struct {
        const wchar_t *clsid;
        std::vector<Value> values;
        DWORD expected;
    } cases[] = {
        {L"{7B0C7E00-0000-4000-8000-000000000001}", {}, inproc},
        {L"{7B0C7E00-0000-4000-8000-000000000002}", {{L"InprocServer32", nullptr, L"C:\\nowhere\\missing.dll"}},
         inproc},
        {L"{7B0C7E00-0000-4000-8000-000000000003}", {{L"LocalServer32", nullptr, L"C:\\nowhere\\missing.exe"}},
         inproc},
        {L"{7B0C7E00-0000-4000-8000-000000000004}",
         {{L"LocalServer32", nullptr, L"\"C:\\windows\\system32\\notepad.exe\" /Automation"}},
         inproc | CLSCTX_LOCAL_SERVER},
        {L"{7B0C7E00-0000-4000-8000-000000000005}",
         {{L"LocalServer32", nullptr, L"C:\\windows\\system32\\notepad -Embedding"}}, inproc | CLSCTX_LOCAL_SERVER},
        {L"{7B0C7E00-0000-4000-8000-000000000006}",
         {{L"LocalServer32", nullptr, L"%SystemRoot%\\system32\\notepad.exe", REG_EXPAND_SZ}},
         inproc | CLSCTX_LOCAL_SERVER},
        {L"{7B0C7E00-0000-4000-8000-000000000007}", {{L"LocalServer32", L"ServerExecutable", notepad}},
         inproc | CLSCTX_LOCAL_SERVER},
        {L"{7B0C7E00-0000-4000-8000-000000000008}", {{L"InprocHandler32", nullptr, L"ole32.dll"}},
         inproc | CLSCTX_INPROC_HANDLER},
        {L"{7B0C7E00-0000-4000-8000-000000000009}",
         {{L"", L"AppID", L"{7B0C7E00-0000-4000-8000-000000000009}"}, {L"AppID", L"LocalService", L"AcmeThermo"}},
         inproc | CLSCTX_LOCAL_SERVER},
        {L"{7B0C7E00-0000-4000-8000-00000000000A}",
         {{L"", L"AppID", L"{7B0C7E00-0000-4000-8000-00000000000A}"},
          {L"AppID", L"RemoteServerName", L"thermo.example"}},
         inproc | CLSCTX_REMOTE_SERVER},
        {L"{7B0C7E00-0000-4000-8000-00000000000B}",
         {{L"InprocServer32", nullptr, L"C:\\thermo\\acme.dll"},
          {L"", L"AppID", L"{7B0C7E00-0000-4000-8000-00000000000B}"},
          {L"AppID", L"DllSurrogate", L""}},
         inproc | CLSCTX_LOCAL_SERVER},
        // Emulation: the servers of the class it is treated as count.
        {L"{7B0C7E00-0000-4000-8000-00000000000C}", {{L"TreatAs", nullptr, L"{7B0C7E00-0000-4000-8000-000000000004}"}},
         inproc | CLSCTX_LOCAL_SERVER},
    };
    for (const auto &c : cases) Register(c.clsid, c.values);
    for (const auto &c : cases) EXPECT_EQ(ContextOf(c.clsid), c.expected) << testing::PrintToString(c.clsid);
}

}  // namespace
