#include "ArrayValues.h"

#include "ComHolders.h"
#include "Text.h"
#include "VariantArray.h"

bool ReadVariantsAsText(const VARIANT &value, std::vector<std::wstring> &out, std::wstring &error)
{
    CVariantArray array;
    array.Attach(value, false);
    if (!array.Check(VT_VARIANT, error)) return false;
    out.resize(static_cast<size_t>(array.Count()));
    for (LONG i = 0; i < array.Count(); ++i) {
        ScopedVariant element;
        LONG index = array.LowerBound() + i;
        if (FAILED(SafeArrayGetElement(V_ARRAY(&array.Value()), &index, element.Get()))) continue;
        const VARIANT &v = element.Value();
        std::wstring &text = out[static_cast<size_t>(i)];
        if (V_VT(&v) == VT_BSTR) {
            text = V_BSTR(&v) ? V_BSTR(&v) : L"";
        } else if (V_VT(&v) == VT_R8) {
            std::string number = FormatNumber(V_R8(&v));
            text.assign(number.begin(), number.end());
        } else if (V_VT(&v) != VT_EMPTY) {
            ScopedVariant converted;
            if (SUCCEEDED(VariantChangeType(converted.Get(), const_cast<VARIANT *>(&v), 0, VT_BSTR)) && V_BSTR(converted.Get()))
                text = V_BSTR(converted.Get());
        }
    }
    return true;
}

bool ReadVariantNumbers(const VARIANT &value, std::vector<double> &out, std::wstring &error)
{
    CVariantArray array;
    array.Attach(value, false);
    if (!array.Check(VT_VARIANT, error)) return false;
    out.resize(static_cast<size_t>(array.Count()));
    for (LONG i = 0; i < array.Count(); ++i) {
        ScopedVariant element, number;
        LONG index = array.LowerBound() + i;
        if (FAILED(SafeArrayGetElement(V_ARRAY(&array.Value()), &index, element.Get())) ||
            V_VT(element.Get()) == VT_BSTR || V_VT(element.Get()) == VT_EMPTY ||
            FAILED(VariantChangeType(number.Get(), element.Get(), 0, VT_R8))) {
            error = L"element " + std::to_wstring(i) + L" is no number";
            return false;
        }
        out[static_cast<size_t>(i)] = V_R8(number.Get());
    }
    return true;
}

bool ReadCompoundTable(const VARIANT &ids, const VARIANT &formulae, const VARIANT &names, const VARIANT &boilTemps,
                       const VARIANT &molWts, const VARIANT &casNumbers, CompoundTable &table, std::wstring &error)
{
    if (!ReadStrings(ids, table.ids, error)) return false;
    std::wstring ignored;
    const size_t count = table.ids.size();
    const struct {
        const VARIANT &list;
        std::vector<std::wstring> &out;
    } texts[] = {{formulae, table.formulae}, {names, table.names}, {casNumbers, table.casNumbers}};
    for (const auto &text : texts) {
        if (!ReadStrings(text.list, text.out, ignored)) text.out.clear();
        text.out.resize(count);
    }
    if (!ReadDoubles(boilTemps, table.boilTemps, ignored)) table.boilTemps.clear();
    if (!ReadDoubles(molWts, table.molWts, ignored)) table.molWts.clear();
    table.boilTemps.resize(count, 0.0);
    table.molWts.resize(count, 0.0);
    return true;
}
