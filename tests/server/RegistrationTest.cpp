// Registration as installers run it: regsvr32 in its own process, so that
// the per-user mode of one run cannot leak into the next.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "ServerProcess.h"

namespace {

const std::wstring classes = L"Software\\Classes\\";
const std::wstring managerClsid = L"{D86F1529-05F7-4FBA-B1BE-3693B5424DC4}", clsidKey = L"CLSID\\" + managerClsid;
const std::wstring progId = L"Corvanta.PropertyPackageManager.1";
const std::wstring versionIndependentProgId = L"Corvanta.PropertyPackageManager";

const std::wstring managerKeys[] = {classes + clsidKey, classes + progId, classes + versionIndependentProgId};
const std::wstring dll = WindowsPath(CORVANTA_DLL), quotedDll = L"\"" + dll + L"\"";

void RemoveAllRegistrations()
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const std::wstring &key : managerKeys) RegDeleteTreeW(root, key.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Corvanta");
}

// Every entry the manager's script writes, below root\Software\Classes.
void ExpectManagerEntries(HKEY root, const std::wstring &modulePath)
{
    const std::wstring clsid = classes + clsidKey, description = clsid + L"\\CapeDescription";
    const struct {
        std::wstring key;
        const wchar_t *name;
        std::wstring value;  // empty: the key must exist
    } entries[] = {
        {classes + progId, nullptr, L"Corvanta PropertyPackManager"},
        {classes + progId + L"\\CLSID", nullptr, managerClsid},
        {classes + versionIndependentProgId, nullptr, L"Corvanta PropertyPackManager"},
        {classes + versionIndependentProgId + L"\\CLSID", nullptr, managerClsid},
        {classes + versionIndependentProgId + L"\\CurVer", nullptr, progId},
        {clsid, nullptr, L"PropertyPackageManager Class"},
        {clsid + L"\\ProgID", nullptr, progId},
        {clsid + L"\\VersionIndependentProgID", nullptr, versionIndependentProgId},
        {clsid + L"\\Programmable", nullptr, L""},
        {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsid + L"\\TypeLib", nullptr, L"{23174EE9-55C7-466E-864C-E9EDC589C2D2}"},
        {clsid + L"\\Version", nullptr, L"1.0"},
        {clsid + L"\\Implemented Categories\\{678C09A1-7D66-11D2-A67D-00105A42887F}", nullptr, L""},
        {clsid + L"\\Implemented Categories\\{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}", nullptr, L""},
        {description, L"Name", L"Corvanta"},
        {description, L"Description",
         L"Use a property pacakge from a version 1.0 thermo system as version 1.1 property package"},
        {description, L"CapeVersion", L"1.1"},
        {description, L"ComponentVersion", L"1.0.12.0"},
    };
    for (const auto &e : entries) {
        if (e.value.empty())
            EXPECT_TRUE(KeyExists(root, e.key)) << testing::PrintToString(e.key);
        else
            EXPECT_EQ(ReadString(root, e.key, e.name), e.value) << testing::PrintToString(e.key);
    }
    EXPECT_EQ(lstrcmpiW(ReadString(root, clsid + L"\\InprocServer32", nullptr).c_str(), modulePath.c_str()), 0)
        << "InprocServer32 is " << testing::PrintToString(ReadString(root, clsid + L"\\InprocServer32", nullptr));
    EXPECT_NE(ReadString(root, description, L"VendorURL"), L"<missing>");
    EXPECT_NE(ReadString(root, description, L"About"), L"<missing>");
}

void ExpectNoManagerEntries(HKEY root)
{
    for (const std::wstring &key : managerKeys) EXPECT_FALSE(KeyExists(root, key)) << testing::PrintToString(key);
}

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override { RemoveAllRegistrations(); }
    // The client tests find the server registered per machine afterwards.
    static void TearDownTestSuite()
    {
        RemoveAllRegistrations();
        RunRegsvr32(quotedDll);
    }
};

