// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::CalcEquilibrium(VARIANT specification1, VARIANT specification2, BSTR solutionType)
{
    return E_NOTIMPL;
}
