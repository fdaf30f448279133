// CPropertyPackage: the CAPE-OPEN 1.1 property package handed to a
// simulator, translating every 1.1 call into calls on one 1.0 package.
//
// The methods live in one file per interface or job:
//   PropertyPackage.cpp       construction, destruction, interface table
//   PackageInitialization.cpp EnsureInitialized, LoadFromPackage
//   PropertySupport.cpp       LoadPropertySupport (supported lists, name maps)
//   MaterialContext.cpp       ICapeThermoMaterialContext, ValidateContextMaterial
//   Compounds.cpp             ICapeThermoCompounds
//   Phases.cpp                ICapeThermoPhases
//   PropertyRoutine.cpp       ICapeThermoPropertyRoutine
//   EquilibriumSpec.cpp       ParseEquilibriumSpec, CheckEquilibriumSpec, flash types
//   Equilibrium.cpp           CalcEquilibrium and result transfer
//   UniversalConstants.cpp    ICapeThermoUniversalConstant
//   Utilities.cpp             ICapeUtilities
//
// Fields are public: the package's material object reads and writes the
// per-call state while the 1.0 package calls it back.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "MaterialObject.h"
#include "NameMap.h"
#include "PropertyRecord.h"
#include "VariantArray.h"

// One bit per kind of flash specification; a valid flash has two.
using EquilibriumSpecCode = uint32_t;
enum : EquilibriumSpecCode {
    SpecTemperature = 1,
    SpecPressure = 2,
    SpecVaporFraction = 4,
    SpecEnthalpy = 8,
    SpecEnthalpyF = 16,
    SpecEntropy = 32,
    SpecEntropyF = 64,
    SpecVolume = 128,
    SpecInternalEnergy = 256,
};

// The conditions a pure-compound property is calculated at besides the one
// the client gives: 1 atm for temperature-dependent ones, 25 °C for
// pressure-dependent ones.
constexpr double DependentPropertyPressure = 101325.0;
constexpr double DependentPropertyTemperature = 298.15;

// The 1.0 flash type a pair of flash conditions becomes ("TP", "PH", ...), or
// null when there is none.
const wchar_t *FlashType10(EquilibriumSpecCode code);

