// The values a material holds: per phase (or "overall", or a phase pair as
// PhasePairLabel writes it) and property, in one basis each: none, "mole" or
// "mass". Names and phase labels are matched without regard to letter case.
// Lookups reuse one key buffer, so they allocate nothing.
#pragma once

#include <string>
#include <vector>

#include "NameMap.h"

enum class ValueBasis { Undefined, Mole, Mass };

// Basis from its CAPE-OPEN name (null or empty is Undefined); false when
// the text names no basis.
bool ParseBasis(const wchar_t *text, ValueBasis &basis);
const wchar_t *BasisName(ValueBasis basis);

class PropertyStore {
public:
    // Copies count values; an existing entry keeps its storage.
    void Set(const wchar_t *phase, const wchar_t *property, ValueBasis basis, const double *values, size_t count);
    // The values in that basis. Mole and undefined stand in for each other,
    // since clients differ on the basis of quantities such as temperature.
    const std::vector<double> *Get(const wchar_t *phase, const wchar_t *property, ValueBasis basis) const;
    // The values in whichever basis they were stored (undefined, then mole,
    // then mass); basis tells which.
    const std::vector<double> *GetAnyBasis(const wchar_t *phase, const wchar_t *property,
                                           ValueBasis &basis) const;
    // Removes everything stored for one phase.
    void ClearPhase(const wchar_t *phase);
    // Removes one property of one phase, in every basis.
    void Remove(const wchar_t *phase, const wchar_t *property);
    void Clear() { values_.Clear(); }
    size_t Size() const { return values_.Size(); }

private:
    const std::vector<double> *Find(const wchar_t *phase, const wchar_t *property, ValueBasis basis) const;
    const wchar_t *Key(const wchar_t *phase, const wchar_t *property, ValueBasis basis) const;

    NameMap<std::vector<double>> values_;
    mutable std::wstring key_;  // reused, so lookups do not allocate
};

// The store's label for a pair of phases, as two-phase values are kept:
// "Vapor,Liquid".
std::wstring PhasePairLabel(const std::wstring &first, const std::wstring &second);
