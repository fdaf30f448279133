// Meters put between a package and a material: every call is passed on
// unchanged, counted, and the time spent inside the material added up. They
// keep no state of their own, so the material behind them answers as it
// would without them.
#pragma once

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"

struct MeterReading {
    long long calls = 0;
    long long ticks = 0;        // time-stamp ticks spent inside the material
    long long allocations = 0;  // made inside the material (see Allocations.h)
};

// In front of a CAPE-OPEN 1.1 material (both of its interfaces).
class CMaterial11Meter : public CapeObject<ICapeThermoMaterial, ICapeThermoCompounds> {
public:
    static ComPtr<CMaterial11Meter> Create(ICapeThermoMaterial *material);
    ICapeThermoMaterial *Interface() { return static_cast<DispatchPart<ICapeThermoMaterial> *>(this); }
    MeterReading reading;

    STDMETHODIMP ClearAllProps() override;
    STDMETHODIMP CopyFromMaterial(IDispatch **source) override;
    STDMETHODIMP CreateMaterial(IDispatch **materialObject) override;
    STDMETHODIMP GetOverallProp(BSTR property, BSTR basis, VARIANT *results) override;
    STDMETHODIMP GetOverallTPFraction(double *temperature, double *pressure, VARIANT *composition) override;
    STDMETHODIMP GetPresentPhases(VARIANT *phaseLabels, VARIANT *phaseStatus) override;
    STDMETHODIMP GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT *results) override;
    STDMETHODIMP GetTPFraction(BSTR phaseLabel, double *temperature, double *pressure,
                               VARIANT *composition) override;
    STDMETHODIMP GetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT *results) override;
    STDMETHODIMP SetOverallProp(BSTR property, BSTR basis, VARIANT values) override;
    STDMETHODIMP SetPresentPhases(VARIANT phaseLabels, VARIANT phaseStatus) override;
    STDMETHODIMP SetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT values) override;
    STDMETHODIMP SetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT values) override;

    STDMETHODIMP GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT *propVals) override;
    STDMETHODIMP GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps,
                                 VARIANT *molwts, VARIANT *casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT *props) override;
    STDMETHODIMP GetNumCompounds(long *num) override;
    STDMETHODIMP GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds,
                                       VARIANT *propVals) override;
    STDMETHODIMP GetPDependentPropList(VARIANT *props) override;
    STDMETHODIMP GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds,
                                       VARIANT *propVals) override;
    STDMETHODIMP GetTDependentPropList(VARIANT *props) override;

protected:
    IUnknown *MainInterface() override { return Interface(); }
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    ComPtr<ICapeThermoMaterial> material_;
    ComPtr<ICapeThermoCompounds> compounds_;
};

// In front of a CAPE-OPEN 1.0 material object.
class CMaterial10Meter : public CapeObject<ICapeThermoMaterialObject> {
public:
    static ComPtr<CMaterial10Meter> Create(ICapeThermoMaterialObject *material);
    ICapeThermoMaterialObject *Interface() { return static_cast<DispatchPart<ICapeThermoMaterialObject> *>(this); }
    MeterReading reading;

    STDMETHODIMP get_ComponentIds(VARIANT *compIds) override;
    STDMETHODIMP get_PhaseIds(VARIANT *phaseIds) override;
    STDMETHODIMP GetUniversalConstant(VARIANT props, VARIANT *propVals) override;
    STDMETHODIMP GetComponentConstant(VARIANT props, VARIANT compIds, VARIANT *propVals) override;
    STDMETHODIMP CalcProp(VARIANT props, VARIANT phases, BSTR calcType) override;
    STDMETHODIMP GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                         VARIANT *results) override;
    STDMETHODIMP SetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                         VARIANT values) override;
    STDMETHODIMP CalcEquilibrium(BSTR flashType, VARIANT props) override;
    STDMETHODIMP SetIndependentVar(VARIANT indVars, VARIANT values) override;
    STDMETHODIMP GetIndependentVar(VARIANT indVars, VARIANT *values) override;
    STDMETHODIMP PropCheck(VARIANT props, VARIANT *valid) override;
    STDMETHODIMP AvailableProps(VARIANT *props) override;
    STDMETHODIMP RemoveResults(VARIANT props) override;
    STDMETHODIMP CreateMaterialObject(IDispatch **materialObject) override;
    STDMETHODIMP Duplicate(IDispatch **clone) override;
    STDMETHODIMP ValidityCheck(VARIANT props, VARIANT *valid) override;
    STDMETHODIMP GetPropList(VARIANT *props) override;
    STDMETHODIMP GetNumComponents(long *count) override;

protected:
    IUnknown *MainInterface() override { return Interface(); }
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    ComPtr<ICapeThermoMaterialObject> material_;
};
