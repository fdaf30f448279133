// CPropertyPackageManager over the test thermo systems: package creation by
// name and every failure it reports.
#include <windows.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

#include "ComHolders.h"
#include "ErrorText.h"
#include "PropertyPackage.h"
#include "PropertyPackageManager.h"
#include "TestThermoSystems.h"
#include "TestVariants.h"
#include "ThermoSystemDiscovery.h"

namespace {

class PackageManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CreateComObject<CPropertyPackageManager>(nullptr, __uuidof(ICapeThermoPropertyPackageManager),
                                                           manager.ReceiveVoid()),
                  S_OK);
        object = static_cast<CPropertyPackageManager *>(
            static_cast<DispatchPart<ICapeThermoPropertyPackageManager> *>(manager.Get()));
    }

    HRESULT Get(const wchar_t *name, ComPtr<IDispatch> &package)
    {
        return manager->GetPropertyPackage(ScopedBstr(name).Get(), package.Receive());
    }

    static std::wstring Resolved() { return TestThermo() ? TestThermo()->lastResolve : L"<not loaded>"; }

    ComPtr<ICapeThermoPropertyPackageManager> manager;
    CPropertyPackageManager *object = nullptr;
};

// A request before any list runs discovery; the package is wrapped, its initialisation left to its first use.
TEST_F(PackageManagerTest, NamesSplitAtTheFirstSeparatorAndSystemsMatchInAnyCase)
{
    ResetThermoSystemDiscovery();
    const struct {
        const wchar_t *request;
        const wchar_t *resolved;
        const wchar_t *componentName;
    } cases[] = {
        {L"SYS//A", L"Sys|A", L"A"},
        {L"Sys//A//B", L"Sys|A//B", L"A//B"},
        {L"Sys//", L"Sys|", L""},
    };
    for (const auto &c : cases) {
        ComPtr<IDispatch> package;
        ASSERT_EQ(Get(c.request, package), S_OK) << testing::PrintToString(c.request);
        EXPECT_EQ(Resolved(), c.resolved);
        auto *wrapper = static_cast<CPropertyPackage *>(
            static_cast<DispatchPart<ICapeIdentification> *>(static_cast<ICapeIdentification *>(package.Get())));
        EXPECT_EQ(wrapper->ComponentNameText(), c.componentName);
        ASSERT_TRUE(wrapper->package10);
        EXPECT_TRUE(wrapper->initPending);
    }
    EXPECT_EQ(object->ComponentNameText(), L"Corvanta");  // the manager keeps its own name

    ComPtr<IDispatch> first, second;
    ASSERT_EQ(Get(L"Sys//A", first), S_OK);
    ASSERT_EQ(Get(L"Sys//A", second), S_OK);
    EXPECT_NE(first.Get(), second.Get());

    // Of two systems whose names differ in case, the one found later serves both names.
    const std::vector<std::wstring> names = ReadStrings(ThermoSystemDiscovery().packageList.Value());
    const auto upper = std::find(names.begin(), names.end(), L"ThermoX//Upper");
    const auto lower = std::find(names.begin(), names.end(), L"thermox//Lower");
    ASSERT_TRUE(upper != names.end() && lower != names.end());
    const std::wstring later = upper > lower ? L"ThermoX" : L"thermox";
    ASSERT_EQ(Get(L"ThermoX//Upper", first), S_OK);
    EXPECT_EQ(Resolved(), later + L"|Upper");
    ASSERT_EQ(Get(L"thermox//Lower", first), S_OK);
    EXPECT_EQ(Resolved(), later + L"|Lower");
}

TEST_F(PackageManagerTest, EveryFailureIsRecordedOnTheManager)
{
    DiscoverThermoSystems();
    ASSERT_NE(TestThermo(), nullptr);
    TestThermo()->lateFailures = true;
    const struct {
        const wchar_t *request;
        std::wstring description;
    } cases[] = {
        {L"", L"Invalid package name"},
        {L"Sys/A", L"Invalid package name"},
        {L"//A", L"Thermo system \"\" not found on this system"},
        // Systems discovery leaves out are not found (DiscoveryTest) like unknown ones.
        {L"Nowhere//A", L"Thermo system \"Nowhere\" not found on this system"},
        {L"LateCreate//P", L"Failed to create thermo system \"LateCreate\": " + ErrorText(E_ABORT)},
        {L"LateInitNew//P",
         L"Failed to initialize thermo system \"LateInitNew\" (InitNew): " + ErrorText(E_ACCESSDENIED)},
        {L"LateInitialize//P", L"Failed to initialize thermo system \"LateInitialize\" (Initialize): "
                               L"The licence of this thermo system has expired"},
        {L"ResolveFails//Q", L"Failed to resolve package \"Q\" from thermo system \"ResolveFails\": "
                             L"ResolveFails has no package of that name"},
        {L"NotAPackage//P", L"Failed to resolve package \"P\" from thermo system \"NotAPackage\": "
                            L"ICapeThermoPropertyPackage not implemented on returned object"},
        // Success codes that came with no object.
        {L"LateNullCreate//P", L"Failed to create thermo system \"LateNullCreate\": " + ErrorText(E_POINTER)},
        {L"LateNullUtilities//P",
         L"Failed to initialize thermo system \"LateNullUtilities\" (Initialize): " + ErrorText(E_POINTER)},
        {L"NullResolve//P", L"Failed to resolve package \"P\" from thermo system \"NullResolve\": "
                            L"ICapeThermoPropertyPackage not implemented on returned object"},
    };
    for (const auto &c : cases) {
        IDispatch *untouched = reinterpret_cast<IDispatch *>(0x1234);
        EXPECT_EQ(manager->GetPropertyPackage(ScopedBstr(c.request).Get(), &untouched), ECapeUnknownHR)
            << testing::PrintToString(c.request);
        EXPECT_EQ(untouched, reinterpret_cast<IDispatch *>(0x1234));
        EXPECT_EQ(object->ErrorDescription(), c.description);
        EXPECT_EQ(object->ErrorScope(), L"CPropertyPackageManager::GetPropertyPackage");
        EXPECT_EQ(object->ErrorInterface(), L"ICapeThermoPropertyPackageManager");
    }
    TestThermo()->lateFailures = false;
    // Null arguments record nothing.
    ComPtr<IDispatch> package;
    EXPECT_EQ(manager->GetPropertyPackage(nullptr, package.Receive()), E_POINTER);
    EXPECT_EQ(manager->GetPropertyPackage(ScopedBstr(L"Sys//A").Get(), nullptr), E_POINTER);
    EXPECT_EQ(manager->GetPropertyPackageList(nullptr), E_POINTER);
    EXPECT_EQ(object->ErrorDescription(), cases[std::size(cases) - 1].description);
}

}  // namespace
