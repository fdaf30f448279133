#include "CapeOpenBaseObject.h"

#include "ComHolders.h"
#include "ModuleLock.h"

namespace {

constexpr const wchar_t *operationText = L"N/A";
constexpr const wchar_t *moreInfoText = L"https://www.belmarq.com/corvanta";

// Getters never fail on memory: a failed copy gives a null BSTR.
HRESULT CopyOut(const std::wstring &text, BSTR *out)
{
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return S_OK;
}

}  // namespace

CapeOpenBaseObject::CapeOpenBaseObject()
{
    ModuleLockIncrement();
}

CapeOpenBaseObject::~CapeOpenBaseObject()
{
    ModuleLockDecrement();
}

HRESULT CapeOpenBaseObject::QueryInterface(REFIID riid, void **ppv)
{
    if (outer) return outer->QueryInterface(riid, ppv);
    return NonDelegatingQueryInterface(riid, ppv);
}

ULONG CapeOpenBaseObject::AddRef()
{
    if (outer) return outer->AddRef();
    return NonDelegatingAddRef();
}

ULONG CapeOpenBaseObject::Release()
{
    if (outer) return outer->Release();
    return NonDelegatingRelease();
}

HRESULT CapeOpenBaseObject::NonDelegatingQueryInterface(REFIID riid, void **ppv)
{
    if (!ppv) return E_POINTER;
    IUnknown *found = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
        found = MainInterface();
    else
        found = FindOwnInterface(riid);
    if (!found) {
        if (IsEqualIID(riid, __uuidof(ECapeRoot)))
            found = static_cast<DispatchPart<ECapeRoot> *>(this);
        else if (IsEqualIID(riid, __uuidof(ECapeUnknown)))
            found = static_cast<DispatchPart<ECapeUnknown> *>(this);
        else if (IsEqualIID(riid, __uuidof(ECapeUser)))
            found = static_cast<DispatchPart<ECapeUser> *>(this);
        else if (IsEqualIID(riid, __uuidof(ECapeNoImpl)))
            found = static_cast<DispatchPart<ECapeNoImpl> *>(this);
        else if (IsEqualIID(riid, __uuidof(ICapeIdentification)))
            found = static_cast<DispatchPart<ICapeIdentification> *>(this);
    }
    if (!found) {
        *ppv = nullptr;
        return QueryFurtherInterface(riid, ppv);
    }
    found->AddRef();
    *ppv = found;
    return S_OK;
}

HRESULT CapeOpenBaseObject::QueryFurtherInterface(REFIID, void **ppv)
{
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CapeOpenBaseObject::NonDelegatingAddRef()
{
    return ++refCount;
}

ULONG CapeOpenBaseObject::NonDelegatingRelease()
{
    ULONG count = --refCount;
    if (count == 0) {
        // Keep the count up while the destructor runs, so that calls made
        // from it (a package terminating its 1.0 package) cannot re-enter.
        refCount = 1;
        delete this;
    }
    return count;
}

IUnknown *CapeOpenBaseObject::Aggregate(IUnknown *outerObject)
{
    outer = outerObject;
    return &inner;
}

HRESULT CapeOpenBaseObject::InnerUnknown::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown)) {
        *ppv = static_cast<IUnknown *>(this);
        AddRef();
        return S_OK;
    }
    return owner_->NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CapeOpenBaseObject::get_name(BSTR *name) { return CopyOut(errorDescription, name); }

HRESULT CapeOpenBaseObject::get_code(long *code)
{
    if (!code) return E_POINTER;
    *code = 0;
    return S_OK;
}

HRESULT CapeOpenBaseObject::get_description(BSTR *description) { return CopyOut(errorDescription, description); }
HRESULT CapeOpenBaseObject::get_scope(BSTR *scope) { return CopyOut(errorScope, scope); }
HRESULT CapeOpenBaseObject::get_interfaceName(BSTR *name) { return CopyOut(errorInterface, name); }
HRESULT CapeOpenBaseObject::get_operation(BSTR *operation) { return CopyOut(operationText, operation); }
HRESULT CapeOpenBaseObject::get_moreInfo(BSTR *moreInfo) { return CopyOut(moreInfoText, moreInfo); }

