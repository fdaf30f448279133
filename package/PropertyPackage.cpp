// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

CPropertyPackage::CPropertyPackage()
{
    
}

CPropertyPackage::~CPropertyPackage()
{
    
}

IDispatch *CPropertyPackage::MaterialObject10() const
{
    return nullptr;
}

IUnknown *CPropertyPackage::MainInterface()
{
    return static_cast<ICapeThermoCompounds *>(this);
}

IUnknown *CPropertyPackage::FindOwnInterface(REFIID riid)
{
    return nullptr;
}

HRESULT CPropertyPackage::QueryFurtherInterface(REFIID riid, void **ppv)
{
    *ppv = nullptr; return E_NOINTERFACE;
}
