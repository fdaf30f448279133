// Keeps C++ exceptions inside COM methods: every method body runs through
// ComGuard, which turns memory exhaustion into E_OUTOFMEMORY and anything
// else that escapes into E_UNEXPECTED.
#pragma once

#include <windows.h>
#include <new>

template <class Body>
HRESULT ComGuard(Body &&body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc &) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
