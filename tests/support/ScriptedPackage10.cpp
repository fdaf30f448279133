#include "ScriptedPackage10.h"

#include "Names.h"

// {B7E0C5A1-3D2F-4E8B-9A61-52C4F0D1E7A3}
const CLSID CLSID_ScriptedPackage10 = {0xB7E0C5A1, 0x3D2F, 0x4E8B, {0x9A, 0x61, 0x52, 0xC4, 0xF0, 0xD1, 0xE7, 0xA3}};

namespace {

std::wstring Text(BSTR b) { return std::wstring(b ? b : L"", SysStringLen(b)); }

// A list argument as text for the log: a string array, one string, or "?".
std::vector<std::wstring> ListArgument(const VARIANT &v)
{
    if (V_VT(&v) == VT_BSTR) return {Text(V_BSTR(&v))};
    bool ok = false;
    std::vector<std::wstring> items = ReadStrings(v, &ok);
    if (!ok && V_VT(&v) != VT_EMPTY) items = {L"?"};
    return items;
}

template <class Map>
auto FindByName(Map &map, const std::wstring &name) -> decltype(&map.begin()->second)
{
    for (auto &entry : map)
        if (NamesEqual(entry.first.c_str(), name.c_str())) return &entry.second;
    return nullptr;
}

}  // namespace

CScriptedPackage10::CScriptedPackage10()
{
    SetIdentification(L"Scripted package", L"A 1.0 property package scripted by a test");
}

CScriptedPackage10::~CScriptedPackage10()
{
    if (destroyedFlag) *destroyedFlag = true;
}

HRESULT CScriptedPackage10::FailWith(HRESULT code, const std::wstring &description, const wchar_t *method)
{
    std::wstring scope = L"CScriptedPackage10::";
    scope += method;
    SetError(description.c_str(), scope.c_str(), L"ICapeThermoPropertyPackage");
    return code;
}

int CScriptedPackage10::CountCalls(const std::wstring &prefix) const
{
    int count = 0;
    for (const std::wstring &call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0) ++count;
    return count;
}

HRESULT CScriptedPackage10::ScriptedResult(const wchar_t *method)
{
    auto it = script.failures.find(method);
    if (it == script.failures.end()) return S_OK;
    return FailWith(it->second.code, it->second.description, method);
}

void CScriptedPackage10::Remember(IDispatch *materialObject)
{
    lastMaterial.Reset();
    if (materialObject) QueryFrom(materialObject, lastMaterial);
}

void CScriptedPackage10::FillList(const wchar_t *listName, VARIANT *out, const std::vector<std::wstring> &items)
{
    VariantClear(out);
    auto raw = script.rawLists.find(listName);
    if (raw != script.rawLists.end())
        raw->second(out);
    else
        *out = MakeStringArray(items);
}

void CScriptedPackage10::FillList(const wchar_t *listName, VARIANT *out, const std::vector<double> &items)
{
    VariantClear(out);
    auto raw = script.rawLists.find(listName);
    if (raw != script.rawLists.end())
        raw->second(out);
    else
        *out = MakeDoubleArray(items);
}

HRESULT CScriptedPackage10::GetPhaseList(VARIANT *phases)
{
    calls.push_back(L"GetPhaseList");
    if (HRESULT hr = ScriptedResult(L"GetPhaseList"); FAILED(hr)) return hr;
    if (!phases) return E_POINTER;
    FillList(L"phases", phases, script.phases);
    return S_OK;
}

HRESULT CScriptedPackage10::GetComponentList(VARIANT *compIds, VARIANT *formulae, VARIANT *name,
                                             VARIANT *boilTemps, VARIANT *molwt, VARIANT *casno)
{
    calls.push_back(L"GetComponentList");
    if (HRESULT hr = ScriptedResult(L"GetComponentList"); FAILED(hr)) return hr;
    if (!compIds || !formulae || !name || !boilTemps || !molwt || !casno) return E_POINTER;
    FillList(L"compIds", compIds, script.compoundIds);
    FillList(L"formulae", formulae, script.formulae);
    FillList(L"names", name, script.names);
    FillList(L"boilTemps", boilTemps, script.boilingPoints);
    FillList(L"molwt", molwt, script.molecularWeights);
    FillList(L"casno", casno, script.casNumbers);
    return S_OK;
}

HRESULT CScriptedPackage10::GetUniversalConstant(IDispatch *, VARIANT, VARIANT *)
{
    calls.push_back(L"GetUniversalConstant");
    return FailWith(ECapeNoImplHR, L"GetUniversalConstant is not scripted", L"GetUniversalConstant");
}

HRESULT CScriptedPackage10::GetComponentConstant(IDispatch *materialObject, VARIANT props, VARIANT *propVals)
{
    Remember(materialObject);
    std::vector<std::wstring> names = ListArgument(props);
    std::vector<std::wstring> compounds;
    if (lastMaterial) {
        ScopedVariant ids;
        if (SUCCEEDED(lastMaterial->get_ComponentIds(ids.Get()))) compounds = ListArgument(ids.Value());
    }
    std::wstring call = L"GetComponentConstant";
    for (const std::wstring &n : names) call += L" " + n;
    calls.push_back(call + L" " + JoinList(compounds));
    if (HRESULT hr = ScriptedResult(L"GetComponentConstant"); FAILED(hr)) return hr;
    if (!propVals) return E_POINTER;
    if (script.onGetComponentConstant)
        return script.onGetComponentConstant(*this, lastMaterial.Get(), names, propVals);

    // One value per property and compound of the material, as a VARIANT array.
    std::vector<OwnedVariant> values;
    for (const std::wstring &n : names) {
        auto *byCompound = FindByName(script.constants, n);
        for (const std::wstring &c : compounds) {
            const OwnedVariant *value = byCompound ? FindByName(*byCompound, c) : nullptr;
            if (!value) return FailWith(ECapeUnknownHR, L"No value of " + n + L" for " + c, L"GetComponentConstant");
            values.push_back(*value);
        }
    }
    SAFEARRAYBOUND bound = {static_cast<ULONG>(values.size()), 0};
    SAFEARRAY *array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i)
        SafeArrayPutElement(array, &i, const_cast<VARIANT *>(&values[i].Value()));
    VariantInit(propVals);
    V_VT(propVals) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(propVals) = array;
    return S_OK;
}

