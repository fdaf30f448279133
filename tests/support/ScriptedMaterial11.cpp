#include "ScriptedMaterial11.h"

#include "Names.h"

namespace {

std::wstring Text(BSTR b) { return std::wstring(b ? b : L"", SysStringLen(b)); }

// Two-phase labels as one store key part: "Vapor,Liquid".
std::wstring JoinedLabels(const VARIANT &labels)
{
    std::wstring joined;
    for (const std::wstring &label : ReadStrings(labels)) {
        if (!joined.empty()) joined += L",";
        joined += label;
    }
    return joined;
}

}  // namespace

CScriptedMaterial11::CScriptedMaterial11()
{
    SetIdentification(L"Scripted material", L"A 1.1 material scripted by a test");
}

std::wstring CScriptedMaterial11::Key(const std::wstring &property, const std::wstring &phase,
                                      const std::wstring &basis)
{
    return ToLowerName(property.c_str()) + L"|" + ToLowerName(phase.c_str()) + L"|" + ToLowerName(basis.c_str());
}

void CScriptedMaterial11::Put(const std::wstring &property, const std::wstring &phase, const std::wstring &basis,
                              const std::vector<double> &values)
{
    store[Key(property, phase, basis)] = OwnedVariant::Adopt(MakeDoubleArray(values));
}

void CScriptedMaterial11::PutVariant(const std::wstring &property, const std::wstring &phase,
                                     const std::wstring &basis, const VARIANT &value)
{
    store[Key(property, phase, basis)] = OwnedVariant(value);
}

bool CScriptedMaterial11::Has(const std::wstring &property, const std::wstring &phase,
                              const std::wstring &basis) const
{
    return Stored(property, phase, basis) != nullptr;
}

const VARIANT *CScriptedMaterial11::Stored(const std::wstring &property, const std::wstring &phase,
                                           const std::wstring &basis) const
{
    auto it = store.find(Key(property, phase, basis));
    return it == store.end() ? nullptr : &it->second.Value();
}

std::vector<double> CScriptedMaterial11::Values(const std::wstring &property, const std::wstring &phase,
                                                const std::wstring &basis) const
{
    const VARIANT *value = Stored(property, phase, basis);
    return value ? ReadDoubles(*value) : std::vector<double>();
}

int CScriptedMaterial11::CountCalls(const std::wstring &prefix) const
{
    int count = 0;
    for (const std::wstring &call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0) ++count;
    return count;
}

HRESULT CScriptedMaterial11::ScriptedResult(const wchar_t *method)
{
    auto it = failures.find(method);
    if (it == failures.end()) return S_OK;
    std::wstring scope = L"CScriptedMaterial11::";
    scope += method;
    SetError(it->second.description.c_str(), scope.c_str(), L"ICapeThermoMaterial");
    return it->second.code;
}

HRESULT CScriptedMaterial11::NotScripted(const wchar_t *method)
{
    calls.push_back(method);
    std::wstring scope = L"CScriptedMaterial11::";
    scope += method;
    SetError((scope + L" is not scripted").c_str(), scope.c_str(), L"ICapeThermoMaterial");
    return ECapeNoImplHR;
}

HRESULT CScriptedMaterial11::Get(const wchar_t *method, BSTR property, const std::wstring &phase, BSTR basis,
                                 VARIANT *results)
{
    calls.push_back(std::wstring(method) + L" " + Text(property) + L" " + phase + L" " + Text(basis));
    if (HRESULT hr = ScriptedResult(method); FAILED(hr)) return hr;
    if (!results) return E_POINTER;
    const VARIANT *value = Stored(Text(property), phase, Text(basis));
    if (!value) {
        std::wstring scope = L"CScriptedMaterial11::";
        scope += method;
        SetError((L"No value of " + Text(property) + L" for " + phase).c_str(), scope.c_str(),
                 L"ICapeThermoMaterial");
        return ECapeThrmPropertyNotAvailableHR;
    }
    VariantClear(results);
    return VariantCopy(results, const_cast<VARIANT *>(value));
}

