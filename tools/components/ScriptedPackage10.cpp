#include "ScriptedPackage10.h"

#include "Names.h"
#include "VariantLists.h"

// {B7E0C5A1-3D2F-4E8B-9A61-52C4F0D1E7A3}
const CLSID CLSID_ScriptedPackage10 = {0xB7E0C5A1, 0x3D2F, 0x4E8B, {0x9A, 0x61, 0x52, 0xC4, 0xF0, 0xD1, 0xE7, 0xA3}};

namespace {

constexpr const wchar_t *packageInterface = L"ICapeThermoPropertyPackage";

template <class Map>
auto FindByName(Map &map, const std::wstring &name) -> decltype(&map.begin()->second)
{
    for (auto &entry : map)
        if (NamesEqual(entry.first.c_str(), name.c_str())) return &entry.second;
    return nullptr;
}

std::vector<std::wstring> Strings(const VARIANT &list)
{
    if (V_VT(&list) == VT_BSTR) return {BstrText(V_BSTR(&list))};
    std::vector<std::wstring> items;
    std::wstring error;
    ReadStrings(list, items, error);
    return items;
}

// Properties the trivial calculation answers with one value per compound.
bool PerCompound(BSTR property)
{
    return NamesEqual(property, L"logFugacityCoefficient") ||
           NamesEqual(property, L"logFugacityCoefficient.Dtemperature") ||
           NamesEqual(property, L"logFugacityCoefficient.Dpressure") || NamesEqual(property, L"fugacityCoefficient");
}

}  // namespace

void ScriptedPackage10Script::UseMethaneEthane()
{
    compoundIds = {L"methane", L"ethane"};
    formulae = {L"CH4", L"C2H6"};
    names = {L"Methane", L"Ethane"};
    casNumbers = {L"74-82-8", L"74-84-0"};
    boilingPoints = {111.66, 184.55};
    molecularWeights = {16.043, 30.07};
    phases = {L"Vapor", L"Liquid"};
}

CScriptedPackage10::CScriptedPackage10()
{
    SetIdentification(L"Scripted package", L"A scriptable CAPE-OPEN 1.0 property package");
    one_.Create(1, VT_R8);
    double value = 1.0;
    one_.PutElement(0, &value);
}

CScriptedPackage10::~CScriptedPackage10()
{
    if (destroyedFlag) *destroyedFlag = true;
}

HRESULT CScriptedPackage10::FailWith(HRESULT code, const std::wstring &description, const wchar_t *method)
{
    std::wstring scope = L"CScriptedPackage10::";
    scope += method;
    SetError(description.c_str(), scope.c_str(), packageInterface);
    return code;
}

HRESULT CScriptedPackage10::Hooked(const wchar_t *method, std::wstring call)
{
    script.Log(std::move(call));
    const ScriptedFailure *failure = script.FailureOf(method);
    if (!failure) return S_OK;
    return FAILED(failure->code) ? FailWith(failure->code, failure->description, method) : failure->code;
}

bool CScriptedPackage10::AnswersNull(REFIID riid, void **ppv) const
{
    for (const IID &iid : script.nullAnswers) {
        if (ppv && IsEqualIID(iid, riid)) {
            *ppv = nullptr;
            return true;
        }
    }
    return false;
}

HRESULT CScriptedPackage10::Hooked(const wchar_t *method, const wchar_t *call)
{
    if (!script.Armed()) return S_OK;
    return Hooked(method, std::wstring(call));
}

HRESULT CScriptedPackage10::FromInner(HRESULT hr, const wchar_t *method)
{
    if (SUCCEEDED(hr)) return hr;
    ComPtr<ECapeUser> user;
    ScopedBstr description, scope, interfaceName;
    if (SUCCEEDED(QueryFrom(script.inner.Get(), user))) {
        user->get_description(description.Receive());
        user->get_scope(scope.Receive());
        user->get_interfaceName(interfaceName.Receive());
    }
    std::wstring ownScope = std::wstring(L"CScriptedPackage10::") + method;
    SetError(description.Text(), scope.IsEmpty() ? ownScope.c_str() : scope.Text(),
             interfaceName.IsEmpty() ? packageInterface : interfaceName.Text());
    return hr;
}

