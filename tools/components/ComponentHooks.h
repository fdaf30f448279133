// What a test scripts on a shared component: failures by method name, raw
// answers of odd types by name, and a log of the calls. A component consults
// them only when Armed() says one is set, so code that sets none (the probe,
// the benchmark) pays one flag check per call and nothing else.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CapeOpenResults.h"

struct ScriptedFailure {
    HRESULT code = ECapeUnknownHR;
    std::wstring description;  // recorded on the component's ECapeUser
};

class ComponentHooks {
public:
    // Method name ("CalcProp", "GetCompoundList", ...) -> the failure it returns.
    std::map<std::wstring, ScriptedFailure, std::less<>> failures;
    // Name -> filler of an out VARIANT (handed over VT_EMPTY) that replaces
    // the component's own answer; each component documents its names.
    std::map<std::wstring, std::function<void(VARIANT *)>, std::less<>> rawLists;
    // With logCalls set, every call is appended to calls as
    // "<method> <arguments...>", lists written "[a, b]".
    bool logCalls = false;
    std::vector<std::wstring> calls;

    // Number of logged calls that start with prefix.
    int CountCalls(const std::wstring &prefix) const;

    // For the components themselves.
    // The one check on the fast path: is any hook set?
    bool Armed() const { return logCalls || !failures.empty() || !rawLists.empty(); }
    // The scripted failure of method, or null.
    const ScriptedFailure *FailureOf(const wchar_t *method) const;
    // Fills out (cleared first) from the raw answer of name; false when none.
    bool RawAnswer(const wchar_t *name, VARIANT *out) const;
    void Log(std::wstring call)
    {
        if (logCalls) calls.push_back(std::move(call));
    }
};

// A list argument as log text: "[a, b]" for strings, the text of a single
// string, "[]" for nothing and "?" for anything else.
std::wstring ListText(const VARIANT &list);
std::wstring ListText(const std::vector<std::wstring> &items);
// The text of a BSTR, null as empty.
std::wstring BstrText(BSTR text);
