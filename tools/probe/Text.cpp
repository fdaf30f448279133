#include "Text.h"

#include <windows.h>
#include <cmath>
#include <cstdio>
#include <cwchar>

std::string ToUtf8(const wchar_t *text)
{
    if (!text || !*text) return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string result(static_cast<size_t>(length - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), length, nullptr, nullptr);
    return result;
}

std::string ToUtf8(const std::wstring &text)
{
    return ToUtf8(text.c_str());
}

std::string FormatNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    return buffer;
}

std::wstring NumberText(double value)
{
    std::string text = FormatNumber(value);
    return std::wstring(text.begin(), text.end());
}

std::string FormatNumberExact(double value)
{
    if (!std::isfinite(value)) return "null";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

bool ParseNumber(const std::wstring &text, double &value)
{
    if (text.empty()) return false;
    wchar_t *end = nullptr;
    double parsed = std::wcstod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}
