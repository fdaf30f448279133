// CMaterialObject: identity, the compound and phase queries, and the
// methods a 1.0 package may call but this object does not offer.
#include "MaterialObject.h"

#include <cwchar>

#include "ComHolders.h"
#include "ErrorText.h"
#include "Names.h"
#include "PropertyNameTable.h"
#include "PropertyPackage.h"
#include "VariantArray.h"

namespace {

constexpr const wchar_t *materialInterface = L"ICapeThermoMaterialObject";
constexpr const wchar_t *notConnected = L"Material object is not connected to a property package";
constexpr const wchar_t *notInMaterialOrder = L"SetProp is only supported for all compounds in material order";

}  // namespace

#define MATERIAL_SCOPE(method) L"CMaterialObject::" method

CMaterialObject::CMaterialObject()
{
    SetIdentification(L"MaterialObject", L"Corvanta");
}

HRESULT CMaterialObject::get_ComponentIds(VARIANT *compIds)
{
    return ComGuard([&]() -> HRESULT {
        if (!compIds) return E_POINTER;
        VariantInit(compIds);
        constexpr const wchar_t *scope = MATERIAL_SCOPE(L"get_ComponentIds");
        if (!package) return Fail(notConnected, scope, materialInterface);
        if (package->TakeLentIds(compIds)) return S_OK;
        HRESULT hr = VariantCopy(compIds, const_cast<VARIANT *>(&package->selectionIds.Value()));
        if (FAILED(hr)) return Fail(L"Failed to copy VARIANT: " + ErrorText(hr), scope, materialInterface);
        return S_OK;
    });
}

HRESULT CMaterialObject::get_PhaseIds(VARIANT *phaseIds)
{
    return ComGuard([&]() -> HRESULT {
        if (!phaseIds) return E_POINTER;
        VariantInit(phaseIds);
        constexpr const wchar_t *scope = MATERIAL_SCOPE(L"get_PhaseIds");
        if (!package) return Fail(notConnected, scope, materialInterface);
        if (calcMode == CalcModeSinglePhase) {
            CVariantArray phases;
            phases.Create(1, VT_BSTR);
            phases.PutElement(0, package->currentPhase);
            *phaseIds = phases.Value();
            phases.Disown();
            return S_OK;
        }
        if (calcMode == CalcModeTwoPhase) {
            HRESULT hr = package->twoPhaseLabels
                             ? VariantCopy(phaseIds, const_cast<VARIANT *>(package->twoPhaseLabels))
                             : E_POINTER;
            if (FAILED(hr)) return Fail(L"Failed to copy VARIANT: " + ErrorText(hr), scope, materialInterface);
            return S_OK;
        }
        // Pure-compound, flash and fugacity calculations have no phase list.
        return NotImplemented(scope, materialInterface);
    });
}

HRESULT CMaterialObject::GetUniversalConstant(VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"GetUniversalConstant"), materialInterface); });
}

HRESULT CMaterialObject::GetComponentConstant(VARIANT, VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"GetComponentConstant"), materialInterface); });
}

HRESULT CMaterialObject::CalcProp(VARIANT, VARIANT, BSTR)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"CalcProp"), materialInterface); });
}

HRESULT CMaterialObject::CalcEquilibrium(BSTR, VARIANT)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"CalcEquilibrium"), materialInterface); });
}

HRESULT CMaterialObject::SetIndependentVar(VARIANT, VARIANT)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"SetIndependentVar"), materialInterface); });
}

HRESULT CMaterialObject::GetIndependentVar(VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"GetIndependentVar"), materialInterface); });
}

HRESULT CMaterialObject::PropCheck(VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"PropCheck"), materialInterface); });
}

HRESULT CMaterialObject::AvailableProps(VARIANT *)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"AvailableProps"), materialInterface); });
}

HRESULT CMaterialObject::RemoveResults(VARIANT)
{
    // Results are never kept here, so there is nothing to remove.
    return S_OK;
}

HRESULT CMaterialObject::CreateMaterialObject(IDispatch **)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"CreateMaterialObject"), materialInterface); });
}

HRESULT CMaterialObject::Duplicate(IDispatch **)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"Duplicate"), materialInterface); });
}

HRESULT CMaterialObject::ValidityCheck(VARIANT, VARIANT *)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"ValidityCheck"), materialInterface); });
}

HRESULT CMaterialObject::GetPropList(VARIANT *)
{
    return ComGuard([&] { return NotImplemented(MATERIAL_SCOPE(L"GetPropList"), materialInterface); });
}

HRESULT CMaterialObject::GetNumComponents(long *numComp)
{
    return ComGuard([&]() -> HRESULT {
        if (!numComp) return E_POINTER;
        if (!package) return Fail(notConnected, MATERIAL_SCOPE(L"GetNumComponents"), materialInterface);
        *numComp = static_cast<long>(package->selectionIndices.size());
        return S_OK;
    });
}

bool CMaterialObject::CheckCompoundList(const VARIANT &compIds, std::wstring &error) const
{
    if (V_VT(&compIds) == VT_EMPTY) return true;
    if (!package) {
        error = notConnected;
        return false;
    }
    CVariantArray list;
    list.Attach(compIds, false);
    std::wstring reason;
    if (!list.Check(VT_BSTR, reason)) {
        error = L"Invalid format for compIds: " + reason;
        return false;
    }
    const LONG count = list.Count();
    if (count == 0) return true;  // all compounds
    const std::vector<int> &selection = package->selectionIndices;
    const std::vector<std::wstring> &lowerIds = package->lowerCompoundIds;
    if (static_cast<size_t>(count) != selection.size()) {
        error = notInMaterialOrder;
        return false;
    }
    for (LONG i = 0; i < count; ++i) {
        BSTR id = list.PeekString(i);
        const int index = selection[i];
        if (!id || index < 0 || static_cast<size_t>(index) >= lowerIds.size() || !EqualsFolded(id, lowerIds[index])) {
            error = notInMaterialOrder;
            return false;
        }
    }
    return true;
}

const PropertyRow *AmountRow(const wchar_t *property)
{
    const PropertyRow *row = LookupPropertyRow(property);
    if (row && (row->category == PropertyCategory::Flow || row->category == PropertyCategory::TotalFlow)) return row;
    return nullptr;
}

bool CMaterialObject::ReadMoleNumbers(CVariantArray &moles, double &total, std::wstring &error) const
{
    std::wstring reason;
    if (package && package->lnPhiComposition) moles.Attach(*package->lnPhiComposition, false);
    if (!moles.Check(VT_R8, reason)) {
        error = L"Invalid mole numbers: " + reason;
        return false;
    }
    if (!package || static_cast<size_t>(moles.Count()) != package->selectionIndices.size()) {
        error = L"Invalid mole numbers: unexpected number of values";
        return false;
    }
    total = 0.0;
    for (LONG i = 0; i < moles.Count(); ++i) total += moles.GetDouble(i);
    return true;
}

IUnknown *CMaterialObject::MainInterface()
{
    return static_cast<ICapeThermoMaterialObject *>(this);
}

IUnknown *CMaterialObject::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoMaterialObject))) return static_cast<ICapeThermoMaterialObject *>(this);
    return nullptr;
}
