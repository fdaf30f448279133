// The DLL's COM entry points: one creatable class, the thermo system.
#include <windows.h>

#include "CapeOpenBaseObject.h"
#include "ExampleIds.h"
#include "ExampleThermoSystem.h"
#include "ModuleLock.h"

namespace {

class CExampleClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static: its references only keep the module loaded.
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(ModuleLockIncrement()); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(ModuleLockDecrement()); }
    STDMETHODIMP CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override
    {
        return CreateComObject<CExampleThermoSystem>(outer, riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            ModuleLockIncrement();
        else
            ModuleLockDecrement();
        return S_OK;
    }
};

CExampleClassFactory classFactory;

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void **ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_ExampleThermoSystem)) return CLASS_E_CLASSNOTAVAILABLE;
    return classFactory.QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow()
{
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}
