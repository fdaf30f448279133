#include "Names.h"

#include <windows.h>

// What towlower does in the "C" locale, without depending on the C
// library's current locale: only 'A'-'Z' change.
static wchar_t FoldUnit(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

bool NamesEqual(const wchar_t *a, const wchar_t *b)
{
    const bool aEmpty = !a || !*a;
    const bool bEmpty = !b || !*b;
    if (aEmpty || bEmpty) return aEmpty && bEmpty;
    // Names are nearly always ASCII, where folding A-Z decides equality the
    // way the system's case-insensitive comparison does, at a fraction of its
    // cost; anything else goes to the system comparison.
    for (;; ++a, ++b) {
        if (*a >= 0x80 || *b >= 0x80) return lstrcmpiW(a, b) == 0;
        if (FoldUnit(*a) != FoldUnit(*b)) return false;
        if (!*a) return true;
    }
}

bool EqualsFolded(const wchar_t *name, const std::wstring &folded)
{
    if (!name) name = L"";
    size_t i = 0;
    for (; name[i]; ++i) {
        if (i >= folded.size() || FoldUnit(name[i]) != folded[i]) return false;
    }
    return i == folded.size();
}

std::wstring ToLowerName(const wchar_t *s)
{
    std::wstring result(s ? s : L"");
    LowerInPlace(result);
    return result;
}

void LowerInPlace(std::wstring &s)
{
    for (wchar_t &c : s) c = FoldUnit(c);
}

FoldedName::FoldedName(const wchar_t *name)
{
    if (!name) name = L"";
    size_t length = 0;
    while (name[length] && length < 127) {
        local_[length] = FoldUnit(name[length]);
        ++length;
    }
    if (name[length]) {
        heap_ = ToLowerName(name);
        return;
    }
    local_[length] = 0;
}
