// CMaterialObject: the CAPE-OPEN 1.0 material object the system gives to a
// 1.0 package. It holds no thermodynamic state: every question is answered
// from the calculation its package prepared, or from the 1.1 context
// material, and every result goes back there.
//
//   MaterialObject.cpp   identity, ComponentIds, PhaseIds, the rest
//   MaterialGetProp.cpp  GetProp
//   MaterialSetProp.cpp  SetProp
#pragma once

#include <cstdint>
#include <string>

#include "CapeOpenBaseObject.h"
#include "VariantArray.h"

class CPropertyPackage;
struct PropertyRow;

// Calculation in progress, set by the package before each 1.0 call.
enum MaterialCalcMode : uint32_t {
    CalcModePure = 0,          // T- or P-dependent compound property
    CalcModeSinglePhase = 1,   // CalcSinglePhaseProp
    CalcModeTwoPhase = 2,      // CalcTwoPhaseProp
    CalcModeEquilibrium = 3,   // CalcEquilibrium
    CalcModeLnPhi = 4,         // CalcAndGetLnPhi
    CalcModeNone = 0xFFFFFFFF, // idle: no calculation in progress
};

class CMaterialObject : public CapeObject<ICapeThermoMaterialObject> {
public:
    CMaterialObject();

    // ICapeThermoMaterialObject (CAPE-OPEN 1.0)
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
    STDMETHODIMP ValidityCheck(VARIANT props, VARIANT *relList) override;
    STDMETHODIMP GetPropList(VARIANT *props) override;
    STDMETHODIMP GetNumComponents(long *numComp) override;

    uint32_t calcMode = CalcModeNone;
    // The owning package; not counted. The package clears it when it goes,
    // so a 1.0 package that keeps this object gets clean failures.
    CPropertyPackage *package = nullptr;

    // Checks a compIds argument of GetProp/SetProp: empty, or every compound
    // of the material in its order. On false, error holds the message.
    bool CheckCompoundList(const VARIANT &compIds, std::wstring &error) const;
    // The mole numbers of the fugacity calculation in progress, checked as
    // one double per compound, and their total. On false, error says why.
    bool ReadMoleNumbers(CVariantArray &moles, double &total, std::wstring &error) const;

protected:
    IUnknown *MainInterface() override;
    IUnknown *FindOwnInterface(REFIID riid) override;
};

// The row of flow or totalFlow, amounts a 1.0 package may read or set although
// the package keeps no record of them; null for any other name.
const PropertyRow *AmountRow(const wchar_t *property);

// The mode of one calculation for as long as the package calls the 1.0
// package; afterwards the object is idle again, whatever way the call ended,
// so that a 1.0 package calling back later reaches nothing of it.
class CalcModeScope {
public:
    CalcModeScope(CMaterialObject *object, uint32_t mode) : object_(object)
    {
        if (object_) object_->calcMode = mode;
    }
    ~CalcModeScope()
    {
        if (object_) object_->calcMode = CalcModeNone;
    }
    CalcModeScope(const CalcModeScope &) = delete;
    CalcModeScope &operator=(const CalcModeScope &) = delete;

private:
    CMaterialObject *object_;
};
