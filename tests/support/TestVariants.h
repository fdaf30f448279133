// VARIANT helpers for tests: building and reading CAPE-OPEN lists, and a
// copyable owned VARIANT for scripted components.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <string>
#include <vector>

// A VARIANT that owns its value; copies are deep (VariantCopy).
class OwnedVariant {
public:
    OwnedVariant() { VariantInit(&v_); }
    OwnedVariant(const VARIANT &v) { VariantInit(&v_); VariantCopy(&v_, const_cast<VARIANT *>(&v)); }
    OwnedVariant(const OwnedVariant &other) : OwnedVariant(other.v_) {}
    OwnedVariant &operator=(const OwnedVariant &other);
    ~OwnedVariant() { VariantClear(&v_); }

    // Takes over a VARIANT the caller owns.
    static OwnedVariant Adopt(VARIANT v);
    const VARIANT &Value() const { return v_; }
    VARIANT *Get() { return &v_; }

private:
    VARIANT v_;
};

// New VARIANTs owned by the caller (VariantClear them, or Adopt them).
VARIANT MakeStringArray(const std::vector<std::wstring> &items, LONG lowerBound = 0);
// Like MakeStringArray, with null BSTR elements where nulls[i] is true.
VARIANT MakeStringArrayWithNulls(const std::vector<std::wstring> &items, const std::vector<bool> &nulls);
VARIANT MakeDoubleArray(const std::vector<double> &items, LONG lowerBound = 0);
VARIANT MakeLongArray(const std::vector<LONG> &items);
VARIANT MakeDouble(double value);
VARIANT MakeString(const wchar_t *text);

// Readers of one-dimensional arrays; any other value reads as an empty list
// (and, with ok given, sets ok false).
std::vector<std::wstring> ReadStrings(const VARIANT &v, bool *ok = nullptr);
std::vector<double> ReadDoubles(const VARIANT &v, bool *ok = nullptr);
std::vector<LONG> ReadLongs(const VARIANT &v, bool *ok = nullptr);

// "[a, b, c]": how lists appear in the call logs.
std::wstring JoinList(const std::vector<std::wstring> &items);

// Bits of a double, for exact comparisons.
unsigned long long DoubleBits(double value);
