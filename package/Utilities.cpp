// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

HRESULT CPropertyPackage::get_parameters(IDispatch **parameters)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::put_simulationContext(IDispatch *context)
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::Initialize()
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::Terminate()
{
    return E_NOTIMPL;
}

HRESULT CPropertyPackage::Edit()
{
    return E_NOTIMPL;
}
