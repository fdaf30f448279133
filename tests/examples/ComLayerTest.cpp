// The example thermo system through its CAPE-OPEN 1.0 interfaces, driven
// with a material object of the test's own. Its flashes, mixture and
// pure-compound properties are checked through the bridge in
// package_calculation_tests, its registration by the probe's end-to-end test.
#include <gtest/gtest.h>

#include "ComHolders.h"
#include "ErrorText.h"
#include "ExampleThermoSystem.h"
#include "Material10.h"
#include "TestVariants.h"

namespace {

class ExamplePackage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, CreateComObject<CExampleThermoSystem>(nullptr, __uuidof(ICapeThermoSystem),
                                                              system.ReceiveVoid()));
        ComPtr<IDispatch> resolved;
        ASSERT_EQ(S_OK, system->ResolvePropertyPackage(ScopedBstr(L"peng-robinson").Get(), resolved.Receive()));
        ASSERT_EQ(S_OK, resolved.As(package));
        materialObject = CMaterial10::Create({L"methane", L"propane", L"N-BUTANE", L"n-hexane"},
                                             {L"Vapor", L"Liquid"}, &material);
        ASSERT_TRUE(materialObject);
        material->Put(L"fraction", L"Overall", {0.4, 0.2, 0.2, 0.2});
        material->Put(L"pressure", L"Overall", {20e5});
    }

    HRESULT Flash(const wchar_t *type)
    {
        return package->CalcEquilibrium(materialObject.Get(), ScopedBstr(type).Get(), VARIANT{});
    }

    HRESULT Calc(const std::vector<std::wstring> &props, const wchar_t *phase, const wchar_t *calcType)
    {
        return package->CalcProp(materialObject.Get(), Strings(props).Value(), Strings({phase}).Value(),
                                 ScopedBstr(calcType).Get());
    }

    std::wstring Error() { return CapeErrorText(package.Get(), ECapeUnknownHR); }

    ComPtr<ICapeThermoSystem> system;
    ComPtr<ICapeThermoPropertyPackage> package;
    ComPtr<ICapeThermoMaterialObject> materialObject;
    CMaterial10 *material = nullptr;
};

}  // namespace

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

// The list of packages is checked as discovery sees it (probe_command_tests),
// the package each name gives by its numbers (ConcurrentClientsTest).
TEST_F(ExamplePackage, BadRequestsFailWithAClearText)
{
    ComPtr<IDispatch> resolved;
    ScopedBstr ideal(L"IDEAL"), unknown(L"SRK");  // names in any letter case
    ASSERT_EQ(S_OK, system->ResolvePropertyPackage(ideal.Get(), resolved.Receive()));
    EXPECT_EQ(ECapeUnknownHR, system->ResolvePropertyPackage(unknown.Get(), resolved.Receive()));
    EXPECT_NE(std::wstring::npos, CapeErrorText(system.Get(), ECapeUnknownHR).find(L"\"SRK\""));
    EXPECT_EQ(E_POINTER, system->ResolvePropertyPackage(ideal.Get(), nullptr));

    material->Put(L"temperature", L"Overall", {300});
    EXPECT_EQ(ECapeUnknownHR, Flash(L"TU"));
    EXPECT_NE(std::wstring::npos, Error().find(L"\"TU\""));

    material->Remove(L"temperature", L"Overall");
    EXPECT_EQ(ECapeUnknownHR, Flash(L"TP"));
    EXPECT_NE(std::wstring::npos, Error().find(L"Property \"temperature\" is not set for phase \"Overall\""));

    material->compounds.push_back(L"benzene");
    EXPECT_EQ(ECapeUnknownHR, Flash(L"TP"));
    EXPECT_NE(std::wstring::npos, Error().find(L"Unknown compound \"benzene\""));
    material->compounds.pop_back();

    EXPECT_EQ(ECapeUnknownHR, Calc({L"viscosity"}, L"Vapor", L"mixture"));
    EXPECT_EQ(ECapeUnknownHR, Calc({L"enthalpy"}, L"Overall", L"mixture"));
    EXPECT_EQ(ECapeUnknownHR, Calc({L"vaporPressure"}, L"Liquid", L"mixture"));
    EXPECT_EQ(ECapeUnknownHR, package->CalcEquilibrium(nullptr, ScopedBstr(L"TP").Get(), VARIANT{}));

    // At 50 bar methane has no boiling point: a clear failure, nothing set.
    material->Put(L"pressure", L"Liquid", {50e5});
    EXPECT_EQ(ECapeUnknownHR, Calc({L"boilingPointTemperature"}, L"Liquid", L"pure"));
    EXPECT_NE(std::wstring::npos, Error().find(L"\"methane\""));
    EXPECT_FALSE(material->Has(L"boilingPointTemperature", L"Liquid"));
}
