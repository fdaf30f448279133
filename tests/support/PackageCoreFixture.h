// A CPropertyPackage over a scripted 1.0 package, as the manager hands it
// out, with a default script of two compounds and two phases that tests
// adjust before the package is first used. Both components log their calls.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Material11.h"
#include "MaterialObjectCalls.h"
#include "PropertyPackage.h"
#include "ScriptedPackage10.h"
#include "TestVariants.h"

using StringList = std::vector<std::wstring>;

inline StringList Labels(const CVariantArray &list) { return ReadStrings(list.Value()); }

// Each element within relative * |expected| (plus absolute) of the expected one.
inline void ExpectNear(const std::vector<double> &expected, const std::vector<double> &actual, double relative,
                       double absolute = 0.0)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(expected[i], actual[i], relative * std::fabs(expected[i]) + absolute) << "element " << i;
}

class PackageCoreTest : public testing::Test {
protected:
    PackageCoreTest() { Fresh(); }

    // A new package over a new scripted package, for a table's next row.
    void Fresh()
    {
        package10Ref = CreateScriptedPackage10(&package10);
        package10->script.UseMethaneEthane();
        package10->script.logCalls = true;
        EXPECT_EQ(S_OK, CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds),
                                                           packageRef.ReceiveVoid()));
        package = static_cast<CPropertyPackage *>(packageRef.Get());
        package->package10 = package10Ref;
    }

    ScriptedPackage10Script &Script() { return package10->script; }
    ICapeUtilities *Utilities() { return package; }
    ICapeThermoPhases *Phases() { return package; }
    // Initialisation through a guarded method, as a client runs it.
    HRESULT Initialize() { return Utilities()->Initialize(); }

    // A new in-memory 1.1 material of these compounds as context, phases
    // Vapor and Liquid present.
    CMaterial11 *SetContext(const StringList &compounds)
    {
        materialRef = CMaterial11::Create(compounds);
        material = materialRef.Get();
        material->logCalls = true;
        material->presentPhases = {L"Vapor", L"Liquid"};
        material->phaseStatuses = {CAPE_UNKNOWNPHASESTATUS, CAPE_UNKNOWNPHASESTATUS};
        EXPECT_EQ(S_OK, package->SetMaterial(material->Interface()));
        return material;
    }
    // The state of one phase a property calculation reads.
    void PutPhase(const wchar_t *phase, const std::vector<double> &x, double temperature, double pressure)
    {
        material->Put(L"fraction", phase, L"mole", x);
        material->Put(L"temperature", phase, L"", {temperature});
        material->Put(L"pressure", phase, L"", {pressure});
    }
    // The flash of a 1.0 package that sets temperature, pressure and the
    // given compositions and phase fractions (in mole basis).
    void FlashSets(const StringList &compositions, const std::vector<std::pair<std::wstring, double>> &fractions)
    {
        Script().onCalcEquilibrium = [=](CScriptedPackage10 &, ICapeThermoMaterialObject *m, const std::wstring &) {
            SetProp10(m, L"temperature", nullptr, nullptr, {350.0}, nullptr);
            SetProp10(m, L"pressure", nullptr, nullptr, {1e5}, nullptr);
            for (const std::wstring &p : compositions) SetProp10(m, L"fraction", p.c_str(), L"mole", {0.5, 0.5});
            for (const auto &[p, value] : fractions) SetProp10(m, L"phaseFraction", p.c_str(), L"mole", {value});
            return S_OK;
        };
    }
    HRESULT RunFlash(const StringList &spec1, const StringList &spec2)
    {
        return package->CalcEquilibrium(Strings(spec1).Value(), Strings(spec2).Value(), nullptr);
    }
    bool Validate() { return package->ValidateContextMaterial(L"CTest::Calc", L"ICapeTest"); }
    std::wstring Error() const { return package->ErrorDescription(); }
    void ExpectError(const std::wstring &description, const wchar_t *scope, const wchar_t *interfaceName)
    {
        EXPECT_EQ(description, package->ErrorDescription());
        EXPECT_EQ(scope, package->ErrorScope());
        EXPECT_EQ(interfaceName, package->ErrorInterface());
    }

    CScriptedPackage10 *package10 = nullptr;
    ComPtr<ICapeThermoPropertyPackage> package10Ref;
    CPropertyPackage *package = nullptr;
    ComPtr<ICapeThermoCompounds> packageRef;
    CMaterial11 *material = nullptr;
    ComPtr<CMaterial11> materialRef;
};
