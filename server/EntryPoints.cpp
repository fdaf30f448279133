// The exported entry points through which COM and installers reach the server.
#include <windows.h>
#include <unknwn.h>

#include "ClassTable.h"
#include "ComGuard.h"
#include "CorvantaModule.h"
#include "ModuleLock.h"
#include "Registration.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        corvantaModule.Attach(instance);
        return corvantaModule.Ready() ? TRUE : FALSE;
    }
    // At process exit other DLLs may be gone already: only a FreeLibrary
    // unload releases what the module keeps.
    if (reason == DLL_PROCESS_DETACH && !reserved) corvantaModule.Unload();
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void **ppv)
{
    return ComGuard([&] {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        size_t row = FindClassRow(clsid);
        if (row == classTableSize) return CLASS_E_CLASSNOTAVAILABLE;
        IClassFactory *factory = corvantaModule.ClassObject(row);
        if (!factory) return E_OUTOFMEMORY;
        HRESULT hr = factory->QueryInterface(riid, ppv);
        factory->Release();
        return hr;
    });
}

HRESULT WINAPI DllCanUnloadNow()
{
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI DllRegisterServer()
{
    return ComGuard([] { return RegisterServer(); });
}

HRESULT WINAPI DllUnregisterServer()
{
    return ComGuard([] { return UnregisterServer(); });
}

HRESULT WINAPI DllInstall(BOOL install, LPCWSTR commandLine)
{
    return ComGuard([&] { return InstallServer(install != FALSE, commandLine); });
}

}  // extern "C"
