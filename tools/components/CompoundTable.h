// The compounds of a property package as its GetCompoundList gives them.
#pragma once

#include <string>
#include <vector>

struct CompoundTable {
    std::vector<std::wstring> ids, formulae, names, casNumbers;
    std::vector<double> boilTemps, molWts;

    size_t Count() const { return ids.size(); }
    // Index of id (letter case ignored), or -1.
    int IndexOf(const std::wstring &id) const;
};
