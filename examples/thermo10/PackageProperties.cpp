// CalcProp of the example packages: pure-compound properties ("pure") and
// single- and two-phase mixture properties ("mixture").
#include "ExamplePropertyPackage.h"

#include <cmath>

#include "CompoundData.h"
#include "Names.h"

namespace {

const wchar_t *const Interface = L"ICapeThermoPropertyPackage";
const wchar_t *const Scope = L"CExamplePropertyPackage::CalcProp";

std::wstring Quoted(const wchar_t *text)
{
    return std::wstring(L"\"") + (text ? text : L"") + L"\"";
}

BSTR BasisOf(const PropertyInfo &info, BSTR mole)
{
    return info.basis ? mole : nullptr;
}

}  // namespace

STDMETHODIMP CExamplePropertyPackage::CalcProp(IDispatch *materialObject, VARIANT props, VARIANT phases,
                                               BSTR calcType)
{
    return ComGuard([&] {
        std::wstring error;
        MaterialBinding binding(material);
        if (!material.Bind(materialObject, error) || !material.ReadCompounds(indices, error))
            return Fail(error, Scope, Interface);
        UseCompounds(indices);

        CVariantArray propList, phaseList;
        propList.Attach(props, false);
        phaseList.Attach(phases, false);
        if (!propList.Check(VT_BSTR, error))
            return Fail(L"Invalid list of properties: " + error, Scope, Interface);
        if (!phaseList.Check(VT_BSTR, error))
            return Fail(L"Invalid list of phases: " + error, Scope, Interface);
        if (propList.Count() == 0) return Fail(L"No properties requested", Scope, Interface);

        bool isPure = NamesEqual(calcType, L"pure");
        if (!isPure && !NamesEqual(calcType, L"mixture"))
            return Fail(L"Unsupported calculation type " + Quoted(calcType) +
                            L": expected \"pure\" or \"mixture\"",
                        Scope, Interface);

        std::vector<ScopedBstr> names;
        std::vector<const PropertyInfo *> requested;
        bool twoPhase = false, singlePhase = false;
        for (LONG i = 0; i < propList.Count(); ++i) {
            names.push_back(ScopedBstr::Adopt(propList.GetString(i)));
            const PropertyInfo *info = FindProperty(names.back().Get());
            if (!info) return Fail(L"Unsupported property " + Quoted(names.back().Get()), Scope, Interface);
            bool pureKind = info->kind == PropertyKind::TDependent || info->kind == PropertyKind::PDependent;
            if (pureKind != isPure)
                return Fail(
                    L"Property " + Quoted(info->name) +
                        (isPure ? L" is not a pure-compound property" : L" is a pure-compound property"),
                    Scope, Interface);
            twoPhase |= info->kind == PropertyKind::TwoPhase;
            singlePhase |= info->kind == PropertyKind::SinglePhase;
            requested.push_back(info);
        }
        if (twoPhase && singlePhase)
            return Fail(L"Single-phase and two-phase properties cannot be calculated in one call", Scope,
                        Interface);

        if (isPure) {
            ScopedBstr phase;
            if (phaseList.Count() > 0) phase = ScopedBstr::Adopt(phaseList.GetString(0));
            if (!CalcPure(requested, names, phase.Get(), error)) return Fail(error, Scope, Interface);
            return S_OK;
        }
        if (phaseList.Count() == 0) return Fail(L"No phase given", Scope, Interface);
        for (LONG p = 0; p < phaseList.Count(); ++p) {
            ScopedBstr phase = ScopedBstr::Adopt(phaseList.GetString(p));
            bool ok = twoPhase ? CalcTwoPhase(requested, names, phase.Get(), error)
                               : CalcSinglePhase(requested, names, phase.Get(), error);
            if (!ok) return Fail(error, Scope, Interface);
        }
        return S_OK;
    });
}

