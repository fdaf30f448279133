#include "Material10.h"

#include "Names.h"
#include "VariantLists.h"

namespace {

constexpr const wchar_t *materialInterface = L"ICapeThermoMaterialObject";

// The store's phase of a 1.0 call: no phase is the overall mixture.
const wchar_t *PhaseKey(const wchar_t *phase)
{
    return phase && *phase ? phase : L"Overall";
}

std::wstring Quoted(const wchar_t *text)
{
    return L"\"" + std::wstring(text ? text : L"") + L"\"";
}

}  // namespace

CMaterial10::CMaterial10()
{
    SetIdentification(L"Material object", L"In-memory CAPE-OPEN 1.0 material object");
}

ComPtr<ICapeThermoMaterialObject> CMaterial10::Create(const std::vector<std::wstring> &compounds,
                                                      const std::vector<std::wstring> &phases, CMaterial10 **raw)
{
    ComPtr<ICapeThermoMaterialObject> created;
    if (FAILED(CreateComObject<CMaterial10>(nullptr, __uuidof(ICapeThermoMaterialObject), created.ReceiveVoid())))
        return created;
    auto *object = static_cast<CMaterial10 *>(static_cast<DispatchPart<ICapeThermoMaterialObject> *>(created.Get()));
    object->compounds = compounds;
    object->phases = phases;
    if (raw) *raw = object;
    return created;
}

void CMaterial10::Put(const std::wstring &property, const std::wstring &phase, const std::vector<double> &values,
                      const std::wstring &basis)
{
    ValueBasis parsed = ValueBasis::Undefined;
    ParseBasis(basis.c_str(), parsed);
    store.Set(PhaseKey(phase.c_str()), property.c_str(), parsed, values.data(), values.size());
}

std::vector<double> CMaterial10::Values(const std::wstring &property, const std::wstring &phase,
                                        const std::wstring &basis) const
{
    ValueBasis parsed = ValueBasis::Undefined;
    if (!ParseBasis(basis.c_str(), parsed)) return {};
    const std::vector<double> *found = store.Get(PhaseKey(phase.c_str()), property.c_str(), parsed);
    return found ? *found : std::vector<double>();
}

bool CMaterial10::Has(const std::wstring &property, const std::wstring &phase, const std::wstring &basis) const
{
    return !Values(property, phase, basis).empty();
}

std::wstring CMaterial10::BasisOf(const std::wstring &property, const std::wstring &phase) const
{
    ValueBasis basis = ValueBasis::Undefined;
    if (!store.GetAnyBasis(PhaseKey(phase.c_str()), property.c_str(), basis)) return L"?";
    return BasisName(basis);
}

void CMaterial10::Remove(const std::wstring &property, const std::wstring &phase)
{
    store.Remove(PhaseKey(phase.c_str()), property.c_str());
}

HRESULT CMaterial10::Hooked(const wchar_t *method, std::wstring call)
{
    Log(std::move(call));
    const ScriptedFailure *failure = FailureOf(method);
    if (!failure) return S_OK;
    SetError(failure->description.c_str(), (std::wstring(L"CMaterial10::") + method).c_str(), materialInterface);
    return failure->code;
}

HRESULT CMaterial10::NotAvailable(const wchar_t *method)
{
    if (Armed())
        if (HRESULT hr = Hooked(method, method); FAILED(hr)) return hr;
    return NotImplemented((std::wstring(L"CMaterial10::") + method).c_str(), materialInterface);
}

IUnknown *CMaterial10::MainInterface()
{
    return static_cast<DispatchPart<ICapeThermoMaterialObject> *>(this);
}

IUnknown *CMaterial10::FindOwnInterface(REFIID riid)
{
    return IsEqualIID(riid, __uuidof(ICapeThermoMaterialObject)) ? MainInterface() : nullptr;
}

HRESULT CMaterial10::get_ComponentIds(VARIANT *compIds)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"get_ComponentIds", L"get_ComponentIds"); FAILED(hr)) return hr;
        if (!compIds) return E_POINTER;
        VariantInit(compIds);
        if (!Armed() || !RawAnswer(L"compIds", compIds)) PutStrings(compIds, compounds);
        return S_OK;
    });
}

HRESULT CMaterial10::get_PhaseIds(VARIANT *phaseIds)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"get_PhaseIds", L"get_PhaseIds"); FAILED(hr)) return hr;
        if (!phaseIds) return E_POINTER;
        VariantInit(phaseIds);
        if (!Armed() || !RawAnswer(L"phaseIds", phaseIds)) PutStrings(phaseIds, phases);
        return S_OK;
    });
}

