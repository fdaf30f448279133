#include "ExamplePropertyPackage.h"

#include "CompoundData.h"
#include "Names.h"
#include "IdealMixture.h"
#include "PengRobinson.h"

namespace {

const wchar_t *const Interface = L"ICapeThermoPropertyPackage";

// Hands a filled array to an out-VARIANT.
void HandOut(CVariantArray &list, VARIANT *out)
{
    *out = list.Value();
    list.Disown();
}

void StringList(const wchar_t *const *texts, LONG count, VARIANT *out)
{
    CVariantArray list;
    list.Create(count, VT_BSTR);
    for (LONG i = 0; i < count; ++i) {
        ScopedBstr text(texts[i]);
        list.PutElement(i, text.Get());
    }
    HandOut(list, out);
}

struct UniversalConstant {
    const wchar_t *name;
    double value;
};

// CODATA 2018 exact values and the standard gravity of the CGPM.
const UniversalConstant universalConstants[] = {
    {L"avogadroConstant", 6.02214076e23},   {L"boltzmannConstant", 1.380649e-23},
    {L"idealGasConstant", GasConstant},     {L"molarGasConstant", GasConstant},
    {L"speedOfLightInVacuum", 299792458.0}, {L"standardAccelerationOfGravity", 9.80665},
};

}  // namespace

CExamplePropertyPackage::CExamplePropertyPackage()
{
    SetModel(ExampleModel::PengRobinson);
}

void CExamplePropertyPackage::SetModel(ExampleModel chosen)
{
    kind = chosen;
    model.reset();
    flash.reset();
    modelIndices.clear();
    if (kind == ExampleModel::PengRobinson)
        SetIdentification(L"Peng-Robinson", L"Example Thermo: Peng-Robinson equation of state");
    else
        SetIdentification(L"Ideal", L"Example Thermo: ideal gas and ideal solution (Raoult's law)");
}

IUnknown *CExamplePropertyPackage::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoPropertyPackage)))
        return static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeUtilities))) return static_cast<DispatchPart<ICapeUtilities> *>(this);
    return nullptr;
}

void CExamplePropertyPackage::UseCompounds(const std::vector<int> &wanted)
{
    if (model && wanted == modelIndices) return;
    std::vector<const CompoundData *> list;
    for (int index : wanted) list.push_back(&KnownCompounds[index]);
    flash.reset();
    if (kind == ExampleModel::PengRobinson)
        model = std::make_unique<PengRobinson>(std::move(list));
    else
        model = std::make_unique<IdealMixture>(std::move(list));
    flash = std::make_unique<Flash>(*model);
    modelIndices = wanted;
}

STDMETHODIMP CExamplePropertyPackage::GetPhaseList(VARIANT *phases)
{
    return ComGuard([&] {
        if (!phases) return E_POINTER;
        static const wchar_t *const labels[] = {L"Vapor", L"Liquid", L"Overall"};
        StringList(labels, 3, phases);
        return S_OK;
    });
}

STDMETHODIMP CExamplePropertyPackage::GetComponentList(VARIANT *compIds, VARIANT *formulae, VARIANT *names,
                                                       VARIANT *boilTemps, VARIANT *molwt, VARIANT *casno)
{
    return ComGuard([&] {
        if (!compIds || !formulae || !names || !boilTemps || !molwt || !casno) return E_POINTER;
        const LONG n = static_cast<LONG>(KnownCompoundCount);
        CVariantArray ids, formulas, fullNames, boiling, weights, cas;
        ids.Create(n, VT_BSTR);
        formulas.Create(n, VT_BSTR);
        fullNames.Create(n, VT_BSTR);
        cas.Create(n, VT_BSTR);
        boiling.Create(n, VT_R8);
        weights.Create(n, VT_R8);
        for (LONG i = 0; i < n; ++i) {
            const CompoundData &c = KnownCompounds[i];
            ScopedBstr id(c.id), formula(c.formula), name(c.name), number(c.casNumber);
            double tb = c.normalBoilingPoint, mw = c.molecularWeight;
            ids.PutElement(i, id.Get());
            formulas.PutElement(i, formula.Get());
            fullNames.PutElement(i, name.Get());
            cas.PutElement(i, number.Get());
            boiling.PutElement(i, &tb);
            weights.PutElement(i, &mw);
        }
        VARIANT *outs[] = {compIds, formulae, names, boilTemps, molwt, casno};
        for (VARIANT *out : outs) VariantClear(out);
        HandOut(ids, compIds);
        HandOut(formulas, formulae);
        HandOut(fullNames, names);
        HandOut(boiling, boilTemps);
        HandOut(weights, molwt);
        HandOut(cas, casno);
        return S_OK;
    });
}

