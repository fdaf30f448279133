// CMaterialObject::SetProp: routes each result a 1.0 package stores to where
// the calculation in progress wants it. Values nobody asked for are dropped.
#include "MaterialObject.h"

#include "ComHolders.h"
#include "ErrorText.h"
#include "Names.h"
#include "PropertyPackage.h"
#include "VariantArray.h"

namespace {

constexpr const wchar_t *scope = L"CMaterialObject::SetProp";
constexpr const wchar_t *interfaceName = L"ICapeThermoMaterialObject";
constexpr const wchar_t *unexpectedCall = L"Unexpected call or arguments";

bool IsNullOrEmpty(BSTR text)
{
    return SysStringLen(text) == 0;
}

// The slot of a property requested by the current call, or -1.
int SlotOf(const CPropertyPackage &pkg, BSTR property)
{
    const int *slot = pkg.resultSlots.Lookup(property);
    if (!slot || *slot < 0 || static_cast<size_t>(*slot) >= pkg.slotFilled.size()) return -1;
    return *slot;
}

// Factor that turns a pure-compound value a 1.0 package gave in mass basis
// into the mole basis the 1.1 client asked for. A mass-basis value is the
// mole-basis one times M^exponent (M in kg/mol), so we multiply by
// M^-exponent: J/kg (exponent -1) times M gives J/mol, kg/m3 (exponent +1)
// divided by M gives mol/m3. 0 when the molecular weight is unknown.
double MassToMoleFactor(const CPropertyPackage &pkg, int compound, int exponent)
{
    if (compound < 0 || static_cast<size_t>(compound) >= pkg.molecularWeights.size()) return 0.0;
    const double weight = pkg.molecularWeights[compound];
    const double inverse = pkg.inverseMolecularWeights[compound];
    if (weight == 0.0 || inverse == 0.0) return 0.0;
    double factor = 1.0;
    for (int e = exponent; e < 0; ++e) factor *= weight;
    for (int e = exponent; e > 0; --e) factor *= inverse;
    return factor;
}

// The flash buffers are sized per package phase by the flash itself.
bool HasFlashSlot(const CPropertyPackage &pkg, int phase)
{
    const size_t i = static_cast<size_t>(phase);
    return phase >= 0 && i < pkg.phaseResultSet.size() && i < pkg.phaseComposition.size() &&
           i < pkg.phaseFractionValue.size() && i < pkg.compositionBasis.size() && i < pkg.phaseFractionBasis.size();
}

}  // namespace

