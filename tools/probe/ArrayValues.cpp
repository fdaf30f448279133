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