void CScriptedPackage10::Remember(IDispatch *materialObject)
{
    // The same object as last time needs no new query: the reference held
    // keeps it, and so its IDispatch pointer, from going away.
    if (materialObject && materialObject == lastDispatch_ && lastMaterial) return;
    lastMaterial.Reset();
    lastDispatch_ = nullptr;
    if (materialObject && SUCCEEDED(QueryFrom(materialObject, lastMaterial))) lastDispatch_ = materialObject;
}

void CScriptedPackage10::FillList(const wchar_t *listName, VARIANT *out, const std::vector<std::wstring> &items)
{
    VariantInit(out);
    if (!script.RawAnswer(listName, out)) PutStrings(out, items);
}

void CScriptedPackage10::FillList(const wchar_t *listName, VARIANT *out, const std::vector<double> &items)
{
    VariantInit(out);
    if (!script.RawAnswer(listName, out)) PutDoubles(out, items);
}

HRESULT CScriptedPackage10::GetPhaseList(VARIANT *phases)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"GetPhaseList", L"GetPhaseList"); hr != S_OK) return hr;
        if (!phases) return E_POINTER;
        if (script.inner) {
            HRESULT hr = FromInner(script.inner->GetPhaseList(phases), L"GetPhaseList");
            if (SUCCEEDED(hr)) script.RawAnswer(L"phases", phases);
            return hr;
        }
        FillList(L"phases", phases, script.phases);
        return S_OK;
    });
}

HRESULT CScriptedPackage10::GetComponentList(VARIANT *compIds, VARIANT *formulae, VARIANT *name, VARIANT *boilTemps,
                                             VARIANT *molwt, VARIANT *casno)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"GetComponentList", L"GetComponentList"); hr != S_OK) return hr;
        if (!compIds || !formulae || !name || !boilTemps || !molwt || !casno) return E_POINTER;
        if (script.inner) {
            HRESULT hr = FromInner(script.inner->GetComponentList(compIds, formulae, name, boilTemps, molwt, casno),
                                   L"GetComponentList");
            if (FAILED(hr)) return hr;
            script.RawAnswer(L"compIds", compIds);
            script.RawAnswer(L"formulae", formulae);
            script.RawAnswer(L"names", name);
            script.RawAnswer(L"boilTemps", boilTemps);
            script.RawAnswer(L"molwt", molwt);
            script.RawAnswer(L"casno", casno);
            return S_OK;
        }
        FillList(L"compIds", compIds, script.compoundIds);
        FillList(L"formulae", formulae, script.formulae);
        FillList(L"names", name, script.names);
        FillList(L"boilTemps", boilTemps, script.boilingPoints);
        FillList(L"molwt", molwt, script.molecularWeights);
        FillList(L"casno", casno, script.casNumbers);
        return S_OK;
    });
}

HRESULT CScriptedPackage10::GetUniversalConstant(IDispatch *materialObject, VARIANT props, VARIANT *propVals)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"GetUniversalConstant", L"GetUniversalConstant"); hr != S_OK) return hr;
        if (script.inner)
            return FromInner(script.inner->GetUniversalConstant(materialObject, props, propVals),
                             L"GetUniversalConstant");
        return FailWith(ECapeNoImplHR, L"GetUniversalConstant is not scripted", L"GetUniversalConstant");
    });
}

