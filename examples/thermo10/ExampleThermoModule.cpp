// The DLL's COM entry points: one creatable class, the thermo system.
#include <windows.h>

#include <new>

#include "CapeOpenBaseObject.h"
#include "ClassFactory.h"
#include "ExampleIds.h"
#include "ExampleThermoSystem.h"
#include "ModuleLock.h"

namespace {

// Made on first request and kept, with the module's reference, until unload.
CClassFactory *classFactory = nullptr;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // At process exit (reserved not null) other DLLs may be gone already.
    if (reason == DLL_PROCESS_DETACH && !reserved && classFactory) {
        classFactory->Release();
        classFactory = nullptr;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void **ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_ExampleThermoSystem)) return CLASS_E_CLASSNOTAVAILABLE;
    {
        ModuleLockGuard guard;
        if (!classFactory) classFactory = new (std::nothrow) CClassFactory(&CreateComObject<CExampleThermoSystem>);
    }
    if (!classFactory) return E_OUTOFMEMORY;
    return classFactory->QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow()
{
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}
