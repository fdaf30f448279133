// The context material and its validation before every calculation: the
// material's compounds, in its order, mapped onto the package's.
#include "PropertyPackage.h"

#include <algorithm>
#include <cwchar>

#include "ErrorText.h"
#include "Names.h"

namespace {

constexpr const wchar_t *contextInterface = L"ICapeThermoMaterialContext";

// True when kept is a list of exactly the strings of ids (checked), letter
// case included.
bool SameSpelling(const CVariantArray &ids, const VARIANT &kept)
{
    CVariantArray list;
    list.Attach(kept, false);
    std::wstring ignored;
    if (V_VT(&kept) != (VT_ARRAY | VT_BSTR) || !list.Check(VT_BSTR, ignored) || list.Count() != ids.Count())
        return false;
    for (LONG i = 0; i < ids.Count(); ++i) {
        BSTR a = ids.PeekString(i), b = list.PeekString(i);
        const UINT length = SysStringLen(a);
        if (SysStringLen(b) != length || (length && wmemcmp(a, b, length) != 0)) return false;
    }
    return true;
}

}  // namespace

HRESULT CPropertyPackage::SetMaterial(IDispatch *material)
{
    return ComGuard([&]() -> HRESULT {
        if (RefuseReentry(PACKAGE_SCOPE(L"SetMaterial"), contextInterface)) return ECapeUnknownHR;
        UnsetMaterial();
        if (!material) return S_OK;
        HRESULT hr = QueryFrom(material, contextMaterial);
        if (FAILED(hr)) {
            contextMaterial.Reset();
            return Fail(L"Failed to get ICapeThermoMaterial pointer: " + ErrorText(hr), PACKAGE_SCOPE(L"SetMaterial"),
                        contextInterface);
        }
        return S_OK;
    });
}

HRESULT CPropertyPackage::UnsetMaterial()
{
    return ComGuard([&]() -> HRESULT {
        if (RefuseReentry(PACKAGE_SCOPE(L"UnsetMaterial"), contextInterface)) return ECapeUnknownHR;
        contextMaterial.Reset();
        contextCompounds.Reset();
        selectionIds.Receive();
        lentIds.Reset();
        return S_OK;
    });
}

bool CPropertyPackage::ValidateContextMaterial(const wchar_t *scope, const wchar_t *interfaceName)
{
    auto fail = [&](const std::wstring &message) {
        SetError(message.c_str(), scope, interfaceName);
        return false;
    };
    if (!contextMaterial) return fail(L"No material object has been set");
    if (!contextCompounds) QueryFrom(contextMaterial.Get(), contextCompounds);
    if (!contextCompounds) return fail(L"Context material does not expose ICapeThermoCompounds");

    // Only the identifiers are used, but every list is passed: the arguments
    // are [in, out], and a material in the simulator's own apartment may
    // write to them without a null check.
    CVariantArray ids;
    ScopedVariant formulae, names, boilTemps, molwts, casnos;
    HRESULT hr = contextCompounds->GetCompoundList(ids.Receive(), formulae.Get(), names.Get(), boilTemps.Get(),
                                                   molwts.Get(), casnos.Get());
    if (FAILED(hr))
        return fail(L"Failed to get list of compounds from context material: " +
                    CapeErrorText(contextCompounds.Get(), hr));
    std::wstring reason;
    if (!ids.Check(VT_BSTR, reason)) return fail(L"Invalid list of compounds from context material: " + reason);
    const LONG count = ids.Count();
    if (count == 0) return fail(L"Empty list of compounds from context material");

    std::fill(compoundPresent.begin(), compoundPresent.end(), false);
    const int packageCount = static_cast<int>(compoundIds.size());
    LONG i = 0;
    if (selectionIndices.size() == static_cast<size_t>(count)) {
        // Quick path: the same compounds in the same order as last time,
        // confirmed without lookups or copies. The comparison folds case the
        // way compoundIndex does, so a mismatch here is one there too.
        // An entry already seen (left by a failed validation) is no match.
        for (; i < count; ++i) {
            const int index = selectionIndices[i];
            if (index < 0 || index >= packageCount || compoundPresent[index]) break;
            if (!EqualsFolded(ids.PeekString(i), lowerCompoundIds[index])) break;
            compoundPresent[index] = true;
        }
    } else {
        selectionIndices.assign(count, -1);
    }
    for (; i < count; ++i) {
        BSTR id = ids.PeekString(i);
        if (!id) return fail(L"Compound list from context material contains empty strings");
        const int *index = compoundIndex.Lookup(id);
        if (!index) {
            selectionIndices[i] = -1;
            return fail(std::wstring(L"Unknown compound \"") + id + L"\" in context material's compound list");
        }
        selectionIndices[i] = *index;
        if (compoundPresent[*index]) return fail(std::wstring(L"Compound \"") + id);
        compoundPresent[*index] = true;
    }

    // The material returns a new list each time. While it is spelled as the
    // kept one, it is lent to the next ComponentIds request (TakeLentIds).
    if (SameSpelling(ids, selectionIds.Value())) {
        lentIds.Attach(ids.Value(), true);
        lentFor = V_ARRAY(&selectionIds.Value());
    } else {
        lentIds.Reset();
        selectionIds.Attach(ids.Value(), true);
    }
    ids.Disown();
    return true;
}

bool CPropertyPackage::TakeLentIds(VARIANT *compIds)
{
    // The kept list is never changed in place, and every code that frees it
    // (a new spelling, UnsetMaterial, initialisation) drops the lent one:
    // while selectionIds is the same array, the lent list holds its strings.
    // A selection put in place for a while (compound requests) is another array.
    if (lentIds.IsEmpty() || V_VT(&selectionIds.Value()) != (VT_ARRAY | VT_BSTR) ||
        V_ARRAY(&selectionIds.Value()) != lentFor)
        return false;
    *compIds = lentIds.Value();
    lentIds.Disown();
    lentIds.Reset();
    return true;
}
