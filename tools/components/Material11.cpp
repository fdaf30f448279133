#include "Material11.h"

#include "Names.h"
#include "VariantArray.h"
#include "VariantLists.h"

namespace {

constexpr const wchar_t *materialInterface = L"ICapeThermoMaterial";
constexpr const wchar_t *compoundsInterface = L"ICapeThermoCompounds";
constexpr const wchar_t *overallPhase = L"overall";

// Answers QueryInterface with the object itself, so that CopyFromMaterial
// can tell its own kind of material from any other.
// {6C1E0F43-2B7D-4E51-9A8C-3F0D7B5E9A21}
constexpr GUID IID_Material11Self = {0x6C1E0F43, 0x2B7D, 0x4E51, {0x9A, 0x8C, 0x3F, 0x0D, 0x7B, 0x5E, 0x9A, 0x21}};

std::wstring Quoted(const wchar_t *text)
{
    return L"\"" + std::wstring(text ? text : L"") + L"\"";
}

}  // namespace

CMaterial11::CMaterial11()
{
    SetIdentification(L"Material", L"In-memory CAPE-OPEN 1.1 material");
}

HRESULT CMaterial11::Create(const CompoundTable &compounds, const std::vector<std::wstring> &phases,
                            ComPtr<CMaterial11> &material)
{
    ComPtr<ICapeThermoMaterial> created;
    HRESULT hr = CreateComObject<CMaterial11>(nullptr, __uuidof(ICapeThermoMaterial), created.ReceiveVoid());
    if (FAILED(hr)) return hr;
    return ComGuard([&] {
        CMaterial11 *object = static_cast<CMaterial11 *>(created.Get());
        object->compounds = compounds;
        object->phases = phases;
        material = ComPtr<CMaterial11>(object);
        return S_OK;
    });
}

ComPtr<CMaterial11> CMaterial11::Create(const std::vector<std::wstring> &compoundIds,
                                        const std::vector<std::wstring> &phases)
{
    CompoundTable table;
    table.ids = compoundIds;
    ComPtr<CMaterial11> material;
    Create(table, phases, material);
    return material;
}

void CMaterial11::Put(const std::wstring &property, const std::wstring &phase, const std::wstring &basis,
                      const std::vector<double> &values)
{
    ValueBasis parsed = ValueBasis::Undefined;
    ParseBasis(basis.c_str(), parsed);
    store.Set(phase.c_str(), property.c_str(), parsed, values.data(), values.size());
}

std::vector<double> CMaterial11::Values(const std::wstring &property, const std::wstring &phase,
                                        const std::wstring &basis) const
{
    ValueBasis parsed = ValueBasis::Undefined;
    if (!ParseBasis(basis.c_str(), parsed)) return {};
    const std::vector<double> *found = store.Get(phase.c_str(), property.c_str(), parsed);
    return found ? *found : std::vector<double>();
}

bool CMaterial11::Has(const std::wstring &property, const std::wstring &phase, const std::wstring &basis) const
{
    return !Values(property, phase, basis).empty();
}

HRESULT CMaterial11::Hooked(const wchar_t *method, std::wstring call)
{
    Log(std::move(call));
    const ScriptedFailure *failure = FailureOf(method);
    if (!failure) return S_OK;
    SetError(failure->description.c_str(), (std::wstring(L"CMaterial11::") + method).c_str(), materialInterface);
    return failure->code;
}

IUnknown *CMaterial11::MainInterface()
{
    return static_cast<DispatchPart<ICapeThermoMaterial> *>(this);
}

IUnknown *CMaterial11::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoMaterial))) return static_cast<DispatchPart<ICapeThermoMaterial> *>(this);
    if (hasCompounds && IsEqualIID(riid, __uuidof(ICapeThermoCompounds)))
        return static_cast<DispatchPart<ICapeThermoCompounds> *>(this);
    return nullptr;
}

