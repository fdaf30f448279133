// Lazy initialisation: the 1.0 package is initialised and read on the first
// guarded call, and a failure is remembered for the package's life.
#include "PropertyPackage.h"

#include <cmath>

#include "CapeOpenResults.h"
#include "ErrorText.h"
#include "Names.h"

namespace {

constexpr const wchar_t *packageUnavailable = L"Property package is not available";

// State of aggregation of a phase, from its lower-cased label.
const wchar_t *StateOfAggregation(const std::wstring &folded, bool &isLiquid)
{
    isLiquid = false;
    if (folded.compare(0, 5, L"vapor") == 0) return L"Vapor";
    if (folded.compare(0, 6, L"liquid") == 0) {
        isLiquid = true;
        return L"Liquid";
    }
    if (folded.compare(0, 5, L"solid") == 0) return L"Solid";
    if (folded.compare(0, 5, L"water") == 0) return L"Liquid";
    if (folded == L"l2") return L"Liquid";
    return L"Unknown";
}

// True when name equals two accepted names written one after the other, in
// either order: 1.0 packages list such combined phases (VaporLiquid) that
// are no phases of their own.
bool IsCombinedPhase(const std::wstring &name, const std::vector<std::wstring> &accepted)
{
    for (size_t k = 0; k < accepted.size(); ++k) {
        for (size_t j = 0; j <= k; ++j) {
            if (accepted[k].size() + accepted[j].size() != name.size()) continue;
            if (NamesEqual(name.c_str(), (accepted[k] + accepted[j]).c_str()) ||
                NamesEqual(name.c_str(), (accepted[j] + accepted[k]).c_str()))
                return true;
        }
    }
    return false;
}

}  // namespace

bool CPropertyPackage::EnsureInitialized(const wchar_t *interfaceName, const wchar_t *scope)
{
    if (!initError.empty()) {
        SetError(initError.c_str(), scope, interfaceName);
        return false;
    }
    if (!package10) {
        // Nothing to initialise from (created without the manager): not
        // remembered, as the 1.0 package was never asked.
        SetError(packageUnavailable, scope, interfaceName);
        return false;
    }
    if (RefuseReentry(scope, interfaceName)) return false;
    BusyScope busyScope(*this);
    // A 1.0 package that answers with success but no object is broken, not
    // merely without utilities.
    if (!packageUtilities10 && QueryFrom(package10.Get(), packageUtilities10) == E_POINTER) {
        initError = L"Initialize failed: " + ErrorText(E_POINTER);
        SetError(initError.c_str(), scope, interfaceName);
        return false;
    }
    if (packageUtilities10) {
        HRESULT hr = packageUtilities10->Initialize();
        if (FAILED(hr)) {
            initError = L"Initialize failed: " + CapeErrorText(packageUtilities10.Get(), hr);
            SetError(initError.c_str(), scope, interfaceName);
            return false;
        }
        package10Initialized = true;
    }
    QueryFrom(package10.Get(), packageIdentification10);

    if (!materialObject) {
        ComPtr<ICapeThermoMaterialObject> created;
        HRESULT hr = CreateComObject<CMaterialObject>(nullptr, __uuidof(ICapeThermoMaterialObject),
                                                      created.ReceiveVoid());
        if (FAILED(hr = ObjectResult(hr, created.Get()))) {
            initError = L"Failed to create material object: " + ErrorText(hr);
            SetError(initError.c_str(), scope, interfaceName);
            return false;
        }
        materialObject = static_cast<CMaterialObject *>(created.Get());
    }
    materialObject->package = this;

    if (!LoadFromPackage()) {
        SetError(initError.c_str(), scope, interfaceName);
        return false;
    }
    initPending = false;

    calcPhaseList.Create(1, VT_BSTR);
    singleNameList.Create(1, VT_BSTR);
    flashTemperatureArray.Create(1, VT_R8);
    flashPressureArray.Create(1, VT_R8);
    FillFlashTypes();
    return true;
}

