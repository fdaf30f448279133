// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::CalcAndGetLnPhi(BSTR phaseLabel, double temperature, double pressure, VARIANT moleNumbers, int fFlags, VARIANT *lnPhi, VARIANT *lnPhiDT, VARIANT *lnPhiDP, VARIANT *lnPhiDn)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::CalcSinglePhaseProp(VARIANT props, BSTR phaseLabel)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::CalcTwoPhaseProp(VARIANT props, VARIANT phaseLabels)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::CheckSinglePhasePropSpec(BSTR property, BSTR phaseLabel, VARIANT_BOOL *valid)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::CheckTwoPhasePropSpec(BSTR property, VARIANT phaseLabels, VARIANT_BOOL *valid)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetSinglePhasePropList(VARIANT *props)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetTwoPhasePropList(VARIANT *props)
{
    return E_NOTIMPL;
}
