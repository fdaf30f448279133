// Copies between CAPE-OPEN list VARIANTs and plain vectors, on top of
// CVariantArray, for clients and components that build or read whole lists.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

// Reads a list of doubles (VT_EMPTY is an empty list); false with a reason.
bool ReadDoubles(const VARIANT &value, std::vector<double> &out, std::wstring &error);
// Reads a list of strings; null elements become empty strings.
bool ReadStrings(const VARIANT &value, std::vector<std::wstring> &out, std::wstring &error);

// Replaces *out (cleared first) by a new zero-based array.
void PutDoubles(VARIANT *out, const std::vector<double> &values);
void PutStrings(VARIANT *out, const std::vector<std::wstring> &values);
void PutLongs(VARIANT *out, const std::vector<long> &values);
