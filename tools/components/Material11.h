// CMaterial11: a CAPE-OPEN 1.1 material held in memory, the one the probe
// hands to packages, the benchmark measures the bridge with and the tests
// inspect. It carries a compound table and the phase labels of one package,
// and keeps whatever overall, single-phase and two-phase values are set on it
// (see PropertyStore). The compound interface answers only the list: the
// material has no package of its own to calculate with.
//
// Clients' input is checked: phases must be among `phases`, single-phase
// values go only to present phases, values must be lists of doubles. Tests
// reach past the checks with Put and by setting the public members directly.
//
// Hooks (ComponentHooks), all off unless set:
// - failures by method name ("GetCompoundList", "SetSinglePhaseProp", ...),
//   returned before the method does anything;
// - rawLists: "compIds" (GetCompoundList), "phaseLabels" (GetPresentPhases),
//   or a property name (its Get*Prop) answer with the filler's VARIANT;
// - the call log: "GetOverallProp <property> Overall <basis>",
//   "SetSinglePhaseProp <property> <phase> <basis>", "SetPresentPhases [..]",
//   "GetCompoundList", ...
#pragma once

#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "ComponentHooks.h"
#include "CompoundTable.h"
#include "PropertyStore.h"

class CMaterial11 : public CapeObject<ICapeThermoMaterial, ICapeThermoCompounds>, public ComponentHooks {
public:
    CMaterial11();

    // A new material with these compounds and phase labels (no phase present).
    static HRESULT Create(const CompoundTable &compounds, const std::vector<std::wstring> &phases,
                          ComPtr<CMaterial11> &material);
    // The same for compound identifiers only (the other compound lists are
    // answered empty), with phases "Vapor" and "Liquid" unless given.
    static ComPtr<CMaterial11> Create(const std::vector<std::wstring> &compoundIds,
                                      const std::vector<std::wstring> &phases = {L"Vapor", L"Liquid"});

    // The material's state, public for tests and the probe to read and set.
    CompoundTable compounds;
    std::vector<std::wstring> phases;         // every phase label of the package
    std::vector<std::wstring> presentPhases;  // in the order they were made present
    std::vector<long> phaseStatuses;          // CapePhaseStatus per present phase
    PropertyStore store;
    bool hasCompounds = true;                 // answers QueryInterface for ICapeThermoCompounds

    // Test access to the store. phase is a label, "Overall" or a pair
    // "Vapor,Liquid"; basis "", "mole" or "mass" (mole and "" stand in for
    // each other). Put bypasses every check.
    void Put(const std::wstring &property, const std::wstring &phase, const std::wstring &basis,
             const std::vector<double> &values);
    // The stored values, empty when there are none.
    std::vector<double> Values(const std::wstring &property, const std::wstring &phase,
                               const std::wstring &basis) const;
    bool Has(const std::wstring &property, const std::wstring &phase, const std::wstring &basis) const;

    // The material's main interface, as clients receive it.
    ICapeThermoMaterial *Interface() { return static_cast<DispatchPart<ICapeThermoMaterial> *>(this); }

    // ICapeThermoMaterial
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

    // ICapeThermoCompounds
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
    IUnknown *MainInterface() override;
    IUnknown *FindOwnInterface(REFIID riid) override;
    HRESULT QueryFurtherInterface(REFIID riid, void **ppv) override;

private:
    // With hooks set: logs the call and returns the scripted failure of method.
    HRESULT Hooked(const wchar_t *method, std::wstring call);
    // The package's spelling of a phase label, or null when it has no such phase.
    const std::wstring *KnownPhase(const wchar_t *label) const;
    bool IsPresent(const std::wstring &label) const;
    HRESULT ReadTPFraction(const wchar_t *phase, double *temperature, double *pressure, VARIANT *composition,
                           const wchar_t *scope);
    HRESULT ReadValues(const wchar_t *phase, BSTR property, BSTR basis, VARIANT *results, const wchar_t *scope);
    HRESULT StoreValues(const wchar_t *phase, BSTR property, BSTR basis, const VARIANT &values,
                        const wchar_t *scope);
    // The phase pair of a two-phase call, checked against the package's phases.
    bool ReadPhasePair(const VARIANT &phaseLabels, std::wstring &pair, std::wstring &error) const;

    std::vector<double> scratch;  // values being set; keeps its capacity between calls
};