HRESULT CScriptedMaterial11::Set(const wchar_t *method, BSTR property, const std::wstring &phase, BSTR basis,
                                 const VARIANT &values)
{
    calls.push_back(std::wstring(method) + L" " + Text(property) + L" " + phase + L" " + Text(basis));
    if (HRESULT hr = ScriptedResult(method); FAILED(hr)) return hr;
    PutVariant(Text(property), phase, Text(basis), values);
    return S_OK;
}

HRESULT CScriptedMaterial11::ClearAllProps()
{
    calls.push_back(L"ClearAllProps");
    if (HRESULT hr = ScriptedResult(L"ClearAllProps"); FAILED(hr)) return hr;
    store.clear();
    return S_OK;
}

HRESULT CScriptedMaterial11::CopyFromMaterial(IDispatch **) { return NotScripted(L"CopyFromMaterial"); }
HRESULT CScriptedMaterial11::CreateMaterial(IDispatch **) { return NotScripted(L"CreateMaterial"); }

HRESULT CScriptedMaterial11::GetOverallProp(BSTR property, BSTR basis, VARIANT *results)
{
    return Get(L"GetOverallProp", property, L"Overall", basis, results);
}

HRESULT CScriptedMaterial11::GetOverallTPFraction(double *temperature, double *pressure, VARIANT *composition)
{
    return GetTP(L"GetOverallTPFraction", L"Overall", temperature, pressure, composition);
}

HRESULT CScriptedMaterial11::GetPresentPhases(VARIANT *phaseLabels, VARIANT *phaseStatus)
{
    calls.push_back(L"GetPresentPhases");
    if (HRESULT hr = ScriptedResult(L"GetPresentPhases"); FAILED(hr)) return hr;
    if (!phaseLabels || !phaseStatus) return E_POINTER;
    VariantClear(phaseLabels);
    VariantClear(phaseStatus);
    auto raw = rawLists.find(L"phaseLabels");
    if (raw != rawLists.end())
        raw->second(phaseLabels);
    else
        *phaseLabels = MakeStringArray(presentPhases);
    *phaseStatus = MakeLongArray(phaseStatuses);
    return S_OK;
}

HRESULT CScriptedMaterial11::GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT *results)
{
    return Get(L"GetSinglePhaseProp", property, Text(phaseLabel), basis, results);
}

HRESULT CScriptedMaterial11::GetTPFraction(BSTR phaseLabel, double *temperature, double *pressure,
                                           VARIANT *composition)
{
    return GetTP(L"GetTPFraction", Text(phaseLabel), temperature, pressure, composition);
}

// Temperature, pressure and mole fractions of one phase (or "Overall") from
// the store: "temperature" and "pressure" with an empty basis, "fraction"
// in mole basis.
HRESULT CScriptedMaterial11::GetTP(const wchar_t *method, const std::wstring &phase, double *temperature,
                                   double *pressure, VARIANT *composition)
{
    calls.push_back(std::wstring(method) + L" " + phase);
    if (HRESULT hr = ScriptedResult(method); FAILED(hr)) return hr;
    if (!temperature || !pressure || !composition) return E_POINTER;
    std::vector<double> t = Values(L"temperature", phase, L""), p = Values(L"pressure", phase, L"");
    const VARIANT *fractions = Stored(L"fraction", phase, L"mole");
    if (t.size() != 1 || p.size() != 1 || !fractions) {
        std::wstring scope = L"CScriptedMaterial11::";
        scope += method;
        SetError((L"Incomplete state of " + phase).c_str(), scope.c_str(), L"ICapeThermoMaterial");
        return ECapeThrmPropertyNotAvailableHR;
    }
    *temperature = t[0];
    *pressure = p[0];
    VariantClear(composition);
    return VariantCopy(composition, const_cast<VARIANT *>(fractions));
}

HRESULT CScriptedMaterial11::GetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT *results)
{
    return Get(L"GetTwoPhaseProp", property, JoinedLabels(phaseLabels), basis, results);
}

HRESULT CScriptedMaterial11::SetOverallProp(BSTR property, BSTR basis, VARIANT values)
{
    return Set(L"SetOverallProp", property, L"Overall", basis, values);
}