STDMETHODIMP CExamplePropertyPackage::GetUniversalConstant(IDispatch *, VARIANT props, VARIANT *propVals)
{
    return ComGuard([&] {
        const wchar_t *scope = L"CExamplePropertyPackage::GetUniversalConstant";
        if (!propVals) return E_POINTER;
        CVariantArray names;
        names.Attach(props, false);
        std::wstring reason;
        if (!names.Check(VT_BSTR, reason))
            return Fail(L"Invalid list of constants: " + reason, scope, Interface);
        CVariantArray list;
        list.Create(names.Count(), VT_VARIANT);
        for (LONG i = 0; i < names.Count(); ++i) {
            ScopedBstr name = ScopedBstr::Adopt(names.GetString(i));
            const UniversalConstant *found = nullptr;
            for (const UniversalConstant &constant : universalConstants)
                if (NamesEqual(constant.name, name.Get())) found = &constant;
            if (!found)
                return Fail(L"Unknown universal constant \"" + std::wstring(name.Text()) + L"\"", scope,
                            Interface);
            VARIANT value;
            V_VT(&value) = VT_R8;
            V_R8(&value) = found->value;
            list.PutElement(i, &value);
        }
        VariantInit(propVals);
        HandOut(list, propVals);
        return S_OK;
    });
}

STDMETHODIMP CExamplePropertyPackage::GetComponentConstant(IDispatch *materialObject, VARIANT props,
                                                           VARIANT *propVals)
{
    return ComGuard([&] {
        const wchar_t *scope = L"CExamplePropertyPackage::GetComponentConstant";
        if (!propVals) return E_POINTER;
        VariantInit(propVals);
        std::wstring error;
        MaterialBinding binding(material);
        if (!material.Bind(materialObject, error) || !material.ReadCompounds(indices, error))
            return Fail(error, scope, Interface);
        CVariantArray names;
        names.Attach(props, false);
        if (!names.Check(VT_BSTR, error))
            return Fail(L"Invalid list of properties: " + error, scope, Interface);
        const LONG compounds = static_cast<LONG>(indices.size());
        CVariantArray list;
        list.Create(names.Count() * compounds, VT_VARIANT);
        for (LONG p = 0; p < names.Count(); ++p) {
            ScopedBstr name = ScopedBstr::Adopt(names.GetString(p));
            for (LONG i = 0; i < compounds; ++i) {
                ConstantValue constant;
                if (!CompoundConstant(name.Get(), KnownCompounds[indices[i]], constant))
                    return Fail(L"Unsupported constant \"" + std::wstring(name.Text()) + L"\"", scope,
                                Interface);
                ScopedVariant value;
                if (constant.isText) {
                    V_VT(value.Get()) = VT_BSTR;
                    V_BSTR(value.Get()) = MakeBstr(constant.text);
                } else {
                    V_VT(value.Get()) = VT_R8;
                    V_R8(value.Get()) = constant.number;
                }
                list.PutElement(p * compounds + i, value.Get());
            }
        }
        HandOut(list, propVals);
        return S_OK;
    });
}

STDMETHODIMP CExamplePropertyPackage::PropCheck(IDispatch *, VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotImplemented(L"CExamplePropertyPackage::PropCheck", Interface); });
}

STDMETHODIMP CExamplePropertyPackage::ValidityCheck(IDispatch *, VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotImplemented(L"CExamplePropertyPackage::ValidityCheck", Interface); });
}

STDMETHODIMP CExamplePropertyPackage::GetPropList(VARIANT *props)
{
    return ComGuard([&] {
        if (!props) return E_POINTER;
        const std::vector<PropertyInfo> &all = AllProperties();
        std::vector<const wchar_t *> names;
        // "molecularWeight" is calculated for a phase when asked, but not listed:
        // the same 1.0 name is the compound constant, and a client that files
        // properties by 1.0 name would take one for the other.
        for (const PropertyInfo &info : all)
            if (info.id != PropertyId::MolecularWeight) names.push_back(info.name);
        StringList(names.data(), static_cast<LONG>(names.size()), props);
        return S_OK;
    });
}

STDMETHODIMP CExamplePropertyPackage::get_parameters(IDispatch **)
{
    return ComGuard(
        [&] { return NotImplemented(L"CExamplePropertyPackage::get_parameters", L"ICapeUtilities"); });
}

// Nothing to set up, keep or tear down: the package holds no simulation state.
STDMETHODIMP CExamplePropertyPackage::put_simulationContext(IDispatch *)
{
    return ComGuard([] { return S_OK; });
}

STDMETHODIMP CExamplePropertyPackage::Initialize()
{
    return ComGuard([] { return S_OK; });
}

STDMETHODIMP CExamplePropertyPackage::Terminate()
{
    return ComGuard([] { return S_OK; });
}

STDMETHODIMP CExamplePropertyPackage::Edit()
{
    return ComGuard([&] { return NotImplemented(L"CExamplePropertyPackage::Edit", L"ICapeUtilities"); });
}
