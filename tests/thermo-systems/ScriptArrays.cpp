#include "ScriptArrays.h"

#include <new>

#include "ComHolders.h"
#include "Material11.h"
#include "VariantLists.h"

namespace {

// Members by DISPID - 1, with the element type of the array they make.
const struct {
    const wchar_t *name;
    VARTYPE elementType;
} members[] = {
    {L"ToVariants", VT_VARIANT}, {L"Query", VT_EMPTY},    {L"ToStrings", VT_BSTR},
    {L"ToDoubles", VT_R8},       {L"Material", VT_EMPTY},
};
constexpr DISPID queryId = 2;
constexpr DISPID materialId = 5;

const VARIANT &Dereferenced(const VARIANT &argument)
{
    return V_VT(&argument) == (VT_VARIANT | VT_BYREF) ? *V_VARIANTREF(&argument) : argument;
}

// Copies a one-dimensional array of any element type into a zero-based
// array of targetType, converting each element.
HRESULT Convert(const VARIANT &list, VARTYPE targetType, VARIANT *result)
{
    if (!(V_VT(&list) & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
    SAFEARRAY *array = (V_VT(&list) & VT_BYREF) ? *V_ARRAYREF(&list) : V_ARRAY(&list);
    if (!array || SafeArrayGetDim(array) != 1) return DISP_E_TYPEMISMATCH;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    SAFEARRAYBOUND bound = {static_cast<ULONG>(upper - lower + 1), 0};
    ScopedVariant copy;
    if (!(V_ARRAY(copy.Get()) = SafeArrayCreate(targetType, 1, &bound))) return E_OUTOFMEMORY;
    V_VT(copy.Get()) = VT_ARRAY | targetType;
    for (LONG i = lower; i <= upper; ++i) {
        VARIANT reference;
        V_VT(&reference) = (V_VT(&list) & VT_TYPEMASK) | VT_BYREF;
        HRESULT hr = SafeArrayPtrOfIndex(array, &i, &V_BYREF(&reference));
        ScopedVariant value;
        if (SUCCEEDED(hr)) hr = VariantCopyInd(value.Get(), &reference);
        if (SUCCEEDED(hr) && targetType != VT_VARIANT) hr = VariantChangeType(value.Get(), value.Get(), 0, targetType);
        // Typed arrays take the element itself, arrays of VARIANT the VARIANT.
        void *stored = value.Get();
        if (targetType == VT_BSTR) stored = V_BSTR(value.Get());
        if (targetType == VT_R8) stored = &V_R8(value.Get());
        LONG index = i - lower;
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(V_ARRAY(copy.Get()), &index, stored);
        if (FAILED(hr)) return hr;
    }
    *result = copy.Release();
    return S_OK;
}

HRESULT Material(const VARIANT &compoundIds, VARIANT *result)
{
    std::vector<std::wstring> ids;
    std::wstring error;
    if (!ReadStrings(compoundIds, ids, error)) return DISP_E_TYPEMISMATCH;
    ComPtr<CMaterial11> material = CMaterial11::Create(ids);
    if (!material) return E_OUTOFMEMORY;
    material->presentPhases = material->phases;
    material->phaseStatuses.assign(material->phases.size(), CAPE_UNKNOWNPHASESTATUS);
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = material->Interface();
    V_DISPATCH(result)->AddRef();
    return S_OK;
}

HRESULT Query(const VARIANT &object, const VARIANT &iidText, VARIANT *result)
{
    if (V_VT(&object) != VT_DISPATCH || !V_DISPATCH(&object) || V_VT(&iidText) != VT_BSTR) return DISP_E_TYPEMISMATCH;
    IID iid;
    HRESULT hr = IIDFromString(V_BSTR(&iidText), &iid);
    if (SUCCEEDED(hr)) hr = V_DISPATCH(&object)->QueryInterface(iid, reinterpret_cast<void **>(&V_DISPATCH(result)));
    if (SUCCEEDED(hr)) V_VT(result) = VT_DISPATCH;
    return hr;
}

class CScriptArrays final : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *ppv = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG count = --refs;
        if (count == 0) delete this;
        return count;
    }

    STDMETHODIMP GetTypeInfoCount(UINT *count) override
    {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override
    {
        for (DISPID id = 1; count == 1 && id <= static_cast<DISPID>(std::size(members)); ++id) {
            if (lstrcmpiW(names[0], members[id - 1].name) == 0) {
                ids[0] = id;
                return S_OK;
            }
        }
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                        UINT *) override
    {
        if (!(flags & DISPATCH_METHOD) || id < 1 || id > static_cast<DISPID>(std::size(members)))
            return DISP_E_MEMBERNOTFOUND;
        const UINT arguments = id == queryId ? 2 : 1;
        if (!params || params->cArgs != arguments) return DISP_E_BADPARAMCOUNT;
        if (!result) return S_OK;
        VariantInit(result);
        // Arguments arrive last first, variables of a script by reference.
        const VARIANT &first = Dereferenced(params->rgvarg[arguments - 1]);
        if (id == queryId) return Query(first, Dereferenced(params->rgvarg[0]), result);
        if (id == materialId) return Material(first, result);
        return Convert(first, members[id - 1].elementType, result);
    }

private:
    ULONG refs = 1;
};

}  // namespace

HRESULT CreateScriptArrays(IUnknown *outer, REFIID riid, void **ppv)
{
    if (outer) return CLASS_E_NOAGGREGATION;
    CScriptArrays *helper = new (std::nothrow) CScriptArrays();
    if (!helper) return E_OUTOFMEMORY;
    HRESULT hr = helper->QueryInterface(riid, ppv);
    helper->Release();
    return hr;
}