HRESULT CScriptedMaterial11::SetPresentPhases(VARIANT phaseLabels, VARIANT phaseStatus)
{
    std::vector<std::wstring> labels = ReadStrings(phaseLabels);
    calls.push_back(L"SetPresentPhases " + JoinList(labels));
    if (HRESULT hr = ScriptedResult(L"SetPresentPhases"); FAILED(hr)) return hr;
    presentPhases = labels;
    phaseStatuses = ReadLongs(phaseStatus);
    return S_OK;
}

HRESULT CScriptedMaterial11::SetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT values)
{
    return Set(L"SetSinglePhaseProp", property, Text(phaseLabel), basis, values);
}

HRESULT CScriptedMaterial11::SetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT values)
{
    return Set(L"SetTwoPhaseProp", property, JoinedLabels(phaseLabels), basis, values);
}

HRESULT CScriptedMaterial11::GetCompoundConstant(VARIANT, VARIANT, VARIANT *)
{
    return NotScripted(L"GetCompoundConstant");
}

HRESULT CScriptedMaterial11::GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names,
                                             VARIANT *boilTemps, VARIANT *molwts, VARIANT *casnos)
{
    calls.push_back(L"GetCompoundList");
    if (HRESULT hr = ScriptedResult(L"GetCompoundList"); FAILED(hr)) return hr;
    if (!compIds || !formulae || !names || !boilTemps || !molwts || !casnos) return E_POINTER;
    for (VARIANT *v : {compIds, formulae, names, boilTemps, molwts, casnos}) VariantClear(v);
    auto raw = rawLists.find(L"compIds");
    if (raw != rawLists.end())
        raw->second(compIds);
    else
        *compIds = MakeStringArray(compoundIds);
    // The other lists carry placeholders of the right type and length.
    std::vector<std::wstring> blanks(compoundIds.size());
    std::vector<double> zeros(compoundIds.size());
    *formulae = MakeStringArray(blanks);
    *names = MakeStringArray(compoundIds);
    *boilTemps = MakeDoubleArray(zeros);
    *molwts = MakeDoubleArray(zeros);
    *casnos = MakeStringArray(blanks);
    return S_OK;
}

HRESULT CScriptedMaterial11::GetConstPropList(VARIANT *) { return NotScripted(L"GetConstPropList"); }

HRESULT CScriptedMaterial11::GetNumCompounds(long *num)
{
    calls.push_back(L"GetNumCompounds");
    if (HRESULT hr = ScriptedResult(L"GetNumCompounds"); FAILED(hr)) return hr;
    if (!num) return E_POINTER;
    *num = static_cast<long>(compoundIds.size());
    return S_OK;
}

HRESULT CScriptedMaterial11::GetPDependentProperty(VARIANT, double, VARIANT, VARIANT *)
{
    return NotScripted(L"GetPDependentProperty");
}

HRESULT CScriptedMaterial11::GetPDependentPropList(VARIANT *) { return NotScripted(L"GetPDependentPropList"); }

HRESULT CScriptedMaterial11::GetTDependentProperty(VARIANT, double, VARIANT, VARIANT *)
{
    return NotScripted(L"GetTDependentProperty");
}

HRESULT CScriptedMaterial11::GetTDependentPropList(VARIANT *) { return NotScripted(L"GetTDependentPropList"); }

IUnknown *CScriptedMaterial11::MainInterface() { return static_cast<DispatchPart<ICapeThermoMaterial> *>(this); }

IUnknown *CScriptedMaterial11::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoMaterial))) return static_cast<DispatchPart<ICapeThermoMaterial> *>(this);
    if (hasCompounds && IsEqualIID(riid, __uuidof(ICapeThermoCompounds)))
        return static_cast<DispatchPart<ICapeThermoCompounds> *>(this);
    return nullptr;
}

ComPtr<ICapeThermoMaterial> CreateScriptedMaterial11(CScriptedMaterial11 **raw)
{
    ComPtr<ICapeThermoMaterial> material;
    CreateComObject<CScriptedMaterial11>(nullptr, __uuidof(ICapeThermoMaterial), material.ReceiveVoid());
    if (raw)
        *raw = static_cast<CScriptedMaterial11 *>(static_cast<DispatchPart<ICapeThermoMaterial> *>(material.Get()));
    return material;
}