class CPropertyPackage : public CapeObject<ICapeThermoCompounds, ICapeThermoEquilibriumRoutine,
                                           ICapeThermoMaterialContext, ICapeThermoPhases,
                                           ICapeThermoPropertyRoutine, ICapeThermoUniversalConstant,
                                           ICapeUtilities> {
public:
    CPropertyPackage();
    ~CPropertyPackage() override;

    // ICapeThermoCompounds
    STDMETHODIMP GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT *propVals) override;
    STDMETHODIMP GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps,
                                 VARIANT *molwts, VARIANT *casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT *props) override;
    STDMETHODIMP GetNumCompounds(long *num) override;
    STDMETHODIMP GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT *propVals) override;
    STDMETHODIMP GetPDependentPropList(VARIANT *props) override;
    STDMETHODIMP GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds,
                                       VARIANT *propVals) override;
    STDMETHODIMP GetTDependentPropList(VARIANT *props) override;

    // ICapeThermoEquilibriumRoutine
    STDMETHODIMP CalcEquilibrium(VARIANT specification1, VARIANT specification2, BSTR solutionType) override;
    STDMETHODIMP CheckEquilibriumSpec(VARIANT specification1, VARIANT specification2, BSTR solutionType,
                                      VARIANT_BOOL *isSupported) override;

    // ICapeThermoMaterialContext
    STDMETHODIMP SetMaterial(IDispatch *material) override;
    STDMETHODIMP UnsetMaterial() override;

    // ICapeThermoPhases
    STDMETHODIMP GetNumPhases(long *num) override;
    STDMETHODIMP GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT *value) override;
    STDMETHODIMP GetPhaseList(VARIANT *phaseLabels, VARIANT *stateOfAggregation, VARIANT *keyCompoundId) override;

    // ICapeThermoPropertyRoutine
    STDMETHODIMP CalcAndGetLnPhi(BSTR phaseLabel, double temperature, double pressure, VARIANT moleNumbers,
                                 int fFlags, VARIANT *lnPhi, VARIANT *lnPhiDT, VARIANT *lnPhiDP,
                                 VARIANT *lnPhiDn) override;
    STDMETHODIMP CalcSinglePhaseProp(VARIANT props, BSTR phaseLabel) override;
    STDMETHODIMP CalcTwoPhaseProp(VARIANT props, VARIANT phaseLabels) override;
    STDMETHODIMP CheckSinglePhasePropSpec(BSTR property, BSTR phaseLabel, VARIANT_BOOL *valid) override;
    STDMETHODIMP CheckTwoPhasePropSpec(BSTR property, VARIANT phaseLabels, VARIANT_BOOL *valid) override;
    STDMETHODIMP GetSinglePhasePropList(VARIANT *props) override;
    STDMETHODIMP GetTwoPhasePropList(VARIANT *props) override;

    // ICapeThermoUniversalConstant
    STDMETHODIMP GetUniversalConstant(BSTR constantId, VARIANT *constantValue) override;
    STDMETHODIMP GetUniversalConstantList(VARIANT *constantIds) override;

    // ICapeUtilities
    STDMETHODIMP get_parameters(IDispatch **parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch *context) override;
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;

    // ---- Initialisation (PackageInitialization.cpp, PropertySupport.cpp)
    // The guard of every guarded method; records its failure on the package.
    bool EnsureInitialized(const wchar_t *interfaceName, const wchar_t *scope);
    // Reads compounds, phases and property support; on false initError says why.
    bool LoadFromPackage();
    void LoadPropertySupport();

    // ---- Context material (MaterialContext.cpp)
    bool ValidateContextMaterial(const wchar_t *scope, const wchar_t *interfaceName);
    // Hands the list of the last validation to a ComponentIds request, which
    // then needs no copy, while selectionIds is the array it equals; else false.
    bool TakeLentIds(VARIANT *compIds);

    // ---- Equilibrium (EquilibriumSpec.cpp)
    // The flash condition code, or 0 after recording why (with the given scope).
    EquilibriumSpecCode ParseEquilibriumSpec(const wchar_t *scope, const VARIANT &specification1,
                                             const VARIANT &specification2, BSTR solutionType);
    void FillFlashTypes();

    // The 1.0 interface of the material object (null when there is none),
    // as passed to every 1.0 call.
    IDispatch *MaterialObject10() const;

    // ---- Re-entry (PropertyPackage.cpp)
    // A call that comes back into the package from inside one of its calls
    // (a call-back of the 1.0 package or of the 1.1 material) must not start
    // another initialisation or calculation, nor change the links and per-call
    // state the running call works on. True, with the refusal recorded, when
    // such a call arrives.
    bool RefuseReentry(const wchar_t *scope, const wchar_t *interfaceName);

    // ---- Lifecycle
    bool initPending = true;
    std::wstring initError;
    // The 1.0 package's Initialize succeeded: it is owed a Terminate, whatever
    // failed afterwards.
    bool package10Initialized = false;
    bool busy = false;  // an initialisation, calculation or Edit is running

    // ---- Links (one reference each)
    ComPtr<ICapeThermoPropertyPackage> package10;
    ComPtr<ICapeUtilities> packageUtilities10;
    ComPtr<ICapeIdentification> packageIdentification10;
    ComPtr<CMaterialObject> materialObject;

    // ---- Fixed strings passed to the 1.0 package and the 1.1 material
    ScopedBstr bstrPure{L"pure"};
    ScopedBstr bstrMixture{L"mixture"};
    ScopedBstr bstrVaporLiquid{L"VaporLiquid"};
    ScopedBstr bstrLiquid{L"Liquid"};
    ScopedBstr bstrMole{L"mole"};
    ScopedBstr bstrMass{L"mass"};
    ScopedBstr bstrTemperature{L"temperature"};
    ScopedBstr bstrPressure{L"pressure"};
    ScopedBstr bstrFraction{L"fraction"};
    ScopedBstr bstrPhaseFraction{L"phaseFraction"};
    ScopedBstr bstrFlow{L"flow"};
    ScopedBstr bstrTotalFlow{L"totalFlow"};

    // ---- Compounds, by package compound index
    CVariantArray compIdsList, formulaeList, namesList, boilTempsList, molWtList, casNoList;
    std::vector<ScopedBstr> compoundIds;
    std::vector<std::wstring> lowerCompoundIds;
    std::vector<double> molecularWeights;         // kg/mol, 0 where unknown
    std::vector<double> inverseMolecularWeights;  // mol/kg, 0 where unknown
    NameMap<int> compoundIndex;

    // ---- Phases, by package phase index
    std::vector<ScopedBstr> phaseLabels;
    CVariantArray phaseLabelsList, stateOfAggregationList, keyCompoundIdList;
    NameMap<int> phaseIndex;
    bool hasVaporLabel = false;
    bool hasLiquidLabel = false;
    ScopedBstr purePhase;
    CVariantArray purePhaseList;

    // ---- Property support
    CVariantArray constPropList, tDependentPropList, pDependentPropList, singlePhasePropList, twoPhasePropList;
    NameMap<PropertyRecord> propsBy11Name;
    NameMap<PropertyRecord> propsBy10Name;
    // The compound constants, apart: molecularWeight and diffusionCoefficient
    // are also single-phase properties, which a package may offer as well.
    NameMap<PropertyRecord> constantsBy11Name;

    // ---- Context material and the compound selection the material object presents
    ComPtr<ICapeThermoMaterial> contextMaterial;
    ComPtr<ICapeThermoCompounds> contextCompounds;
    std::vector<int> selectionIndices;
    CVariantArray selectionIds;
    CVariantArray lentIds;  // the last validation's list when spelled as selectionIds (TakeLentIds)
    const SAFEARRAY *lentFor = nullptr;  // the selectionIds array lentIds was compared with
    std::vector<bool> compoundPresent;

    // ---- Working storage made at initialisation
    std::unordered_map<EquilibriumSpecCode, ScopedBstr> flashTypes;
    CVariantArray calcPhaseList, singleNameList;
    CVariantArray flashTemperatureArray, flashPressureArray;
    CVariantArray flashPropertyList;  // always empty

    // ---- Per-call state of property calculations (Compounds.cpp, PropertyRoutine.cpp)
    double calcTemperature = 0.0;
    double calcPressure = 0.0;
    NameMap<int> resultSlots;                          // 1.0 name -> slot; -1: not asked for now
    std::vector<bool> slotFilled;
    std::vector<const wchar_t *> requestNames;         // client's names; valid during the call
    std::vector<const PropertyRecord *> requestRecords;  // records in propsBy11Name
    CVariantArray pureResults;
    ScopedBstr conditionPhase;
    BSTR currentPhase = nullptr;            // not owned; valid during the call
    const VARIANT *twoPhaseLabels = nullptr;  // client's pair; valid during the call
    const VARIANT *lnPhiComposition = nullptr;  // client's mole numbers; valid during the call
    std::vector<VARIANT *> lnPhiTargets;
    CVariantArray lnPhiNameLists[16];  // 1.0 names asked for, per combination of lnPhi flags
    bool surfaceTensionOnLiquid = false;

    // ---- Per-call state of a flash (Equilibrium.cpp), one entry per package phase
    std::vector<CVariantArray> phaseComposition;
    std::vector<BSTR> compositionBasis;  // bstrMole or bstrMass, not owned
    std::vector<CVariantArray> phaseFractionValue;
    std::vector<BSTR> phaseFractionBasis;  // bstrMole or bstrMass, not owned
    std::vector<bool> phaseResultSet;
    std::vector<int> presentPhaseIndexes;
    CVariantArray presentLabelList, presentStatusList;  // last given to the material, reused while unchanged

protected:
    IUnknown *MainInterface() override;
    IUnknown *FindOwnInterface(REFIID riid) override;
    HRESULT QueryFurtherInterface(REFIID riid, void **ppv) override;
};

// Marks the package busy for the rest of a call.
class BusyScope {
public:
    explicit BusyScope(CPropertyPackage &pkg) : pkg_(pkg), was_(pkg.busy) { pkg.busy = true; }
    ~BusyScope() { pkg_.busy = was_; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    CPropertyPackage &pkg_;
    bool was_;
};

// Scopes and interface names used in the package's messages.
#define PACKAGE_SCOPE(method) L"CPropertyPackage::" method
