// CScriptedPackage10: the scriptable CAPE-OPEN 1.0 property package of the
// tests, the test thermo systems and the benchmark. What it answers comes
// from its script:
// - lists (compounds, phases, properties) and compound constants as data;
// - calculations from a hook, else from the wrapped package (`inner`, e.g.
//   one of the example's packages), else from the trivial calculation when
//   `trivial` is set, else nothing (success without results);
// - failures, raw answers and the call log as ComponentHooks of the script; a
//   "failure" with a success code other than S_OK (S_FALSE, say) makes the
//   method return that code at once, without results;
// - queries answered with success and no object (`nullAnswers`).
// Raw answer names: "compIds", "formulae", "names", "boilTemps", "molwt",
// "casno" (GetComponentList), "phases" (GetPhaseList), "props" (GetPropList).
// Log lines: "CalcProp [props] [phases] <calcType>", "CalcEquilibrium <type>
// [props]", "GetComponentConstant <prop>... [compounds]", and the bare method
// name for the others.
//
// With no hook set, CalcProp and CalcEquilibrium build no text and look
// nothing up: the trivial calculation is what the benchmark times.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "ComponentHooks.h"
#include "VariantArray.h"

class CScriptedPackage10;

struct ScriptedPackage10Script : ComponentHooks {
    // Compounds, one entry per compound in package order.
    std::vector<std::wstring> compoundIds, formulae, names, casNumbers;
    std::vector<double> boilingPoints, molecularWeights;  // K, g/mol
    std::vector<std::wstring> phases;
    std::vector<std::wstring> propList;  // GetPropList answer

    // Compound constants: property name -> compound id -> value (names
    // compared without regard to case). A missing entry fails the call.
    std::map<std::wstring, std::map<std::wstring, double>> constants;

    bool hasUtilities = true;
    bool hasPersistStreamInit = false;
    // Interfaces whose QueryInterface answers S_OK with a null object.
    std::vector<IID> nullAnswers;

    // Every call the script does not answer itself goes to this package
    // (lists included), and its failures come back with its error text.
    ComPtr<ICapeThermoPropertyPackage> inner;
    // Without hook and inner package: CalcProp reads temperature and
    // composition of the phase and sets 1.0 per property (0.5 per compound
    // for fugacity coefficients and their derivatives); CalcEquilibrium reads
    // T, P and composition and puts the whole feed in the phase "Vapor".
    bool trivial = false;

    // Calculation hooks; they replace the inner package and the trivial calculation.
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

    // The package of methane and ethane, phases Vapor and Liquid, that the
    // test thermo systems hand out and the package tests start from.
    void UseMethaneEthane();
};

class CScriptedPackage10 : public CapeObject<ICapeThermoPropertyPackage, ICapeUtilities>,
                           public IPersistStreamInit {
public:
    CScriptedPackage10();
    ~CScriptedPackage10() override;

    ScriptedPackage10Script script;
    // The material object of the last call that had one.
    ComPtr<ICapeThermoMaterialObject> lastMaterial;
    ComPtr<IDispatch> simulationContext;
    // Set by the destructor when given, so tests can see the object go.
    bool *destroyedFlag = nullptr;

    // Records a failure on this package's error interfaces; returns code.
    HRESULT FailWith(HRESULT code, const std::wstring &description, const wchar_t *method);

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        if (!script.nullAnswers.empty() && AnswersNull(riid, ppv)) return S_OK;
        return CapeObject::QueryInterface(riid, ppv);
    }
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
    bool AnswersNull(REFIID riid, void **ppv) const;
    // With hooks set: logs call, then the scripted failure of method (recorded); S_OK when none.
    HRESULT Hooked(const wchar_t *method, const wchar_t *call);
    HRESULT Hooked(const wchar_t *method, std::wstring call);
    // The inner package's result of method, its failure text copied onto this package.
    HRESULT FromInner(HRESULT hr, const wchar_t *method);
    void Remember(IDispatch *materialObject);
    void FillList(const wchar_t *listName, VARIANT *out, const std::vector<std::wstring> &items);
    void FillList(const wchar_t *listName, VARIANT *out, const std::vector<double> &items);
    HRESULT TrivialCalcProp(VARIANT props, VARIANT phases);
    HRESULT TrivialEquilibrium();

    // The trivial calculation's fixed names and answers, made once.
    ScopedBstr temperature_{L"temperature"}, pressure_{L"pressure"}, fraction_{L"fraction"},
        phaseFraction_{L"phaseFraction"}, mixture_{L"mixture"}, mole_{L"mole"}, vapor_{L"Vapor"},
        overall_{L"Overall"};
    IDispatch *lastDispatch_ = nullptr;  // what lastMaterial was queried from
    CVariantArray one_;         // {1.0}
    CVariantArray perCompound_;  // 0.5 per compound of the material
};

// The CLSID GetClassID reports.
extern const CLSID CLSID_ScriptedPackage10;

// A new scripted package; raw (optional) receives the object itself.
ComPtr<ICapeThermoPropertyPackage> CreateScriptedPackage10(CScriptedPackage10 **raw = nullptr);
