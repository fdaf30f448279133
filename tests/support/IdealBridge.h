// A property package over a scripted 1.0 package that calculates with the
// ideal-mixture model, and a scripted 1.1 material set as its context: the
// whole road of a calculation, with both ends inspectable.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "IdealMixtureModel.h"
#include "PropertyPackage.h"
#include "ScriptedMaterial11.h"
#include "ScriptedPackage10.h"
#include "TestVariants.h"

struct IdealBridge {
    IdealMixtureModel model;
    CScriptedPackage10 *package10 = nullptr;
    ComPtr<ICapeThermoPropertyPackage> package10Ref;
    CPropertyPackage *package = nullptr;
    ComPtr<ICapeThermoCompounds> packageRef;
    CScriptedMaterial11 *material = nullptr;
    ComPtr<ICapeThermoMaterial> materialRef;

    explicit IdealBridge(size_t compoundCount = 2) : model(compoundCount)
    {
        package10Ref = CreateScriptedPackage10(&package10);
        model.Install(package10->script);
        materialRef = CreateScriptedMaterial11(&material);
        material->compoundIds = model.Ids();
        material->presentPhases = {L"Vapor", L"Liquid"};
    }

    // Creates the package (after the test adjusted the scripts) and sets the
    // material as its context.
    void Start()
    {
        ASSERT_EQ(S_OK, CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds),
                                                           reinterpret_cast<void **>(packageRef.Receive())));
        package = static_cast<CPropertyPackage *>(packageRef.Get());
        package->package10 = package10Ref;
        ASSERT_EQ(S_OK, package->SetMaterial(materialRef.Get()));
    }

    // The overall state a flash reads.
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

// A flash condition list such as {"Temperature", "", "overall"}.
inline OwnedVariant FlashCondition(const std::vector<std::wstring> &items)
{
    return OwnedVariant::Adopt(MakeStringArray(items));
}

inline OwnedVariant Strings(const std::vector<std::wstring> &items)
{
    return OwnedVariant::Adopt(MakeStringArray(items));
}

inline OwnedVariant Doubles(const std::vector<double> &items)
{
    return OwnedVariant::Adopt(MakeDoubleArray(items));
}
