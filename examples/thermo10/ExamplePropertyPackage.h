// A CAPE-OPEN 1.0 property package of the example thermo system: the
// Peng-Robinson or the ideal model over the compounds of the material object
// it is handed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "Flash.h"
#include "MaterialAccess.h"
#include "PropertyCatalog.h"
#include "ThermoModel.h"

enum class ExampleModel { PengRobinson, Ideal };

class CExamplePropertyPackage : public CapeObject<ICapeThermoPropertyPackage, ICapeUtilities> {
public:
    CExamplePropertyPackage();
    // Chooses the model; called once, right after creation.
    void SetModel(ExampleModel kind);

    // ICapeThermoPropertyPackage
    STDMETHODIMP GetPhaseList(VARIANT *phases) override;
    STDMETHODIMP GetComponentList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps,
                                  VARIANT *molwt, VARIANT *casno) override;
    STDMETHODIMP GetUniversalConstant(IDispatch *materialObject, VARIANT props, VARIANT *propVals) override;
    STDMETHODIMP GetComponentConstant(IDispatch *materialObject, VARIANT props, VARIANT *propVals) override;
    STDMETHODIMP CalcProp(IDispatch *materialObject, VARIANT props, VARIANT phases, BSTR calcType) override;
    STDMETHODIMP CalcEquilibrium(IDispatch *materialObject, BSTR flashType, VARIANT props) override;
    STDMETHODIMP PropCheck(IDispatch *materialObject, VARIANT props, VARIANT *valid) override;
    STDMETHODIMP ValidityCheck(IDispatch *materialObject, VARIANT props, VARIANT *valid) override;
    STDMETHODIMP GetPropList(VARIANT *props) override;

    // ICapeUtilities
    STDMETHODIMP get_parameters(IDispatch **parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch *context) override;
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;

protected:
    IUnknown *MainInterface() override
    {
        return static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(this);
    }
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    // Makes the model match the compounds of the current material.
    void UseCompounds(const std::vector<int> &indices);
    bool CalcPure(const std::vector<const PropertyInfo *> &requested, std::vector<ScopedBstr> &names,
                  BSTR phase, std::wstring &error);
    bool CalcSinglePhase(const std::vector<const PropertyInfo *> &requested, std::vector<ScopedBstr> &names,
                         BSTR phase, std::wstring &error);
    bool CalcTwoPhase(const std::vector<const PropertyInfo *> &requested, std::vector<ScopedBstr> &names,
                      BSTR phase, std::wstring &error);
    bool RunFlash(const wchar_t *flashType, std::wstring &error);
    bool WriteFlashResult(std::wstring &error);

    ExampleModel kind = ExampleModel::PengRobinson;
    std::unique_ptr<ThermoModel> model;
    std::unique_ptr<Flash> flash;
    std::vector<int> modelIndices;
    MaterialAccess material;
    std::vector<int> indices;
    PhaseState state, other;
    FlashResult flashResult;
    std::vector<double> x, y, values;

    // Fixed names used on every call.
    ScopedBstr temperature{L"temperature"}, pressure{L"pressure"}, fraction{L"fraction"},
        phaseFraction{L"phaseFraction"}, enthalpy{L"enthalpy"}, entropy{L"entropy"}, mixture{L"mixture"},
        pure{L"pure"}, mole{L"mole"}, overall{L"Overall"}, vapor{L"Vapor"}, liquid{L"Liquid"};
};
