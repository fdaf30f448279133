// CMaterial10: a CAPE-OPEN 1.0 material object held in memory, for a 1.0
// client driving a 1.0 property package directly: the example tests, the
// benchmark's "direct" column, a probe that calls 1.0 packages itself. It
// answers its compounds and phases and keeps every value by property, phase
// and basis (see PropertyStore; "" and "mole" stand in for each other, an
// empty phase is "Overall"). The calculation type and compound list of
// GetProp and SetProp are not used: values always cover every compound.
//
// Hooks (ComponentHooks), all off unless set:
// - failures by method name ("GetProp", "SetProp", "get_ComponentIds", ...);
// - rawLists: "compIds" (get_ComponentIds), "phaseIds" (get_PhaseIds), or a
//   property name (its GetProp) answer with the filler's VARIANT;
// - the call log: "GetProp <property> <phase> <calcType> <basis>",
//   "SetProp <property> <phase> <calcType> <basis>", "get_ComponentIds", ...
#pragma once

#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "ComponentHooks.h"
#include "PropertyStore.h"

class CMaterial10 : public CapeObject<ICapeThermoMaterialObject>, public ComponentHooks {
public:
    CMaterial10();

    // A new material object of these compounds and phases; raw (optional)
    // receives the object itself.
    static ComPtr<ICapeThermoMaterialObject> Create(const std::vector<std::wstring> &compounds,
                                                    const std::vector<std::wstring> &phases = {L"Vapor",
                                                                                               L"Liquid"},
                                                    CMaterial10 **raw = nullptr);

    std::vector<std::wstring> compounds;
    std::vector<std::wstring> phases;  // get_PhaseIds answer
    PropertyStore store;

    // Store access with basis as text ("" when not given; mole and "" stand
    // in for each other). Put bypasses every check.
    void Put(const std::wstring &property, const std::wstring &phase, const std::vector<double> &values,
             const std::wstring &basis = L"");
    // The stored values, empty when there are none.
    std::vector<double> Values(const std::wstring &property, const std::wstring &phase,
                               const std::wstring &basis = L"") const;
    bool Has(const std::wstring &property, const std::wstring &phase, const std::wstring &basis = L"") const;
    // The basis the property was last set in ("", "mole" or "mass"), "?" when unset.
    std::wstring BasisOf(const std::wstring &property, const std::wstring &phase) const;
    // Forgets a property of a phase in every basis.
    void Remove(const std::wstring &property, const std::wstring &phase);

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
    IUnknown *MainInterface() override;
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    // With hooks set: logs the call and returns the scripted failure of method.
    HRESULT Hooked(const wchar_t *method, std::wstring call);
    HRESULT NotAvailable(const wchar_t *method);

    std::vector<double> scratch;  // values being set; keeps its capacity between calls
};
