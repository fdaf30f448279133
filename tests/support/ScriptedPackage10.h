// CScriptedPackage10: a CAPE-OPEN 1.0 property package whose answers a test
// scripts. It logs every call with its arguments, keeps the material object
// it last received, and fails on request with its own error text.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "TestVariants.h"

class CScriptedPackage10;

struct ScriptedFailure {
    HRESULT code = ECapeUnknownHR;
    std::wstring description;  // recorded on the package's ECapeUser
};

struct ScriptedPackage10Script {
    // Compounds, one entry per compound in package order.
    std::vector<std::wstring> compoundIds, formulae, names, casNumbers;
    std::vector<double> boilingPoints, molecularWeights;  // K, g/mol
    std::vector<std::wstring> phases;
    std::vector<std::wstring> propList;  // GetPropList answer

    // Compound constants: property name (case ignored) -> compound id (case
    // ignored) -> value. A missing entry makes GetComponentConstant fail.
    std::map<std::wstring, std::map<std::wstring, OwnedVariant>> constants;

    bool hasUtilities = true;
    bool hasPersistStreamInit = false;

    // Failures by method name ("GetComponentList", "Initialize", "Edit", ...).
    std::map<std::wstring, ScriptedFailure> failures;

    // Raw answers for odd types, by list name: "compIds", "formulae", "names",
    // "boilTemps", "molwt", "casno", "phases", "props". The filler writes the
    // out VARIANT (already VT_EMPTY) in place of the scripted list.
    std::map<std::wstring, std::function<void(VARIANT *)>> rawLists;

    // Calculation hooks; without one the call succeeds and does nothing.
    std::function<HRESULT(CScriptedPackage10 &, ICapeThermoMaterialObject *, const std::vector<std::wstring> &props,
                          const std::vector<std::wstring> &phases, const std::wstring &calcType)>
        onCalcProp;
    std::function<HRESULT(CScriptedPackage10 &, ICapeThermoMaterialObject *, const std::wstring &flashType)>
        onCalcEquilibrium;
    // Replaces the constants table when set.
    std::function<HRESULT(CScriptedPackage10 &, ICapeThermoMaterialObject *, const std::vector<std::wstring> &props,
                          VARIANT *propVals)>
        onGetComponentConstant;
    // Runs inside Edit (after logging), e.g. to change the compounds.
    std::function<void(CScriptedPackage10 &)> onEdit;

    ComPtr<IDispatch> parameters;  // get_parameters answer
};

class CScriptedPackage10 : public CapeObject<ICapeThermoPropertyPackage, ICapeUtilities>,
                           public IPersistStreamInit {
public:
    CScriptedPackage10();
    ~CScriptedPackage10() override;

    ScriptedPackage10Script script;
    std::vector<std::wstring> calls;
    ComPtr<ICapeThermoMaterialObject> lastMaterial;
    ComPtr<IDispatch> simulationContext;
    // Set by the destructor when given, so tests can see the object go.
    bool *destroyedFlag = nullptr;

    // Records a failure on this package's error interfaces; returns code.
    HRESULT FailWith(HRESULT code, const std::wstring &description, const wchar_t *method);
    // Number of logged calls that start with prefix.
    int CountCalls(const std::wstring &prefix) const;

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override { return CapeObject::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return CapeObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CapeObject::Release(); }

    // ICapeThermoPropertyPackage (1.0)
    STDMETHODIMP GetPhaseList(VARIANT *phases) override;
    STDMETHODIMP GetComponentList(VARIANT *compIds, VARIANT *formulae, VARIANT *name, VARIANT *boilTemps,
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

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID *classId) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream *stream) override;
    STDMETHODIMP Save(IStream *stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER *size) override;
    STDMETHODIMP InitNew() override;

protected:
    IUnknown *MainInterface() override;
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    // The scripted failure of method, recorded; S_OK when none.
    HRESULT ScriptedResult(const wchar_t *method);
    void Remember(IDispatch *materialObject);
    void FillList(const wchar_t *listName, VARIANT *out, const std::vector<std::wstring> &items);
    void FillList(const wchar_t *listName, VARIANT *out, const std::vector<double> &items);
};

// The CLSID GetClassID reports.
extern const CLSID CLSID_ScriptedPackage10;

// A new scripted package; raw (optional) receives the object itself.
ComPtr<ICapeThermoPropertyPackage> CreateScriptedPackage10(CScriptedPackage10 **raw = nullptr);
