// CVariantArray: the one holder through which the system reads and builds
// CAPE-OPEN lists, a VARIANT carrying a one-dimensional SAFEARRAY.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <string>

class CVariantArray {
public:
    CVariantArray();
    CVariantArray(const CVariantArray &) = delete;
    CVariantArray &operator=(const CVariantArray &) = delete;
    // Moves keep ownership with the value (so holders can live in vectors).
    CVariantArray(CVariantArray &&other) noexcept;
    CVariantArray &operator=(CVariantArray &&other) noexcept;
    ~CVariantArray();

    // Takes v bit for bit; with owned true the holder releases it later.
    void Attach(const VARIANT &v, bool owned);
    // Releases the value if owned (else only forgets it); empty and owned after.
    void Reset();
    // Validates the value as a 1-D array of elementType (VT_EMPTY is an empty
    // list) and fills LowerBound() and Count(). On failure leaves a reason.
    bool Check(VARTYPE elementType, std::wstring &error);
    // Replaces the value by a new zero-based array of count elements.
    SAFEARRAY *Create(LONG count, VARTYPE elementType);

    // Element i of a one-dimensional VT_R8 array, counted from its lower
    // bound and read in place; 0 outside it.
    double GetDouble(LONG i) const;
    // Element i of a checked VT_BSTR list, as a copy the caller frees.
    BSTR GetString(LONG i) const;
    // Element i of a one-dimensional VT_BSTR array, counted from its lower
    // bound, not copied: valid while the value lives; null outside it. For
    // reading names on hot paths (checked or not).
    BSTR PeekString(LONG i) const;
    // Writes element i (index as given); BSTR elements are copied.
    HRESULT PutElement(LONG i, void *element);

    LONG Count() const { return count_; }
    LONG LowerBound() const { return lowerBound_; }
    bool Owned() const { return owned_; }
    bool IsEmpty() const { return V_VT(&value_) == VT_EMPTY; }
    VARTYPE Type() const { return V_VT(&value_); }
    const VARIANT &Value() const { return value_; }
    VARIANT *Get() { return &value_; }
    // For out-parameters: Reset, then the slot of the value.
    VARIANT *Receive();
    // Gives up ownership without releasing (the value stays readable).
    void Disown() { owned_ = false; }

private:
    VARIANT value_;
    bool owned_ = true;
    LONG lowerBound_ = 0;
    LONG count_ = 0;
};

// The name of an element type as it appears in the Check messages.
const wchar_t *ElementTypeName(VARTYPE elementType);
