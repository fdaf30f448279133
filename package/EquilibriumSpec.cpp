// Flash specifications: the parser that reduces two 1.1 specifications to a
// code, the table from code to 1.0 flash type, and CheckEquilibriumSpec.
#include "PropertyPackage.h"

#include <memory>

#include "ErrorText.h"
#include "Names.h"

namespace {

constexpr const wchar_t *interfaceName = L"ICapeThermoEquilibriumRoutine";

// Flash condition properties other than the vapour fraction, in the order
// they are compared.
constexpr struct {
    const wchar_t *property;
    EquilibriumSpecCode bit;
} conditionProperties[] = {
    {L"Temperature", SpecTemperature}, {L"Pressure", SpecPressure},     {L"Enthalpy", SpecEnthalpy},
    {L"Entropy", SpecEntropy},         {L"EnthalpyF", SpecEnthalpyF},   {L"EntropyF", SpecEntropyF},
    {L"Volume", SpecVolume},           {L"InternalEnergy", SpecInternalEnergy},
};

constexpr struct {
    EquilibriumSpecCode code;
    const wchar_t *flashType;
} flashTypeTable[] = {
    {3, L"TP"},    {5, L"TVF"},    {9, L"TH"},    {17, L"THF"},  {33, L"TS"},   {65, L"TSF"},
    {129, L"TV"},  {257, L"TU"},   {6, L"PVF"},   {10, L"PH"},   {18, L"PHF"},  {34, L"PS"},
    {66, L"PSF"},  {130, L"PV"},   {258, L"PU"},  {12, L"HVF"},  {20, L"HFVF"}, {36, L"SVF"},
    {68, L"SFVF"}, {260, L"UVF"},  {136, L"HV"},  {384, L"VU"},
};

// Adds the bit of one specification to code; on false, detail says why.
bool ParseOneSpecification(const CPropertyPackage &pkg, const VARIANT &specification, EquilibriumSpecCode &code,
                           std::wstring &detail)
{
    CVariantArray spec;
    spec.Attach(specification, false);
    if (!spec.Check(VT_BSTR, detail)) return false;
    if (spec.Count() != 3 && spec.Count() != 4) {
        detail = L"expected 3 or 4 elements";
        return false;
    }
    BSTR property = spec.PeekString(0);
    BSTR basis = spec.PeekString(1);
    BSTR phase = spec.PeekString(2);
    if (property && NamesEqual(property, L"phaseFraction")) {
        if (!phase || !NamesEqual(phase, L"Vapor")) {
            detail = L"unsupported phase fraction specification";
            return false;
        }
        if (!pkg.hasVaporLabel) {
            detail = L"Vapor phase is not defined";
            return false;
        }
        if (!basis || !NamesEqual(basis, L"mole")) {
            detail = L"Vapor fraction specification is only supported in mole basis";
            return false;
        }
        if (code & SpecVaporFraction) {
            detail = L"Multiple vapor fraction specifications";
            return false;
        }
        code |= SpecVaporFraction;
    } else {
        EquilibriumSpecCode bit = 0;
        for (const auto &condition : conditionProperties) {
            if (property && NamesEqual(property, condition.property)) {
                bit = condition.bit;
                break;
            }
        }
        if (bit == 0) {
            detail = L"Unsupported flash condition property \"";
            detail += property ? property : L"NULL";
            detail += L'"';
            return false;
        }
        if (!phase || !NamesEqual(phase, L"overall")) {
            detail = L"Only overall phase is supported for flash property \"";
            detail += property;
            detail += L'"';
            return false;
        }
        if (code & bit) {
            detail = L"Multiple ";
            detail += property;
            detail += L" specifications";
            return false;
        }
        code |= bit;
    }
    if (spec.Count() == 4 && SysStringLen(spec.PeekString(3)) != 0) {
        detail = L"Compound based specification is not supported";
        return false;
    }
    return true;
}

}  // namespace

const wchar_t *FlashType10(EquilibriumSpecCode code)
{
    for (const auto &entry : flashTypeTable)
        if (entry.code == code) return entry.flashType;
    return nullptr;
}

void CPropertyPackage::FillFlashTypes()
{
    flashTypes.clear();
    for (const auto &entry : flashTypeTable) flashTypes[entry.code] = ScopedBstr(entry.flashType);
}

