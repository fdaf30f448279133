// ICapeThermoPropertyRoutine: single-phase and two-phase properties and
// fugacity coefficients, each through one 1.0 CalcProp whose results the
// material object routes to the 1.1 material or the caller's outputs.
#include "PropertyPackage.h"

#include "ErrorText.h"
#include "Names.h"
#include "PropertyRequest.h"

namespace {

constexpr const wchar_t *interfaceName = L"ICapeThermoPropertyRoutine";

// "Property "<name>" was not calculated" for the first property without values.
HRESULT CheckOutcome(CPropertyPackage &pkg, const wchar_t *scope)
{
    const int missing = FirstUnfilledSlot(pkg);
    if (missing < 0) return S_OK;
    std::wstring message = L"Property \"";
    message += pkg.requestNames[missing];
    message += L"\" was not calculated";
    return pkg.Fail(message, scope, interfaceName);
}


// The lnPhi requests by flag bit, in the order they are asked of the 1.0 package.
struct LnPhiRequest {
    int flag;
    const wchar_t *name10;
    const wchar_t *unsupported;
};
constexpr LnPhiRequest lnPhiRequests[] = {
    {1, L"LogFugacityCoefficient", L"LogFugacityCoefficient is not supported"},
    {2, L"LogFugacityCoefficient.Dtemperature", L"LogFugacityCoefficient.Dtemperature is not supported"},
    {4, L"LogFugacityCoefficient.Dpressure", L"LogFugacityCoefficient.Dpressure is not supported"},
    {8, L"LogFugacityCoefficient.Dmoles", L"LogFugacityCoefficient.Dmoles is not supported"},
};

// Whether CalcTwoPhaseProp accepts the phase pair (labels, checked here); on
// false, error says why.
// CheckTwoPhasePropSpec answers with the same test.
bool AcceptsPhasePair(const CPropertyPackage &pkg, CVariantArray &labels, std::wstring &error)
{
    if (!pkg.hasVaporLabel || !pkg.hasLiquidLabel) {
        error = L"Unsupported phase combination";
        return false;
    }
    if (!labels.Check(VT_BSTR, error)) {
        error = L"Invalid phase pair: " + error;
        return false;
    }
    if (labels.Count() != 2) {
        error = L"Invalid phase pair: expected two phases";
        return false;
    }
    if (!NamesEqual(labels.PeekString(0), L"Vapor") || !NamesEqual(labels.PeekString(1), L"Liquid")) {
        error = L"Unsupported phase combination";
        return false;
    }
    return true;
}

// Keeps conditionPhase equal to label, copying only when it changes.
void SetConditionPhase(CPropertyPackage &pkg, BSTR label)
{
    if (pkg.conditionPhase.Get() && label && SysStringLen(label) == pkg.conditionPhase.Length() &&
        wmemcmp(label, pkg.conditionPhase.Get(), SysStringLen(label)) == 0)
        return;
    pkg.conditionPhase.Reset(CopyBstr(label));
}

// Puts label into the phase list of the 1.0 call, copying only when it changes.
void PutCalcPhase(CPropertyPackage &pkg, BSTR label)
{
    BSTR current = pkg.calcPhaseList.PeekString(0);
    const UINT length = SysStringLen(label);
    if (current && label && SysStringLen(current) == length && wmemcmp(current, label, length) == 0) return;
    pkg.calcPhaseList.PutElement(0, label);
}

// The 1.0 names asked for with one combination of lnPhi flags: a list kept
// per combination and rebuilt only when its names change.
const CVariantArray &LnPhiNameList(CPropertyPackage &pkg, int fFlags, const BSTR *names, size_t count)
{
    CVariantArray &list = pkg.lnPhiNameLists[fFlags];
    bool same = list.Count() == static_cast<LONG>(count);
    for (LONG s = 0; same && s < list.Count(); ++s) {
        BSTR kept = list.PeekString(s);
        const UINT length = SysStringLen(names[s]);
        same = kept && SysStringLen(kept) == length && wmemcmp(kept, names[s], length) == 0;
    }
    if (same) return list;
    list.Create(static_cast<LONG>(count), VT_BSTR);
    for (LONG s = 0; s < static_cast<LONG>(count); ++s) list.PutElement(s, names[s]);
    return list;
}

// The client's arguments are only lent for the duration of a call: forget
// them afterwards, so that a 1.0 package calling back late reaches nothing.
class BorrowedArguments {
public:
    explicit BorrowedArguments(CPropertyPackage &pkg) : pkg_(pkg) {}
    ~BorrowedArguments()
    {
        pkg_.currentPhase = nullptr;
        pkg_.twoPhaseLabels = nullptr;
        pkg_.lnPhiComposition = nullptr;
        for (VARIANT *&target : pkg_.lnPhiTargets) target = nullptr;
    }
    BorrowedArguments(const BorrowedArguments &) = delete;
    BorrowedArguments &operator=(const BorrowedArguments &) = delete;

private:
    CPropertyPackage &pkg_;
};

}  // namespace

