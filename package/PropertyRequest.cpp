#include "PropertyRequest.h"

#include <algorithm>
#include <cwchar>

namespace {

// The same name written the same way, letter case included.
bool SameSpelling(BSTR a, BSTR b)
{
    const UINT length = SysStringLen(a);
    return length == SysStringLen(b) && wmemcmp(a, b, length) == 0;
}

}  // namespace

bool PreparePropertyRequest(CPropertyPackage &pkg, const CVariantArray &props, PropertyCategory required,
                            const wchar_t *unsupportedPrefix, CVariantArray &translated, const VARIANT *&list10,
                            std::wstring &error)
{
    const LONG count = props.Count();
    pkg.resultSlots.Fill(-1);
    pkg.slotFilled.assign(static_cast<size_t>(count), false);
    pkg.requestNames.resize(static_cast<size_t>(count));
    pkg.requestRecords.resize(static_cast<size_t>(count));
    list10 = &props.Value();
    bool translating = false;
    LONG sent = 0;  // names in translated so far
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
        // A property requested again is calculated and reported once, in the
        // slot of its first request.
        const auto earlier = pkg.requestRecords.begin();
        const bool repeated = std::find(earlier, earlier + u, record) != earlier + u;
        if (repeated)
            pkg.slotFilled[u] = true;
        else
            pkg.resultSlots.Entry(record->name10.Get()) = u;
        if (!translating && (repeated || !SameSpelling(name, record->name10.Get()))) {
            // From here on the 1.0 package gets each name once, spelled as it
            // lists it; the names before were exactly that already.
            translating = true;
            translated.Create(count, VT_BSTR);
            for (sent = 0; sent < u; ++sent) translated.PutElement(sent, props.PeekString(sent));
            list10 = &translated.Value();
        }
        if (translating && !repeated) translated.PutElement(sent++, record->name10.Get());
    }
    if (translating && sent < count) {
        SAFEARRAYBOUND bound = {static_cast<ULONG>(sent), 0};
        SafeArrayRedim(V_ARRAY(translated.Get()), &bound);
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