HRESULT CMaterialObject::SetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                                 VARIANT values)
{
    return ComGuard([&]() -> HRESULT {
        if (!property) return E_POINTER;
        if (!package) return Fail(unexpectedCall, scope, interfaceName);
        CPropertyPackage &pkg = *package;
        // Packages that cannot pass a null string name no phase with an empty one.
        if (IsNullOrEmpty(phase)) phase = nullptr;

        std::wstring error;
        if (!CheckCompoundList(compIds, error)) return Fail(error, scope, interfaceName);
        CVariantArray numbers;
        numbers.Attach(values, false);
        if (!numbers.Check(VT_R8, error)) return Fail(L"Invalid format for values: " + error, scope, interfaceName);

        switch (calcMode) {
        case CalcModePure: {
            const int slot = SlotOf(pkg, property);
            if (slot < 0) return S_OK;
            int exponent = 0;
            if (NamesEqual(basis, L"mass")) {
                const PropertyRecord *record = pkg.propsBy10Name.Lookup(property);
                if (record && record->row) exponent = record->row->basisExponent;
            }
            const size_t n = pkg.selectionIndices.size();
            if (static_cast<size_t>(numbers.Count()) != n)
                return Fail(L"Unexpected number of values", scope, interfaceName);
            // A refused answer leaves the slot unfilled, even when an earlier
            // SetProp had filled it: its values are now partly overwritten.
            pkg.slotFilled[slot] = false;
            for (size_t i = 0; i < n; ++i) {
                double value = numbers.GetDouble(static_cast<LONG>(i));
                if (exponent != 0) {
                    const double factor = MassToMoleFactor(pkg, pkg.selectionIndices[i], exponent);
                    if (factor == 0.0)
                        return Fail(L"One or more missing molecular weights; unable to perform basis conversion",
                                    scope, interfaceName);
                    value *= factor;
                }
                pkg.pureResults.PutElement(static_cast<LONG>(slot * n + i), &value);
            }
            pkg.slotFilled[slot] = true;
            return S_OK;
        }

        case CalcModeSinglePhase: {
            if (!NamesEqual(phase, pkg.currentPhase)) return S_OK;
            const int slot = SlotOf(pkg, property);
            if (slot < 0) return S_OK;
            if (!NamesEqual(calcType, L"mixture"))
                return Fail(unexpectedCall, scope, interfaceName);
            const PropertyRecord *record = pkg.requestRecords[slot];
            if (!record || !pkg.contextMaterial) return Fail(unexpectedCall, scope, interfaceName);
            HRESULT hr = pkg.contextMaterial->SetSinglePhaseProp(record->name11.Get(), phase, basis, values);
            if (FAILED(hr)) return Fail(CapeErrorText(pkg.contextMaterial.Get(), hr), scope, interfaceName);
            pkg.slotFilled[slot] = true;
            return S_OK;
        }

        case CalcModeTwoPhase: {
            if (!NamesEqual(phase, pkg.bstrVaporLiquid.Get()) && !NamesEqual(phase, pkg.bstrLiquid.Get()))
                return S_OK;
            const int slot = SlotOf(pkg, property);
            if (slot < 0) return S_OK;
            if (!NamesEqual(calcType, L"mixture"))
                return Fail(unexpectedCall, scope, interfaceName);
            const PropertyRecord *record = pkg.requestRecords[slot];
            if (!record || !pkg.contextMaterial || !pkg.twoPhaseLabels)
                return Fail(unexpectedCall, scope, interfaceName);
            HRESULT hr = pkg.contextMaterial->SetTwoPhaseProp(record->name11.Get(), *pkg.twoPhaseLabels, basis,
                                                              values);
            if (FAILED(hr)) return Fail(CapeErrorText(pkg.contextMaterial.Get(), hr), scope, interfaceName);
            pkg.slotFilled[slot] = true;
            return S_OK;
        }

        case CalcModeEquilibrium: {
            const PropertyRecord *record = pkg.propsBy10Name.Lookup(property);
            // Amounts (flow, totalFlow) a 1.0 package sets are not flash results.
            if (!record || !record->row)
                return AmountRow(property) ? S_OK : Fail(unexpectedCall, scope, interfaceName);
            if (record->derivative != DerivativeNone) return S_OK;
            // Temperature and pressure have no basis: one a 1.0 package names anyway is ignored.
            switch (record->row->category) {
            case PropertyCategory::Temperature:
                if (numbers.Count() != 1)
                    return Fail(L"Unexpected number of values for temperature: scalar expected", scope,
                                interfaceName);
                pkg.calcTemperature = numbers.GetDouble(0);
                return S_OK;
            case PropertyCategory::Pressure:
                if (numbers.Count() != 1)
                    return Fail(L"Unexpected number of values for pressure: scalar expected", scope,
                                interfaceName);
                pkg.calcPressure = numbers.GetDouble(0);
                return S_OK;
            case PropertyCategory::Fraction:
            case PropertyCategory::PhaseFraction: {
                const bool isComposition = record->row->category == PropertyCategory::Fraction;
                if (!phase) return E_POINTER;
                // The overall composition is the feed, not a result of the flash.
                if (NamesEqual(phase, L"Overall")) return S_OK;
                const int *found = pkg.phaseIndex.Lookup(phase);
                if (!found || !HasFlashSlot(pkg, *found))
                    return Fail(L"Unknown/unsupported phase", scope, interfaceName);
                const size_t index = static_cast<size_t>(*found);
                BSTR storedBasis = nullptr;
                if (NamesEqual(basis, L"mole"))
                    storedBasis = pkg.bstrMole.Get();
                else if (NamesEqual(basis, L"mass"))
                    storedBasis = pkg.bstrMass.Get();
                if (!storedBasis)
                    return Fail(isComposition ? L"Invalid basis for fraction" : L"Invalid basis for phaseFraction",
                                scope, interfaceName);
                CVariantArray &target = isComposition ? pkg.phaseComposition[index] : pkg.phaseFractionValue[index];
                (isComposition ? pkg.compositionBasis : pkg.phaseFractionBasis)[index] = storedBasis;
                target.Reset();
                VariantCopy(target.Get(), &values);
                pkg.phaseResultSet[index] = true;
                return S_OK;
            }
            default:
                return S_OK;
            }
        }

        case CalcModeLnPhi: {
            if (!NamesEqual(phase, pkg.currentPhase)) return S_OK;
            const int slot = SlotOf(pkg, property);
            if (slot < 0 || static_cast<size_t>(slot) >= pkg.lnPhiTargets.size()) return S_OK;
            const bool perMole = NamesEqual(property, L"LogFugacityCoefficient.Dmoles");
            if (!IsNullOrEmpty(basis) && !(perMole && NamesEqual(basis, L"mole")))
                return Fail(L"Invalid basis", scope, interfaceName);
            if (!NamesEqual(calcType, L"mixture"))
                return Fail(unexpectedCall, scope, interfaceName);
            VARIANT *target = pkg.lnPhiTargets[slot];
            if (!perMole) {
                if (target) VariantCopy(target, &values);
            } else {
                // The 1.0 package calculated for the one mole it read; the
                // caller's mole numbers hold total moles.
                CVariantArray moles;
                double total = 0.0;
                if (!ReadMoleNumbers(moles, total, error)) return Fail(error, scope, interfaceName);
                if (total == 0.0) return Fail(L"Total mole numbers are zero", scope, interfaceName);
                const double inverseTotal = 1.0 / total;
                CVariantArray scaled;
                scaled.Create(numbers.Count(), VT_R8);
                for (LONG i = 0; i < numbers.Count(); ++i) {
                    double value = numbers.GetDouble(i) * inverseTotal;
                    scaled.PutElement(i, &value);
                }
                if (target) {
                    VariantClear(target);
                    *target = scaled.Value();
                    scaled.Disown();
                }
            }
            pkg.slotFilled[slot] = true;
            return S_OK;
        }

        case CalcModeNone:
            // No calculation in progress: nothing to store into.
            return S_OK;

        default:
            return Fail(unexpectedCall, scope, interfaceName);
        }
    });
}
