// CalcEquilibrium: runs the 1.0 flash on the material object and writes the
// phases it found, their conditions, fractions and compositions, and the
// unspecified overall conditions to the 1.1 context material.
#include "PropertyPackage.h"

#include <cwchar>

#include "ErrorText.h"
#include "Names.h"

namespace {

constexpr const wchar_t *scope = PACKAGE_SCOPE(L"CalcEquilibrium");
constexpr const wchar_t *interfaceName = L"ICapeThermoEquilibriumRoutine";

// CAPE-OPEN 1.1 phase status of a phase at equilibrium.
constexpr LONG capeAtEquilibrium = 1;

// A phase fraction the flash fills in itself, in mole basis.
void PutPhaseFraction(CPropertyPackage &pkg, int phase, double value)
{
    pkg.phaseFractionValue[phase].Create(1, VT_R8);
    pkg.phaseFractionValue[phase].PutElement(0, &value);
    pkg.phaseFractionBasis[phase] = pkg.bstrMole.Get();
}

// The phase fraction of a phase when it is one value in mole basis.
bool MolePhaseFraction(CPropertyPackage &pkg, int phase, double &value)
{
    CVariantArray &fraction = pkg.phaseFractionValue[phase];
    std::wstring ignored;
    if (pkg.phaseFractionBasis[phase] != pkg.bstrMole.Get() || !fraction.Check(VT_R8, ignored) ||
        fraction.Count() != 1)
        return false;
    value = fraction.GetDouble(0);
    return true;
}

// A vapour-fraction flash whose 1.0 package left phase fractions unset: a
// single present phase is all of the material, the vapour phase has the
// specified vapour fraction, and one phase still without a fraction has the
// rest, so that the fractions add up to 1.
void CompleteVaporFractionSplit(CPropertyPackage &pkg)
{
    const std::vector<int> &present = pkg.presentPhaseIndexes;
    auto unset = [&](int phase) { return pkg.phaseFractionValue[phase].IsEmpty(); };
    if (present.size() == 1) {
        if (unset(present[0])) PutPhaseFraction(pkg, present[0], 1.0);
        return;
    }
    const int *vapor = pkg.phaseIndex.Lookup(L"Vapor");
    if (vapor && pkg.phaseResultSet[*vapor] && unset(*vapor)) {
        // The vapour fraction was specified: the material holds it.
        CVariantArray specified;
        std::wstring ignored;
        HRESULT hr = pkg.contextMaterial->GetSinglePhaseProp(pkg.bstrPhaseFraction.Get(), pkg.phaseLabels[*vapor].Get(),
                                                             pkg.bstrMole.Get(), specified.Receive());
        if (SUCCEEDED(hr) && specified.Check(VT_R8, ignored) && specified.Count() == 1)
            PutPhaseFraction(pkg, *vapor, specified.GetDouble(0));
    }
    int remaining = -1;
    double rest = 1.0;
    for (int phase : present) {
        double value = 0.0;
        if (unset(phase)) {
            if (remaining >= 0) return;  // two phases without a fraction: no way to split
            remaining = phase;
        } else if (MolePhaseFraction(pkg, phase, value)) {
            rest -= value;
        } else {
            return;
        }
    }
    if (remaining >= 0) PutPhaseFraction(pkg, remaining, rest);
}

// The present phases and their statuses as the material is given them: kept
// from one flash to the next and rebuilt only when the present phases change.
void PreparePresentPhaseLists(CPropertyPackage &pkg)
{
    const LONG count = static_cast<LONG>(pkg.presentPhaseIndexes.size());
    bool same = pkg.presentLabelList.Count() == count && pkg.presentStatusList.Count() == count;
    for (LONG p = 0; same && p < count; ++p) {
        BSTR kept = pkg.presentLabelList.PeekString(p);
        same = kept && wcscmp(kept, pkg.phaseLabels[pkg.presentPhaseIndexes[p]].Text()) == 0;
    }
    if (same) return;
    pkg.presentLabelList.Create(count, VT_BSTR);
    pkg.presentStatusList.Create(count, VT_I4);
    for (LONG p = 0; p < count; ++p) {
        LONG status = capeAtEquilibrium;
        pkg.presentLabelList.PutElement(p, pkg.phaseLabels[pkg.presentPhaseIndexes[p]].Get());
        pkg.presentStatusList.PutElement(p, &status);
    }
}

}  // namespace

