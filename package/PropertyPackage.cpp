// CPropertyPackage: construction, destruction and the interface table.
#include "PropertyPackage.h"

CPropertyPackage::CPropertyPackage() = default;

CPropertyPackage::~CPropertyPackage()
{
    Terminate();
    // A 1.0 package may keep the material object beyond this package's life;
    // cut its way back here so that it fails cleanly instead.
    if (materialObject) materialObject->package = nullptr;
    materialObject.Reset();
}

bool CPropertyPackage::RefuseReentry(const wchar_t *scope, const wchar_t *interfaceName)
{
    if (!busy) return false;
    SetError(L"Property package is busy with another call", scope, interfaceName);
    return true;
}

IDispatch *CPropertyPackage::MaterialObject10() const
{
    if (!materialObject) return nullptr;
    return static_cast<ICapeThermoMaterialObject *>(materialObject.Get());
}

IUnknown *CPropertyPackage::MainInterface()
{
    return static_cast<ICapeThermoCompounds *>(this);
}

IUnknown *CPropertyPackage::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoCompounds))) return static_cast<ICapeThermoCompounds *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeThermoEquilibriumRoutine)))
        return static_cast<ICapeThermoEquilibriumRoutine *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeThermoMaterialContext)))
        return static_cast<ICapeThermoMaterialContext *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeThermoPhases))) return static_cast<ICapeThermoPhases *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeThermoPropertyRoutine)))
        return static_cast<ICapeThermoPropertyRoutine *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeThermoUniversalConstant)))
        return static_cast<ICapeThermoUniversalConstant *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeUtilities))) return static_cast<ICapeUtilities *>(this);
    return nullptr;
}

// Persistence belongs to the 1.0 package: a simulator saving this package
// saves the 1.0 package's state.
HRESULT CPropertyPackage::QueryFurtherInterface(REFIID riid, void **ppv)
{
    *ppv = nullptr;
    if (!package10 || !(IsEqualIID(riid, IID_IPersistStream) || IsEqualIID(riid, IID_IPersistStreamInit)))
        return E_NOINTERFACE;
    HRESULT hr = package10->QueryInterface(riid, ppv);
    return ObjectResult(hr, *ppv);
}
