// CMaterialObject::GetProp: answers a 1.0 package's questions about the state
// of the calculation in progress, per calculation mode.
#include "MaterialObject.h"

#include <memory>

#include "ComHolders.h"
#include "ErrorText.h"
#include "Names.h"
#include "PropertyPackage.h"
#include "VariantArray.h"

namespace {

constexpr const wchar_t *scope = L"CMaterialObject::GetProp";
constexpr const wchar_t *interfaceName = L"ICapeThermoMaterialObject";
constexpr const wchar_t *unexpectedCall = L"Unexpected call or arguments";

// Mass conversions of up to this many compounds need no heap buffer.
constexpr size_t localMassCount = 32;

bool IsNullOrEmpty(BSTR text)
{
    return SysStringLen(text) == 0;
}

bool IsMixtureOrUnset(BSTR calcType)
{
    return IsNullOrEmpty(calcType) || NamesEqual(calcType, L"mixture");
}

PropertyCategory CategoryOf(const PropertyRecord &record)
{
    return record.row ? record.row->category : PropertyCategory::Constant;
}

// A new one-element double array handed to the caller.
void PutScalar(double value, VARIANT *results)
{
    CVariantArray scalar;
    scalar.Create(1, VT_R8);
    scalar.PutElement(0, &value);
    *results = scalar.Value();
    scalar.Disown();
}

}  // namespace

