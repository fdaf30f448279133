#include "ScriptArrays.h"

#include <new>

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

// Copies a one-dimensional array of any element type into an array of
// elementType, converting each element.
HRESULT Convert(const VARIANT &list, VARTYPE targetType, VARIANT *result)
{
    const VARIANT *source = &Dereferenced(list);
    if (!(V_VT(source) & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
    SAFEARRAY *array = (V_VT(source) & VT_BYREF) ? *V_ARRAYREF(source) : V_ARRAY(source);
    VARTYPE elementType = V_VT(source) & VT_TYPEMASK;
    if (!array || SafeArrayGetDim(array) != 1) return DISP_E_TYPEMISMATCH;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    SAFEARRAYBOUND bound = {static_cast<ULONG>(upper - lower + 1), 0};
    SAFEARRAY *copy = SafeArrayCreate(targetType, 1, &bound);
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
        if (SUCCEEDED(hr) && targetType != VT_VARIANT) hr = VariantChangeType(&value, &value, 0, targetType);
        LONG index = i - lower;
        // Typed arrays take the element itself, arrays of VARIANT the VARIANT.
        void *stored = &value;
        if (targetType == VT_BSTR) stored = V_BSTR(&value);
        if (targetType == VT_R8) stored = &V_R8(&value);
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(copy, &index, stored);
        VariantClear(&value);
        if (FAILED(hr)) {
            SafeArrayDestroy(copy);
            return hr;
        }
    }
    VariantInit(result);
    V_VT(result) = VT_ARRAY | targetType;
    V_ARRAY(result) = copy;
    return S_OK;
}

HRESULT Material(const VARIANT &compoundIds, VARIANT *result)
{
    std::vector<std::wstring> ids;
    std::wstring error;
    if (!ReadStrings(Dereferenced(compoundIds), ids, error)) return DISP_E_TYPEMISMATCH;
    ComPtr<CMaterial11> material = CMaterial11::Create(ids);
    if (!material) return E_OUTOFMEMORY;
    // Both present, as a flash needs them.
    material->presentPhases = material->phases;
    material->phaseStatuses.assign(material->phases.size(), CAPE_UNKNOWNPHASESTATUS);
    VariantInit(result);
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = material->Interface();
    V_DISPATCH(result)->AddRef();
    return S_OK;
}

HRESULT Query(const VARIANT &objectArgument, const VARIANT &iidArgument, VARIANT *result)
{
    const VARIANT *object = &Dereferenced(objectArgument);
    const VARIANT *iidText = &Dereferenced(iidArgument);
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
        for (DISPID id = 1; count == 1 && id <= static_cast<DISPID>(sizeof(members) / sizeof(members[0])); ++id) {
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
        if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        if (!params) return DISP_E_BADPARAMCOUNT;
        if (!result) return S_OK;
        if (id < 1 || id > static_cast<DISPID>(sizeof(members) / sizeof(members[0]))) return DISP_E_MEMBERNOTFOUND;
        // Arguments arrive last first.
        if (id == queryId) {
            if (params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
            return Query(params->rgvarg[1], params->rgvarg[0], result);
        }
        if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        if (id == materialId) return Material(params->rgvarg[0], result);
        return Convert(params->rgvarg[0], members[id - 1].elementType, result);
    }

private:
    ULONG refs = 1;
};

}  // namespace

IDispatch *CreateScriptArrays()
{
    return new (std::nothrow) CScriptArrays();
}
