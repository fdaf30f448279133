// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT *propVals)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps, VARIANT *molwts, VARIANT *casnos)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetConstPropList(VARIANT *props)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetNumCompounds(long *num)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT *propVals)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetPDependentPropList(VARIANT *props)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds, VARIANT *propVals)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetTDependentPropList(VARIANT *props)
{
    return E_NOTIMPL;
}
