#include "Allocations.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

long long allocations = 0;

// The allocations of a copy of an array: descriptor, data, and one per string.
long long ArrayCopyCost(SAFEARRAY *array)
{
    if (!array) return 0;
    VARTYPE type = VT_EMPTY;
    SafeArrayGetVartype(array, &type);
    long long cost = 2;
    if (type == VT_BSTR) {
        long long elements = 1;
        for (USHORT d = 0; d < array->cDims; ++d) elements *= array->rgsabound[d].cElements;
        cost += elements;
    }
    return cost;
}

long long ValueCopyCost(const VARIANT *value)
{
    if (!value) return 0;
    if (V_VT(value) & VT_ARRAY) return ArrayCopyCost((V_VT(value) & VT_BYREF) ? *V_ARRAYREF(value) : V_ARRAY(value));
    return V_VT(value) == VT_BSTR ? 1 : 0;
}

decltype(&SysAllocString) realSysAllocString;
decltype(&SysAllocStringLen) realSysAllocStringLen;
decltype(&SysAllocStringByteLen) realSysAllocStringByteLen;
decltype(&SafeArrayCreate) realSafeArrayCreate;
decltype(&SafeArrayCreateVector) realSafeArrayCreateVector;
decltype(&SafeArrayCopy) realSafeArrayCopy;
decltype(&SafeArrayPutElement) realSafeArrayPutElement;
decltype(&SafeArrayGetElement) realSafeArrayGetElement;
decltype(&VariantCopy) realVariantCopy;

BSTR WINAPI CountedSysAllocString(const OLECHAR *text)
{
    ++allocations;
    return realSysAllocString(text);
}
BSTR WINAPI CountedSysAllocStringLen(const OLECHAR *text, UINT length)
{
    ++allocations;
    return realSysAllocStringLen(text, length);
}
BSTR WINAPI CountedSysAllocStringByteLen(LPCSTR text, UINT length)
{
    ++allocations;
    return realSysAllocStringByteLen(text, length);
}
SAFEARRAY *WINAPI CountedSafeArrayCreate(VARTYPE type, UINT dims, SAFEARRAYBOUND *bounds)
{
    allocations += 2;
    return realSafeArrayCreate(type, dims, bounds);
}
SAFEARRAY *WINAPI CountedSafeArrayCreateVector(VARTYPE type, LONG lower, ULONG count)
{
    allocations += 2;
    return realSafeArrayCreateVector(type, lower, count);
}
HRESULT WINAPI CountedSafeArrayCopy(SAFEARRAY *source, SAFEARRAY **copy)
{
    allocations += ArrayCopyCost(source);
    return realSafeArrayCopy(source, copy);
}
HRESULT WINAPI CountedSafeArrayPutElement(SAFEARRAY *array, LONG *index, void *element)
{
    VARTYPE type = VT_EMPTY;
    if (array) SafeArrayGetVartype(array, &type);
    if (type == VT_BSTR) ++allocations;
    if (type == VT_VARIANT) allocations += ValueCopyCost(static_cast<const VARIANT *>(element));
    return realSafeArrayPutElement(array, index, element);
}
HRESULT WINAPI CountedSafeArrayGetElement(SAFEARRAY *array, LONG *index, void *element)
{
    VARTYPE type = VT_EMPTY;
    if (array) SafeArrayGetVartype(array, &type);
    if (type == VT_BSTR) ++allocations;
    return realSafeArrayGetElement(array, index, element);
}
HRESULT WINAPI CountedVariantCopy(VARIANTARG *target, VARIANTARG *source)
{
    allocations += ValueCopyCost(source);
    return realVariantCopy(target, source);
}

// Points this program's import of name at hook; real receives the original.
template <class F>
void Hook(HMODULE oleaut, const char *name, F hook, F &real)
{
    real = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(oleaut, name)));
    if (!real) return;
    auto *base = reinterpret_cast<BYTE *>(GetModuleHandleW(nullptr));
    auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto *d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char *>(base + d->Name), "oleaut32.dll") != 0) continue;
        for (auto *slot = reinterpret_cast<ULONG_PTR *>(base + d->FirstThunk); *slot; ++slot) {
            if (*slot != reinterpret_cast<ULONG_PTR>(real)) continue;
            DWORD old = 0;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
            *slot = reinterpret_cast<ULONG_PTR>(hook);
            VirtualProtect(slot, sizeof *slot, old, &old);
        }
    }
}

}  // namespace

void StartCountingAllocations()
{
    HMODULE oleaut = GetModuleHandleW(L"oleaut32.dll");
    if (!oleaut) return;
    Hook(oleaut, "SysAllocString", &CountedSysAllocString, realSysAllocString);
    Hook(oleaut, "SysAllocStringLen", &CountedSysAllocStringLen, realSysAllocStringLen);
    Hook(oleaut, "SysAllocStringByteLen", &CountedSysAllocStringByteLen, realSysAllocStringByteLen);
    Hook(oleaut, "SafeArrayCreate", &CountedSafeArrayCreate, realSafeArrayCreate);
    Hook(oleaut, "SafeArrayCreateVector", &CountedSafeArrayCreateVector, realSafeArrayCreateVector);
    Hook(oleaut, "SafeArrayCopy", &CountedSafeArrayCopy, realSafeArrayCopy);
    Hook(oleaut, "SafeArrayPutElement", &CountedSafeArrayPutElement, realSafeArrayPutElement);
    Hook(oleaut, "SafeArrayGetElement", &CountedSafeArrayGetElement, realSafeArrayGetElement);
    Hook(oleaut, "VariantCopy", &CountedVariantCopy, realVariantCopy);
}

long long AllocationCount()
{
    return allocations;
}

// The replaceable global allocation functions, counting.
void *operator new(std::size_t bytes)
{
    ++allocations;
    if (void *p = std::malloc(bytes ? bytes : 1)) return p;
    throw std::bad_alloc();
}

void *operator new[](std::size_t bytes)
{
    return operator new(bytes);
}

void *operator new(std::size_t bytes, const std::nothrow_t &) noexcept
{
    ++allocations;
    return std::malloc(bytes ? bytes : 1);
}

void *operator new[](std::size_t bytes, const std::nothrow_t &) noexcept
{
    return operator new(bytes, std::nothrow);
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete[](void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}
