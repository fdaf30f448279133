// Discovery against the test thermo systems registered in the test prefix,
// and its parts: the exclusion key of thermo systems and managers, and the
// names read from CapeDescription keys.
#include <windows.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "TestThermoSystems.h"
#include "TestVariants.h"
#include "ThermoSystemDiscovery.h"

namespace {

// Allocations above this size fail while armed, as when memory runs out.
std::atomic<size_t> allocationLimit{0};

// Discovery runs with "HugeNames" armed: running out of memory leaves out that thermo system alone.
TEST(DiscoveryTest, ListsEveryPackageOfEligibleThermoSystemsOnceAndReleasesThemAll)
{
    DiscoverThermoSystems();  // COM loads the test thermo systems
    TestThermoState *thermo = TestThermo();
    ASSERT_NE(thermo, nullptr);
    thermo->hugeNames = true;
    allocationLimit = TEST_HUGE_NAME_LENGTH;
    ResetThermoSystemDiscovery();
    DiscoverThermoSystems();
    allocationLimit = 0;
    thermo->hugeNames = false;
    const CVariantArray &list = ThermoSystemDiscovery().packageList;
    ASSERT_EQ(list.Type(), VT_ARRAY | VT_BSTR);
    LONG lower = -1;
    SafeArrayGetLBound(V_ARRAY(&list.Value()), 1, &lower);
    EXPECT_EQ(lower, 0);

    // "Not implemented" answers to InitNew or Initialize are no failures; a system without a name is listed by CLSID.
    // A system's packages in its order: the late-bound client's (latebound-package.vbs) first check.
    std::vector<std::wstring> names = ReadStrings(list.Value());
    for (const wchar_t *name : {L"Sys//A", L"NoInitNew//P", L"NoInitialize//P", TEST_CLSID_NAMELESS L"//P",
                                L"LateCreate//P", L"NullResolve//P"})
        EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << testing::PrintToString(name);

    // Failed, listless, and with success codes that came with no object (creation, a query); "Acme Thermo 2" as a
    // 1.1 manager named "Acme Server" is of the same maker. Neither listed nor kept for resolution.
    for (const wchar_t *absent : {L"BrokenInitialize", L"Numbers", L"Empty", L"NullCreate", L"NullQuery",
                                  L"Acme Thermo 2", L"Acme Server", L"HugeNames"}) {
        const std::wstring prefix = std::wstring(absent) + L"//";
        EXPECT_FALSE(std::any_of(names.begin(), names.end(), [&](auto &name) { return name.rfind(prefix, 0) == 0; }))
            << testing::PrintToString(absent);
        EXPECT_EQ(ThermoSystemDiscovery().thermoSystemClsids.Lookup(absent), nullptr) << testing::PrintToString(absent);
    }

    // Every thermo system asked was released, and terminated if initialised; discovery runs once.
    EXPECT_EQ(thermo->live, 0);
    EXPECT_EQ(thermo->unterminated, 0);
    const LONG created = thermo->created;
    DiscoverThermoSystems();
    EXPECT_EQ(thermo->created, created);
}

TEST(ProductKeyTest, FirstWordOrTwoForAspen)
{
    const struct {
        const wchar_t *name;
        const wchar_t *key;
    } cases[] = {
        {L"Acme Thermo 2", L"Acme"},
        {L"AcmeServer", L"AcmeServer"},
        {L" \t\r\nAcme\vThermo", L"Acme"},
        {L"Aspen Properties", L"AspenProperties"},
        {L"Aspen Properties Manager", L"AspenProperties"},
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

// A key of the test's own below HKEY_CURRENT_USER: a class key to read, or a
// classes root that replaces the real one for this process.
class ScratchKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, path);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, path);
        ResetThermoSystemDiscovery();
    }

    std::wstring NameRead()
    {
        ThermoSystemRecord record{L"stale", L"{clsid}", L""};
        ReadCapeDescription(record, key);
        return record.name;
    }
    void SetName(const std::wstring &name)
    {
        ASSERT_EQ(RegSetKeyValueW(key, L"CapeDescription", L"Name", REG_SZ, name.c_str(),
                                  static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    // False when the platform cannot override the classes root.
    bool DiscoverOverScratchKey()
    {
        if (RegOverridePredefKey(HKEY_CLASSES_ROOT, key) != ERROR_SUCCESS) return false;
        ResetThermoSystemDiscovery();
        DiscoverThermoSystems();
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        return true;
    }

    const wchar_t *path = L"Software\\CorvantaScratchKey";
    HKEY key = nullptr;
};

// The name up to its null (stored with or without one), or the class
// identifier when there is no name or it is too long for 1024 bytes.
TEST_F(ScratchKeyTest, CapeDescriptionNameIsReadUpToItsNullOrFallsBackToTheClassIdentifier)
{
    ASSERT_EQ(RegSetKeyValueW(key, L"CapeDescription", L"Description", REG_SZ, L"d", 4), ERROR_SUCCESS);
    EXPECT_EQ(NameRead(), L"{clsid}") << "no Name value";
    for (const std::wstring &name : {std::wstring(L"My Thermo"), std::wstring(), std::wstring(511, L'n')}) {
        SetName(name);
        EXPECT_EQ(NameRead(), name);
    }
    SetName(std::wstring(512, L'n'));
    EXPECT_EQ(NameRead(), L"{clsid}");
    const wchar_t raw[] = {L'R', L'a', L'w'};
    ASSERT_EQ(RegSetKeyValueW(key, L"CapeDescription", L"Name", REG_SZ, raw, sizeof(raw)), ERROR_SUCCESS);
    EXPECT_EQ(NameRead(), L"Raw");
}

TEST_F(ScratchKeyTest, UnreadableClassesRootLeavesNoListAndNoThermoSystemAnArrayOfNoStrings)
{
    if (!DiscoverOverScratchKey()) GTEST_SKIP() << "the classes root cannot be overridden here";
    EXPECT_EQ(ThermoSystemDiscovery().packageList.Type(), VT_EMPTY);
    EXPECT_TRUE(ThermoSystemDiscovery().thermoSystemClsids.Empty());
    EXPECT_FALSE(ThermoSystemDiscovery().discoveryPending);

    ASSERT_EQ(RegSetKeyValueW(key, L"CLSID", nullptr, REG_SZ, L"", sizeof(wchar_t)), ERROR_SUCCESS);  // no classes
    ASSERT_TRUE(DiscoverOverScratchKey());
    EXPECT_EQ(ThermoSystemDiscovery().packageList.Type(), VT_ARRAY | VT_BSTR);
    EXPECT_TRUE(ReadStrings(ThermoSystemDiscovery().packageList.Value()).empty());
}

}  // namespace

void *operator new(size_t size)
{
    const size_t limit = allocationLimit;
    if (limit != 0 && size > limit) throw std::bad_alloc();
    if (void *block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
