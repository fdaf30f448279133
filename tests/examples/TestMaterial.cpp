#include "TestMaterial.h"

#include "ComHolders.h"
#include "Names.h"
#include "VariantArray.h"

std::wstring CTestMaterial::Key(const wchar_t *property, const wchar_t *phase)
{
    return ToLowerName(property) + L"|" + ToLowerName(phase);
}

STDMETHODIMP CTestMaterial::get_ComponentIds(VARIANT *compIds)
{
    return ComGuard([&] {
        if (!compIds) return E_POINTER;
        CVariantArray list;
        list.Create(static_cast<LONG>(compounds.size()), VT_BSTR);
        for (LONG i = 0; i < static_cast<LONG>(compounds.size()); ++i) {
            ScopedBstr id(compounds[i].c_str());
            list.PutElement(i, id.Get());
        }
        *compIds = list.Value();
        list.Disown();
        return S_OK;
    });
}

STDMETHODIMP CTestMaterial::GetProp(BSTR property, BSTR phase, VARIANT, BSTR, BSTR, VARIANT *results)
{
    return ComGuard([&] {
        if (!results) return E_POINTER;
        VariantInit(results);
        auto found = values.find(Key(property, phase));
        if (found == values.end())
            return Fail(L"No value for " + Key(property, phase), L"CTestMaterial::GetProp", Name);
        CVariantArray list;
        list.Create(static_cast<LONG>(found->second.size()), VT_R8);
        for (LONG i = 0; i < static_cast<LONG>(found->second.size()); ++i)
            list.PutElement(i, &found->second[i]);
        *results = list.Value();
        list.Disown();
        return S_OK;
    });
}

STDMETHODIMP CTestMaterial::SetProp(BSTR property, BSTR phase, VARIANT, BSTR, BSTR basis, VARIANT given)
{
    return ComGuard([&] {
        CVariantArray list;
        list.Attach(given, false);
        std::wstring error;
        if (!list.Check(VT_R8, error)) return Fail(error, L"CTestMaterial::SetProp", Name);
        std::vector<double> &stored = values[Key(property, phase)];
        stored.resize(list.Count());
        for (LONG i = 0; i < list.Count(); ++i) stored[i] = list.GetDouble(i);
        bases[Key(property, phase)] = basis ? basis : L"";
        return S_OK;
    });
}

STDMETHODIMP CTestMaterial::GetNumComponents(long *count)
{
    return ComGuard([&] {
        if (!count) return E_POINTER;
        *count = static_cast<long>(compounds.size());
        return S_OK;
    });
}
