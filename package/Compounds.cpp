// ICapeThermoCompounds: lists read at initialisation, and compound constants
// and temperature- or pressure-dependent properties asked of the 1.0 package
// with the material object presenting exactly the requested compounds.
#include "PropertyPackage.h"

#include <algorithm>
#include <vector>

#include "ErrorText.h"
#include "Names.h"
#include "PropertyRequest.h"

namespace {

constexpr const wchar_t *interfaceName = L"ICapeThermoCompounds";

// Lends the compound selection to one request and puts it back on every exit.
// The identifiers go back owned with count 0, so the next calculation that
// needs the context material validates it again.
class BorrowedSelection {
public:
    explicit BorrowedSelection(CPropertyPackage &pkg) : pkg_(pkg), savedIndices_(std::move(pkg.selectionIndices))
    {
        pkg.selectionIndices.clear();
        savedIds_ = pkg.selectionIds.Value();
        pkg.selectionIds.Disown();
    }
    ~BorrowedSelection()
    {
        pkg_.selectionIndices = std::move(savedIndices_);
        pkg_.selectionIds.Attach(savedIds_, true);
    }
    BorrowedSelection(const BorrowedSelection &) = delete;
    BorrowedSelection &operator=(const BorrowedSelection &) = delete;

private:
    CPropertyPackage &pkg_;
    std::vector<int> savedIndices_;
    VARIANT savedIds_;
};

// Checks props and compIds and turns compIds into package indices (every
// compound in package order when compIds is empty). On false, error says why.
bool ResolveRequest(const CPropertyPackage &pkg, CVariantArray &props, CVariantArray &compounds,
                    std::vector<int> &indices, std::wstring &error)
{
    std::wstring reason;
    if (!props.Check(VT_BSTR, reason)) {
        error = L"Invalid list of properties: " + reason;
        return false;
    }
    if (!compounds.Check(VT_BSTR, reason)) {
        error = L"Invalid list of compounds: " + reason;
        return false;
    }
    indices.clear();
    if (compounds.IsEmpty()) {
        for (size_t i = 0; i < pkg.compoundIds.size(); ++i) indices.push_back(static_cast<int>(i));
        return true;
    }
    for (LONG i = 0; i < compounds.Count(); ++i) {
        BSTR id = compounds.PeekString(i);
        if (!id) {
            error = L"Compound list contains NULL strings";
            return false;
        }
        const int *index = pkg.compoundIndex.Lookup(id);
        if (!index) {
            error = L"Invalid/unknown compound ID \"";
            error += id;
            error += L'"';
            return false;
        }
        indices.push_back(*index);
    }
    return true;
}

}  // namespace

HRESULT CPropertyPackage::GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps,
                                          VARIANT *molwts, VARIANT *casnos)
{
    return ComGuard([&]() -> HRESULT {
        if (!compIds || !formulae || !names || !boilTemps || !molwts || !casnos) return E_POINTER;
        if (initPending && !EnsureInitialized(interfaceName, PACKAGE_SCOPE(L"GetCompoundList")))
            return ECapeUnknownHR;
        const struct {
            VARIANT *out;
            const CVariantArray &list;
        } copies[] = {{compIds, compIdsList}, {formulae, formulaeList}, {names, namesList},
                      {boilTemps, boilTempsList}, {molwts, molWtList}, {casnos, casNoList}};
        for (const auto &copy : copies) {
            VariantClear(copy.out);
            VariantCopy(copy.out, const_cast<VARIANT *>(&copy.list.Value()));
        }
        return S_OK;
    });
}

HRESULT CPropertyPackage::GetConstPropList(VARIANT *props)
{
    return ComGuard([&] {
        return CopyPropertyList(*this, interfaceName, PACKAGE_SCOPE(L"GetConstPropList"), constPropList, props);
    });
}

HRESULT CPropertyPackage::GetTDependentPropList(VARIANT *props)
{
    return ComGuard([&] {
        return CopyPropertyList(*this, interfaceName, PACKAGE_SCOPE(L"GetTDependentPropList"), tDependentPropList,
                                props);
    });
}

HRESULT CPropertyPackage::GetPDependentPropList(VARIANT *props)
{
    return ComGuard([&] {
        return CopyPropertyList(*this, interfaceName, PACKAGE_SCOPE(L"GetPDependentPropList"), pDependentPropList,
                                props);
    });
}

