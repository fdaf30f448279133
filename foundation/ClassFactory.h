// A class object (IClassFactory) for one creatable class. Its creator keeps
// one reference, the module's, from creation until unload; while anybody else
// holds it too (its count above 1) the module stays loaded.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <functional>

class CClassFactory : public IClassFactory {
public:
    // Creates an instance (outer may be null) and queries it for riid.
    using CreateFunction = std::function<HRESULT(IUnknown *outer, REFIID riid, void **ppv)>;

    explicit CClassFactory(CreateFunction create) : create(std::move(create)) {}
    CClassFactory(const CClassFactory &) = delete;
    CClassFactory &operator=(const CClassFactory &) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    virtual ~CClassFactory() = default;

    CreateFunction create;
    LONG refCount = 1;  // the module's reference
};