bool CExamplePropertyPackage::CalcPure(const std::vector<const PropertyInfo *> &requested,
                                       std::vector<ScopedBstr> &names, BSTR phase, std::wstring &error)
{
    double T = 0, P = 0;
    bool needT = false, needP = false;
    for (const PropertyInfo *info : requested) {
        needT |= info->kind == PropertyKind::TDependent;
        needP |= info->kind == PropertyKind::PDependent;
    }
    if (needT) {
        if (!material.ReadScalar(temperature.Get(), phase, pure.Get(), nullptr, T, error)) return false;
        if (!(T > 0)) {
            error = L"The temperature must be positive";
            return false;
        }
    }
    if (needP) {
        if (!material.ReadScalar(pressure.Get(), phase, pure.Get(), nullptr, P, error)) return false;
        if (!(P > 0)) {
            error = L"The pressure must be positive";
            return false;
        }
    }
    for (std::size_t k = 0; k < requested.size(); ++k) {
        values.resize(model->Size());
        for (std::size_t i = 0; i < model->Size(); ++i)
            if (!PureValue(requested[k]->id, model->Compound(i), T, P, values[i], error)) return false;
        if (!material.Write(names[k].Get(), phase, true, pure.Get(), BasisOf(*requested[k], mole.Get()),
                            values.data(), values.size(), error))
            return false;
    }
    return true;
}

bool CExamplePropertyPackage::CalcSinglePhase(const std::vector<const PropertyInfo *> &requested,
                                              std::vector<ScopedBstr> &names, BSTR phase, std::wstring &error)
{
    PhaseKind phaseKind;
    if (NamesEqual(phase, L"Vapor")) {
        phaseKind = PhaseKind::Vapor;
    } else if (NamesEqual(phase, L"Liquid")) {
        phaseKind = PhaseKind::Liquid;
    } else {
        error = L"Unsupported phase " + Quoted(phase) +
                L": properties are calculated for \"Vapor\" and \"Liquid\"";
        return false;
    }
    double T, P;
    if (!material.ReadScalar(temperature.Get(), phase, mixture.Get(), nullptr, T, error) ||
        !material.ReadScalar(pressure.Get(), phase, mixture.Get(), nullptr, P, error) ||
        !material.Read(fraction.Get(), phase, mixture.Get(), mole.Get(), model->Size(), x, error))
        return false;
    if (!(T > 0) || !(P > 0)) {
        error = L"Temperature and pressure must be positive";
        return false;
    }
    double total = 0;
    for (double amount : x) total += amount;
    if (!NormalizeComposition(x, error)) return false;
    unsigned request = 0;
    for (const PropertyInfo *info : requested) request |= info->request;
    model->Evaluate(T, P, x.data(), phaseKind, request, state);
    for (std::size_t k = 0; k < requested.size(); ++k) {
        SinglePhaseValues(requested[k]->id, *model, state, P, x.data(), values);
        // Derivatives in mole numbers scale with the amount the material holds.
        if (requested[k]->id == PropertyId::LogFugacityCoefficientDn)
            for (double &value : values) value /= total;
        if (!material.Write(names[k].Get(), phase, PerCompound(requested[k]->id), mixture.Get(),
                            BasisOf(*requested[k], mole.Get()), values.data(), values.size(), error))
            return false;
    }
    return true;
}

bool CExamplePropertyPackage::CalcTwoPhase(const std::vector<const PropertyInfo *> &requested,
                                           std::vector<ScopedBstr> &names, BSTR phase, std::wstring &error)
{
    double T, P;
    if (!material.ReadScalar(temperature.Get(), phase, mixture.Get(), nullptr, T, error) ||
        !material.ReadScalar(pressure.Get(), phase, mixture.Get(), nullptr, P, error) ||
        !material.Read(fraction.Get(), vapor.Get(), mixture.Get(), mole.Get(), model->Size(), y, error) ||
        !material.Read(fraction.Get(), liquid.Get(), mixture.Get(), mole.Get(), model->Size(), x, error))
        return false;
    if (!(T > 0) || !(P > 0)) {
        error = L"Temperature and pressure must be positive";
        return false;
    }
    if (!NormalizeComposition(x, error) || !NormalizeComposition(y, error)) return false;
    model->Evaluate(T, P, x.data(), PhaseKind::Liquid, 0, state);
    model->Evaluate(T, P, y.data(), PhaseKind::Vapor, 0, other);
    for (std::size_t k = 0; k < requested.size(); ++k) {
        values.resize(model->Size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            double lnK = state.lnPhi[i] - other.lnPhi[i];
            values[i] = requested[k]->id == PropertyId::LogKValues ? lnK : std::exp(lnK);
        }
        if (!material.Write(names[k].Get(), phase, true, mixture.Get(), nullptr, values.data(), values.size(),
                            error))
            return false;
    }
    return true;
}