HRESULT CMaterial11::QueryFurtherInterface(REFIID riid, void **ppv)
{
    if (!IsEqualIID(riid, IID_Material11Self)) return CapeOpenBaseObject::QueryFurtherInterface(riid, ppv);
    AddRef();
    *ppv = this;
    return S_OK;
}

const std::wstring *CMaterial11::KnownPhase(const wchar_t *label) const
{
    for (const std::wstring &phase : phases)
        if (NamesEqual(phase.c_str(), label)) return &phase;
    return nullptr;
}

bool CMaterial11::IsPresent(const std::wstring &label) const
{
    for (const std::wstring &phase : presentPhases)
        if (NamesEqual(phase.c_str(), label.c_str())) return true;
    return false;
}

HRESULT CMaterial11::ReadValues(const wchar_t *phase, BSTR property, BSTR basis, VARIANT *results,
                                const wchar_t *scope)
{
    if (Armed() && RawAnswer(property, results)) return S_OK;
    ValueBasis parsedBasis;
    if (!ParseBasis(basis, parsedBasis)) return Fail(L"Invalid basis " + Quoted(basis), scope, materialInterface);
    const std::vector<double> *values = store.Get(phase, property, parsedBasis);
    if (!values) {
        std::wstring where = NamesEqual(phase, overallPhase) ? L"overall" : L"phase " + Quoted(phase);
        std::wstring inBasis = parsedBasis == ValueBasis::Undefined ? L"" : L" in " + Quoted(basis) + L" basis";
        return Fail(L"Property " + Quoted(property) + inBasis + L" is not set for " + where, scope,
                    materialInterface);
    }
    PutDoubles(results, *values);
    return S_OK;
}

HRESULT CMaterial11::StoreValues(const wchar_t *phase, BSTR property, BSTR basis, const VARIANT &values,
                                 const wchar_t *scope)
{
    if (!property || !*property) return Fail(L"Property name is empty", scope, materialInterface);
    ValueBasis parsedBasis;
    if (!ParseBasis(basis, parsedBasis)) return Fail(L"Invalid basis " + Quoted(basis), scope, materialInterface);
    std::wstring error;
    if (!ReadDoubles(values, scratch, error)) return Fail(L"Invalid values: " + error, scope, materialInterface);
    if (scratch.empty()) return Fail(L"No values given for " + Quoted(property), scope, materialInterface);
    store.Set(phase, property, parsedBasis, scratch.data(), scratch.size());
    return S_OK;
}

bool CMaterial11::ReadPhasePair(const VARIANT &phaseLabels, std::wstring &pair, std::wstring &error) const
{
    std::vector<std::wstring> labels;
    if (!ReadStrings(phaseLabels, labels, error)) {
        error = L"Invalid phase labels: " + error;
        return false;
    }
    if (labels.size() != 2) {
        error = L"Two phase labels expected";
        return false;
    }
    const std::wstring *first = KnownPhase(labels[0].c_str());
    const std::wstring *second = KnownPhase(labels[1].c_str());
    if (!first || !second) {
        error = L"Unknown phase " + Quoted((first ? labels[1] : labels[0]).c_str());
        return false;
    }
    pair = PhasePairLabel(*first, *second);
    return true;
}

// ---- ICapeThermoMaterial ----------------------------------------------

HRESULT CMaterial11::ClearAllProps()
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"ClearAllProps", L"ClearAllProps"); FAILED(hr)) return hr;
        store.Clear();
        presentPhases.clear();
        phaseStatuses.clear();
        return S_OK;
    });
}

HRESULT CMaterial11::CopyFromMaterial(IDispatch **source)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"CopyFromMaterial", L"CopyFromMaterial"); FAILED(hr)) return hr;
        if (!source || !*source) return E_POINTER;
        ComPtr<CMaterial11> other;
        if (FAILED((*source)->QueryInterface(IID_Material11Self, other.ReceiveVoid())))
            return Fail(L"Only in-memory materials can be copied", L"CMaterial11::CopyFromMaterial",
                        materialInterface);
        if (other.Get() == this) return S_OK;
        compounds = other->compounds;
        phases = other->phases;
        presentPhases = other->presentPhases;
        phaseStatuses = other->phaseStatuses;
        store = other->store;
        return S_OK;
    });
}

