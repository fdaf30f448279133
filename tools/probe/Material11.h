// CMaterial11: the probe's own CAPE-OPEN 1.1 material, held in memory. It
// carries a fixed compound list and the phases of one package, and keeps
// whatever overall, single-phase and two-phase values are set on it. The
// compound interface answers only the list: this material has no package
// of its own to calculate with.
#pragma once

#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "CompoundTable.h"
#include "PropertyStore.h"

class CMaterial11 : public CapeObject<ICapeThermoMaterial, ICapeThermoCompounds> {
public:
    CMaterial11();

    // A new material with these compounds and phase labels (no phase present).
    static HRESULT Create(const CompoundTable &compounds, const std::vector<std::wstring> &phases,
                          ComPtr<CMaterial11> &material);

    const PropertyStore &Store() const { return store; }
    const std::vector<std::wstring> &PresentPhases() const { return presentPhases; }
    const std::vector<std::wstring> &AllPhases() const { return phases; }
    const CompoundTable &Compounds() const { return compounds; }

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

    CompoundTable compounds;
    std::vector<std::wstring> phases;
    std::vector<std::wstring> presentPhases;
    std::vector<long> presentStatus;
    PropertyStore store;
    std::vector<double> scratch;  // values being set; keeps its capacity between calls
};
