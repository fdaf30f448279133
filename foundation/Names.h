// Name comparison and case folding shared by every name the system handles.
#pragma once

#include <string>

// True when a and b are the same name, letter case ignored; null and empty
// names are equal to each other.
bool NamesEqual(const wchar_t *a, const wchar_t *b);

// True when name, folded like ToLowerName, equals folded (a null name
// equals an empty one). Allocation-free, for per-call checks.
bool EqualsFolded(const wchar_t *name, const std::wstring &folded);

// A copy of s folded to lower case code unit by code unit (towlower, "C" locale).
std::wstring ToLowerName(const wchar_t *s);
void LowerInPlace(std::wstring &s);

// Folds a name into a buffer that stays on the stack for names of up to 127
// characters; longer names move to the heap. Used by lookups on hot paths.
class FoldedName {
public:
    explicit FoldedName(const wchar_t *name);
    FoldedName(const FoldedName &) = delete;
    FoldedName &operator=(const FoldedName &) = delete;
    const wchar_t *Text() const { return heap_.empty() ? local_ : heap_.c_str(); }

private:
    wchar_t local_[128];
    std::wstring heap_;
};
