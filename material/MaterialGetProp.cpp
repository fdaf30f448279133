// PLACEHOLDER: to be implemented.
#include "MaterialObject.h"

HRESULT CMaterialObject::GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis, VARIANT *results)
{
    return E_NOTIMPL;
}
