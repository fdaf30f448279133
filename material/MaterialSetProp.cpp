// PLACEHOLDER: to be implemented.
#include "MaterialObject.h"

HRESULT CMaterialObject::SetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis, VARIANT values)
{
    return E_NOTIMPL;
}