HRESULT CScriptedPackage10::GetComponentConstant(IDispatch *materialObject, VARIANT props, VARIANT *propVals)
{
    return ComGuard([&] {
        Remember(materialObject);
        const std::vector<std::wstring> names = Strings(props);
        std::vector<std::wstring> compounds;
        if (lastMaterial) {
            ScopedVariant ids;
            if (SUCCEEDED(lastMaterial->get_ComponentIds(ids.Get()))) compounds = Strings(ids.Value());
        }
        if (script.Armed()) {
            std::wstring call = L"GetComponentConstant";
            for (const std::wstring &n : names) call += L" " + n;
            call += L" " + ListText(compounds);
            if (HRESULT hr = Hooked(L"GetComponentConstant", std::move(call)); hr != S_OK) return hr;
        }
        if (!propVals) return E_POINTER;
        if (script.onGetComponentConstant)
            return script.onGetComponentConstant(*this, lastMaterial.Get(), names, propVals);
        if (script.inner)
            return FromInner(script.inner->GetComponentConstant(materialObject, props, propVals),
                             L"GetComponentConstant");

        // One value per property and compound of the material, as a VARIANT array.
        CVariantArray values;
        values.Create(static_cast<LONG>(names.size() * compounds.size()), VT_VARIANT);
        LONG index = 0;
        for (const std::wstring &n : names) {
            auto *byCompound = FindByName(script.constants, n);
            for (const std::wstring &c : compounds) {
                const double *value = byCompound ? FindByName(*byCompound, c) : nullptr;
                if (!value) return FailWith(ECapeUnknownHR, L"No value of " + n + L" for " + c, L"GetComponentConstant");
                VARIANT element;
                V_VT(&element) = VT_R8;
                V_R8(&element) = *value;
                values.PutElement(index++, &element);
            }
        }
        VariantInit(propVals);
        *propVals = values.Value();
        values.Disown();
        return S_OK;
    });
}

HRESULT CScriptedPackage10::CalcProp(IDispatch *materialObject, VARIANT props, VARIANT phases, BSTR calcType)
{
    return ComGuard([&] {
        Remember(materialObject);
        if (script.Armed()) {
            if (HRESULT hr = Hooked(L"CalcProp", L"CalcProp " + ListText(props) + L" " + ListText(phases) + L" " +
                                                     BstrText(calcType));
                hr != S_OK)
                return hr;
        }
        if (script.onCalcProp)
            return script.onCalcProp(*this, lastMaterial.Get(), Strings(props), Strings(phases), BstrText(calcType));
        if (script.inner)
            return FromInner(script.inner->CalcProp(materialObject, props, phases, calcType), L"CalcProp");
        return script.trivial ? TrivialCalcProp(props, phases) : S_OK;
    });
}

HRESULT CScriptedPackage10::CalcEquilibrium(IDispatch *materialObject, BSTR flashType, VARIANT props)
{
    return ComGuard([&] {
        Remember(materialObject);
        if (script.Armed()) {
            if (HRESULT hr = Hooked(L"CalcEquilibrium",
                                    L"CalcEquilibrium " + BstrText(flashType) + L" " + ListText(props));
                hr != S_OK)
                return hr;
        }
        if (script.onCalcEquilibrium) return script.onCalcEquilibrium(*this, lastMaterial.Get(), BstrText(flashType));
        if (script.inner)
            return FromInner(script.inner->CalcEquilibrium(materialObject, flashType, props), L"CalcEquilibrium");
        return script.trivial ? TrivialEquilibrium() : S_OK;
    });
}