HRESULT CapeOpenBaseObject::get_ComponentName(BSTR *name) { return CopyOut(componentName, name); }

HRESULT CapeOpenBaseObject::put_ComponentName(BSTR name)
{
    return ComGuard([&] {
        componentName.assign(name ? name : L"", SysStringLen(name));
        return S_OK;
    });
}

HRESULT CapeOpenBaseObject::get_ComponentDescription(BSTR *description)
{
    return CopyOut(componentDescription, description);
}

HRESULT CapeOpenBaseObject::put_ComponentDescription(BSTR description)
{
    return ComGuard([&] {
        componentDescription.assign(description ? description : L"", SysStringLen(description));
        return S_OK;
    });
}

void CapeOpenBaseObject::SetError(const wchar_t *description, const wchar_t *scope, const wchar_t *interfaceName)
{
    errorDescription = description;
    errorScope = scope;
    errorInterface = interfaceName;
}

HRESULT CapeOpenBaseObject::Fail(const std::wstring &description, const wchar_t *scope, const wchar_t *interfaceName)
{
    SetError(description.c_str(), scope, interfaceName);
    return ECapeUnknownHR;
}

HRESULT CapeOpenBaseObject::NotImplemented(const wchar_t *scope, const wchar_t *interfaceName)
{
    std::wstring description(scope);
    description += L" is not implemented";
    return Fail(description, scope, interfaceName);
}

void CapeOpenBaseObject::SetIdentification(const wchar_t *name, const wchar_t *description)
{
    componentName = name ? name : L"";
    componentDescription = description ? description : L"";
}

size_t CapeOpenBaseObject::DispatchInterfaces(DispatchInterface (&list)[maxDispatchInterfaces])
{
    size_t count = OwnDispatchInterfaces(list);
    list[count++] = {&__uuidof(ECapeRoot), static_cast<DispatchPart<ECapeRoot> *>(this)};
    list[count++] = {&__uuidof(ECapeUnknown), static_cast<DispatchPart<ECapeUnknown> *>(this)};
    list[count++] = {&__uuidof(ECapeUser), static_cast<DispatchPart<ECapeUser> *>(this)};
    list[count++] = {&__uuidof(ECapeNoImpl), static_cast<DispatchPart<ECapeNoImpl> *>(this)};
    list[count++] = {&__uuidof(ICapeIdentification), static_cast<DispatchPart<ICapeIdentification> *>(this)};
    return count;
}

HRESULT GetIDsOfObjectNames(CapeOpenBaseObject &object, REFIID own, LPOLESTR *names, UINT count, DISPID *ids)
{
    DispatchInterface list[maxDispatchInterfaces];
    const size_t interfaces = object.DispatchInterfaces(list);
    for (size_t k = 0; k < interfaces; ++k) {
        if (IsEqualIID(*list[k].iid, own)) continue;
        ITypeInfo *info = nullptr;
        if (FAILED(GetCapeOpenTypeInfo(*list[k].iid, &info))) continue;
        HRESULT hr = DispGetIDsOfNames(info, names, count, ids);
        info->Release();
        // The member's DISPID carries the interface; parameter DISPIDs are positions.
        if (SUCCEEDED(hr) && ids[0] > 0 && !IsObjectMemberId(ids[0])) {
            ids[0] |= static_cast<DISPID>((k + 1) << 16);
            return S_OK;
        }
    }
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT InvokeObjectMember(CapeOpenBaseObject &object, DISPID id, WORD flags, DISPPARAMS *params, VARIANT *result,
                           EXCEPINFO *exception, UINT *argError)
{
    DispatchInterface list[maxDispatchInterfaces];
    const size_t interfaces = object.DispatchInterfaces(list);
    const size_t k = static_cast<size_t>(id >> 16) - 1;
    if (k >= interfaces) return DISP_E_MEMBERNOTFOUND;
    ITypeInfo *info = nullptr;
    HRESULT hr = GetCapeOpenTypeInfo(*list[k].iid, &info);
    if (FAILED(hr)) return hr;
    hr = DispInvoke(list[k].dispatch, info, id & 0xFFFF, flags, params, result, exception, argError);
    info->Release();
    return hr;
}