HRESULT CPropertyPackage::GetSinglePhasePropList(VARIANT *props)
{
    return ComGuard([&] {
        return CopyPropertyList(*this, interfaceName, PACKAGE_SCOPE(L"GetSinglePhasePropList"), singlePhasePropList,
                                props);
    });
}

HRESULT CPropertyPackage::GetTwoPhasePropList(VARIANT *props)
{
    return ComGuard([&] {
        return CopyPropertyList(*this, interfaceName, PACKAGE_SCOPE(L"GetTwoPhasePropList"), twoPhasePropList, props);
    });
}

HRESULT CPropertyPackage::CheckSinglePhasePropSpec(BSTR property, BSTR phaseLabel, VARIANT_BOOL *valid)
{
    return ComGuard([&]() -> HRESULT {
        if (!property || !phaseLabel || !valid) return E_POINTER;
        if (initPending && !EnsureInitialized(interfaceName, PACKAGE_SCOPE(L"CheckSinglePhasePropSpec")))
            return ECapeUnknownHR;
        *valid = VARIANT_FALSE;
        const PropertyRecord *record = propsBy11Name.Lookup(property);
        if (record && record->row && record->row->category == PropertyCategory::SinglePhase &&
            phaseIndex.Contains(phaseLabel))
            *valid = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT CPropertyPackage::CheckTwoPhasePropSpec(BSTR property, VARIANT phaseLabels, VARIANT_BOOL *valid)
{
    return ComGuard([&]() -> HRESULT {
        if (!property || !valid) return E_POINTER;
        if (initPending && !EnsureInitialized(interfaceName, PACKAGE_SCOPE(L"CheckTwoPhasePropSpec")))
            return ECapeUnknownHR;
        *valid = VARIANT_FALSE;
        const PropertyRecord *record = propsBy11Name.Lookup(property);
        if (!record || !record->row || record->row->category != PropertyCategory::TwoPhase) return S_OK;
        CVariantArray labels;
        labels.Attach(phaseLabels, false);
        std::wstring ignored;
        if (AcceptsPhasePair(*this, labels, ignored)) *valid = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT CPropertyPackage::CalcSinglePhaseProp(VARIANT props, BSTR phaseLabel)
{
    constexpr const wchar_t *scope = PACKAGE_SCOPE(L"CalcSinglePhaseProp");
    return ComGuard([&]() -> HRESULT {
        if (!phaseLabel) return E_POINTER;
        if (RefuseReentry(scope, interfaceName)) return ECapeUnknownHR;
        if (initPending && !EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
        BusyScope busyScope(*this);
        BorrowedArguments borrowed(*this);
        if (!ValidateContextMaterial(scope, interfaceName)) return ECapeUnknownHR;
        if (!phaseIndex.Contains(phaseLabel)) {
            std::wstring message = L"Unsupported/unknown phase: \"";
            message += phaseLabel;
            message += L'"';
            return Fail(message, scope, interfaceName);
        }
        currentPhase = phaseLabel;
        CVariantArray propList;
        propList.Attach(props, false);
        std::wstring error;
        if (!propList.Check(VT_BSTR, error))
            return Fail(L"Invalid list of properties: " + error, scope, interfaceName);
        CVariantArray translated;
        const VARIANT *list10 = nullptr;
        if (!PreparePropertyRequest(*this, propList, PropertyCategory::SinglePhase,
                                    L"Invalid/unsupported single-phase property: ", translated, list10, error))
            return Fail(error, scope, interfaceName);
        if (!package10) return Fail(L"Property package is not available", scope, interfaceName);

        CalcModeScope mode(materialObject.Get(), CalcModeSinglePhase);
        SetConditionPhase(*this, phaseLabel);
        PutCalcPhase(*this, phaseLabel);
        HRESULT hr = package10->CalcProp(MaterialObject10(), *list10, calcPhaseList.Value(), bstrMixture.Get());
        if (FAILED(hr)) return Fail(CapeErrorText(package10.Get(), hr), scope, interfaceName);
        return CheckOutcome(*this, scope);
    });
}

HRESULT CPropertyPackage::CalcTwoPhaseProp(VARIANT props, VARIANT phaseLabels)
{
    constexpr const wchar_t *scope = PACKAGE_SCOPE(L"CalcTwoPhaseProp");
    return ComGuard([&]() -> HRESULT {
        if (RefuseReentry(scope, interfaceName)) return ECapeUnknownHR;
        if (initPending && !EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
        BusyScope busyScope(*this);
        BorrowedArguments borrowed(*this);
        if (!ValidateContextMaterial(scope, interfaceName)) return ECapeUnknownHR;
        CVariantArray labels;
        labels.Attach(phaseLabels, false);
        std::wstring error;
        if (!AcceptsPhasePair(*this, labels, error)) return Fail(error, scope, interfaceName);
        SetConditionPhase(*this, labels.PeekString(0));
        twoPhaseLabels = &phaseLabels;

        CVariantArray propList;
        propList.Attach(props, false);
        if (!propList.Check(VT_BSTR, error))
            return Fail(L"Invalid list of properties: " + error, scope, interfaceName);
        CVariantArray translated;
        const VARIANT *list10 = nullptr;
        if (!PreparePropertyRequest(*this, propList, PropertyCategory::TwoPhase,
                                    L"Invalid/unsupported two-phase property: ", translated, list10, error))
            return Fail(error, scope, interfaceName);
        bool onlySurfaceTension = true;
        for (const PropertyRecord *record : requestRecords)
            if (!NamesEqual(record->row->name10, L"SurfaceTension")) onlySurfaceTension = false;
        if (!package10) return Fail(L"Property package is not available", scope, interfaceName);

        CalcModeScope mode(materialObject.Get(), CalcModeTwoPhase);
        calcPhaseList.PutElement(0, bstrVaporLiquid.Get());
        // Some 1.0 packages give surface tension only for the phase Liquid;
        // once one did, ask it that way first.
        HRESULT hr = E_FAIL;
        if (!(surfaceTensionOnLiquid && onlySurfaceTension)) {
            hr = package10->CalcProp(MaterialObject10(), *list10, calcPhaseList.Value(), bstrMixture.Get());
            if (SUCCEEDED(hr)) return CheckOutcome(*this, scope);
        }
        if (onlySurfaceTension) {
            calcPhaseList.PutElement(0, bstrLiquid.Get());
            hr = package10->CalcProp(MaterialObject10(), *list10, calcPhaseList.Value(), bstrMixture.Get());
            if (SUCCEEDED(hr)) {
                surfaceTensionOnLiquid = true;
                return CheckOutcome(*this, scope);
            }
        }
        return Fail(CapeErrorText(package10.Get(), hr), scope, interfaceName);
    });
}

HRESULT CPropertyPackage::CalcAndGetLnPhi(BSTR phaseLabel, double temperature, double pressure,
                                          VARIANT moleNumbers, int fFlags, VARIANT *lnPhi, VARIANT *lnPhiDT,
                                          VARIANT *lnPhiDP, VARIANT *lnPhiDn)
{
    constexpr const wchar_t *scope = PACKAGE_SCOPE(L"CalcAndGetLnPhi");
    return ComGuard([&]() -> HRESULT {
        if (RefuseReentry(scope, interfaceName)) return ECapeUnknownHR;
        if (initPending && !EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
        BusyScope busyScope(*this);
        BorrowedArguments borrowed(*this);
        if (!ValidateContextMaterial(scope, interfaceName)) return ECapeUnknownHR;
        if (!phaseLabel || !phaseIndex.Contains(phaseLabel))
            return Fail(L"Invalid/unsuppored phase name", scope, interfaceName);
        if ((fFlags & ~15) != 0) return Fail(L"Invalid calculation request flags", scope, interfaceName);
        if (fFlags == 0) return S_OK;

        calcTemperature = temperature;
        calcPressure = pressure;
        currentPhase = phaseLabel;
        lnPhiComposition = &moleNumbers;
        lnPhiTargets.clear();
        resultSlots.Fill(-1);
        VARIANT *const outputs[] = {lnPhi, lnPhiDT, lnPhiDP, lnPhiDn};
        const wchar_t *names[4];
        BSTR spelled10[4];  // as the 1.0 package lists them
        for (size_t r = 0; r < 4; ++r) {
            const LnPhiRequest &request = lnPhiRequests[r];
            if (!(fFlags & request.flag)) continue;
            const PropertyRecord *record = propsBy10Name.Lookup(request.name10);
            if (!record) return Fail(request.unsupported, scope, interfaceName);
            if (!outputs[r]) return E_POINTER;
            VariantClear(outputs[r]);
            names[lnPhiTargets.size()] = request.name10;
            spelled10[lnPhiTargets.size()] = record->name10.Get();
            resultSlots.Entry(request.name10) = static_cast<int>(lnPhiTargets.size());
            lnPhiTargets.push_back(outputs[r]);
        }
        const size_t count = lnPhiTargets.size();
        slotFilled.assign(count, false);
        PutCalcPhase(*this, phaseLabel);
        const CVariantArray &list10 = LnPhiNameList(*this, fFlags, spelled10, count);
        if (!package10) return Fail(L"Property package is not available", scope, interfaceName);

        CalcModeScope mode(materialObject.Get(), CalcModeLnPhi);
        HRESULT hr =
            package10->CalcProp(MaterialObject10(), list10.Value(), calcPhaseList.Value(), bstrMixture.Get());
        if (FAILED(hr)) return Fail(CapeErrorText(package10.Get(), hr), scope, interfaceName);
        for (size_t s = 0; s < count; ++s) {
            if (!slotFilled[s]) {
                std::wstring message = L"Property ";
                message += names[s];
                message += L" was not set";
                return Fail(message, scope, interfaceName);
            }
        }
        return S_OK;
    });
}
