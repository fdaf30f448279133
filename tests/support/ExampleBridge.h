// A property package over a scripted 1.0 package, with an in-memory 1.1
// material as its context: the whole road of a calculation, with both ends
// inspectable and logging their calls. The scripted package hands every call
// it is not scripted for to the example thermo system's ideal package, so the
// numbers are the example's own; UseScriptedLists makes it a plain scripted
// package instead. The package initialises on its first call: tests adjust
// the script until then.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ExamplePropertyPackage.h"
#include "Material11.h"
#include "PropertyPackage.h"
#include "ScriptedPackage10.h"
#include "TestVariants.h"

struct ExampleBridge {
    CScriptedPackage10 *package10 = nullptr;
    ComPtr<ICapeThermoPropertyPackage> package10Ref;
    CPropertyPackage *package = nullptr;
    ComPtr<ICapeThermoCompounds> packageRef;
    ComPtr<CMaterial11> materialRef;
    CMaterial11 *material = nullptr;

    // A material of these compounds, phases Vapor and Liquid present, as context.
    explicit ExampleBridge(const std::vector<std::wstring> &compounds)
    {
        package10Ref = CreateScriptedPackage10(&package10);
        package10->script.logCalls = true;
        ComPtr<ICapeThermoPropertyPackage> example;
        EXPECT_EQ(S_OK, CreateComObject<CExamplePropertyPackage>(nullptr, __uuidof(ICapeThermoPropertyPackage),
                                                                  example.ReceiveVoid()));
        static_cast<CExamplePropertyPackage *>(static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(example.Get()))
            ->SetModel(ExampleModel::Ideal);
        package10->script.inner = example;
        materialRef = CMaterial11::Create(compounds);
        material = materialRef.Get();
        material->logCalls = true;
        material->presentPhases = {L"Vapor", L"Liquid"};
        material->phaseStatuses = {CAPE_UNKNOWNPHASESTATUS, CAPE_UNKNOWNPHASESTATUS};
        EXPECT_EQ(S_OK, CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds),
                                                           packageRef.ReceiveVoid()));
        package = static_cast<CPropertyPackage *>(packageRef.Get());
        package->package10 = package10Ref;
        EXPECT_EQ(S_OK, package->SetMaterial(material->Interface()));
    }

    // No example package: the material's compounds with these molecular
    // weights, phases Vapor and Liquid and the example's property list.
    void UseScriptedLists(const std::vector<double> &molecularWeights)
    {
        ScopedVariant props;
        package10->script.inner->GetPropList(props.Get());
        package10->script.propList = ReadStrings(props.Value());
        package10->script.inner.Reset();
        package10->script.compoundIds = material->compounds.ids;
        package10->script.molecularWeights = molecularWeights;
        package10->script.phases = {L"Vapor", L"Liquid"};
    }

    // The overall state a flash reads; a temperature or pressure of 0 is left unset.
    void PutFeed(const std::vector<double> &z, double temperature, double pressure)
    {
        material->Put(L"fraction", L"Overall", L"mole", z);
        if (temperature > 0.0) material->Put(L"temperature", L"Overall", L"", {temperature});
        if (pressure > 0.0) material->Put(L"pressure", L"Overall", L"", {pressure});
    }

    // The state of one phase a property calculation reads.
    void PutPhase(const wchar_t *phase, const std::vector<double> &x, double temperature, double pressure)
    {
        material->Put(L"fraction", phase, L"mole", x);
        material->Put(L"temperature", phase, L"", {temperature});
        material->Put(L"pressure", phase, L"", {pressure});
    }

    std::wstring Error() const { return package->ErrorDescription(); }
};

// The example's compound data of an identifier.
inline const CompoundData &Compound(const wchar_t *id)
{
    const CompoundData *found = FindCompound(id);
    EXPECT_NE(nullptr, found) << "unknown compound";
    return found ? *found : KnownCompounds[0];
}

// Each element within relative * |expected| (plus absolute) of the expected one.
inline void ExpectNear(const std::vector<double> &expected, const std::vector<double> &actual, double relative,
                       double absolute = 0.0)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(expected[i], actual[i], relative * std::fabs(expected[i]) + absolute) << "element " << i;
}
