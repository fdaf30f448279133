// List VARIANTs for tests, built and read with the foundation's list
// conversions.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <string>
#include <type_traits>
#include <vector>

#include "ComHolders.h"
#include "VariantLists.h"

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
inline ScopedVariant Strings(const std::vector<std::wstring> &items) { return ScopedVariant(MakeStringArray(items)); }
inline ScopedVariant Doubles(const std::vector<double> &items) { return ScopedVariant(MakeDoubleArray(items)); }

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
