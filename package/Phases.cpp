// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::GetNumPhases(long *num)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT *value)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetPhaseList(VARIANT *phaseLabels, VARIANT *stateOfAggregation, VARIANT *keyCompoundId)
{
    return E_NOTIMPL;
}