HRESULT CPropertyPackage::GetNumCompounds(long *num)
{
    return ComGuard([&]() -> HRESULT {
        if (!num) return E_POINTER;
        if (initPending && !EnsureInitialized(interfaceName, PACKAGE_SCOPE(L"GetNumCompounds")))
            return ECapeUnknownHR;
        *num = compIdsList.Count();
        return S_OK;
    });
}

HRESULT CPropertyPackage::GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT *propVals)
{
    constexpr const wchar_t *scope = PACKAGE_SCOPE(L"GetCompoundConstant");
    return ComGuard([&]() -> HRESULT {
        if (!propVals) return E_POINTER;
        if (RefuseReentry(scope, interfaceName)) return ECapeUnknownHR;
        if (initPending && !EnsureInitialized(interfaceName, scope)) return ECapeUnknownHR;
        BusyScope busyScope(*this);
        CVariantArray propList, compounds;
        propList.Attach(props, false);
        compounds.Attach(compIds, false);
        std::vector<int> indices;
        std::wstring error;
        if (!ResolveRequest(*this, propList, compounds, indices, error)) return Fail(error, scope, interfaceName);
        if (indices.empty() || propList.IsEmpty()) {
            V_VT(propVals) = VT_EMPTY;
            return S_OK;
        }
        if (!package10) return Fail(L"Property values not available", scope, interfaceName);

        const LONG compoundCount = static_cast<LONG>(indices.size());
        CVariantArray values;
        values.Create(propList.Count() * compoundCount, VT_VARIANT);
        HRESULT status = S_OK;
        bool anyValue = false;
        {
            // No calculation is prepared: whatever the 1.0 package sets meanwhile is dropped.
            CalcModeScope idle(materialObject.Get(), CalcModeNone);
            BorrowedSelection borrowed(*this);
            selectionIndices.assign(1, -1);
            selectionIds.Create(1, VT_BSTR);
            LONG k = 0;
            for (LONG p = 0; p < propList.Count(); ++p) {
                BSTR name = propList.PeekString(p);
                const PropertyRecord *record = name ? constantsBy11Name.Lookup(name) : nullptr;
                if (!record) {
                    // Not a constant of this package: its elements stay empty.
                    k += compoundCount;
                    continue;
                }
                singleNameList.PutElement(0, record->name10.Get());
                for (int index : indices) {
                    selectionIndices[0] = index;
                    selectionIds.PutElement(0, compoundIds[index].Get());
                    ScopedVariant result;
                    HRESULT hr = package10->GetComponentConstant(MaterialObject10(), singleNameList.Value(),
                                                                 result.Get());
                    CVariantArray check;
                    check.Attach(result.Value(), false);
                    std::wstring ignored;
                    if (FAILED(hr) || !check.Check(VT_VARIANT, ignored) || check.Count() != 1) {
                        status = ECapeThrmPropertyNotAvailableHR;
                    } else {
                        ScopedVariant element;
                        LONG lower = check.LowerBound();
                        if (SUCCEEDED(SafeArrayGetElement(V_ARRAY(&check.Value()), &lower, element.Get()))) {
                            values.PutElement(k, element.Get());
                            anyValue = true;
                        } else {
                            status = ECapeThrmPropertyNotAvailableHR;
                        }
                    }
                    ++k;
                }
            }
        }
        if (!anyValue) return Fail(L"Property values not available", scope, interfaceName);
        *propVals = values.Value();
        values.Disown();
        return status;
    });
}

