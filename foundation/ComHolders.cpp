#include "ComHolders.h"

BSTR MakeBstr(const wchar_t *text)
{
    if (!text) return nullptr;
    BSTR b = SysAllocString(text);
    if (!b) throw std::bad_alloc();
    return b;
}

BSTR MakeBstr(const wchar_t *text, UINT length)
{
    if (!text) return nullptr;
    BSTR b = SysAllocStringLen(text, length);
    if (!b) throw std::bad_alloc();
    return b;
}

BSTR CopyBstr(BSTR source)
{
    if (!source) return nullptr;
    BSTR b = SysAllocStringByteLen(reinterpret_cast<const char *>(source), SysStringByteLen(source));
    if (!b) throw std::bad_alloc();
    return b;
}