HRESULT CMaterial11::CreateMaterial(IDispatch **materialObject)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"CreateMaterial", L"CreateMaterial"); FAILED(hr)) return hr;
        if (!materialObject) return E_POINTER;
        *materialObject = nullptr;
        ComPtr<CMaterial11> created;
        HRESULT hr = Create(compounds, phases, created);
        if (FAILED(hr)) return Fail(L"Failed to create a material", L"CMaterial11::CreateMaterial", materialInterface);
        *materialObject = static_cast<DispatchPart<ICapeThermoMaterial> *>(created.Detach());
        return S_OK;
    });
}

HRESULT CMaterial11::GetOverallProp(BSTR property, BSTR basis, VARIANT *results)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetOverallProp",
                                    L"GetOverallProp " + BstrText(property) + L" Overall " + BstrText(basis));
                FAILED(hr))
                return hr;
        if (!results) return E_POINTER;
        return ReadValues(overallPhase, property, basis, results, L"CMaterial11::GetOverallProp");
    });
}

HRESULT CMaterial11::GetOverallTPFraction(double *temperature, double *pressure, VARIANT *composition)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetOverallTPFraction", L"GetOverallTPFraction Overall"); FAILED(hr)) return hr;
        if (!temperature || !pressure || !composition) return E_POINTER;
        return ReadTPFraction(overallPhase, temperature, pressure, composition, L"CMaterial11::GetOverallTPFraction");
    });
}

HRESULT CMaterial11::GetPresentPhases(VARIANT *phaseLabels, VARIANT *phaseStatus)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetPresentPhases", L"GetPresentPhases"); FAILED(hr)) return hr;
        if (!phaseLabels || !phaseStatus) return E_POINTER;
        if (!Armed() || !RawAnswer(L"phaseLabels", phaseLabels)) PutStrings(phaseLabels, presentPhases);
        PutLongs(phaseStatus, phaseStatuses);
        return S_OK;
    });
}

HRESULT CMaterial11::GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT *results)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetSinglePhaseProp", L"GetSinglePhaseProp " + BstrText(property) + L" " +
                                                               BstrText(phaseLabel) + L" " + BstrText(basis));
                FAILED(hr))
                return hr;
        if (!results) return E_POINTER;
        constexpr const wchar_t *scope = L"CMaterial11::GetSinglePhaseProp";
        const std::wstring *phase = KnownPhase(phaseLabel);
        if (!phase) return Fail(L"Unknown phase " + Quoted(phaseLabel), scope, materialInterface);
        return ReadValues(phase->c_str(), property, basis, results, scope);
    });
}

HRESULT CMaterial11::GetTPFraction(BSTR phaseLabel, double *temperature, double *pressure, VARIANT *composition)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetTPFraction", L"GetTPFraction " + BstrText(phaseLabel)); FAILED(hr))
                return hr;
        if (!temperature || !pressure || !composition) return E_POINTER;
        constexpr const wchar_t *scope = L"CMaterial11::GetTPFraction";
        const std::wstring *phase = KnownPhase(phaseLabel);
        if (!phase) return Fail(L"Unknown phase " + Quoted(phaseLabel), scope, materialInterface);
        return ReadTPFraction(phase->c_str(), temperature, pressure, composition, scope);
    });
}

