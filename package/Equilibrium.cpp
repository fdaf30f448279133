// CalcEquilibrium: runs the 1.0 flash on the material object and writes the
// phases it found, their conditions, fractions and compositions, and the
// unspecified overall conditions to the 1.1 context material.
#include "PropertyPackage.h"

#include "ErrorText.h"
#include "Names.h"

namespace {

constexpr const wchar_t *scope = PACKAGE_SCOPE(L"CalcEquilibrium");
constexpr const wchar_t *interfaceName = L"ICapeThermoEquilibriumRoutine";

// CAPE-OPEN 1.1 phase status of a phase at equilibrium.
constexpr LONG capeAtEquilibrium = 1;

}  // namespace

HRESULT CPropertyPackage::CalcEquilibrium(VARIANT specification1, VARIANT specification2, BSTR solutionType)
{
    return ComGuard([&]() -> HRESULT {
        if (initPending && !EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
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

        if (materialObject) materialObject->calcMode = CalcModeEquilibrium;
        HRESULT hr = package10->CalcEquilibrium(MaterialObject10(), flashType->second.Get(),
                                                flashPropertyList.Value());
        if (FAILED(hr)) return Fail(CapeErrorText(package10.Get(), hr), scope, interfaceName);
        if (calcTemperature == 0.0) return Fail(L"Unknown temperature after flash", scope, interfaceName);
        if (calcPressure == 0.0) return Fail(L"Unknown pressure after flash", scope, interfaceName);

        presentPhaseIndexes.clear();
        for (size_t i = 0; i < phaseCount; ++i) {
            if (!phaseResultSet[i]) continue;
            presentPhaseIndexes.push_back(static_cast<int>(i));
            const wchar_t *label = phaseLabels[i].Text();
            if (phaseComposition[i].IsEmpty())
                return Fail(std::wstring(L"Composition was not set for present phase ") + label, scope,
                            interfaceName);
            if (phaseFractionValue[i].IsEmpty() && (code & SpecVaporFraction)) {
                // The vapour fraction was specified: the material holds it.
                ScopedVariant fraction;
                ScopedBstr vapor(L"Vapor");
                if (SUCCEEDED(contextMaterial->GetSinglePhaseProp(bstrPhaseFraction.Get(), vapor.Get(),
                                                                  bstrMole.Get(), fraction.Get()))) {
                    phaseFractionValue[i].Attach(fraction.Release(), true);
                    phaseFractionBasis[i] = bstrMole.Get();
                }
            }
            if (phaseFractionValue[i].IsEmpty())
                return Fail(std::wstring(L"Phase fraction was not set for present phase ") + label, scope,
                            interfaceName);
        }
        if (presentPhaseIndexes.empty()) return Fail(L"Flash resulted zero phases", scope, interfaceName);

        const LONG presentCount = static_cast<LONG>(presentPhaseIndexes.size());
        CVariantArray presentLabels, statuses;
        presentLabels.Create(presentCount, VT_BSTR);
        statuses.Create(presentCount, VT_I4);
        for (LONG p = 0; p < presentCount; ++p) {
            LONG status = capeAtEquilibrium;
            presentLabels.PutElement(p, phaseLabels[presentPhaseIndexes[p]].Get());
            statuses.PutElement(p, &status);
        }
        hr = contextMaterial->SetPresentPhases(presentLabels.Value(), statuses.Value());
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
