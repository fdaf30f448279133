// CapeOpenBaseObject: the base of every COM object of the system. It gives
// identification (ICapeIdentification), the CAPE-OPEN error interfaces with
// one shared error state, the IUnknown plumbing (stand-alone or aggregated)
// and the IDispatch part of every interface, served from type information.
#pragma once

#include <windows.h>
#include <string>

#include "CapeOpen.h"
#include "CapeOpenResults.h"
#include "ComGuard.h"
#include "TypeInfoCache.h"

class CapeOpenBaseObject;

// Late-bound clients (scripts, macros) call any method of an object through
// whichever of its interfaces they hold. A name that interface lacks is
// looked up in the object's other interfaces; the DISPID it gets then names
// that interface in its upper half (the CAPE-OPEN DISPIDs are small).
HRESULT GetIDsOfObjectNames(CapeOpenBaseObject &object, REFIID own, LPOLESTR *names, UINT count, DISPID *ids);
inline bool IsObjectMemberId(DISPID id) { return id > 0xFFFF; }
HRESULT InvokeObjectMember(CapeOpenBaseObject &object, DISPID id, WORD flags, DISPPARAMS *params, VARIANT *result,
                           EXCEPINFO *exception, UINT *argError);

// The IDispatch part of interface I, answered from I's type information and,
// for names I lacks, from the object's other interfaces.
template <class I>
class DispatchPart : public I {
public:
    STDMETHODIMP GetTypeInfoCount(UINT *count) override
    {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo **info) override
    {
        if (index != 0) return DISP_E_BADINDEX;
        if (!info) return E_POINTER;
        return GetCapeOpenTypeInfo(__uuidof(I), info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override
    {
        ITypeInfo *info = nullptr;
        HRESULT hr = GetCapeOpenTypeInfo(__uuidof(I), &info);
        if (FAILED(hr)) return hr;
        hr = DispGetIDsOfNames(info, names, count, ids);
        info->Release();
        if (hr == DISP_E_UNKNOWNNAME) hr = GetIDsOfObjectNames(DispatchOwner(), __uuidof(I), names, count, ids);
        return hr;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result,
                        EXCEPINFO *exception, UINT *argError) override
    {
        if (IsObjectMemberId(id))
            return InvokeObjectMember(DispatchOwner(), id, flags, params, result, exception, argError);
        ITypeInfo *info = nullptr;
        HRESULT hr = GetCapeOpenTypeInfo(__uuidof(I), &info);
        if (FAILED(hr)) return hr;
        hr = DispInvoke(static_cast<I *>(this), info, id, flags, params, result, exception, argError);
        info->Release();
        return hr;
    }

protected:
    // The object this interface belongs to.
    virtual CapeOpenBaseObject &DispatchOwner() = 0;
};

// One interface of an object as late-bound clients reach it.
struct DispatchInterface {
    const IID *iid;
    IDispatch *dispatch;
};
constexpr size_t maxDispatchInterfaces = 16;

class CapeOpenBaseObject : public DispatchPart<ECapeRoot>,
                           public DispatchPart<ECapeUnknown>,
                           public DispatchPart<ECapeUser>,
                           public DispatchPart<ECapeNoImpl>,
                           public DispatchPart<ICapeIdentification> {
public:
    CapeOpenBaseObject();
    virtual ~CapeOpenBaseObject();
    CapeOpenBaseObject(const CapeOpenBaseObject &) = delete;
    CapeOpenBaseObject &operator=(const CapeOpenBaseObject &) = delete;

    // IUnknown of every interface: delegates to the outer object when
    // aggregated. Derived classes reach these through CapeObject<>.
    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // The object's own IUnknown, whatever the aggregation.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void **ppv);
    ULONG NonDelegatingAddRef();
    ULONG NonDelegatingRelease();
    // Makes the object part of an aggregate; returns its inner IUnknown.
    IUnknown *Aggregate(IUnknown *outer);

    // ECapeRoot
    STDMETHODIMP get_name(BSTR *name) override;
    // ECapeUser
    STDMETHODIMP get_code(long *code) override;
    STDMETHODIMP get_description(BSTR *description) override;
    STDMETHODIMP get_scope(BSTR *scope) override;
    STDMETHODIMP get_interfaceName(BSTR *interfaceName) override;
    STDMETHODIMP get_operation(BSTR *operation) override;
    STDMETHODIMP get_moreInfo(BSTR *moreInfo) override;
    // ICapeIdentification
    STDMETHODIMP get_ComponentName(BSTR *name) override;
    STDMETHODIMP put_ComponentName(BSTR name) override;
    STDMETHODIMP get_ComponentDescription(BSTR *description) override;
    STDMETHODIMP put_ComponentDescription(BSTR description) override;

    // Records a failure, replacing the previous one.
    void SetError(const wchar_t *description, const wchar_t *scope, const wchar_t *interfaceName);
    // Records a failure and returns ECapeUnknownHR: the error convention.
    HRESULT Fail(const std::wstring &description, const wchar_t *scope, const wchar_t *interfaceName);
    // The "not implemented" convention: "<scope> is not implemented".
    HRESULT NotImplemented(const wchar_t *scope, const wchar_t *interfaceName);

    const std::wstring &ComponentNameText() const { return componentName; }
    void SetIdentification(const wchar_t *name, const wchar_t *description);
    const std::wstring &ErrorDescription() const { return errorDescription; }
    const std::wstring &ErrorScope() const { return errorScope; }
    const std::wstring &ErrorInterface() const { return errorInterface; }

    // Every interface of the object with an IDispatch part, in table order
    // (own interfaces, then the five base ones); returns the count.
    size_t DispatchInterfaces(DispatchInterface (&list)[maxDispatchInterfaces]);

protected:
    // The class's main interface (first row of its table; also IDispatch).
    virtual IUnknown *MainInterface() = 0;
    // The class's own interfaces, in table order; null when not found.
    virtual IUnknown *FindOwnInterface(REFIID riid) = 0;
    // Called for an IID found nowhere in the table (AddRef'd answer).
    virtual HRESULT QueryFurtherInterface(REFIID riid, void **ppv);
    // Fills list with the class's own interfaces, in table order; returns the count.
    virtual size_t OwnDispatchInterfaces(DispatchInterface *list) = 0;
    CapeOpenBaseObject &DispatchOwner() override { return *this; }

private:
    class InnerUnknown : public IUnknown {
    public:
        explicit InnerUnknown(CapeOpenBaseObject *owner) : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override { return owner_->NonDelegatingAddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return owner_->NonDelegatingRelease(); }

    private:
        CapeOpenBaseObject *owner_;
    };

    ULONG refCount = 0;
    IUnknown *outer = nullptr;  // not counted: the outer object owns us
    InnerUnknown inner{this};
    std::wstring componentName;
    std::wstring componentDescription;
    std::wstring errorDescription;
    std::wstring errorScope;
    std::wstring errorInterface;
};

// Joins a class's own interfaces to the base: one IUnknown implementation
// for every vtable, and the IDispatch part of each own interface.
template <class... Interfaces>
class CapeObject : public CapeOpenBaseObject, public DispatchPart<Interfaces>... {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        return CapeOpenBaseObject::QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return CapeOpenBaseObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CapeOpenBaseObject::Release(); }

protected:
    static_assert(sizeof...(Interfaces) + 5 <= maxDispatchInterfaces, "too many interfaces");
    size_t OwnDispatchInterfaces(DispatchInterface *list) override
    {
        size_t count = 0;
        ((list[count++] = {&__uuidof(Interfaces), static_cast<DispatchPart<Interfaces> *>(this)}), ...);
        return count;
    }
    CapeOpenBaseObject &DispatchOwner() override { return *this; }
};

// Creates a T (stand-alone, or aggregated when outer is given, in which case
// riid must be IID_IUnknown) and queries it for riid.
template <class T>
HRESULT CreateComObject(IUnknown *outer, REFIID riid, void **ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    T *object = nullptr;
    HRESULT hr = ComGuard([&] {
        object = new T();
        return S_OK;
    });
    if (FAILED(hr)) return hr;
    if (outer) {
        IUnknown *innerUnknown = object->Aggregate(outer);
        hr = innerUnknown->QueryInterface(riid, ppv);
        if (FAILED(hr)) delete object;
        return hr;
    }
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(riid, ppv);
    object->NonDelegatingRelease();
    return hr;
}