HRESULT CMaterial11::ReadTPFraction(const wchar_t *phase, double *temperature, double *pressure,
                                    VARIANT *composition, const wchar_t *scope)
{
    const std::vector<double> *t = store.Get(phase, L"temperature", ValueBasis::Undefined);
    const std::vector<double> *p = store.Get(phase, L"pressure", ValueBasis::Undefined);
    const std::vector<double> *x = store.Get(phase, L"fraction", ValueBasis::Mole);
    const wchar_t *missing = !t ? L"temperature" : !p ? L"pressure" : !x ? L"fraction" : nullptr;
    if (missing) {
        std::wstring where = NamesEqual(phase, overallPhase) ? L"overall" : L"phase " + Quoted(phase);
        return Fail(L"Property " + Quoted(missing) + L" is not set for " + where, scope, materialInterface);
    }
    *temperature = (*t)[0];
    *pressure = (*p)[0];
    PutDoubles(composition, *x);
    return S_OK;
}

HRESULT CMaterial11::GetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT *results)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetTwoPhaseProp", L"GetTwoPhaseProp " + BstrText(property) + L" " +
                                                            ListText(phaseLabels) + L" " + BstrText(basis));
                FAILED(hr))
                return hr;
        if (!results) return E_POINTER;
        constexpr const wchar_t *scope = L"CMaterial11::GetTwoPhaseProp";
        std::wstring pair, error;
        if (!ReadPhasePair(phaseLabels, pair, error)) return Fail(error, scope, materialInterface);
        return ReadValues(pair.c_str(), property, basis, results, scope);
    });
}

HRESULT CMaterial11::SetOverallProp(BSTR property, BSTR basis, VARIANT values)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"SetOverallProp",
                                    L"SetOverallProp " + BstrText(property) + L" Overall " + BstrText(basis));
                FAILED(hr))
                return hr;
        return StoreValues(overallPhase, property, basis, values, L"CMaterial11::SetOverallProp");
    });
}

HRESULT CMaterial11::SetPresentPhases(VARIANT phaseLabels, VARIANT phaseStatus)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"SetPresentPhases", L"SetPresentPhases " + ListText(phaseLabels)); FAILED(hr))
                return hr;
        constexpr const wchar_t *scope = L"CMaterial11::SetPresentPhases";
        std::vector<std::wstring> labels;
        std::wstring error;
        if (!ReadStrings(phaseLabels, labels, error))
            return Fail(L"Invalid phase labels: " + error, scope, materialInterface);
        std::vector<long> statuses(labels.size(), 0);
        if (V_VT(&phaseStatus) != VT_EMPTY) {
            CVariantArray status;
            status.Attach(phaseStatus, false);
            if (!status.Check(VT_I4, error))
                return Fail(L"Invalid phase status: " + error, scope, materialInterface);
            if (static_cast<size_t>(status.Count()) != labels.size())
                return Fail(L"One phase status per phase label expected", scope, materialInterface);
            for (LONG i = 0; i < status.Count(); ++i) {
                LONG index = status.LowerBound() + i;
                LONG value = 0;
                SafeArrayGetElement(V_ARRAY(&status.Value()), &index, &value);
                statuses[static_cast<size_t>(i)] = value;
            }
        }
        std::vector<std::wstring> present;
        for (const std::wstring &label : labels) {
            const std::wstring *known = KnownPhase(label.c_str());
            if (!known) return Fail(L"Unknown phase " + Quoted(label.c_str()), scope, materialInterface);
            for (const std::wstring &earlier : present)
                if (earlier == *known)
                    return Fail(L"Phase " + Quoted(label.c_str()) + L" is listed twice", scope, materialInterface);
            present.push_back(*known);
        }
        // Values of phases that are no longer present go with them.
        for (const std::wstring &label : presentPhases) {
            bool kept = false;
            for (const std::wstring &now : present) kept = kept || now == label;
            if (!kept) store.ClearPhase(label.c_str());
        }
        presentPhases = std::move(present);
        phaseStatuses = std::move(statuses);
        return S_OK;
    });
}

