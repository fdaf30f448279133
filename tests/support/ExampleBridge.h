// The package tests' fixture with the example thermo system behind the
// scripted package: every call the script is not scripted for goes to the
// example's ideal package, so the numbers are the example's own;
// UseScriptedLists makes it a plain scripted package instead. The package
// initialises on its first call: tests adjust the script until then.
#pragma once

#include "ExamplePropertyPackage.h"
#include "PackageCoreFixture.h"

class ExampleBridge : public PackageCoreTest {
protected:
    ExampleBridge()
    {
        ComPtr<ICapeThermoPropertyPackage> example;
        EXPECT_EQ(S_OK, CreateComObject<CExamplePropertyPackage>(nullptr, __uuidof(ICapeThermoPropertyPackage),
                                                                  example.ReceiveVoid()));
        static_cast<CExamplePropertyPackage *>(static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(example.Get()))
            ->SetModel(ExampleModel::Ideal);
        Script().inner = example;
        SetContext({L"n-pentane", L"n-hexane"});
    }

    // No example package: the material's compounds with these molecular
    // weights, phases Vapor and Liquid and the example's property list.
    void UseScriptedLists(const std::vector<double> &molecularWeights)
    {
        ScopedVariant props;
        Script().inner->GetPropList(props.Get());
        Script().propList = ReadStrings(props.Value());
        Script().inner.Reset();
        Script().compoundIds = material->compounds.ids;
        Script().molecularWeights = molecularWeights;
    }

    // The overall state a flash reads; a temperature or pressure of 0 is left unset.
    void PutFeed(const std::vector<double> &z, double temperature, double pressure)
    {
        material->Put(L"fraction", L"Overall", L"mole", z);
        if (temperature > 0.0) material->Put(L"temperature", L"Overall", L"", {temperature});
        if (pressure > 0.0) material->Put(L"pressure", L"Overall", L"", {pressure});
    }
};
