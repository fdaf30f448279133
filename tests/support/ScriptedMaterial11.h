// CScriptedMaterial11: a CAPE-OPEN 1.1 material a test fills and inspects.
// It stores property values per (property, phase or "Overall", basis), names
// compared without regard to case, logs every call and fails on request
// with its own error text.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "ScriptedPackage10.h"
#include "TestVariants.h"

class CScriptedMaterial11 : public CapeObject<ICapeThermoMaterial, ICapeThermoCompounds> {
public:
    CScriptedMaterial11();

    std::vector<std::wstring> compoundIds;
    std::vector<std::wstring> presentPhases;
    std::vector<LONG> phaseStatuses;  // CapePhaseStatus per present phase
    // Failures by method name ("GetCompoundList", "SetSinglePhaseProp", ...).
    std::map<std::wstring, ScriptedFailure> failures;
    // Raw answers for odd types: "compIds" (GetCompoundList) and
    // "phaseLabels" (GetPresentPhases) fill the out VARIANT themselves.
    std::map<std::wstring, std::function<void(VARIANT *)>> rawLists;
    std::vector<std::wstring> calls;
    bool hasCompounds = true;  // answers QueryInterface for ICapeThermoCompounds

    // The store. phase is a label, "Overall", or two labels joined by ",".
    void Put(const std::wstring &property, const std::wstring &phase, const std::wstring &basis,
             const std::vector<double> &values);
    void PutVariant(const std::wstring &property, const std::wstring &phase, const std::wstring &basis,
                    const VARIANT &value);
    bool Has(const std::wstring &property, const std::wstring &phase, const std::wstring &basis) const;
    // The stored doubles (empty when absent or not doubles).
    std::vector<double> Values(const std::wstring &property, const std::wstring &phase,
                               const std::wstring &basis) const;
    const VARIANT *Stored(const std::wstring &property, const std::wstring &phase, const std::wstring &basis) const;
    size_t StoredCount() const { return store.size(); }
    int CountCalls(const std::wstring &prefix) const;

    // ICapeThermoMaterial
    STDMETHODIMP ClearAllProps() override;
    STDMETHODIMP CopyFromMaterial(IDispatch **source) override;
    STDMETHODIMP CreateMaterial(IDispatch **materialObject) override;
    STDMETHODIMP GetOverallProp(BSTR property, BSTR basis, VARIANT *results) override;
    STDMETHODIMP GetOverallTPFraction(double *temperature, double *pressure, VARIANT *composition) override;
    STDMETHODIMP GetPresentPhases(VARIANT *phaseLabels, VARIANT *phaseStatus) override;
    STDMETHODIMP GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT *results) override;
    STDMETHODIMP GetTPFraction(BSTR phaseLabel, double *temperature, double *pressure, VARIANT *composition) override;
    STDMETHODIMP GetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT *results) override;
    STDMETHODIMP SetOverallProp(BSTR property, BSTR basis, VARIANT values) override;
    STDMETHODIMP SetPresentPhases(VARIANT phaseLabels, VARIANT phaseStatus) override;
    STDMETHODIMP SetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT values) override;
    STDMETHODIMP SetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT values) override;

    // ICapeThermoCompounds
    STDMETHODIMP GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT *propVals) override;
    STDMETHODIMP GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps,
                                 VARIANT *molwts, VARIANT *casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT *props) override;
    STDMETHODIMP GetNumCompounds(long *num) override;
    STDMETHODIMP GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT *propVals) override;
    STDMETHODIMP GetPDependentPropList(VARIANT *props) override;
    STDMETHODIMP GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds,
                                       VARIANT *propVals) override;
    STDMETHODIMP GetTDependentPropList(VARIANT *props) override;

protected:
    IUnknown *MainInterface() override;
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    static std::wstring Key(const std::wstring &property, const std::wstring &phase, const std::wstring &basis);
    HRESULT ScriptedResult(const wchar_t *method);
    HRESULT Get(const wchar_t *method, BSTR property, const std::wstring &phase, BSTR basis, VARIANT *results);
    HRESULT Set(const wchar_t *method, BSTR property, const std::wstring &phase, BSTR basis, const VARIANT &values);
    HRESULT GetTP(const wchar_t *method, const std::wstring &phase, double *temperature, double *pressure,
                  VARIANT *composition);
    HRESULT NotScripted(const wchar_t *method);

    std::map<std::wstring, OwnedVariant> store;
};

// A new scripted material; raw (optional) receives the object itself.
ComPtr<ICapeThermoMaterial> CreateScriptedMaterial11(CScriptedMaterial11 **raw = nullptr);