namespace {

// The common body of GetTDependentProperty and GetPDependentProperty: one
// "pure" CalcProp on the material object at the given conditions.
struct DependentRequest {
    const wchar_t *scope;
    PropertyCategory category;
    const wchar_t *unsupportedPrefix;
    double temperature;
    double pressure;
};

// A property requested more than once is calculated once, into the slot of
// its first request; the later requests get copies of its values.
void CopyRepeatedProperties(CPropertyPackage &pkg, LONG compoundCount)
{
    const auto records = pkg.requestRecords.begin();
    for (size_t u = 1; u < pkg.requestRecords.size(); ++u) {
        const auto first = std::find(records, records + u, records[u]);
        if (first == records + u) continue;
        const LONG slot = static_cast<LONG>(first - records);
        for (LONG c = 0; c < compoundCount; ++c) {
            double value = pkg.pureResults.GetDouble(slot * compoundCount + c);
            pkg.pureResults.PutElement(static_cast<LONG>(u) * compoundCount + c, &value);
        }
    }
}

HRESULT CalcDependentProperty(CPropertyPackage &pkg, const DependentRequest &request, VARIANT props,
                              VARIANT compIds, VARIANT *propVals)
{
    if (!propVals) return E_POINTER;
    if (pkg.RefuseReentry(request.scope, interfaceName)) return ECapeUnknownHR;
    if (pkg.initPending && !pkg.EnsureInitialized(interfaceName, request.scope)) return ECapeUnknownHR;
    BusyScope busyScope(pkg);
    CVariantArray propList, compounds;
    propList.Attach(props, false);
    compounds.Attach(compIds, false);
    std::vector<int> indices;
    std::wstring error;
    if (!ResolveRequest(pkg, propList, compounds, indices, error))
        return pkg.Fail(error, request.scope, interfaceName);
    const LONG compoundCount = static_cast<LONG>(indices.size());
    if (propList.Count() * compoundCount == 0) {
        VariantClear(propVals);  // [in, out]: the caller's value is ours to free
        return S_OK;
    }

    HRESULT calcResult = S_OK;
    {
        BorrowedSelection borrowed(pkg);
        pkg.selectionIndices = indices;
        if (compounds.IsEmpty()) {
            // Every compound: the material object presents the package's own list.
            pkg.selectionIds.Attach(pkg.compIdsList.Value(), false);
        } else {
            pkg.selectionIds.Create(compoundCount, VT_BSTR);
            for (LONG c = 0; c < compoundCount; ++c)
                pkg.selectionIds.PutElement(c, pkg.compoundIds[indices[c]].Get());
        }
        pkg.calcTemperature = request.temperature;
        pkg.calcPressure = request.pressure;
        pkg.pureResults.Create(propList.Count() * compoundCount, VT_R8);

        CVariantArray translated;
        const VARIANT *list10 = nullptr;
        if (!PreparePropertyRequest(pkg, propList, request.category, request.unsupportedPrefix, translated, list10,
                                    error))
            return pkg.Fail(error, request.scope, interfaceName);
        if (!pkg.package10) return pkg.Fail(L"Property package is not available", request.scope, interfaceName);
        CalcModeScope mode(pkg.materialObject.Get(), CalcModePure);
        calcResult = pkg.package10->CalcProp(pkg.MaterialObject10(), *list10, pkg.purePhaseList.Value(),
                                             pkg.bstrPure.Get());
    }
    // A failing CalcProp is reported, but the values decide the outcome.
    if (FAILED(calcResult))
        pkg.SetError(CapeErrorText(pkg.package10.Get(), calcResult).c_str(), request.scope, interfaceName);
    const int missing = FirstUnfilledSlot(pkg);
    if (missing >= 0) {
        std::wstring message = L"Values for ";
        message += pkg.requestNames[missing];
        message += L" were not calculated by underlying property package";
        return pkg.Fail(message, request.scope, interfaceName);
    }
    CopyRepeatedProperties(pkg, compoundCount);
    VariantClear(propVals);
    // The array is the client's now: forget it, so that nothing writes to it again.
    *propVals = pkg.pureResults.Value();
    pkg.pureResults.Disown();
    pkg.pureResults.Reset();
    return S_OK;
}

}  // namespace

HRESULT CPropertyPackage::GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds,
                                                VARIANT *propVals)
{
    return ComGuard([&] {
        const DependentRequest request = {PACKAGE_SCOPE(L"GetTDependentProperty"), PropertyCategory::TDependent,
                                          L"Invalid/unsupported temperature dependent property: ", temperature,
                                          DependentPropertyPressure};
        return CalcDependentProperty(*this, request, props, compIds, propVals);
    });
}

HRESULT CPropertyPackage::GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT *propVals)
{
    return ComGuard([&] {
        const DependentRequest request = {PACKAGE_SCOPE(L"GetPDependentProperty"), PropertyCategory::PDependent,
                                          L"Invalid/unsupported pressure dependent property: ",
                                          DependentPropertyTemperature, pressure};
        return CalcDependentProperty(*this, request, props, compIds, propVals);
    });
}
