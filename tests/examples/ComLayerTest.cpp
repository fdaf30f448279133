// The example thermo system through its CAPE-OPEN 1.0 interfaces, driven
// with a material object of the test's own, and its self-registration. Its
// flashes, mixture and pure-compound properties are checked through the
// bridge in package_calculation_tests.
#include <gtest/gtest.h>

#include "ComHolders.h"
#include "ExampleIds.h"
#include "ExampleThermoSystem.h"
#include "Material10.h"
#include "ServerProcess.h"
#include "TestVariants.h"

namespace {

std::wstring Description(IUnknown *object)
{
    ComPtr<ECapeUser> user;
    ScopedBstr text;
    if (SUCCEEDED(QueryFrom(object, user))) user->get_description(text.Receive());
    return text.Text();
}

class ExamplePackage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, CreateComObject<CExampleThermoSystem>(nullptr, __uuidof(ICapeThermoSystem),
                                                              system.ReceiveVoid()));
        ComPtr<IDispatch> resolved;
        ScopedBstr name(L"peng-robinson");
        ASSERT_EQ(S_OK, system->ResolvePropertyPackage(name.Get(), resolved.Receive()));
        ASSERT_EQ(S_OK, resolved.As(package));
        materialObject = CMaterial10::Create({L"methane", L"propane", L"N-BUTANE", L"n-hexane"},
                                             {L"Vapor", L"Liquid"}, &material);
        ASSERT_TRUE(materialObject);
        material->Put(L"fraction", L"Overall", z);
        material->Put(L"pressure", L"Overall", {20e5});
    }

    HRESULT Flash(const wchar_t *type)
    {
        ScopedBstr flashType(type);
        return package->CalcEquilibrium(materialObject.Get(), flashType.Get(), VARIANT{});
    }

    HRESULT Calc(const std::vector<std::wstring> &props, const wchar_t *phase, const wchar_t *calcType)
    {
        return package->CalcProp(materialObject.Get(), Strings(props).Value(), Strings({phase}).Value(),
                                 ScopedBstr(calcType).Get());
    }

    ComPtr<ICapeThermoSystem> system;
    ComPtr<ICapeThermoPropertyPackage> package;
    ComPtr<ICapeThermoMaterialObject> materialObject;
    CMaterial10 *material = nullptr;
    std::vector<double> z{0.4, 0.2, 0.2, 0.2};
};

}  // namespace

TEST_F(ExamplePackage, TheSystemListsAndResolvesItsTwoPackages)
{
    ScopedVariant list;
    ASSERT_EQ(S_OK, system->GetPropertyPackages(list.Get()));
    EXPECT_EQ((std::vector<std::wstring>{L"Peng-Robinson", L"Ideal"}), ReadStrings(list.Value()));

    ComPtr<IDispatch> resolved;
    ScopedBstr ideal(L"IDEAL"), unknown(L"SRK");
    ASSERT_EQ(S_OK, system->ResolvePropertyPackage(ideal.Get(), resolved.Receive()));
    ComPtr<ICapeIdentification> identification;
    ASSERT_EQ(S_OK, resolved.As(identification));
    ScopedBstr name;
    identification->get_ComponentName(name.Receive());
    EXPECT_STREQ(L"Ideal", name.Text());

    EXPECT_EQ(ECapeUnknownHR, system->ResolvePropertyPackage(unknown.Get(), resolved.Receive()));
    EXPECT_NE(std::wstring::npos, Description(system.Get()).find(L"\"SRK\""));
    EXPECT_EQ(E_POINTER, system->ResolvePropertyPackage(ideal.Get(), nullptr));
}

TEST_F(ExamplePackage, ConstantsComeForTheMaterialsCompounds)
{
    ScopedVariant result;
    const ScopedVariant props = Strings({L"criticalTemperature", L"casRegistryNumber"});
    ASSERT_EQ(S_OK, package->GetComponentConstant(materialObject.Get(), props.Value(), result.Get()));
    ASSERT_EQ(VT_ARRAY | VT_VARIANT, result.Type());
    ASSERT_EQ(8u, V_ARRAY(result.Get())->rgsabound[0].cElements);
    const VARIANT *elements = static_cast<const VARIANT *>(V_ARRAY(result.Get())->pvData);
    ASSERT_EQ(VT_R8, V_VT(&elements[1]));  // propane's critical temperature
    EXPECT_DOUBLE_EQ(369.83, V_R8(&elements[1]));
    ASSERT_EQ(VT_BSTR, V_VT(&elements[6]));  // n-butane's CAS number
    EXPECT_STREQ(L"106-97-8", V_BSTR(&elements[6]));

    EXPECT_EQ(ECapeUnknownHR,
              package->GetComponentConstant(materialObject.Get(), Strings({L"dipoleMoment"}).Value(),
                                            result.Receive()));
}

