// CMaterialObject::GetProp: answers a 1.0 package's questions about the state
// of the calculation in progress, per calculation mode.
#include "MaterialObject.h"

#include <memory>
#include <new>

#include "ComHolders.h"
#include "ErrorText.h"
#include "Names.h"
#include "PropertyPackage.h"
#include "VariantArray.h"

namespace {

constexpr const wchar_t *scope = L"CMaterialObject::GetProp";
constexpr const wchar_t *interfaceName = L"ICapeThermoMaterialObject";
constexpr const wchar_t *unexpectedCall = L"Unexpected call or arguments";

// Amounts of up to this many compounds need no heap buffer.
constexpr size_t localAmountCount = 32;

bool IsNullOrEmpty(BSTR text)
{
    return SysStringLen(text) == 0;
}

bool IsMixtureOrUnset(BSTR calcType)
{
    return IsNullOrEmpty(calcType) || NamesEqual(calcType, L"mixture");
}

// The name the 1.1 material is asked for: the standard 1.1 spelling of a
// state variable, whatever spelling the 1.0 package used, else the record's.
BSTR Name11(const CPropertyPackage &pkg, PropertyCategory category, const PropertyRecord *record)
{
    switch (category) {
    case PropertyCategory::Temperature: return pkg.bstrTemperature.Get();
    case PropertyCategory::Pressure: return pkg.bstrPressure.Get();
    case PropertyCategory::Flow: return pkg.bstrFlow.Get();
    case PropertyCategory::TotalFlow: return pkg.bstrTotalFlow.Get();
    case PropertyCategory::Fraction: return pkg.bstrFraction.Get();
    case PropertyCategory::PhaseFraction: return pkg.bstrPhaseFraction.Get();
    default: return record ? record->name11.Get() : nullptr;
    }
}

// A new one-element double array handed to the caller: a vector, whose
// descriptor and data are one allocation instead of two.
void PutScalar(double value, VARIANT *results)
{
    SAFEARRAY *scalar = SafeArrayCreateVector(VT_R8, 0, 1);
    if (!scalar) throw std::bad_alloc();
    static_cast<double *>(scalar->pvData)[0] = value;
    V_VT(results) = VT_ARRAY | VT_R8;
    V_ARRAY(results) = scalar;
}

enum class Amount { Fractions, Flows, TotalFlow };

// What a 1.0 package reads of the amounts of a fugacity calculation: the
// caller's mole numbers scaled to one mole in total, so that its results do
// not depend on the caller's total (the package scales .Dmoles back).
bool LnPhiAmounts(const CMaterialObject &object, const CPropertyPackage &pkg, Amount what, bool mass,
                  VARIANT *results, std::wstring &error)
{
    CVariantArray moles;
    double totalMoles = 0.0;
    if (!object.ReadMoleNumbers(moles, totalMoles, error)) return false;
    const size_t n = pkg.selectionIndices.size();
    double localAmounts[localAmountCount];
    std::unique_ptr<double[]> heapAmounts;
    double *amounts = localAmounts;
    if (n > localAmountCount) {
        heapAmounts.reset(new double[n]);
        amounts = heapAmounts.get();
    }
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        double weight = 1.0;
        if (mass) {
            const int index = pkg.selectionIndices[i];
            weight = (index >= 0 && static_cast<size_t>(index) < pkg.molecularWeights.size())
                         ? pkg.molecularWeights[index]
                         : 0.0;
            if (weight == 0.0) {
                error = L"Unable to perform mole/mass conversion, one or more missing molecular weights";
                return false;
            }
        }
        amounts[i] = moles.GetDouble(static_cast<LONG>(i)) * weight;
        sum += amounts[i];
    }
    if (sum == 0.0 || totalMoles == 0.0) {
        error = L"Total mole numbers are zero";
        return false;
    }
    if (what == Amount::TotalFlow) {
        PutScalar(mass ? sum / totalMoles : 1.0, results);
        return true;
    }
    const double scale = 1.0 / (what == Amount::Fractions ? sum : totalMoles);
    CVariantArray values;
    values.Create(static_cast<LONG>(n), VT_R8);
    for (size_t i = 0; i < n; ++i) {
        double value = amounts[i] * scale;
        values.PutElement(static_cast<LONG>(i), &value);
    }
    *results = values.Value();
    values.Disown();
    return true;
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
        // Packages that cannot pass a null string name no phase with an empty one.
        if (IsNullOrEmpty(phase)) phase = nullptr;