HRESULT CScriptedPackage10::TrivialCalcProp(VARIANT props, VARIANT phases)
{
    CVariantArray propList, phaseList;
    propList.Attach(props, false);
    phaseList.Attach(phases, false);
    std::wstring error;
    if (!propList.Check(VT_BSTR, error) || !phaseList.Check(VT_BSTR, error))
        return FailWith(ECapeUnknownHR, L"Invalid list: " + error, L"CalcProp");
    if (phaseList.Count() == 0) return FailWith(ECapeUnknownHR, L"No phase given", L"CalcProp");
    if (!lastMaterial) return FailWith(ECapeUnknownHR, L"No material object given", L"CalcProp");
    BSTR phase = phaseList.PeekString(0);
    VARIANT none;
    VariantInit(&none);
    ScopedVariant read;
    HRESULT hr = lastMaterial->GetProp(temperature_.Get(), phase, none, mixture_.Get(), nullptr, read.Get());
    if (FAILED(hr)) return FailWith(hr, L"Temperature not available", L"CalcProp");
    hr = lastMaterial->GetProp(fraction_.Get(), phase, none, mixture_.Get(), mole_.Get(), read.Receive());
    CVariantArray composition;
    composition.Attach(read.Value(), false);
    if (FAILED(hr) || !composition.Check(VT_R8, error))
        return FailWith(FAILED(hr) ? hr : ECapeUnknownHR, L"Composition not available", L"CalcProp");
    if (perCompound_.Count() != composition.Count()) {
        perCompound_.Create(composition.Count(), VT_R8);
        double half = 0.5;
        for (LONG i = 0; i < composition.Count(); ++i) perCompound_.PutElement(i, &half);
    }
    for (LONG i = 0; i < propList.Count(); ++i) {
        BSTR property = propList.PeekString(i);
        hr = lastMaterial->SetProp(property, phase, none, mixture_.Get(), nullptr,
                                   PerCompound(property) ? perCompound_.Value() : one_.Value());
        if (FAILED(hr)) return FailWith(hr, L"Result refused by the material object", L"CalcProp");
    }
    return S_OK;
}

HRESULT CScriptedPackage10::TrivialEquilibrium()
{
    if (!lastMaterial) return FailWith(ECapeUnknownHR, L"No material object given", L"CalcEquilibrium");
    VARIANT none;
    VariantInit(&none);
    ScopedVariant read;
    HRESULT hr = lastMaterial->GetProp(temperature_.Get(), overall_.Get(), none, mixture_.Get(), nullptr, read.Get());
    if (SUCCEEDED(hr))
        hr = lastMaterial->GetProp(pressure_.Get(), overall_.Get(), none, mixture_.Get(), nullptr, read.Receive());
    if (SUCCEEDED(hr))
        hr = lastMaterial->GetProp(fraction_.Get(), overall_.Get(), none, mixture_.Get(), mole_.Get(), read.Receive());
    if (FAILED(hr)) return FailWith(hr, L"Feed not available", L"CalcEquilibrium");
    hr = lastMaterial->SetProp(fraction_.Get(), vapor_.Get(), none, mixture_.Get(), mole_.Get(), read.Value());
    if (SUCCEEDED(hr))
        hr = lastMaterial->SetProp(phaseFraction_.Get(), vapor_.Get(), none, mixture_.Get(), mole_.Get(),
                                   one_.Value());
    if (FAILED(hr)) return FailWith(hr, L"Result refused by the material object", L"CalcEquilibrium");
    return S_OK;
}

HRESULT CScriptedPackage10::PropCheck(IDispatch *materialObject, VARIANT props, VARIANT *valid)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"PropCheck", L"PropCheck"); hr != S_OK) return hr;
        if (script.inner) return FromInner(script.inner->PropCheck(materialObject, props, valid), L"PropCheck");
        return FailWith(ECapeNoImplHR, L"PropCheck is not scripted", L"PropCheck");
    });
}

HRESULT CScriptedPackage10::ValidityCheck(IDispatch *materialObject, VARIANT props, VARIANT *valid)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"ValidityCheck", L"ValidityCheck"); hr != S_OK) return hr;
        if (script.inner)
            return FromInner(script.inner->ValidityCheck(materialObject, props, valid), L"ValidityCheck");
        return FailWith(ECapeNoImplHR, L"ValidityCheck is not scripted", L"ValidityCheck");
    });
}