HRESULT CPropertyPackage::CalcEquilibrium(VARIANT specification1, VARIANT specification2, BSTR solutionType)
{
    return ComGuard([&]() -> HRESULT {
        if (RefuseReentry(scope, interfaceName)) return ECapeUnknownHR;
        if (initPending && !EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
        BusyScope busyScope(*this);
        if (!ValidateContextMaterial(scope, interfaceName)) return ECapeUnknownHR;
        const EquilibriumSpecCode code = ParseEquilibriumSpec(scope, specification1, specification2, solutionType);
        if (code == 0) return ECapeUnknownHR;
        const auto flashType = flashTypes.find(code);
        if (flashType == flashTypes.end())
            return Fail(L"Unsupported equilibrium specification", scope, interfaceName);
        if (!package10) return Fail(L"Property package is not available", scope, interfaceName);

        // Start from a clean flash state; vectors keep their capacity.
        const size_t phaseCount = phaseLabels.size();
        calcTemperature = 0.0;
        calcPressure = 0.0;
        phaseComposition.resize(phaseCount);
        phaseFractionValue.resize(phaseCount);
        compositionBasis.resize(phaseCount, nullptr);
        phaseFractionBasis.resize(phaseCount, nullptr);
        phaseResultSet.assign(phaseCount, false);
        for (size_t i = 0; i < phaseCount; ++i) {
            phaseComposition[i].Reset();
            phaseFractionValue[i].Reset();
        }

        HRESULT hr;
        {
            CalcModeScope mode(materialObject.Get(), CalcModeEquilibrium);
            hr = package10->CalcEquilibrium(MaterialObject10(), flashType->second.Get(), flashPropertyList.Value());
        }
        if (FAILED(hr)) return Fail(CapeErrorText(package10.Get(), hr), scope, interfaceName);
        if (calcTemperature == 0.0) return Fail(L"Unknown temperature after flash", scope, interfaceName);
        if (calcPressure == 0.0) return Fail(L"Unknown pressure after flash", scope, interfaceName);

        presentPhaseIndexes.clear();
        for (size_t i = 0; i < phaseCount; ++i)
            if (phaseResultSet[i]) presentPhaseIndexes.push_back(static_cast<int>(i));
        if (code & SpecVaporFraction) CompleteVaporFractionSplit(*this);
        for (int i : presentPhaseIndexes) {
            const wchar_t *label = phaseLabels[i].Text();
            if (phaseComposition[i].IsEmpty())
                return Fail(std::wstring(L"Composition was not set for present phase ") + label, scope,
                            interfaceName);
            if (phaseFractionValue[i].IsEmpty())
                return Fail(std::wstring(L"Phase fraction was not set for present phase ") + label, scope,
                            interfaceName);
        }
        if (presentPhaseIndexes.empty()) return Fail(L"Flash resulted zero phases", scope, interfaceName);

        PreparePresentPhaseLists(*this);
        hr = contextMaterial->SetPresentPhases(presentLabelList.Value(), presentStatusList.Value());
        if (FAILED(hr))
            return Fail(L"Failed to set present phases on material object: " +
                            CapeErrorText(contextMaterial.Get(), hr),
                        scope, interfaceName);

        flashTemperatureArray.PutElement(0, &calcTemperature);
        flashPressureArray.PutElement(0, &calcPressure);
        for (int i : presentPhaseIndexes) {
            BSTR label = phaseLabels[i].Get();
            const struct {
                BSTR property;
                BSTR basis;
                const VARIANT &values;
                const wchar_t *what;
            } writes[] = {
                {bstrTemperature.Get(), nullptr, flashTemperatureArray.Value(), L" temperature on material object: "},
                {bstrPressure.Get(), nullptr, flashPressureArray.Value(), L" pressure on material object: "},
                {bstrPhaseFraction.Get(), phaseFractionBasis[i], phaseFractionValue[i].Value(),
                 L" phase fraction on material object: "},
                {bstrFraction.Get(), compositionBasis[i], phaseComposition[i].Value(),
                 L" composition on material object: "},
            };
            for (const auto &write : writes) {
                hr = contextMaterial->SetSinglePhaseProp(write.property, label, write.basis, write.values);
                if (FAILED(hr))
                    return Fail(std::wstring(L"Failed to set ") + phaseLabels[i].Text() + write.what +
                                    CapeErrorText(contextMaterial.Get(), hr),
                                scope, interfaceName);
            }
        }

        if (!(code & SpecTemperature)) {
            hr = contextMaterial->SetOverallProp(bstrTemperature.Get(), nullptr, flashTemperatureArray.Value());
            if (FAILED(hr))
                return Fail(L"Failed to set overall temperature on material object: " +
                                CapeErrorText(contextMaterial.Get(), hr),
                            scope, interfaceName);
        }
        if (!(code & SpecPressure)) {
            hr = contextMaterial->SetOverallProp(bstrPressure.Get(), nullptr, flashPressureArray.Value());
            if (FAILED(hr))
                return Fail(L"Failed to set overall pressure on material object: " +
                                CapeErrorText(contextMaterial.Get(), hr),
                            scope, interfaceName);
        }
        return S_OK;
    });
}