HRESULT CMaterial11::SetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT values)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"SetSinglePhaseProp", L"SetSinglePhaseProp " + BstrText(property) + L" " +
                                                               BstrText(phaseLabel) + L" " + BstrText(basis));
                FAILED(hr))
                return hr;
        constexpr const wchar_t *scope = L"CMaterial11::SetSinglePhaseProp";
        const std::wstring *phase = KnownPhase(phaseLabel);
        if (!phase) return Fail(L"Unknown phase " + Quoted(phaseLabel), scope, materialInterface);
        if (!IsPresent(*phase)) return Fail(L"Phase " + Quoted(phaseLabel) + L" is not present", scope, materialInterface);
        return StoreValues(phase->c_str(), property, basis, values, scope);
    });
}

HRESULT CMaterial11::SetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT values)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"SetTwoPhaseProp", L"SetTwoPhaseProp " + BstrText(property) + L" " +
                                                            ListText(phaseLabels) + L" " + BstrText(basis));
                FAILED(hr))
                return hr;
        constexpr const wchar_t *scope = L"CMaterial11::SetTwoPhaseProp";
        std::wstring pair, error;
        if (!ReadPhasePair(phaseLabels, pair, error)) return Fail(error, scope, materialInterface);
        return StoreValues(pair.c_str(), property, basis, values, scope);
    });
}

// ---- ICapeThermoCompounds ---------------------------------------------

HRESULT CMaterial11::GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT *propVals)
{
    return ComGuard([&] {
        if (!propVals) return E_POINTER;
        return NotImplemented(L"CMaterial11::GetCompoundConstant", compoundsInterface);
    });
}

HRESULT CMaterial11::GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps,
                                     VARIANT *molwts, VARIANT *casnos)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetCompoundList", L"GetCompoundList"); FAILED(hr)) return hr;
        for (VARIANT *list : {compIds, formulae, names, boilTemps, molwts, casnos})
            if (!list) return E_POINTER;
        if (!Armed() || !RawAnswer(L"compIds", compIds)) PutStrings(compIds, compounds.ids);
        // Lists the table does not carry are answered empty.
        auto strings = [](VARIANT *out, const std::vector<std::wstring> &list) {
            VariantClear(out);
            if (!list.empty()) PutStrings(out, list);
        };
        auto doubles = [](VARIANT *out, const std::vector<double> &list) {
            VariantClear(out);
            if (!list.empty()) PutDoubles(out, list);
        };
        strings(formulae, compounds.formulae);
        strings(names, compounds.names);
        doubles(boilTemps, compounds.boilTemps);
        doubles(molwts, compounds.molWts);
        strings(casnos, compounds.casNumbers);
        return S_OK;
    });
}

HRESULT CMaterial11::GetConstPropList(VARIANT *props)
{
    return ComGuard([&] {
        if (!props) return E_POINTER;
        return NotImplemented(L"CMaterial11::GetConstPropList", compoundsInterface);
    });
}

HRESULT CMaterial11::GetNumCompounds(long *num)
{
    return ComGuard([&] {
        if (Armed())
            if (HRESULT hr = Hooked(L"GetNumCompounds", L"GetNumCompounds"); FAILED(hr)) return hr;
        if (!num) return E_POINTER;
        *num = static_cast<long>(compounds.Count());
        return S_OK;
    });
}

HRESULT CMaterial11::GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT *propVals)
{
    return ComGuard([&] {
        if (!propVals) return E_POINTER;
        return NotImplemented(L"CMaterial11::GetPDependentProperty", compoundsInterface);
    });
}

HRESULT CMaterial11::GetPDependentPropList(VARIANT *props)
{
    return ComGuard([&] {
        if (!props) return E_POINTER;
        return NotImplemented(L"CMaterial11::GetPDependentPropList", compoundsInterface);
    });
}

HRESULT CMaterial11::GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds, VARIANT *propVals)
{
    return ComGuard([&] {
        if (!propVals) return E_POINTER;
        return NotImplemented(L"CMaterial11::GetTDependentProperty", compoundsInterface);
    });
}

HRESULT CMaterial11::GetTDependentPropList(VARIANT *props)
{
    return ComGuard([&] {
        if (!props) return E_POINTER;
        return NotImplemented(L"CMaterial11::GetTDependentPropList", compoundsInterface);
    });
}
