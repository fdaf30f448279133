#include "TestVariants.h"

#include <cstring>

OwnedVariant &OwnedVariant::operator=(const OwnedVariant &other)
{
    if (this != &other) {
        VariantClear(&v_);
        VariantCopy(&v_, const_cast<VARIANT *>(&other.v_));
    }
    return *this;
}

OwnedVariant OwnedVariant::Adopt(VARIANT v)
{
    OwnedVariant result;
    result.v_ = v;
    return result;
}

namespace {

VARIANT MakeArray(VARTYPE type, LONG count, LONG lowerBound, SAFEARRAY **array)
{
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), lowerBound};
    *array = SafeArrayCreate(type, 1, &bound);
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_ARRAY | type;
    V_ARRAY(&v) = *array;
    return v;
}

template <class T>
std::vector<T> ReadArray(const VARIANT &v, VARTYPE type, bool *ok)
{
    std::vector<T> result;
    if (ok) *ok = false;
    if (V_VT(&v) != (VT_ARRAY | type) || !V_ARRAY(&v) || SafeArrayGetDim(V_ARRAY(&v)) != 1) return result;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(V_ARRAY(&v), 1, &lower);
    SafeArrayGetUBound(V_ARRAY(&v), 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        T item{};
        SafeArrayGetElement(V_ARRAY(&v), &i, &item);
        result.push_back(item);
    }
    if (ok) *ok = true;
    return result;
}

}  // namespace

VARIANT MakeStringArray(const std::vector<std::wstring> &items, LONG lowerBound)
{
    SAFEARRAY *array = nullptr;
    VARIANT v = MakeArray(VT_BSTR, static_cast<LONG>(items.size()), lowerBound, &array);
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        LONG index = lowerBound + i;
        BSTR b = SysAllocStringLen(items[i].data(), static_cast<UINT>(items[i].size()));
        SafeArrayPutElement(array, &index, b);
        SysFreeString(b);
    }
    return v;
}

VARIANT MakeStringArrayWithNulls(const std::vector<std::wstring> &items, const std::vector<bool> &nulls)
{
    VARIANT v = MakeStringArray(items);
    // SafeArrayPutElement stores an empty string for a null BSTR, so the
    // elements are replaced in place.
    BSTR *elements = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(V_ARRAY(&v), reinterpret_cast<void **>(&elements)))) {
        for (size_t i = 0; i < nulls.size() && i < items.size(); ++i) {
            if (!nulls[i]) continue;
            SysFreeString(elements[i]);
            elements[i] = nullptr;
        }
        SafeArrayUnaccessData(V_ARRAY(&v));
    }
    return v;
}

VARIANT MakeDoubleArray(const std::vector<double> &items, LONG lowerBound)
{
    SAFEARRAY *array = nullptr;
    VARIANT v = MakeArray(VT_R8, static_cast<LONG>(items.size()), lowerBound, &array);
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        LONG index = lowerBound + i;
        double d = items[i];
        SafeArrayPutElement(array, &index, &d);
    }
    return v;
}

VARIANT MakeLongArray(const std::vector<LONG> &items)
{
    SAFEARRAY *array = nullptr;
    VARIANT v = MakeArray(VT_I4, static_cast<LONG>(items.size()), 0, &array);
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        LONG item = items[i];
        SafeArrayPutElement(array, &i, &item);
    }
    return v;
}

VARIANT MakeDouble(double value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_R8;
    V_R8(&v) = value;
    return v;
}

VARIANT MakeString(const wchar_t *text)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = text ? SysAllocString(text) : nullptr;
    return v;
}

std::vector<std::wstring> ReadStrings(const VARIANT &v, bool *ok)
{
    std::vector<BSTR> raw = ReadArray<BSTR>(v, VT_BSTR, ok);
    std::vector<std::wstring> result;
    for (BSTR b : raw) {
        result.emplace_back(b ? b : L"", SysStringLen(b));
        SysFreeString(b);
    }
    return result;
}

std::vector<double> ReadDoubles(const VARIANT &v, bool *ok) { return ReadArray<double>(v, VT_R8, ok); }
std::vector<LONG> ReadLongs(const VARIANT &v, bool *ok) { return ReadArray<LONG>(v, VT_I4, ok); }

std::wstring JoinList(const std::vector<std::wstring> &items)
{
    std::wstring text = L"[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) text += L", ";
        text += items[i];
    }
    return text + L"]";
}

unsigned long long DoubleBits(double value)
{
    unsigned long long bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
