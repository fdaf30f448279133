#include "ScriptArrays.h"

#include <new>

namespace {

constexpr DISPID toVariantsId = 1;
constexpr DISPID queryId = 2;

// Copies a one-dimensional array of any element type into an array of VARIANT.
HRESULT ToVariants(const VARIANT &list, VARIANT *result)
{
    const VARIANT *source = &list;
    if (V_VT(source) == (VT_VARIANT | VT_BYREF)) source = V_VARIANTREF(source);
    if (!(V_VT(source) & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
    SAFEARRAY *array = (V_VT(source) & VT_BYREF) ? *V_ARRAYREF(source) : V_ARRAY(source);
    VARTYPE elementType = V_VT(source) & VT_TYPEMASK;
    if (!array || SafeArrayGetDim(array) != 1) return DISP_E_TYPEMISMATCH;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    SAFEARRAYBOUND bound = {static_cast<ULONG>(upper - lower + 1), 0};
    SAFEARRAY *copy = SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!copy) return E_OUTOFMEMORY;
    for (LONG i = lower; i <= upper; ++i) {
        void *element = nullptr;
        HRESULT hr = SafeArrayPtrOfIndex(array, &i, &element);
        VARIANT reference, value;
        VariantInit(&reference);
        VariantInit(&value);
        V_VT(&reference) = elementType | VT_BYREF;
        V_BYREF(&reference) = element;
        if (SUCCEEDED(hr)) hr = VariantCopyInd(&value, &reference);
        LONG index = i - lower;
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(copy, &index, &value);
        VariantClear(&value);
        if (FAILED(hr)) {
            SafeArrayDestroy(copy);
            return hr;
        }
    }
    VariantInit(result);
    V_VT(result) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(result) = copy;
    return S_OK;
}

HRESULT Query(const VARIANT &objectArgument, const VARIANT &iidArgument, VARIANT *result)
{
    const VARIANT *object = &objectArgument;
    if (V_VT(object) == (VT_VARIANT | VT_BYREF)) object = V_VARIANTREF(object);
    const VARIANT *iidText = &iidArgument;
    if (V_VT(iidText) == (VT_VARIANT | VT_BYREF)) iidText = V_VARIANTREF(iidText);
    if (V_VT(object) != VT_DISPATCH || !V_DISPATCH(object) || V_VT(iidText) != VT_BSTR) return DISP_E_TYPEMISMATCH;
    IID iid;
    HRESULT hr = IIDFromString(V_BSTR(iidText), &iid);
    if (FAILED(hr)) return hr;
    IDispatch *found = nullptr;
    hr = V_DISPATCH(object)->QueryInterface(iid, reinterpret_cast<void **>(&found));
    if (FAILED(hr)) return hr;
    VariantInit(result);
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = found;
    return S_OK;
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
        if (count == 1 && lstrcmpiW(names[0], L"ToVariants") == 0) {
            ids[0] = toVariantsId;
            return S_OK;
        }
        if (count == 1 && lstrcmpiW(names[0], L"Query") == 0) {
            ids[0] = queryId;
            return S_OK;
        }
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                        UINT *) override
    {
        if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        if (!params) return DISP_E_BADPARAMCOUNT;
        if (!result) return S_OK;
        // Arguments arrive last first.
        if (id == toVariantsId) {
            if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            return ToVariants(params->rgvarg[0], result);
        }
        if (id == queryId) {
            if (params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
            return Query(params->rgvarg[1], params->rgvarg[0], result);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    ULONG refs = 1;
};

}  // namespace

IDispatch *CreateScriptArrays()
{
    return new (std::nothrow) CScriptArrays();
}