HRESULT CMaterial10::GetNumComponents(long *count)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetNumComponents", L"GetNumComponents"); FAILED(hr)) return hr;
        if (!count) return E_POINTER;
        *count = static_cast<long>(compounds.size());
        return S_OK;
    });
}

HRESULT CMaterial10::GetProp(BSTR property, BSTR phase, VARIANT, BSTR calcType, BSTR basis, VARIANT *results)
{
    return ComGuard([&] {
        constexpr const wchar_t *scope = L"CMaterial10::GetProp";
        if (Armed()) {
            if (HRESULT hr = Hooked(L"GetProp", L"GetProp " + BstrText(property) + L" " + BstrText(phase) + L" " +
                                                    BstrText(calcType) + L" " + BstrText(basis));
                FAILED(hr))
                return hr;
        }
        if (!results) return E_POINTER;
        VariantInit(results);
        if (Armed() && RawAnswer(property, results)) return S_OK;
        ValueBasis parsed;
        if (!ParseBasis(basis, parsed)) return Fail(L"Invalid basis " + Quoted(basis), scope, materialInterface);
        const std::vector<double> *values = store.Get(PhaseKey(phase), property, parsed);
        if (!values) {
            std::wstring inBasis = parsed == ValueBasis::Undefined ? L"" : L" in " + Quoted(basis) + L" basis";
            return Fail(L"Property " + Quoted(property) + inBasis + L" is not set for phase " +
                            Quoted(PhaseKey(phase)),
                        scope, materialInterface);
        }
        PutDoubles(results, *values);
        return S_OK;
    });
}

HRESULT CMaterial10::SetProp(BSTR property, BSTR phase, VARIANT, BSTR calcType, BSTR basis, VARIANT values)
{
    return ComGuard([&] {
        constexpr const wchar_t *scope = L"CMaterial10::SetProp";
        if (Armed()) {
            if (HRESULT hr = Hooked(L"SetProp", L"SetProp " + BstrText(property) + L" " + BstrText(phase) + L" " +
                                                    BstrText(calcType) + L" " + BstrText(basis));
                FAILED(hr))
                return hr;
        }
        if (!property || !*property) return Fail(L"Property name is empty", scope, materialInterface);
        ValueBasis parsed;
        if (!ParseBasis(basis, parsed)) return Fail(L"Invalid basis " + Quoted(basis), scope, materialInterface);
        std::wstring error;
        if (!ReadDoubles(values, scratch, error)) return Fail(L"Invalid values: " + error, scope, materialInterface);
        store.Set(PhaseKey(phase), property, parsed, scratch.data(), scratch.size());
        return S_OK;
    });
}

HRESULT CMaterial10::RemoveResults(VARIANT props)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"RemoveResults", L"RemoveResults " + ListText(props)); FAILED(hr)) return hr;
        // Results are replaced by the next SetProp; nothing to remove ahead of it.
        return S_OK;
    });
}

HRESULT CMaterial10::GetUniversalConstant(VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotAvailable(L"GetUniversalConstant"); });
}

HRESULT CMaterial10::GetComponentConstant(VARIANT, VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotAvailable(L"GetComponentConstant"); });
}

HRESULT CMaterial10::CalcProp(VARIANT, VARIANT, BSTR) { return ComGuard([&] { return NotAvailable(L"CalcProp"); }); }

HRESULT CMaterial10::CalcEquilibrium(BSTR, VARIANT)
{
    return ComGuard([&] { return NotAvailable(L"CalcEquilibrium"); });
}

HRESULT CMaterial10::SetIndependentVar(VARIANT, VARIANT)
{
    return ComGuard([&] { return NotAvailable(L"SetIndependentVar"); });
}

HRESULT CMaterial10::GetIndependentVar(VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotAvailable(L"GetIndependentVar"); });
}

HRESULT CMaterial10::PropCheck(VARIANT, VARIANT *) { return ComGuard([&] { return NotAvailable(L"PropCheck"); }); }

HRESULT CMaterial10::AvailableProps(VARIANT *)
{
    return ComGuard([&] { return NotAvailable(L"AvailableProps"); });
}

HRESULT CMaterial10::CreateMaterialObject(IDispatch **)
{
    return ComGuard([&] { return NotAvailable(L"CreateMaterialObject"); });
}

HRESULT CMaterial10::Duplicate(IDispatch **) { return ComGuard([&] { return NotAvailable(L"Duplicate"); }); }

HRESULT CMaterial10::ValidityCheck(VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotAvailable(L"ValidityCheck"); });
}

HRESULT CMaterial10::GetPropList(VARIANT *) { return ComGuard([&] { return NotAvailable(L"GetPropList"); }); }
