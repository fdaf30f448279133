// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::CheckEquilibriumSpec(VARIANT specification1, VARIANT specification2, BSTR solutionType, VARIANT_BOOL *isSupported)
{
    return E_NOTIMPL;
}

EquilibriumSpecCode CPropertyPackage::ParseEquilibriumSpec(const wchar_t *scope, const VARIANT &specification1, const VARIANT &specification2, BSTR solutionType)
{
    return 0;
}

void CPropertyPackage::FillFlashTypes()
{
    
}
