// PLACEHOLDER: to be implemented.
#include "MaterialObject.h"

CMaterialObject::CMaterialObject()
{
    
}

HRESULT CMaterialObject::get_ComponentIds(VARIANT *compIds)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::get_PhaseIds(VARIANT *phaseIds)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::GetUniversalConstant(VARIANT props, VARIANT *propVals)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::GetComponentConstant(VARIANT props, VARIANT compIds, VARIANT *propVals)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::CalcProp(VARIANT props, VARIANT phases, BSTR calcType)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::CalcEquilibrium(BSTR flashType, VARIANT props)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::SetIndependentVar(VARIANT indVars, VARIANT values)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::GetIndependentVar(VARIANT indVars, VARIANT *values)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::PropCheck(VARIANT props, VARIANT *valid)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::AvailableProps(VARIANT *props)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::RemoveResults(VARIANT props)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::CreateMaterialObject(IDispatch **materialObject)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::Duplicate(IDispatch **clone)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::ValidityCheck(VARIANT props, VARIANT *relList)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::GetPropList(VARIANT *props)
{
    return E_NOTIMPL;
}

HRESULT CMaterialObject::GetNumComponents(long *numComp)
{
    return E_NOTIMPL;
}

bool CMaterialObject::CheckCompoundList(const VARIANT &compIds, std::wstring &error) const
{
    return false;
}

IUnknown *CMaterialObject::MainInterface()
{
    return static_cast<ICapeThermoMaterialObject *>(this);
}

IUnknown *CMaterialObject::FindOwnInterface(REFIID riid)
{
    return nullptr;
}
