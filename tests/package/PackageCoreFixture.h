// A CPropertyPackage over a scripted 1.0 package, as the manager would hand
// it out, with a default script of two compounds and two phases that tests
// adjust before the package is first used. Both components log their calls.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PropertyPackage.h"
#include "Material11.h"
#include "ScriptedPackage10.h"
#include "TestVariants.h"

class PackageCoreTest : public testing::Test {
protected:
    PackageCoreTest()
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

    // Runs initialisation through a guarded method, as a client would.
    HRESULT Initialize() { return static_cast<ICapeUtilities *>(package)->Initialize(); }

    // Sets a new in-memory 1.1 material with these compounds as context.
    CMaterial11 *SetContext(const std::vector<std::wstring> &compounds)
    {
        materialRef = CMaterial11::Create(compounds);
        material = materialRef.Get();
        material->logCalls = true;
        EXPECT_EQ(S_OK, package->SetMaterial(material->Interface()));
        return material;
    }

    bool Validate() { return package->ValidateContextMaterial(L"CTest::Calc", L"ICapeTest"); }

    std::vector<std::wstring> Labels(const CVariantArray &list) { return ReadStrings(list.Value()); }

    CScriptedPackage10 *package10 = nullptr;
    ComPtr<ICapeThermoPropertyPackage> package10Ref;
    CPropertyPackage *package = nullptr;
    ComPtr<ICapeThermoCompounds> packageRef;
    CMaterial11 *material = nullptr;
    ComPtr<CMaterial11> materialRef;
};

using StringList = std::vector<std::wstring>;
