#include "BenchComponents.h"

#include "Names.h"
#include "VariantLists.h"

namespace {

HRESULT CopyTo(const CVariantArray &holder, VARIANT *out)
{
    VariantInit(out);
    return VariantCopy(out, const_cast<VARIANT *>(&holder.Value()));
}

}  // namespace

// ---- CBenchPackage10

CBenchPackage10::CBenchPackage10(const std::vector<std::wstring> &compounds) : compounds_(compounds)
{
    PutDoubles(one_.Receive(), {1.0});
    PutDoubles(values_.Receive(), std::vector<double>(compounds.size(), 0.5));
}

IUnknown *CBenchPackage10::FindOwnInterface(REFIID riid)
{
    return IsEqualIID(riid, __uuidof(ICapeThermoPropertyPackage)) ? MainInterface() : nullptr;
}

HRESULT CBenchPackage10::GetPhaseList(VARIANT *phases)
{
    VariantInit(phases);
    PutStrings(phases, {L"Vapor", L"Liquid"});
    return S_OK;
}

HRESULT CBenchPackage10::GetComponentList(VARIANT *compIds, VARIANT *, VARIANT *, VARIANT *, VARIANT *molwt,
                                          VARIANT *)
{
    VariantInit(compIds);
    VariantInit(molwt);
    PutStrings(compIds, compounds_);
    PutDoubles(molwt, std::vector<double>(compounds_.size(), 30.0));
    return S_OK;
}

HRESULT CBenchPackage10::GetPropList(VARIANT *props)
{
    VariantInit(props);
    PutStrings(props, {L"enthalpy", L"density", L"logFugacityCoefficient", L"logFugacityCoefficient.Dtemperature"});
    return S_OK;
}

HRESULT CBenchPackage10::CalcProp(IDispatch *materialObject, VARIANT props, VARIANT phases, BSTR)
{
    auto *material = static_cast<ICapeThermoMaterialObject *>(materialObject);
    BSTR phase = nullptr;
    LONG first = 0;
    SafeArrayGetElement(V_ARRAY(&phases), &first, &phase);
    VARIANT empty, got;
    VariantInit(&empty);
    VariantInit(&got);
    material->GetProp(temperature_.Get(), phase, empty, nullptr, nullptr, &got);
    VariantClear(&got);
    material->GetProp(fraction_.Get(), phase, empty, nullptr, mole_.Get(), &got);
    VariantClear(&got);
    LONG upper = -1;
    SafeArrayGetUBound(V_ARRAY(&props), 1, &upper);
    for (LONG i = 0; i <= upper; ++i) {
        BSTR property = nullptr;
        SafeArrayGetElement(V_ARRAY(&props), &i, &property);
        const bool perCompound = NamesEqual(property, L"logFugacityCoefficient") ||
                                 NamesEqual(property, L"logFugacityCoefficient.Dtemperature");
        HRESULT hr = material->SetProp(property, phase, empty, mixture_.Get(), nullptr,
                                       perCompound ? values_.Value() : one_.Value());
        SysFreeString(property);
        if (FAILED(hr)) {
            SysFreeString(phase);
            return hr;
        }
    }
    SysFreeString(phase);
    return S_OK;
}

HRESULT CBenchPackage10::CalcEquilibrium(IDispatch *materialObject, BSTR, VARIANT)
{
    auto *material = static_cast<ICapeThermoMaterialObject *>(materialObject);
    VARIANT empty, got;
    VariantInit(&empty);
    VariantInit(&got);
    material->GetProp(temperature_.Get(), overall_.Get(), empty, nullptr, nullptr, &got);
    VariantClear(&got);
    material->GetProp(pressure_.Get(), overall_.Get(), empty, nullptr, nullptr, &got);
    VariantClear(&got);
    material->GetProp(fraction_.Get(), overall_.Get(), empty, nullptr, mole_.Get(), &got);
    HRESULT hr = material->SetProp(fraction_.Get(), vapor_.Get(), empty, nullptr, mole_.Get(), got);
    VariantClear(&got);
    if (FAILED(hr)) return hr;
    return material->SetProp(phaseFraction_.Get(), vapor_.Get(), empty, nullptr, mole_.Get(), one_.Value());
}

// ---- CBenchMaterial10

CBenchMaterial10::CBenchMaterial10(const std::vector<std::wstring> &compounds)
{
    PutStrings(ids_.Receive(), compounds);
    PutDoubles(scalar_.Receive(), {300.0});
    PutDoubles(composition_.Receive(), std::vector<double>(compounds.size(), 1.0 / compounds.size()));
}

IUnknown *CBenchMaterial10::FindOwnInterface(REFIID riid)
{
    return IsEqualIID(riid, __uuidof(ICapeThermoMaterialObject)) ? MainInterface() : nullptr;
}

HRESULT CBenchMaterial10::get_ComponentIds(VARIANT *compIds) { return CopyTo(ids_, compIds); }

HRESULT CBenchMaterial10::GetNumComponents(long *count)
{
    std::wstring error;
    ids_.Check(VT_BSTR, error);
    *count = ids_.Count();
    return S_OK;
}

HRESULT CBenchMaterial10::GetProp(BSTR property, BSTR, VARIANT, BSTR, BSTR, VARIANT *results)
{
    return CopyTo(NamesEqual(property, L"fraction") ? composition_ : scalar_, results);
}

// ---- CBenchMaterial11

CBenchMaterial11::CBenchMaterial11(const std::vector<std::wstring> &compounds)
{
    PutStrings(ids_.Receive(), compounds);
    PutStrings(reversedIds_.Receive(), std::vector<std::wstring>(compounds.rbegin(), compounds.rend()));
    PutDoubles(composition_.Receive(), std::vector<double>(compounds.size(), 1.0 / compounds.size()));
    PutStrings(phases_.Receive(), {L"Vapor", L"Liquid"});
    statuses_.Create(2, VT_I4);
    PutDoubles(scalar_.Receive(), {300.0});
}

IUnknown *CBenchMaterial11::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoMaterial))) return static_cast<ICapeThermoMaterial *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeThermoCompounds))) return static_cast<ICapeThermoCompounds *>(this);
    return nullptr;
}

HRESULT CBenchMaterial11::GetOverallProp(BSTR property, BSTR, VARIANT *results)
{
    return CopyTo(NamesEqual(property, L"fraction") ? composition_ : scalar_, results);
}

HRESULT CBenchMaterial11::GetSinglePhaseProp(BSTR property, BSTR, BSTR, VARIANT *results)
{
    return CopyTo(NamesEqual(property, L"fraction") ? composition_ : scalar_, results);
}

HRESULT CBenchMaterial11::GetPresentPhases(VARIANT *phaseLabels, VARIANT *phaseStatus)
{
    CopyTo(phases_, phaseLabels);
    return CopyTo(statuses_, phaseStatus);
}

HRESULT CBenchMaterial11::GetCompoundList(VARIANT *compIds, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *)
{
    const bool reversed = alternate && reversedNext_;
    reversedNext_ = !reversedNext_;
    return CopyTo(reversed ? reversedIds_ : ids_, compIds);
}
