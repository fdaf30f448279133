// The table of every property name the system knows, in CAPE-OPEN 1.0 and
// 1.1 spelling, with the process-wide indexes built from it.
#pragma once

#include <cstdint>
#include <vector>

enum class PropertyCategory : int32_t {
    Constant = 0,
    StringConstant = 1,
    TDependent = 2,
    PDependent = 3,
    SinglePhase = 4,
    TwoPhase = 5,
    Temperature = 6,
    Pressure = 7,
    Flow = 8,
    TotalFlow = 9,
    Fraction = 10,
    PhaseFraction = 11,
};

struct PropertyRow {
    const wchar_t *name10;
    const wchar_t *name11;
    PropertyCategory category;
    int32_t shape;          // 0 scalar, 1 per compound, 2 per compound pair
    int32_t basisExponent;  // power of the molecular weight in mole <-> mass conversion
};

constexpr int PropertyNameTableSize = 131;
extern const PropertyRow PropertyNameTable[PropertyNameTableSize];

// Builds the indexes once per process, under the module lock.
void EnsurePropertyIndexes();
// The row of a non-constant property by its 1.0 name (case ignored), or null.
const PropertyRow *LookupPropertyRow(const wchar_t *name10);
// The constant rows (categories 0 and 1), in table order.
const std::vector<const PropertyRow *> &ConstantPropertyRows();
