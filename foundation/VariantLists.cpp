#include "VariantLists.h"

#include "ComHolders.h"
#include "VariantArray.h"

namespace {

bool CheckBorrowed(const VARIANT &value, VARTYPE type, CVariantArray &array, std::wstring &error)
{
    array.Attach(value, false);
    return array.Check(type, error);
}

// Hands a freshly built array over to *out.
void HandOver(CVariantArray &array, VARIANT *out)
{
    VariantClear(out);
    *out = array.Value();
    array.Disown();
}

}  // namespace

bool ReadDoubles(const VARIANT &value, std::vector<double> &out, std::wstring &error)
{
    CVariantArray array;
    if (!CheckBorrowed(value, VT_R8, array, error)) return false;
    out.resize(static_cast<size_t>(array.Count()));
    for (LONG i = 0; i < array.Count(); ++i) out[static_cast<size_t>(i)] = array.GetDouble(i);
    return true;
}

bool ReadStrings(const VARIANT &value, std::vector<std::wstring> &out, std::wstring &error)
{
    CVariantArray array;
    if (!CheckBorrowed(value, VT_BSTR, array, error)) return false;
    out.resize(static_cast<size_t>(array.Count()));
    for (LONG i = 0; i < array.Count(); ++i) {
        ScopedBstr text = ScopedBstr::Adopt(array.GetString(i));
        out[static_cast<size_t>(i)] = text.Text();
    }
    return true;
}

void PutDoubles(VARIANT *out, const std::vector<double> &values)
{
    CVariantArray array;
    array.Create(static_cast<LONG>(values.size()), VT_R8);
    for (size_t i = 0; i < values.size(); ++i) {
        double value = values[i];
        array.PutElement(static_cast<LONG>(i), &value);
    }
    HandOver(array, out);
}

void PutStrings(VARIANT *out, const std::vector<std::wstring> &values)
{
    CVariantArray array;
    array.Create(static_cast<LONG>(values.size()), VT_BSTR);
    for (size_t i = 0; i < values.size(); ++i) {
        ScopedBstr text(values[i].c_str());
        array.PutElement(static_cast<LONG>(i), text.Get());
    }
    HandOver(array, out);
}

void PutLongs(VARIANT *out, const std::vector<long> &values)
{
    CVariantArray array;
    array.Create(static_cast<LONG>(values.size()), VT_I4);
    for (size_t i = 0; i < values.size(); ++i) {
        LONG value = values[i];
        array.PutElement(static_cast<LONG>(i), &value);
    }
    HandOver(array, out);
}