EquilibriumSpecCode CPropertyPackage::ParseEquilibriumSpec(const wchar_t *scope, const VARIANT &specification1,
                                                           const VARIANT &specification2, BSTR solutionType)
{
    if (!contextMaterial) {
        SetError(L"No material object has been set", scope, interfaceName);
        return 0;
    }
    CVariantArray labels, statuses;
    HRESULT hr = contextMaterial->GetPresentPhases(labels.Get(), statuses.Get());
    if (FAILED(hr)) {
        SetError((L"Failed to get present phases from context material object: " +
                  CapeErrorText(contextMaterial.Get(), hr)).c_str(),
                 scope, interfaceName);
        return 0;
    }
    std::wstring detail;
    if (!labels.Check(VT_BSTR, detail)) {
        SetError((L"Invalid list of present phases from context material object: " + detail).c_str(), scope,
                 interfaceName);
        return 0;
    }
    const size_t phaseCount = phaseLabels.size();
    if (static_cast<size_t>(labels.Count()) != phaseCount) {
        SetError(L"Phase equilibria for a subset of all phases is not supported", scope, interfaceName);
        return 0;
    }
    // Every package phase must be present exactly once, in any order.
    bool localSeen[16] = {};
    std::unique_ptr<bool[]> heapSeen;
    bool *seen = localSeen;
    if (phaseCount > 16) {
        heapSeen.reset(new bool[phaseCount]());
        seen = heapSeen.get();
    }
    for (LONG i = 0; i < labels.Count(); ++i) {
        BSTR label = labels.PeekString(i);
        if (!label) {
            SetError(L"List of present phases contains NULL values", scope, interfaceName);
            return 0;
        }
        const int *index = phaseIndex.Lookup(label);
        if (!index || *index < 0 || static_cast<size_t>(*index) >= phaseCount) {
            std::wstring message = L"Undefined phase \"";
            message += label;
            message += L" in list of present phases";
            SetError(message.c_str(), scope, interfaceName);
            return 0;
        }
        if (seen[*index]) {
            std::wstring message = L"Phase \"";
            message += label;
            message += L"\" present more than once in list of present phases";
            SetError(message.c_str(), scope, interfaceName);
            return 0;
        }
        seen[*index] = true;
    }

    EquilibriumSpecCode code = 0;
    const VARIANT *specifications[] = {&specification1, &specification2};
    for (int k = 0; k < 2; ++k) {
        if (!ParseOneSpecification(*this, *specifications[k], code, detail)) {
            std::wstring message = L"Invalid equilibruim specification ";
            message += static_cast<wchar_t>(L'1' + k);
            message += L": ";
            message += detail;
            SetError(message.c_str(), scope, interfaceName);
            return 0;
        }
    }

    if (SysStringLen(solutionType) == 0 || NamesEqual(solutionType, L"unspecified")) return code;
    if (NamesEqual(solutionType, L"normal") || NamesEqual(solutionType, L"retrograde")) {
        SetError((code & SpecVaporFraction) ? L"Normal and retrograde flashes are not supported"
                                            : L"Normal and retrograde flashes only apply to vapor fraction flashes",
                 scope, interfaceName);
        return 0;
    }
    SetError(L"Invalid solution type argument", scope, interfaceName);
    return 0;
}

HRESULT CPropertyPackage::CheckEquilibriumSpec(VARIANT specification1, VARIANT specification2, BSTR solutionType,
                                               VARIANT_BOOL *isSupported)
{
    constexpr const wchar_t *scope = PACKAGE_SCOPE(L"CheckEquilibriumSpec");
    return ComGuard([&]() -> HRESULT {
        if (!isSupported) return E_POINTER;
        if (initPending && !EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
        if (!ValidateContextMaterial(scope, interfaceName)) return ECapeUnknownHR;
        *isSupported = VARIANT_FALSE;
        // A specification that does not parse is simply not supported; the
        // reason stays readable through the error interfaces.
        const EquilibriumSpecCode code = ParseEquilibriumSpec(scope, specification1, specification2, solutionType);
        if (code != 0 && flashTypes.count(code) != 0) *isSupported = VARIANT_TRUE;
        return S_OK;
    });
}
