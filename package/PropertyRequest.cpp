#include "PropertyRequest.h"

bool PreparePropertyRequest(CPropertyPackage &pkg, const CVariantArray &props, PropertyCategory required,
                            const wchar_t *unsupportedPrefix, CVariantArray &translated, const VARIANT *&list10,
                            std::wstring &error)
{
    const LONG count = props.Count();
    pkg.resultSlots.Clear();
    pkg.slotFilled.assign(static_cast<size_t>(count), false);
    pkg.requestNames.resize(static_cast<size_t>(count));
    pkg.requestRecords.resize(static_cast<size_t>(count));
    list10 = &props.Value();
    bool translating = false;
    for (LONG u = 0; u < count; ++u) {
        BSTR name = props.PeekString(u);
        pkg.requestNames[u] = name ? name : L"NULL";
        const PropertyRecord *record = name ? pkg.propsBy11Name.Lookup(name) : nullptr;
        pkg.requestRecords[u] = record;
        if (!record || !record->row || record->row->category != required) {
            error = unsupportedPrefix;
            error += name ? name : L"NULL";
            return false;
        }
        pkg.resultSlots.Entry(record->name10.Get()) = u;
        if (record->namesDiffer && !translating) {
            // From the first differing name on, the 1.0 package gets its own names.
            translating = true;
            translated.Create(count, VT_BSTR);
            for (LONG earlier = 0; earlier < u; ++earlier) translated.PutElement(earlier, props.PeekString(earlier));
            list10 = &translated.Value();
        }
        if (translating) translated.PutElement(u, record->name10.Get());
    }
    return true;
}

int FirstUnfilledSlot(const CPropertyPackage &pkg)
{
    for (size_t u = 0; u < pkg.slotFilled.size(); ++u)
        if (!pkg.slotFilled[u]) return static_cast<int>(u);
    return -1;
}

HRESULT CopyPropertyList(CPropertyPackage &pkg, const wchar_t *interfaceName, const wchar_t *scope,
                         const CVariantArray &list, VARIANT *props)
{
    if (!props) return E_POINTER;
    if (pkg.initPending && !pkg.EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
    VariantInit(props);
    VariantCopy(props, const_cast<VARIANT *>(&list.Value()));
    return S_OK;
}
