// How one supported property is named in CAPE-OPEN 1.0 and 1.1.
#pragma once

#include <cstdint>
#include <string>

#include "ComHolders.h"
#include "PropertyNameTable.h"

enum PropertyDerivative : int32_t {
    DerivativeNone = 0,
    DerivativeTemperature = 1,   // .Dtemperature
    DerivativePressure = 2,      // .Dpressure
    DerivativeMolFraction = 3,   // .DmolFraction
    DerivativeMoles = 4,         // .Dmoles
};

// The 1.1 name of a property as a 1.0 package lists it ("enthalpy.dtemperature"
// gives "enthalpy.Dtemperature"), with its row and derivative; false when the
// name is unknown or its derivative does not exist for its kind of property.
// The property indexes must be built (EnsurePropertyIndexes).
bool TranslatePropertyName10(const wchar_t *name10, std::wstring &name11, const PropertyRow *&row,
                             int32_t &derivative);

struct PropertyRecord {
    ScopedBstr name10;  // as the 1.0 package spells it, suffix included
    ScopedBstr name11;  // the 1.1 name, suffix included
    const PropertyRow *row = nullptr;
    int32_t derivative = DerivativeNone;
    bool namesDiffer = false;  // name10 and name11 differ, case ignored
};
