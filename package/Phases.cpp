// ICapeThermoPhases: served from what initialisation stored.
#include "PropertyPackage.h"

#include "ErrorText.h"
#include "Names.h"

namespace {
constexpr const wchar_t *phasesInterface = L"ICapeThermoPhases";
}

HRESULT CPropertyPackage::GetNumPhases(long *num)
{
    return ComGuard([&]() -> HRESULT {
        if (!num) return E_POINTER;
        if (initPending && !EnsureInitialized(phasesInterface, PACKAGE_SCOPE(L"GetNumPhases"))) return ECapeUnknownHR;
        *num = phaseLabelsList.Count();
        return S_OK;
    });
}

HRESULT CPropertyPackage::GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT *value)
{
    return ComGuard([&]() -> HRESULT {
        if (!phaseLabel || !phaseAttribute || !value) return E_POINTER;
        constexpr const wchar_t *scope = PACKAGE_SCOPE(L"GetPhaseInfo");
        if (initPending && !EnsureInitialized(phasesInterface, scope)) return ECapeUnknownHR;
        const int *index = phaseIndex.Lookup(phaseLabel);
        if (!index) return Fail(L"Invalid/unsuppored phase name", scope, phasesInterface);
        const CVariantArray *attribute = nullptr;
        if (NamesEqual(phaseAttribute, L"stateOfAggregation"))
            attribute = &stateOfAggregationList;
        else if (NamesEqual(phaseAttribute, L"KeyCompoundId"))
            attribute = &keyCompoundIdList;
        else
            return Fail(L"Invalid/unsuppored phase attribute", scope, phasesInterface);
        // The out value is written over, not cleared: it is an [out, retval].
        BSTR text = attribute->GetString(*index);
        V_VT(value) = VT_BSTR;
        V_BSTR(value) = text;
        return S_OK;
    });
}

HRESULT CPropertyPackage::GetPhaseList(VARIANT *phaseLabels, VARIANT *stateOfAggregation, VARIANT *keyCompoundId)
{
    return ComGuard([&]() -> HRESULT {
        if (!phaseLabels || !stateOfAggregation || !keyCompoundId) return E_POINTER;
        constexpr const wchar_t *scope = PACKAGE_SCOPE(L"GetPhaseList");
        if (initPending && !EnsureInitialized(phasesInterface, scope)) return ECapeUnknownHR;
        const CVariantArray *sources[] = {&phaseLabelsList, &stateOfAggregationList, &keyCompoundIdList};
        VARIANT *targets[] = {phaseLabels, stateOfAggregation, keyCompoundId};
        for (int i = 0; i < 3; ++i) {
            VariantClear(targets[i]);
            HRESULT hr = VariantCopy(targets[i], const_cast<VARIANT *>(&sources[i]->Value()));
            if (FAILED(hr)) return Fail(L"Failed to copy VARIANT: " + ErrorText(hr), scope, phasesInterface);
        }
        return S_OK;
    });
}