TEST_F(ExamplePackage, BadRequestsFailWithAClearText)
{
    material->Put(L"temperature", L"Overall", {300});
    EXPECT_EQ(ECapeUnknownHR, Flash(L"TU"));
    EXPECT_NE(std::wstring::npos, Description(package.Get()).find(L"\"TU\""));

    material->Remove(L"temperature", L"Overall");
    EXPECT_EQ(ECapeUnknownHR, Flash(L"TP"));
    EXPECT_NE(std::wstring::npos, Description(package.Get()).find(L"Property \"temperature\" is not set for phase \"Overall\""));

    material->compounds.push_back(L"benzene");
    EXPECT_EQ(ECapeUnknownHR, Flash(L"TP"));
    EXPECT_NE(std::wstring::npos, Description(package.Get()).find(L"Unknown compound \"benzene\""));
    material->compounds.pop_back();

    EXPECT_EQ(ECapeUnknownHR, Calc({L"viscosity"}, L"Vapor", L"mixture"));
    EXPECT_EQ(ECapeUnknownHR, Calc({L"enthalpy"}, L"Overall", L"mixture"));
    EXPECT_EQ(ECapeUnknownHR, Calc({L"vaporPressure"}, L"Liquid", L"mixture"));
    EXPECT_EQ(ECapeUnknownHR, package->CalcEquilibrium(nullptr, ScopedBstr(L"TP").Get(), VARIANT{}));

    // At 50 bar methane has no boiling point: a clear failure, nothing set.
    material->Put(L"pressure", L"Liquid", {50e5});
    EXPECT_EQ(ECapeUnknownHR, Calc({L"boilingPointTemperature"}, L"Liquid", L"pure"));
    EXPECT_NE(std::wstring::npos, Description(package.Get()).find(L"\"methane\""));
    EXPECT_FALSE(material->Has(L"boilingPointTemperature", L"Liquid"));
}

// Other test programs use the registered example in the same Wine prefix at
// the same time, so the registration is checked in a private copy of
// HKEY_CLASSES_ROOT; discovery of the really registered example is the probe
// tests' part.
TEST(ExampleThermoDll, RegistersAsA10ThermoSystemAndUnregisters)
{
    HMODULE dll = LoadLibraryW(WindowsPath(EXAMPLE_THERMO_DLL).c_str());
    ASSERT_NE(nullptr, dll);
    using Entry = HRESULT(WINAPI *)();
    auto find = [&](const char *name) {
        return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
    };
    Entry reg = find("DllRegisterServer"), unreg = find("DllUnregisterServer");
    ASSERT_TRUE(reg && unreg);

    HKEY privateClasses = nullptr;
    const wchar_t *privatePath = L"Software\\CorvantaTests\\ExampleThermoClasses";
    DeleteTree(HKEY_CURRENT_USER, privatePath);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, privatePath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &privateClasses, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, privateClasses));
    EXPECT_EQ(S_OK, reg());
    const std::wstring clsid = std::wstring(L"CLSID\\") + ExampleThermoClsidText;
    EXPECT_EQ(L"Example Thermo", ReadString(privateClasses, clsid + L"\\CapeDescription", L"Name"));
    EXPECT_EQ(L"1.0", ReadString(privateClasses, clsid + L"\\CapeDescription", L"CapeVersion"));
    EXPECT_EQ(L"Apartment", ReadString(privateClasses, clsid + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(ExampleThermoClsidText,
              ReadString(privateClasses, std::wstring(ExampleThermoProgId) + L"\\CLSID", nullptr));
    for (const wchar_t *category : {L"{678C09A3-7D66-11D2-A67D-00105A42887F}", L"{678C09A1-7D66-11D2-A67D-00105A42887F}"})
        EXPECT_TRUE(KeyExists(privateClasses, clsid + L"\\Implemented Categories\\" + category));
    EXPECT_EQ(S_OK, unreg());
    EXPECT_FALSE(KeyExists(privateClasses, clsid));
    EXPECT_FALSE(KeyExists(privateClasses, ExampleThermoProgId));
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(privateClasses);
    DeleteTree(HKEY_CURRENT_USER, L"Software\\CorvantaTests");
    FreeLibrary(dll);
}
