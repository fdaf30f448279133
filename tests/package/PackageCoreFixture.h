// A CPropertyPackage over a scripted 1.0 package, as the manager would hand
// it out, with a default script of two compounds and two phases that tests
// adjust before the package is first used.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PropertyPackage.h"
#include "ScriptedMaterial11.h"
#include "ScriptedPackage10.h"
#include "TestVariants.h"

class PackageCoreTest : public testing::Test {
protected:
    PackageCoreTest()
    {
        package10Ref = CreateScriptedPackage10(&package10);
        ScriptedPackage10Script &script = package10->script;
        script.compoundIds = {L"methane", L"ethane"};
        script.formulae = {L"CH4", L"C2H6"};
        script.names = {L"Methane", L"Ethane"};
        script.boilingPoints = {111.66, 184.55};
        script.molecularWeights = {16.043, 30.069};
        script.casNumbers = {L"74-82-8", L"74-84-0"};
        script.phases = {L"Vapor", L"Liquid"};
        EXPECT_EQ(S_OK, CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds),
                                                           packageRef.ReceiveVoid()));
        package = static_cast<CPropertyPackage *>(packageRef.Get());
        package->package10 = package10Ref;
    }

    ScriptedPackage10Script &Script() { return package10->script; }

    // Runs initialisation through a guarded method, as a client would.
    HRESULT Initialize() { return static_cast<ICapeUtilities *>(package)->Initialize(); }

    // Sets a new scripted 1.1 material with these compounds as context.
    CScriptedMaterial11 *SetContext(const std::vector<std::wstring> &compounds)
    {
        materialRef = CreateScriptedMaterial11(&material);
        material->compoundIds = compounds;
        EXPECT_EQ(S_OK, package->SetMaterial(materialRef.Get()));
        return material;
    }

    bool Validate() { return package->ValidateContextMaterial(L"CTest::Calc", L"ICapeTest"); }

    std::vector<std::wstring> Labels(const CVariantArray &list) { return ReadStrings(list.Value()); }

    CScriptedPackage10 *package10 = nullptr;
    ComPtr<ICapeThermoPropertyPackage> package10Ref;
    CPropertyPackage *package = nullptr;
    ComPtr<ICapeThermoCompounds> packageRef;
    CScriptedMaterial11 *material = nullptr;
    ComPtr<ICapeThermoMaterial> materialRef;
};

using StringList = std::vector<std::wstring>;
