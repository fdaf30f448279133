// Minimal, allocation-light components for the benchmark: a 1.0 package
// whose calculations are trivial, a 1.0 material object to call it directly,
// and a 1.1 material with prebuilt answers. What remains in a measurement is
// the cost of the calls themselves and of the bridge's translation.
#pragma once

#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "VariantArray.h"

// A 1.0 package: CalcProp reads temperature and composition and sets one
// value per requested property; CalcEquilibrium "TP" reads T and P and puts
// everything in the vapour phase.
class CBenchPackage10 : public CapeObject<ICapeThermoPropertyPackage> {
public:
    explicit CBenchPackage10(const std::vector<std::wstring> &compounds);

    STDMETHODIMP GetPhaseList(VARIANT *phases) override;
    STDMETHODIMP GetComponentList(VARIANT *compIds, VARIANT *formulae, VARIANT *name, VARIANT *boilTemps,
                                  VARIANT *molwt, VARIANT *casno) override;
    STDMETHODIMP GetUniversalConstant(IDispatch *, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetComponentConstant(IDispatch *, VARIANT, VARIANT *) override { return ECapeUnknownHR; }
    STDMETHODIMP CalcProp(IDispatch *materialObject, VARIANT props, VARIANT phases, BSTR calcType) override;
    STDMETHODIMP CalcEquilibrium(IDispatch *materialObject, BSTR flashType, VARIANT props) override;
    STDMETHODIMP PropCheck(IDispatch *, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP ValidityCheck(IDispatch *, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropList(VARIANT *props) override;

protected:
    IUnknown *MainInterface() override { return static_cast<ICapeThermoPropertyPackage *>(this); }
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    std::vector<std::wstring> compounds_;
    ScopedBstr temperature_{L"temperature"}, pressure_{L"pressure"}, fraction_{L"fraction"};
    ScopedBstr phaseFraction_{L"phaseFraction"}, mixture_{L"mixture"}, mole_{L"mole"}, vapor_{L"Vapor"};
    ScopedBstr overall_{L"Overall"};
    CVariantArray one_;     // {1.0}
    CVariantArray values_;  // one value per compound
};

// A 1.0 material object answering temperature, pressure and composition
// and accepting any result, for calling the 1.0 package without the bridge.
class CBenchMaterial10 : public CapeObject<ICapeThermoMaterialObject> {
public:
    explicit CBenchMaterial10(const std::vector<std::wstring> &compounds);

    STDMETHODIMP get_ComponentIds(VARIANT *compIds) override;
    STDMETHODIMP get_PhaseIds(VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetUniversalConstant(VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetComponentConstant(VARIANT, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP CalcProp(VARIANT, VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                         VARIANT *results) override;
    STDMETHODIMP SetProp(BSTR, BSTR, VARIANT, BSTR, BSTR, VARIANT) override { return S_OK; }
    STDMETHODIMP CalcEquilibrium(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP SetIndependentVar(VARIANT, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP GetIndependentVar(VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP PropCheck(VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP AvailableProps(VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveResults(VARIANT) override { return S_OK; }
    STDMETHODIMP CreateMaterialObject(IDispatch **) override { return E_NOTIMPL; }
    STDMETHODIMP Duplicate(IDispatch **) override { return E_NOTIMPL; }
    STDMETHODIMP ValidityCheck(VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropList(VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetNumComponents(long *count) override;

protected:
    IUnknown *MainInterface() override { return static_cast<ICapeThermoMaterialObject *>(this); }
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    CVariantArray ids_, scalar_, composition_;
};

// A 1.1 material with prebuilt answers; setters accept and drop values.
class CBenchMaterial11 : public CapeObject<ICapeThermoMaterial, ICapeThermoCompounds> {
public:
    explicit CBenchMaterial11(const std::vector<std::wstring> &compounds);
    // With alternate set, every other compound list comes in reverse order,
    // so the bridge has to map the material's compounds anew on each call.
    bool alternate = false;

    STDMETHODIMP ClearAllProps() override { return S_OK; }
    STDMETHODIMP CopyFromMaterial(IDispatch **) override { return E_NOTIMPL; }
    STDMETHODIMP CreateMaterial(IDispatch **) override { return E_NOTIMPL; }
    STDMETHODIMP GetOverallProp(BSTR property, BSTR basis, VARIANT *results) override;
    STDMETHODIMP GetOverallTPFraction(double *, double *, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetPresentPhases(VARIANT *phaseLabels, VARIANT *phaseStatus) override;
    STDMETHODIMP GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT *results) override;
    STDMETHODIMP GetTPFraction(BSTR, double *, double *, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetTwoPhaseProp(BSTR, VARIANT, BSTR, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP SetOverallProp(BSTR, BSTR, VARIANT) override { return S_OK; }
    STDMETHODIMP SetPresentPhases(VARIANT, VARIANT) override { return S_OK; }
    STDMETHODIMP SetSinglePhaseProp(BSTR, BSTR, BSTR, VARIANT) override { return S_OK; }
    STDMETHODIMP SetTwoPhaseProp(BSTR, VARIANT, BSTR, VARIANT) override { return S_OK; }

    STDMETHODIMP GetCompoundConstant(VARIANT, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps,
                                 VARIANT *molwts, VARIANT *casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetNumCompounds(long *) override { return E_NOTIMPL; }
    STDMETHODIMP GetPDependentProperty(VARIANT, double, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetPDependentPropList(VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetTDependentProperty(VARIANT, double, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetTDependentPropList(VARIANT *) override { return E_NOTIMPL; }

protected:
    IUnknown *MainInterface() override { return static_cast<ICapeThermoMaterial *>(this); }
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    CVariantArray ids_, reversedIds_, phases_, statuses_, scalar_, composition_;
    bool reversedNext_ = false;
};
