// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::GetUniversalConstant(BSTR constantId, VARIANT *constantValue)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::GetUniversalConstantList(VARIANT *constantIds)
{
    return E_NOTIMPL;
}