HRESULT CScriptedPackage10::CalcProp(IDispatch *materialObject, VARIANT props, VARIANT phases, BSTR calcType)
{
    Remember(materialObject);
    std::vector<std::wstring> names = ListArgument(props), phaseNames = ListArgument(phases);
    calls.push_back(L"CalcProp " + JoinList(names) + L" " + JoinList(phaseNames) + L" " + Text(calcType));
    if (HRESULT hr = ScriptedResult(L"CalcProp"); FAILED(hr)) return hr;
    if (!script.onCalcProp) return S_OK;
    return script.onCalcProp(*this, lastMaterial.Get(), names, phaseNames, Text(calcType));
}

HRESULT CScriptedPackage10::CalcEquilibrium(IDispatch *materialObject, BSTR flashType, VARIANT props)
{
    Remember(materialObject);
    calls.push_back(L"CalcEquilibrium " + Text(flashType) + L" " + JoinList(ListArgument(props)));
    if (HRESULT hr = ScriptedResult(L"CalcEquilibrium"); FAILED(hr)) return hr;
    if (!script.onCalcEquilibrium) return S_OK;
    return script.onCalcEquilibrium(*this, lastMaterial.Get(), Text(flashType));
}

HRESULT CScriptedPackage10::PropCheck(IDispatch *, VARIANT, VARIANT *)
{
    calls.push_back(L"PropCheck");
    return FailWith(ECapeNoImplHR, L"PropCheck is not scripted", L"PropCheck");
}

HRESULT CScriptedPackage10::ValidityCheck(IDispatch *, VARIANT, VARIANT *)
{
    calls.push_back(L"ValidityCheck");
    return FailWith(ECapeNoImplHR, L"ValidityCheck is not scripted", L"ValidityCheck");
}

HRESULT CScriptedPackage10::GetPropList(VARIANT *props)
{
    calls.push_back(L"GetPropList");
    if (HRESULT hr = ScriptedResult(L"GetPropList"); FAILED(hr)) return hr;
    if (!props) return E_POINTER;
    FillList(L"props", props, script.propList);
    return S_OK;
}

HRESULT CScriptedPackage10::get_parameters(IDispatch **parameters)
{
    calls.push_back(L"get_parameters");
    if (HRESULT hr = ScriptedResult(L"get_parameters"); FAILED(hr)) return hr;
    if (!parameters) return E_POINTER;
    *parameters = script.parameters.Get();
    if (*parameters) (*parameters)->AddRef();
    return S_OK;
}

HRESULT CScriptedPackage10::put_simulationContext(IDispatch *context)
{
    calls.push_back(L"put_simulationContext");
    if (HRESULT hr = ScriptedResult(L"put_simulationContext"); FAILED(hr)) return hr;
    simulationContext = ComPtr<IDispatch>(context);
    return S_OK;
}

HRESULT CScriptedPackage10::Initialize()
{
    calls.push_back(L"Initialize");
    return ScriptedResult(L"Initialize");
}

HRESULT CScriptedPackage10::Terminate()
{
    calls.push_back(L"Terminate");
    // The material object is kept on purpose: real 1.0 packages may hold it
    // beyond their host package's life.
    simulationContext.Reset();
    return ScriptedResult(L"Terminate");
}

HRESULT CScriptedPackage10::Edit()
{
    calls.push_back(L"Edit");
    if (script.onEdit) script.onEdit(*this);
    return ScriptedResult(L"Edit");
}

HRESULT CScriptedPackage10::GetClassID(CLSID *classId)
{
    calls.push_back(L"GetClassID");
    if (!classId) return E_POINTER;
    *classId = CLSID_ScriptedPackage10;
    return S_OK;
}

HRESULT CScriptedPackage10::IsDirty()
{
    calls.push_back(L"IsDirty");
    return S_FALSE;
}

HRESULT CScriptedPackage10::Load(IStream *)
{
    calls.push_back(L"Load");
    return ScriptedResult(L"Load");
}

HRESULT CScriptedPackage10::Save(IStream *, BOOL)
{
    calls.push_back(L"Save");
    return ScriptedResult(L"Save");
}

HRESULT CScriptedPackage10::GetSizeMax(ULARGE_INTEGER *size)
{
    calls.push_back(L"GetSizeMax");
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

HRESULT CScriptedPackage10::InitNew()
{
    calls.push_back(L"InitNew");
    return ScriptedResult(L"InitNew");
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
    if (script.hasPersistStreamInit &&
        (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist)))
        return static_cast<IPersistStreamInit *>(this);
    return nullptr;
}

ComPtr<ICapeThermoPropertyPackage> CreateScriptedPackage10(CScriptedPackage10 **raw)
{
    ComPtr<ICapeThermoPropertyPackage> package;
    CreateComObject<CScriptedPackage10>(nullptr, __uuidof(ICapeThermoPropertyPackage), package.ReceiveVoid());
    if (raw)
        *raw = static_cast<CScriptedPackage10 *>(static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(package.Get()));
    return package;
}
