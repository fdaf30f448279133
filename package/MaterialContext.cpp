// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::SetMaterial(IDispatch *material)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::UnsetMaterial()
{
    return E_NOTIMPL;
}

bool CPropertyPackage::ValidateContextMaterial(const wchar_t *scope, const wchar_t *interfaceName)
{
    return false;
}
