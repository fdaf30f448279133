#include "ComponentHooks.h"

#include "VariantLists.h"

int ComponentHooks::CountCalls(const std::wstring &prefix) const
{
    int count = 0;
    for (const std::wstring &call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0) ++count;
    return count;
}

const ScriptedFailure *ComponentHooks::FailureOf(const wchar_t *method) const
{
    if (failures.empty() || !method) return nullptr;
    auto found = failures.find(method);
    return found == failures.end() ? nullptr : &found->second;
}

bool ComponentHooks::RawAnswer(const wchar_t *name, VARIANT *out) const
{
    if (rawLists.empty() || !name) return false;
    auto found = rawLists.find(name);
    if (found == rawLists.end()) return false;
    VariantClear(out);
    found->second(out);
    return true;
}

std::wstring BstrText(BSTR text)
{
    return std::wstring(text ? text : L"", SysStringLen(text));
}

std::wstring ListText(const VARIANT &list)
{
    if (V_VT(&list) == VT_BSTR) return BstrText(V_BSTR(&list));
    std::vector<std::wstring> items;
    std::wstring error;
    if (!ReadStrings(list, items, error)) return L"?";
    return ListText(items);
}

std::wstring ListText(const std::vector<std::wstring> &items)
{
    std::wstring text = L"[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) text += L", ";
        text += items[i];
    }
    return text + L"]";
}
