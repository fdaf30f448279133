// The probe's list conversions: the foundation's, plus compound constants
// (lists of VARIANTs) read as text for its tables.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "CompoundTable.h"
#include "VariantLists.h"

// Reads a list of VARIANTs as text ("" for empty, numbers formatted).
bool ReadVariantsAsText(const VARIANT &value, std::vector<std::wstring> &out, std::wstring &error);
// Reads a list of VARIANTs that are all numbers; false when one is not.
bool ReadVariantNumbers(const VARIANT &value, std::vector<double> &out, std::wstring &error);
// A package's compound lists (1.0 GetComponentList or 1.1 GetCompoundList):
// false when the identifiers are unreadable. The other lists are
// informative: each gets one entry per compound, empty where unreadable.
bool ReadCompoundTable(const VARIANT &ids, const VARIANT &formulae, const VARIANT &names, const VARIANT &boilTemps,
                       const VARIANT &molWts, const VARIANT &casNumbers, CompoundTable &table, std::wstring &error);
