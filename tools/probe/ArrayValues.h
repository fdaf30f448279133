// The probe's list conversions: the foundation's, plus compound constants
// (lists of VARIANTs) read as text for its tables.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "VariantLists.h"

// Reads a list of VARIANTs as text ("" for empty, numbers formatted).
bool ReadVariantsAsText(const VARIANT &value, std::vector<std::wstring> &out, std::wstring &error);