// Per machine by default, every entry of the manager, on a class key rebuilt from scratch; a module path with a
// single quote in it is written as it is. Unregistration keeps the CLSID key and keys with foreign subkeys.
TEST_F(RegistrationTest, PerMachineRegistrationRebuildsTheClassKeyAndUnregistrationKeepsForeignSubkeys)
{
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"corvanta it's here", copy = folder + L"\\Corvanta.dll";
    const std::wstring quotedCopy = L"\"" + copy + L"\"", clsid = classes + clsidKey;
    const std::wstring neighbour = classes + L"CLSID\\{6A1D0C01-3B7E-4C55-9E0A-51C0DE0000FF}";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(dll.c_str(), copy.c_str(), FALSE));
    for (const std::wstring &key : {clsid + L"\\Stale", neighbour})
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, L"x", 4), 0);

    ASSERT_EQ(RunRegsvr32(quotedCopy), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, clsid + L"\\Stale"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, neighbour));
    ExpectManagerEntries(HKEY_LOCAL_MACHINE, copy);
    ExpectNoManagerEntries(HKEY_CURRENT_USER);

    // A foreign value does not keep a key; a foreign subkey does.
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (clsid + L"\\Foreign").c_str(), nullptr, REG_SZ, L"x", 4), 0);
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (clsid + L"\\CapeDescription").c_str(), L"Foreign", REG_SZ, L"x", 4),
              0);
    ASSERT_EQ(RunRegsvr32(L"/u " + quotedCopy), 0u);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, clsid + L"\\Foreign"));
    for (const wchar_t *removed : {L"\\InprocServer32", L"\\CapeDescription", L"\\Implemented Categories"})
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, clsid + removed)) << testing::PrintToString(removed);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, clsid, nullptr), L"<missing>");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (clsid + L"\\Foreign").c_str());
    ASSERT_EQ(RunRegsvr32(L"/u " + quotedCopy), 0u);
    ExpectNoManagerEntries(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, classes + L"CLSID"));
    EXPECT_EQ(RunRegsvr32(L"/u " + quotedCopy), 0u) << "nothing left to remove is no failure";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, neighbour.c_str());
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(RegistrationTest, DllInstallAndTheInstallModeValueChooseTheUsersOrTheMachinesClasses)
{
    const struct {
        bool installModeValue;
        const wchar_t *registerArguments, *unregisterArguments;
        bool perUser;
    } cases[] = {
        {false, L"/n /i:USER ", L"/u /n /i:user ", true},
        {false, L"/n /i:user2 ", L"/u /n /i:user2 ", false},  // only "user" itself means per user
        // Only the value's existence counts: an empty value of no type will do.
        {true, L"", L"/u ", true},
        {true, L"/n /i:user2 ", L"/u /n /i:user2 ", true},
    };
    for (const auto &c : cases) {
        RemoveAllRegistrations();
        if (c.installModeValue) {
            ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Corvanta", L"InstallMode", REG_NONE, nullptr, 0), 0);
        }
        HKEY used = c.perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        ASSERT_EQ(RunRegsvr32(c.registerArguments + quotedDll), 0u) << testing::PrintToString(c.registerArguments);
        ExpectManagerEntries(used, dll);
        ExpectNoManagerEntries(c.perUser ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
        ASSERT_EQ(RunRegsvr32(c.unregisterArguments + quotedDll), 0u);
        ExpectNoManagerEntries(used);
    }
}

// The entries written are those of regsvr32, which calls the same entry points.
TEST_F(RegistrationTest, RegistrationGivesTheCallerItsThreadLocaleBack)
{
    HMODULE module = LoadLibraryW(dll.c_str());
    ASSERT_NE(module, nullptr);
    const LCID saved = GetThreadLocale();
    const LCID german = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
    SetThreadLocale(german);
    for (const char *name : {"DllRegisterServer", "DllUnregisterServer"}) {
        auto call = reinterpret_cast<HRESULT(WINAPI *)()>(reinterpret_cast<void *>(GetProcAddress(module, name)));
        ASSERT_NE(call, nullptr) << name;
        EXPECT_EQ(call(), S_OK) << name;
        EXPECT_EQ(GetThreadLocale(), german) << name;
    }
    ExpectNoManagerEntries(HKEY_LOCAL_MACHINE);
    SetThreadLocale(saved);
    FreeLibrary(module);
}

}  // namespace