bool CPropertyPackage::LoadFromPackage()
{
    lentIds.Reset();  // initialisation replaces the selection it was kept for
    if (!package10) {
        initError = packageUnavailable;
        return false;
    }

    // ---- Compounds
    HRESULT hr = package10->GetComponentList(compIdsList.Receive(), formulaeList.Receive(), namesList.Receive(),
                                             boilTempsList.Receive(), molWtList.Receive(), casNoList.Receive());
    if (FAILED(hr)) {
        initError = L"Failed to get list of compounds: " + CapeErrorText(package10.Get(), hr);
        return false;
    }
    std::wstring reason;
    if (!compIdsList.Check(VT_BSTR, reason)) {
        initError = L"Invalid list of compound IDs: " + reason;
        return false;
    }
    if (!molWtList.Check(VT_R8, reason)) {
        initError = L"Invalid list of compound molecular weights: " + reason;
        return false;
    }

    const LONG compoundCount = compIdsList.Count();
    compoundIndex.Clear();
    compoundIds.clear();
    compoundIds.resize(compoundCount);
    lowerCompoundIds.assign(compoundCount, std::wstring());
    molecularWeights.assign(compoundCount, 0.0);
    inverseMolecularWeights.assign(compoundCount, 0.0);
    compoundPresent.assign(compoundCount, false);
    for (LONG i = 0; i < compoundCount; ++i) {
        compoundIds[i] = ScopedBstr::Adopt(compIdsList.GetString(i));
        compoundIndex.Entry(compoundIds[i].Text()) = static_cast<int>(i);
        lowerCompoundIds[i] = ToLowerName(compoundIds[i].Text());
        if (i >= molWtList.Count()) continue;
        const double weight = molWtList.GetDouble(i);
        // NaN, CAPE-OPEN's empty value and (unreadable or absurd) zero
        // weights all mean "unknown"; the 1.0 package gives g/mol.
        if (std::isnan(weight) || weight == CapeEmptyDouble || weight == 0.0) continue;
        molecularWeights[i] = weight * 0.001;
        inverseMolecularWeights[i] = 1.0 / molecularWeights[i];
    }

    // ---- Phases
    CVariantArray phases10;
    hr = package10->GetPhaseList(phases10.Receive());
    if (FAILED(hr)) {
        initError = L"Failed to get list of phases: " + CapeErrorText(package10.Get(), hr);
        return false;
    }
    if (!phases10.Check(VT_BSTR, reason)) {
        initError = L"Invalid list of phases: " + reason;
        return false;
    }
    std::vector<std::wstring> accepted;
    for (LONG i = 0; i < phases10.Count(); ++i) {
        ScopedBstr name = ScopedBstr::Adopt(phases10.GetString(i));
        if (name.IsEmpty() || NamesEqual(name.Text(), L"Overall")) continue;
        std::wstring text(name.Text(), name.Length());
        if (IsCombinedPhase(text, accepted)) continue;
        accepted.push_back(std::move(text));
    }
    if (accepted.empty()) {
        initError = L"Property package contains no phases";
        return false;
    }

    const LONG phaseCount = static_cast<LONG>(accepted.size());
    phaseIndex.Clear();
    phaseLabels.clear();
    phaseLabels.reserve(phaseCount);
    phaseLabelsList.Create(phaseCount, VT_BSTR);
    stateOfAggregationList.Create(phaseCount, VT_BSTR);
    keyCompoundIdList.Create(phaseCount, VT_BSTR);  // key compounds stay null
    LONG liquidPhase = -1;
    for (LONG i = 0; i < phaseCount; ++i) {
        phaseLabels.emplace_back(accepted[i].c_str());
        phaseLabelsList.PutElement(i, phaseLabels.back().Get());
        phaseIndex.Entry(accepted[i].c_str()) = static_cast<int>(i);
        bool isLiquid = false;
        ScopedBstr state(StateOfAggregation(ToLowerName(accepted[i].c_str()), isLiquid));
        stateOfAggregationList.PutElement(i, state.Get());
        if (isLiquid && liquidPhase < 0) liquidPhase = i;
    }
    hasVaporLabel = phaseIndex.Contains(L"Vapor");
    hasLiquidLabel = phaseIndex.Contains(L"Liquid");
    purePhase = phaseLabels[liquidPhase < 0 ? 0 : liquidPhase];
    purePhaseList.Create(1, VT_BSTR);
    purePhaseList.PutElement(0, purePhase.Get());

    LoadPropertySupport();
    return true;
}
