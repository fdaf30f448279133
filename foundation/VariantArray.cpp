#include "VariantArray.h"

#include <new>

CVariantArray::CVariantArray()
{
    VariantInit(&value_);
}

CVariantArray::CVariantArray(CVariantArray &&other) noexcept
    : value_(other.value_), owned_(other.owned_), lowerBound_(other.lowerBound_), count_(other.count_)
{
    VariantInit(&other.value_);
    other.owned_ = true;
    other.count_ = 0;
}

CVariantArray &CVariantArray::operator=(CVariantArray &&other) noexcept
{
    if (this != &other) {
        if (owned_) VariantClear(&value_);
        value_ = other.value_;
        owned_ = other.owned_;
        lowerBound_ = other.lowerBound_;
        count_ = other.count_;
        VariantInit(&other.value_);
        other.owned_ = true;
        other.count_ = 0;
    }
    return *this;
}

CVariantArray::~CVariantArray()
{
    if (owned_) VariantClear(&value_);
}

void CVariantArray::Attach(const VARIANT &v, bool owned)
{
    if (owned_ && V_VT(&value_) != VT_EMPTY) VariantClear(&value_);
    value_ = v;
    owned_ = owned;
    count_ = 0;
}

void CVariantArray::Reset()
{
    if (owned_)
        VariantClear(&value_);
    else
        VariantInit(&value_);
    owned_ = true;
}

VARIANT *CVariantArray::Receive()
{
    Reset();
    count_ = 0;
    lowerBound_ = 0;
    return &value_;
}

const wchar_t *ElementTypeName(VARTYPE elementType)
{
    switch (elementType) {
    case VT_EMPTY: return L"EMPTY";
    case VT_I2: return L"short";
    case VT_I4: return L"long";
    case VT_R8: return L"double precision";
    case VT_BSTR: return L"string";
    case VT_VARIANT: return L"VARIANT";
    default: return L"<unknown>";
    }
}

bool CVariantArray::Check(VARTYPE elementType, std::wstring &error)
{
    if (V_VT(&value_) == VT_EMPTY) {
        lowerBound_ = 0;
        count_ = 0;
        return true;
    }
    if (V_VT(&value_) != (VT_ARRAY | elementType)) {
        error = L"Expected an array of type ";
        error += ElementTypeName(elementType);
        return false;
    }
    SAFEARRAY *array = V_ARRAY(&value_);
    if (!array || SafeArrayGetDim(array) != 1) {
        error = L"unexpected dimension; 1-dimensional array expected";
        return false;
    }
    LONG lower = 0, upper = 0;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower))) {
        error = L"failed to get lower bound";
        return false;
    }
    if (FAILED(SafeArrayGetUBound(array, 1, &upper))) {
        error = L"failed to get upper bound";
        return false;
    }
    lowerBound_ = lower;
    count_ = upper - lower + 1;
    return true;
}

SAFEARRAY *CVariantArray::Create(LONG count, VARTYPE elementType)
{
    if (owned_ && V_VT(&value_) != VT_EMPTY) VariantClear(&value_);
    VariantInit(&value_);
    owned_ = true;
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), 0};
    SAFEARRAY *array = SafeArrayCreate(elementType, 1, &bound);
    if (!array) throw std::bad_alloc();
    V_VT(&value_) = VT_ARRAY | elementType;
    V_ARRAY(&value_) = array;
    count_ = count;
    lowerBound_ = 0;
    return array;
}

namespace {

// Element i of a one-dimensional array, counted from its lower bound, read in
// place (no call per element); null when out of range or not such an array.
template <class T>
const T *ElementInPlace(const VARIANT &value, VARTYPE elementType, LONG i)
{
    if (V_VT(&value) != (VT_ARRAY | elementType)) return nullptr;
    const SAFEARRAY *array = V_ARRAY(&value);
    if (!array || array->cDims != 1 || !array->pvData || i < 0 ||
        static_cast<ULONG>(i) >= array->rgsabound[0].cElements)
        return nullptr;
    return static_cast<const T *>(array->pvData) + i;
}

}  // namespace

double CVariantArray::GetDouble(LONG i) const
{
    const double *element = ElementInPlace<double>(value_, VT_R8, i);
    return element ? *element : 0.0;
}

BSTR CVariantArray::GetString(LONG i) const
{
    BSTR b = nullptr;
    LONG index = lowerBound_ + i;
    HRESULT hr = SafeArrayGetElement(V_ARRAY(&value_), &index, &b);
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    return SUCCEEDED(hr) ? b : nullptr;
}

BSTR CVariantArray::PeekString(LONG i) const
{
    const BSTR *element = ElementInPlace<BSTR>(value_, VT_BSTR, i);
    return element ? *element : nullptr;
}

HRESULT CVariantArray::PutElement(LONG i, void *element)
{
    HRESULT hr = SafeArrayPutElement(V_ARRAY(&value_), &i, element);
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    return hr;
}
