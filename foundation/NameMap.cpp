#include "NameMap.h"

#include <cwchar>

uint32_t HashName(const wchar_t *text)
{
    uint32_t hash = 2166136261u;
    for (const wchar_t *p = text; *p; ++p) {
        hash *= 16777619u;
        hash ^= static_cast<uint16_t>(*p);
    }
    return hash;
}

bool WSTRMapKeyEqual::operator()(const WSTRMapKey &a, const WSTRMapKey &b) const
{
    return std::wcscmp(a.Text(), b.Text()) == 0;
}
