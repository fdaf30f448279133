// Small owners for COM interface pointers, BSTRs and VARIANTs, so that
// ownership is visible at a glance and nothing leaks on early returns.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <new>
#include <utility>

// Makes a BSTR from a wide string; null stays null, allocation failure throws.
BSTR MakeBstr(const wchar_t *text);
BSTR MakeBstr(const wchar_t *text, UINT length);
// Copies a BSTR byte for byte (embedded zeros survive); null stays null.
BSTR CopyBstr(BSTR source);

// The outcome of a creation or query that hands out an object. A success
// code that came with no object is a failure, E_POINTER (the pointer handed
// back is no object), so that no caller goes on to use it; a component that
// plainly does not offer an interface says E_NOINTERFACE instead.
inline HRESULT ObjectResult(HRESULT hr, const void *object)
{
    return SUCCEEDED(hr) && !object ? E_POINTER : hr;
}

// One reference on a COM interface.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(T *p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr &other) : ComPtr(other.p_) {}
    ComPtr(ComPtr &&other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    ~ComPtr() { Reset(); }

    ComPtr &operator=(const ComPtr &other)
    {
        if (other.p_) other.p_->AddRef();
        Reset();
        p_ = other.p_;
        return *this;
    }
    ComPtr &operator=(ComPtr &&other) noexcept
    {
        if (this != &other) {
            Reset();
            p_ = other.p_;
            other.p_ = nullptr;
        }
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T *p)
    {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    T *Get() const { return p_; }
    T *operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: releases what is held and returns the slot.
    T **Receive() { Reset(); return &p_; }
    void **ReceiveVoid() { Reset(); return reinterpret_cast<void **>(&p_); }

    void Reset()
    {
        if (p_) {
            T *p = p_;
            p_ = nullptr;
            p->Release();
        }
    }
    T *Detach() { T *p = p_; p_ = nullptr; return p; }

    // QueryInterface of the held object for another interface.
    template <class U>
    HRESULT As(ComPtr<U> &out) const
    {
        if (!p_) { out.Reset(); return E_POINTER; }
        HRESULT hr = p_->QueryInterface(__uuidof(U), out.ReceiveVoid());
        return ObjectResult(hr, out.Get());
    }

private:
    T *p_ = nullptr;
};

// Queries any object for an interface into a ComPtr.
template <class U>
HRESULT QueryFrom(IUnknown *object, ComPtr<U> &out)
{
    if (!object) { out.Reset(); return E_POINTER; }
    HRESULT hr = object->QueryInterface(__uuidof(U), out.ReceiveVoid());
    return ObjectResult(hr, out.Get());
}

// An owned BSTR. Copies are deep (byte-length copies).
class ScopedBstr {
public:
    ScopedBstr() = default;
    explicit ScopedBstr(const wchar_t *text) : b_(MakeBstr(text)) {}
    ScopedBstr(const ScopedBstr &other) : b_(CopyBstr(other.b_)) {}
    ScopedBstr(ScopedBstr &&other) noexcept : b_(other.b_) { other.b_ = nullptr; }
    ~ScopedBstr() { SysFreeString(b_); }

    ScopedBstr &operator=(const ScopedBstr &other)
    {
        if (this != &other) Reset(CopyBstr(other.b_));
        return *this;
    }
    ScopedBstr &operator=(ScopedBstr &&other) noexcept
    {
        if (this != &other) {
            SysFreeString(b_);
            b_ = other.b_;
            other.b_ = nullptr;
        }
        return *this;
    }

    // Takes over a BSTR the caller owns.
    static ScopedBstr Adopt(BSTR b)
    {
        ScopedBstr result;
        result.b_ = b;
        return result;
    }

    BSTR Get() const { return b_; }
    // Never null: an empty text for a null BSTR.
    const wchar_t *Text() const { return b_ ? b_ : L""; }
    UINT Length() const { return SysStringLen(b_); }
    bool IsEmpty() const { return Length() == 0; }

    BSTR *Receive() { Reset(); return &b_; }
    void Reset(BSTR b = nullptr)
    {
        if (b != b_) SysFreeString(b_);
        b_ = b;
    }
    BSTR Detach() { BSTR b = b_; b_ = nullptr; return b; }

private:
    BSTR b_ = nullptr;
};

// An owned VARIANT, cleared on destruction.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&v_); }
    // Takes over a VARIANT the caller owned.
    explicit ScopedVariant(const VARIANT &v) : v_(v) {}
    ScopedVariant(ScopedVariant &&other) noexcept : v_(other.Release()) {}
    ScopedVariant(const ScopedVariant &) = delete;
    ScopedVariant &operator=(const ScopedVariant &) = delete;
    ~ScopedVariant() { VariantClear(&v_); }

    VARIANT *Get() { return &v_; }
    const VARIANT &Value() const { return v_; }
    VARTYPE Type() const { return V_VT(&v_); }
    // For out-parameters: clears what is held and returns the slot.
    VARIANT *Receive() { VariantClear(&v_); return &v_; }
    // Hands the value over; this holder is left empty.
    VARIANT Release()
    {
        VARIANT v = v_;
        VariantInit(&v_);
        return v;
    }
    void Reset() { VariantClear(&v_); }

private:
    VARIANT v_;
};