HRESULT CMaterialObject::GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                                 VARIANT *results)
{
    return ComGuard([&]() -> HRESULT {
        if (!property || !results) return E_POINTER;
        V_VT(results) = VT_EMPTY;
        if (!package) return Fail(unexpectedCall, scope, interfaceName);
        CPropertyPackage &pkg = *package;

        std::wstring error;
        if (!CheckCompoundList(compIds, error)) return Fail(error, scope, interfaceName);

        if (calcMode > CalcModeLnPhi) return Fail(unexpectedCall, scope, interfaceName);
        const PropertyRecord *record = pkg.propsBy10Name.Lookup(property);
        if (!record) return Fail(unexpectedCall, scope, interfaceName);
        const PropertyCategory category = CategoryOf(*record);
        const bool isTemperature = category == PropertyCategory::Temperature;
        const bool isPressure = category == PropertyCategory::Pressure;

        switch (calcMode) {
        case CalcModePure: {
            if (phase && !NamesEqual(phase, pkg.purePhase.Get()) && !NamesEqual(phase, L"Overall"))
                return Fail(unexpectedCall, scope, interfaceName);
            if (record->derivative != DerivativeNone || !(isTemperature || isPressure))
                return Fail(unexpectedCall, scope, interfaceName);
            PutScalar(isTemperature ? pkg.calcTemperature : pkg.calcPressure, results);
            return S_OK;
        }

        case CalcModeSinglePhase:
        case CalcModeTwoPhase: {
            switch (category) {
            case PropertyCategory::Temperature:
            case PropertyCategory::Pressure:
            case PropertyCategory::Flow:
            case PropertyCategory::TotalFlow:
            case PropertyCategory::Fraction:
            case PropertyCategory::PhaseFraction:
                break;
            default:
                return Fail(unexpectedCall, scope, interfaceName);
            }
            if (!pkg.contextMaterial) return Fail(unexpectedCall, scope, interfaceName);
            // A 1.0 package may ask for T and P under its own phase name; the
            // conditions are those of the phase being calculated.
            BSTR label = (isTemperature || isPressure) ? pkg.conditionPhase.Get() : phase;
            HRESULT hr = pkg.contextMaterial->GetSinglePhaseProp(record->name11.Get(), label, basis, results);
            if (FAILED(hr)) return Fail(CapeErrorText(pkg.contextMaterial.Get(), hr), scope, interfaceName);
            return S_OK;
        }

        case CalcModeEquilibrium: {
            if (!IsMixtureOrUnset(calcType)) return Fail(unexpectedCall, scope, interfaceName);
            if (!pkg.contextMaterial) return Fail(unexpectedCall, scope, interfaceName);
            HRESULT hr;
            if (isTemperature || isPressure || NamesEqual(phase, L"overall"))
                hr = pkg.contextMaterial->GetOverallProp(record->name11.Get(), basis, results);
            else
                hr = pkg.contextMaterial->GetSinglePhaseProp(record->name11.Get(), phase, basis, results);
            if (FAILED(hr)) return Fail(CapeErrorText(pkg.contextMaterial.Get(), hr), scope, interfaceName);
            // The flash learns the specified T or P from the first value the
            // 1.0 package reads, in case the package never sets it.
            if (record->derivative == DerivativeNone && (isTemperature || isPressure)) {
                double &target = isTemperature ? pkg.calcTemperature : pkg.calcPressure;
                if (target == 0.0) {
                    CVariantArray read;
                    read.Attach(*results, false);
                    if (read.Check(VT_R8, error) && read.Count() == 1) target = read.GetDouble(0);
                }
            }
            return S_OK;
        }

        case CalcModeLnPhi:
        default:
            break;
        }

        // Fugacity coefficients: conditions and mole numbers of the call.
        if (record->derivative != DerivativeNone) return Fail(unexpectedCall, scope, interfaceName);
        if (isTemperature || isPressure) {
            if (phase && !NamesEqual(phase, pkg.currentPhase) && !NamesEqual(phase, L"Overall"))
                return Fail(unexpectedCall, scope, interfaceName);
            PutScalar(isTemperature ? pkg.calcTemperature : pkg.calcPressure, results);
            return S_OK;
        }
        if (category != PropertyCategory::Fraction || !NamesEqual(phase, pkg.currentPhase) ||
            !IsMixtureOrUnset(calcType))
            return Fail(unexpectedCall, scope, interfaceName);
        if (NamesEqual(basis, L"mole")) {
            // The mole numbers exactly as the client gave them, not normalised.
            if (pkg.lnPhiComposition) VariantCopy(results, const_cast<VARIANT *>(pkg.lnPhiComposition));
            return S_OK;
        }
        if (!NamesEqual(basis, L"mass"))
            return Fail(L"Unexpected basis. Should be \"mole\" or \"mass\"", scope, interfaceName);

        CVariantArray moles;
        if (pkg.lnPhiComposition) moles.Attach(*pkg.lnPhiComposition, false);
        if (!moles.Check(VT_R8, error)) return Fail(L"Invalid mole numbers: " + error, scope, interfaceName);
        const size_t n = pkg.selectionIndices.size();
        if (static_cast<size_t>(moles.Count()) != n)
            return Fail(L"Invalid mole numbers: unexpected number of values", scope, interfaceName);

        CVariantArray fractions;
        fractions.Create(static_cast<LONG>(n), VT_R8);
        double localMasses[localMassCount];
        std::unique_ptr<double[]> heapMasses;
        double *masses = localMasses;
        if (n > localMassCount) {
            heapMasses.reset(new double[n]);
            masses = heapMasses.get();
        }
        double sum = 0.0;
        for (size_t i = 0; i < n; ++i) {
            const int index = pkg.selectionIndices[i];
            const double weight = (index >= 0 && static_cast<size_t>(index) < pkg.molecularWeights.size())
                                      ? pkg.molecularWeights[index]
                                      : 0.0;
            if (weight == 0.0)
                return Fail(L"Unable to perform mole/mass conversion, one or more missing molecular weights",
                            scope, interfaceName);
            masses[i] = moles.GetDouble(static_cast<LONG>(i)) * weight;
            sum += masses[i];
        }
        if (sum == 0.0) return Fail(L"Total mole numbers are zero", scope, interfaceName);
        const double inverseSum = 1.0 / sum;
        for (size_t i = 0; i < n; ++i) {
            double fraction = masses[i] * inverseSum;
            fractions.PutElement(static_cast<LONG>(i), &fraction);
        }
        *results = fractions.Value();
        fractions.Disown();
        return S_OK;
    });
}
