// The class object of one row of the class table. The module keeps one
// reference from creation until unload; any further holder keeps the module
// loaded (the lock count rises while the count is above 1).
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "ClassTable.h"

class CClassFactory : public IClassFactory {
public:
    explicit CClassFactory(const ClassTableRow &row) : row(row) {}
    CClassFactory(const CClassFactory &) = delete;
    CClassFactory &operator=(const CClassFactory &) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    virtual ~CClassFactory() = default;

    const ClassTableRow &row;
    LONG refCount = 1;  // the module's reference
};
