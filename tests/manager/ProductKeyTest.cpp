// The exclusion key of thermo systems and managers, and the names read from
// CapeDescription keys.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "ThermoSystemDiscovery.h"

namespace {

TEST(ProductKeyTest, FirstWordOrTwoForAspen)
{
    const struct {
        const wchar_t *name;
        const wchar_t *key;
    } cases[] = {
        {L"Acme Thermo 2", L"Acme"},
        {L"Acme Server", L"Acme"},
        {L"AcmeServer", L"AcmeServer"},
        {L" \t\r\nAcme\vThermo", L"Acme"},
        {L"Aspen Properties", L"AspenProperties"},
        {L"Aspen Properties Manager", L"AspenProperties"},
        {L"Aspen Plus", L"AspenPlus"},
        {L"Aspen", L"Aspen"},
        {L"Aspen   ", L"Aspen"},
        {L"aspen properties", L"aspen"},
        {L"", L""},
        {L" \t ", L""},
        {L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000F}", L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000F}"},
    };
    for (const auto &c : cases) {
        ThermoSystemRecord record{c.name, L"{clsid}", L"stale"};
        MakeProductKey(record);
        EXPECT_EQ(record.productKey, c.key) << testing::PrintToString(c.name);
    }
}

class CapeDescriptionTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, path);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &classKey,
                                  nullptr), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(classKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, path);
        RegDeleteKeyW(HKEY_CURRENT_USER, path);
    }
    std::wstring NameRead()
    {
        ThermoSystemRecord record{L"stale", L"{clsid}", L""};
        ReadCapeDescription(record, classKey);
        return record.name;
    }
    void SetName(const std::wstring &name)
    {
        ASSERT_EQ(RegSetKeyValueW(classKey, L"CapeDescription", L"Name", REG_SZ, name.c_str(),
                                  static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    const wchar_t *path = L"Software\\CorvantaDescriptionTest";
    HKEY classKey = nullptr;
};

// The name up to its null (stored with or without one), or the class
// identifier when there is no name or it is too long for 1024 bytes.
TEST_F(CapeDescriptionTest, NameIsReadUpToItsNullOrFallsBackToTheClassIdentifier)
{
    EXPECT_EQ(NameRead(), L"{clsid}") << "no CapeDescription key";
    ASSERT_EQ(RegSetKeyValueW(classKey, L"CapeDescription", L"Description", REG_SZ, L"d", 4), ERROR_SUCCESS);
    EXPECT_EQ(NameRead(), L"{clsid}") << "no Name value";
    for (const std::wstring &name : {std::wstring(L"My Thermo"), std::wstring(), std::wstring(511, L'n')}) {
        SetName(name);
        EXPECT_EQ(NameRead(), name);
    }
    SetName(std::wstring(512, L'n'));
    EXPECT_EQ(NameRead(), L"{clsid}");
    const wchar_t raw[] = {L'R', L'a', L'w'};
    ASSERT_EQ(RegSetKeyValueW(classKey, L"CapeDescription", L"Name", REG_SZ, raw, sizeof(raw)), ERROR_SUCCESS);
    EXPECT_EQ(NameRead(), L"Raw");
}

}  // namespace