        std::wstring error;
        if (!CheckCompoundList(compIds, error)) return Fail(error, scope, interfaceName);

        if (calcMode > CalcModeLnPhi) return Fail(unexpectedCall, scope, interfaceName);
        const PropertyRecord *record = pkg.propsBy10Name.Lookup(property);
        const PropertyRow *row = record ? record->row : AmountRow(property);
        if (!record && !row) return Fail(unexpectedCall, scope, interfaceName);
        const PropertyCategory category = row ? row->category : PropertyCategory::Constant;
        const int32_t derivative = record ? record->derivative : DerivativeNone;
        const bool isTemperature = category == PropertyCategory::Temperature;
        const bool isPressure = category == PropertyCategory::Pressure;
        BSTR name11 = Name11(pkg, category, record);
        // Temperature and pressure have no basis; one a 1.0 package names anyway is not passed on.
        if (isTemperature || isPressure) basis = nullptr;

        switch (calcMode) {
        case CalcModePure: {
            if (phase && !NamesEqual(phase, pkg.purePhase.Get()) && !NamesEqual(phase, L"Overall"))
                return Fail(unexpectedCall, scope, interfaceName);
            if (derivative != DerivativeNone || !(isTemperature || isPressure))
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
            HRESULT hr = pkg.contextMaterial->GetSinglePhaseProp(name11, label, basis, results);
            if (FAILED(hr)) return Fail(CapeErrorText(pkg.contextMaterial.Get(), hr), scope, interfaceName);
            return S_OK;
        }

        case CalcModeEquilibrium: {
            if (!IsMixtureOrUnset(calcType)) return Fail(unexpectedCall, scope, interfaceName);
            if (!pkg.contextMaterial) return Fail(unexpectedCall, scope, interfaceName);
            HRESULT hr;
            if (isTemperature || isPressure || NamesEqual(phase, L"overall"))
                hr = pkg.contextMaterial->GetOverallProp(name11, basis, results);
            else
                hr = pkg.contextMaterial->GetSinglePhaseProp(name11, phase, basis, results);
            if (FAILED(hr)) return Fail(CapeErrorText(pkg.contextMaterial.Get(), hr), scope, interfaceName);
            // The flash learns the specified T or P from the first value the
            // 1.0 package reads, in case the package never sets it.
            if (derivative == DerivativeNone && (isTemperature || isPressure)) {
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

        // Fugacity coefficients: conditions and amounts of the call.
        if (derivative != DerivativeNone) return Fail(unexpectedCall, scope, interfaceName);
        const bool ofThisPhase = !phase || NamesEqual(phase, pkg.currentPhase) || NamesEqual(phase, L"Overall");
        if (isTemperature || isPressure) {
            if (!ofThisPhase) return Fail(unexpectedCall, scope, interfaceName);
            PutScalar(isTemperature ? pkg.calcTemperature : pkg.calcPressure, results);
            return S_OK;
        }
        Amount what;
        if (category == PropertyCategory::Fraction && NamesEqual(phase, pkg.currentPhase))
            what = Amount::Fractions;
        else if (category == PropertyCategory::Flow && ofThisPhase)
            what = Amount::Flows;
        else if (category == PropertyCategory::TotalFlow && ofThisPhase)
            what = Amount::TotalFlow;
        else
            return Fail(unexpectedCall, scope, interfaceName);
        if (!IsMixtureOrUnset(calcType)) return Fail(unexpectedCall, scope, interfaceName);
        const bool mass = NamesEqual(basis, L"mass");
        if (!mass && !NamesEqual(basis, L"mole"))
            return Fail(L"Unexpected basis. Should be \"mole\" or \"mass\"", scope, interfaceName);
        if (!LnPhiAmounts(*this, pkg, what, mass, results, error)) return Fail(error, scope, interfaceName);
        return S_OK;
    });
}
