#include "ClassFactory.h"

#include "ComGuard.h"
#include "ModuleLock.h"

HRESULT CClassFactory::QueryInterface(REFIID riid, void **ppv)
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

ULONG CClassFactory::AddRef()
{
    LONG count = InterlockedIncrement(&refCount);
    // The first holder besides the module keeps the DLL loaded.
    if (count == 2) ModuleLockIncrement();
    return static_cast<ULONG>(count);
}

ULONG CClassFactory::Release()
{
    LONG count = InterlockedDecrement(&refCount);
    if (count == 1) ModuleLockDecrement();
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT CClassFactory::CreateInstance(IUnknown *outer, REFIID riid, void **ppv)
{
    return ComGuard([&] {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        return create(outer, riid, ppv);
    });
}

HRESULT CClassFactory::LockServer(BOOL lock)
{
    if (lock)
        ModuleLockIncrement();
    else
        ModuleLockDecrement();
    return S_OK;
}
