// Text helpers of the probe: UTF-8 for everything it prints, and number
// formatting that reads well in a table and survives a JSON round trip.
#pragma once

#include <string>

std::string ToUtf8(const std::wstring &text);
std::string ToUtf8(const wchar_t *text);

// Shortest of %g at 7 significant digits: tables for people.
std::string FormatNumber(double value);
// FormatNumber as wide text, for messages.
std::wstring NumberText(double value);
// Full precision (17 significant digits): JSON for scripts.
std::string FormatNumberExact(double value);

// Parses a whole argument as a finite number; false on anything else.
bool ParseNumber(const std::wstring &text, double &value);