HRESULT CScriptedPackage10::GetPropList(VARIANT *props)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"GetPropList", L"GetPropList"); hr != S_OK) return hr;
        if (!props) return E_POINTER;
        if (script.inner) {
            HRESULT hr = FromInner(script.inner->GetPropList(props), L"GetPropList");
            if (SUCCEEDED(hr)) script.RawAnswer(L"props", props);
            return hr;
        }
        FillList(L"props", props, script.propList);
        return S_OK;
    });
}

HRESULT CScriptedPackage10::get_parameters(IDispatch **parameters)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"get_parameters", L"get_parameters"); hr != S_OK) return hr;
        if (!parameters) return E_POINTER;
        *parameters = script.parameters.Get();
        if (*parameters) (*parameters)->AddRef();
        return S_OK;
    });
}

HRESULT CScriptedPackage10::put_simulationContext(IDispatch *context)
{
    return ComGuard([&] {
        if (HRESULT hr = Hooked(L"put_simulationContext", L"put_simulationContext"); hr != S_OK) return hr;
        simulationContext = ComPtr<IDispatch>(context);
        return S_OK;
    });
}

HRESULT CScriptedPackage10::Initialize()
{
    return ComGuard([&] { return Hooked(L"Initialize", L"Initialize"); });
}

HRESULT CScriptedPackage10::Terminate()
{
    return ComGuard([&] {
        script.Log(L"Terminate");
        // The material object is kept on purpose: real 1.0 packages may hold
        // it beyond their host package's life.
        simulationContext.Reset();
        const ScriptedFailure *failure = script.FailureOf(L"Terminate");
        return failure ? FailWith(failure->code, failure->description, L"Terminate") : S_OK;
    });
}

HRESULT CScriptedPackage10::Edit()
{
    return ComGuard([&] {
        script.Log(L"Edit");
        if (script.onEdit) script.onEdit(*this);
        const ScriptedFailure *failure = script.FailureOf(L"Edit");
        return failure ? FailWith(failure->code, failure->description, L"Edit") : S_OK;
    });
}

HRESULT CScriptedPackage10::GetClassID(CLSID *classId)
{
    script.Log(L"GetClassID");
    if (!classId) return E_POINTER;
    *classId = CLSID_ScriptedPackage10;
    return S_OK;
}

HRESULT CScriptedPackage10::IsDirty()
{
    script.Log(L"IsDirty");
    return S_FALSE;
}

HRESULT CScriptedPackage10::Load(IStream *)
{
    return ComGuard([&] { return Hooked(L"Load", L"Load"); });
}

HRESULT CScriptedPackage10::Save(IStream *, BOOL)
{
    return ComGuard([&] { return Hooked(L"Save", L"Save"); });
}

HRESULT CScriptedPackage10::GetSizeMax(ULARGE_INTEGER *size)
{
    script.Log(L"GetSizeMax");
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

HRESULT CScriptedPackage10::InitNew()
{
    return ComGuard([&] { return Hooked(L"InitNew", L"InitNew"); });
}

IUnknown *CScriptedPackage10::MainInterface()
{
    return static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(this);
}

IUnknown *CScriptedPackage10::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoPropertyPackage)))
        return static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(this);
    if (script.hasUtilities && IsEqualIID(riid, __uuidof(ICapeUtilities)))
        return static_cast<DispatchPart<ICapeUtilities> *>(this);
    if (script.hasPersistStreamInit && (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist)))
        return static_cast<IPersistStreamInit *>(this);
    return nullptr;
}

ComPtr<ICapeThermoPropertyPackage> CreateScriptedPackage10(CScriptedPackage10 **raw)
{
    ComPtr<ICapeThermoPropertyPackage> package;
    CreateComObject<CScriptedPackage10>(nullptr, __uuidof(ICapeThermoPropertyPackage), package.ReceiveVoid());
    if (raw)
        *raw = package ? static_cast<CScriptedPackage10 *>(
                             static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(package.Get()))
                       : nullptr;
    return package;
}
