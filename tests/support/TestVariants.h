// List VARIANTs for tests, built and read with the foundation's list
// conversions, and a VARIANT owned for the length of a test expression.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <string>
#include <type_traits>
#include <vector>

#include "VariantLists.h"

// A VARIANT owned by its holder; moving hands it over.
class OwnedVariant {
public:
    explicit OwnedVariant(VARIANT v = VARIANT{}) : v_(v) {}
    OwnedVariant(OwnedVariant &&other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    OwnedVariant &operator=(OwnedVariant &&) = delete;
    ~OwnedVariant() { VariantClear(&v_); }
    const VARIANT &Value() const { return v_; }
    VARIANT *Get() { return &v_; }

private:
    VARIANT v_;
};

// New list VARIANTs owned by the caller; lowerBound moves the array's base.
template <class T>
VARIANT MakeList(const std::vector<T> &items, LONG lowerBound = 0)
{
    VARIANT v;
    VariantInit(&v);
    if constexpr (std::is_same_v<T, double>) PutDoubles(&v, items);
    else if constexpr (std::is_same_v<T, long>) PutLongs(&v, items);
    else PutStrings(&v, items);
    V_ARRAY(&v)->rgsabound[0].lLbound = lowerBound;
    return v;
}
inline VARIANT MakeStringArray(const std::vector<std::wstring> &items, LONG lowerBound = 0)
{
    return MakeList(items, lowerBound);
}
inline VARIANT MakeDoubleArray(const std::vector<double> &items, LONG lowerBound = 0)
{
    return MakeList(items, lowerBound);
}
// Strings with a null BSTR as the element at nullAt.
inline VARIANT MakeStringArrayWithNull(const std::vector<std::wstring> &items, size_t nullAt)
{
    VARIANT v = MakeStringArray(items);
    BSTR *elements = static_cast<BSTR *>(V_ARRAY(&v)->pvData);
    SysFreeString(elements[nullAt]);
    elements[nullAt] = nullptr;
    return v;
}
inline VARIANT MakeString(const wchar_t *text)
{
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(text);
    return v;
}
inline OwnedVariant Strings(const std::vector<std::wstring> &items) { return OwnedVariant(MakeStringArray(items)); }
inline OwnedVariant Doubles(const std::vector<double> &items) { return OwnedVariant(MakeDoubleArray(items)); }

// The list's items; anything but a list of that type reads as no items.
inline std::vector<std::wstring> ReadStrings(const VARIANT &v)
{
    std::vector<std::wstring> items;
    std::wstring error;
    return ReadStrings(v, items, error) ? items : std::vector<std::wstring>{};
}
inline std::vector<double> ReadDoubles(const VARIANT &v)
{
    std::vector<double> items;
    std::wstring error;
    return ReadDoubles(v, items, error) ? items : std::vector<double>{};
}
