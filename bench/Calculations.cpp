#include "Calculations.h"

#include <algorithm>
#include <cmath>

#include "CompoundData.h"
#include "ExamplePropertyPackage.h"
#include "Material10.h"
#include "Material11.h"
#include "PropertyPackage.h"
#include "ScriptedPackage10.h"
#include "VariantLists.h"

namespace {

// The mixtures and their states: two phases for both example packages; the
// temperature whose enthalpy (at the two-phase pressure) the PH flash is
// given; a gas at gasP for the property rows and the one-phase flash.
struct Mixture {
    std::vector<std::wstring> ids;
    std::vector<double> z;
    double twoPhaseT, twoPhaseP, enthalpyT, gasT;
};

const Mixture &MixtureOf(int compounds)
{
    static const Mixture two{{L"methane", L"n-butane"}, {0.5, 0.5}, 300.0, 3e6, 300.0, 400.0};
    static const Mixture six{{L"methane", L"ethane", L"propane", L"n-butane", L"nitrogen", L"carbon dioxide"},
                             {0.6, 0.1, 0.1, 0.1, 0.05, 0.05},
                             250.0,
                             3e6,
                             250.0,
                             400.0};
    // Warm enough for the water to stay in the vapour (no third phase).
    static const Mixture nine{{L"methane", L"ethane", L"propane", L"n-butane", L"n-pentane", L"n-hexane",
                               L"nitrogen", L"carbon dioxide", L"water"},
                              {0.2, 0.05, 0.05, 0.1, 0.2, 0.3, 0.03, 0.02, 0.05},
                              400.0,
                              2e6,
                              500.0,
                              450.0};
    return compounds <= 2 ? two : compounds <= 6 ? six : nine;
}

constexpr double gasP = 1e6;

std::vector<std::wstring> FivePropertiesOf(bool version11)
{
    return {L"enthalpy", L"entropy", version11 ? L"heatCapacityCp" : L"heatCapacity", L"density", L"volume"};
}

// A VARIANT argument built once and kept for the whole run.
struct Arg {
    ScopedVariant v;
    static Arg *Strings(const std::vector<std::wstring> &items)
    {
        auto *arg = new Arg;
        PutStrings(arg->v.Get(), items);
        return arg;
    }
    static Arg *Doubles(const std::vector<double> &items)
    {
        auto *arg = new Arg;
        PutDoubles(arg->v.Get(), items);
        return arg;
    }
    const VARIANT &operator*() const { return v.Value(); }
};

ComPtr<ICapeThermoPropertyPackage> NewPackage10(BenchPackage kind, const Mixture &mixture)
{
    if (kind == BenchPackage::Trivial) {
        CScriptedPackage10 *raw = nullptr;
        ComPtr<ICapeThermoPropertyPackage> package = CreateScriptedPackage10(&raw);
        ScriptedPackage10Script &script = raw->script;
        script.compoundIds = mixture.ids;
        for (const std::wstring &id : mixture.ids) {
            const CompoundData *data = FindCompound(id.c_str());
            script.molecularWeights.push_back(data->molecularWeight);
            script.constants[L"criticalTemperature"][id] = data->criticalTemperature;
            script.constants[L"acentricFactor"][id] = data->acentricFactor;
        }
        script.phases = {L"Vapor", L"Liquid"};
        script.propList = FivePropertiesOf(false);
        for (const wchar_t *name : {L"logFugacityCoefficient", L"logFugacityCoefficient.Dtemperature",
                                    L"logFugacityCoefficient.Dpressure", L"logFugacityCoefficient.Dmoles"})
            script.propList.push_back(name);
        script.trivial = true;
        return package;
    }
    ComPtr<ICapeThermoPropertyPackage> package;
    CreateComObject<CExamplePropertyPackage>(nullptr, __uuidof(ICapeThermoPropertyPackage), package.ReceiveVoid());
    static_cast<CExamplePropertyPackage *>(static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(package.Get()))
        ->SetModel(kind == BenchPackage::PengRobinson ? ExampleModel::PengRobinson : ExampleModel::Ideal);
    return package;
}

}  // namespace

const char *PackageName(BenchPackage package)
{
    switch (package) {
    case BenchPackage::Trivial: return "trivial";
    case BenchPackage::PengRobinson: return "Peng-Robinson";
    default: return "Ideal";
    }
}

struct CalculationSetup {
    BenchPackage kind;
    int compounds;
    Mixture mixture;
    ComPtr<ICapeThermoPropertyPackage> package10;
    CMaterial10 *material10 = nullptr;
    ComPtr<ICapeThermoMaterialObject> material10Ref;
    ComPtr<CMaterial11> material11;
    ComPtr<CMaterial10Meter> meter10;
    ComPtr<CMaterial11Meter> meter11;
    ComPtr<ICapeThermoCompounds> bridgeRef;
    CPropertyPackage *bridge = nullptr;
    ICapeThermoMaterialObject *direct10 = nullptr;  // the material object or its meter
    double enthalpy = 0.0;                          // overall, for the PH flash
    std::vector<std::unique_ptr<Arg>> args;

    const VARIANT &Keep(Arg *arg)
    {
        args.emplace_back(arg);
        return **arg;
    }

    // Overall state of a flash; single-phase state of the property rows.
    void PutOverall(double T, double P)
    {
        material10->Put(L"temperature", L"Overall", {T});
        material10->Put(L"pressure", L"Overall", {P});
        material10->Put(L"fraction", L"Overall", mixture.z, L"mole");
        material10->Put(L"enthalpy", L"Overall", {enthalpy}, L"mole");
        material11->Put(L"temperature", L"Overall", L"", {T});
        material11->Put(L"pressure", L"Overall", L"", {P});
        material11->Put(L"fraction", L"Overall", L"mole", mixture.z);
        material11->Put(L"enthalpy", L"Overall", L"mole", {enthalpy});
    }
    void PutPhases(double T, double P)
    {
        for (const wchar_t *phase : {L"Vapor", L"Liquid"}) {
            material10->Put(L"temperature", phase, {T});
            material10->Put(L"pressure", phase, {P});
            material10->Put(L"fraction", phase, mixture.z, L"mole");
            material11->Put(L"temperature", phase, L"", {T});
            material11->Put(L"pressure", phase, L"", {P});
            material11->Put(L"fraction", phase, L"mole", mixture.z);
        }
        AllPhasesPresent();
    }
    // Reuses the vectors' storage, so that it costs no allocation.
    void AllPhasesPresent()
    {
        static const std::wstring labels[] = {L"Vapor", L"Liquid"};
        static const long statuses[] = {CAPE_UNKNOWNPHASESTATUS, CAPE_UNKNOWNPHASESTATUS};
        material11->presentPhases.assign(std::begin(labels), std::end(labels));
        material11->phaseStatuses.assign(std::begin(statuses), std::end(statuses));
    }

    void Meter(bool on)
    {
        direct10 = on ? meter10->Interface() : material10Ref.Get();
        bridge->SetMaterial(on ? meter11->Interface() : material11->Interface());
    }
    void TakeMeters(MeterReading &r10, MeterReading &r11)
    {
        r10 = meter10->reading;
        r11 = meter11->reading;
        meter10->reading = {};
        meter11->reading = {};
    }

    // The overall enthalpy at enthalpyT and the two-phase pressure, from the
    // 1.0 package directly, for the PH flash.
    void FindFlashEnthalpy()
    {
        PutOverall(mixture.enthalpyT, mixture.twoPhaseP);
        ScopedBstr tp(L"TP"), mixtureType(L"mixture");
        VARIANT none;
        VariantInit(&none);
        if (FAILED(package10->CalcEquilibrium(material10Ref.Get(), tp.Get(), none))) return;
        const VARIANT &enthalpyList = Keep(Arg::Strings({L"enthalpy"}));
        double total = 0.0;
        for (const wchar_t *phase : {L"Vapor", L"Liquid"}) {
            std::vector<double> beta = material10->Values(L"phaseFraction", phase, L"mole");
            if (beta.empty()) continue;
            material10->Put(L"temperature", phase, {mixture.enthalpyT});
            material10->Put(L"pressure", phase, {mixture.twoPhaseP});
            const VARIANT &phaseList = Keep(Arg::Strings({phase}));
            if (SUCCEEDED(package10->CalcProp(material10Ref.Get(), enthalpyList, phaseList, mixtureType.Get()))) {
                std::vector<double> h = material10->Values(L"enthalpy", phase, L"mole");
                if (h.empty()) h = material10->Values(L"enthalpy", phase, L"");
                if (!h.empty()) total += beta[0] * h[0];
            }
        }
        enthalpy = total;
    }

    // Phases the 1.0 package finds at T and P.
    int DirectFlashPhases(double T, double P)
    {
        PutOverall(T, P);
        for (const wchar_t *phase : {L"Vapor", L"Liquid"}) material10->Remove(L"phaseFraction", phase);
        ScopedBstr tp(L"TP");
        VARIANT none;
        VariantInit(&none);
        package10->CalcEquilibrium(material10Ref.Get(), tp.Get(), none);
        return int(material10->Has(L"phaseFraction", L"Vapor", L"mole")) +
               int(material10->Has(L"phaseFraction", L"Liquid", L"mole"));
    }
};

CalculationRows::CalculationRows() = default;
CalculationRows::~CalculationRows() = default;

CalculationSetup &CalculationRows::Setup(BenchPackage kind, int compounds)
{
    for (auto &setup : setups_)
        if (setup->kind == kind && setup->compounds == compounds) return *setup;
    auto setup = std::make_unique<CalculationSetup>();
    CalculationSetup &s = *setup;
    s.kind = kind;
    s.compounds = compounds;
    s.mixture = MixtureOf(compounds);
    s.package10 = NewPackage10(kind, s.mixture);
    s.material10Ref = CMaterial10::Create(s.mixture.ids, {L"Vapor", L"Liquid"}, &s.material10);
    // A simulator's material knows its compounds' formulae, names, boiling
    // points, molecular weights and CAS numbers, and answers them all.
    CompoundTable table;
    for (const std::wstring &id : s.mixture.ids) {
        const CompoundData &data = *FindCompound(id.c_str());
        table.ids.push_back(id);
        table.formulae.push_back(data.formula);
        table.names.push_back(data.name);
        table.casNumbers.push_back(data.casNumber);
        table.boilTemps.push_back(data.normalBoilingPoint);
        table.molWts.push_back(data.molecularWeight);
    }
    CMaterial11::Create(table, {L"Vapor", L"Liquid"}, s.material11);
    s.meter10 = CMaterial10Meter::Create(s.material10Ref.Get());
    s.meter11 = CMaterial11Meter::Create(s.material11->Interface());
    CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds), s.bridgeRef.ReceiveVoid());
    s.bridge = static_cast<CPropertyPackage *>(s.bridgeRef.Get());
    s.bridge->package10 = s.package10;
    s.Meter(false);
    if (kind != BenchPackage::Trivial) {
        s.FindFlashEnthalpy();
        for (const wchar_t *phase : {L"Vapor", L"Liquid"}) s.material10->Remove(L"enthalpy", phase);
    }
    s.PutPhases(s.mixture.gasT, gasP);
    s.PutOverall(s.mixture.gasT, gasP);
    setups_.push_back(std::move(setup));
    return s;
}

void CalculationRows::Add(BenchPackage kind, int compounds, std::vector<Operation> &rows,
                          const std::vector<std::string> &only)
{
    CalculationSetup &s = Setup(kind, compounds);
    CalculationSetup *p = &s;
    const bool example = kind != BenchPackage::Trivial;
    auto keepBstr = [p](const wchar_t *text) -> const VARIANT & { return p->Keep(Arg::Strings({text})); };
    const VARIANT &vaporList = keepBstr(L"Vapor");
    const VARIANT &none = p->Keep(new Arg);
    const VARIANT &moles = p->Keep(Arg::Doubles(s.mixture.z));
    const VARIANT &ids = p->Keep(Arg::Strings(s.mixture.ids));
    BSTR mixtureBstr = SysAllocString(L"mixture"), pureBstr = SysAllocString(L"pure"),
         vaporBstr = SysAllocString(L"Vapor"), tpBstr = SysAllocString(L"TP"), phBstr = SysAllocString(L"PH");
    for (BSTR b : {mixtureBstr, pureBstr, vaporBstr, tpBstr, phBstr}) {
        auto *arg = new Arg;
        V_VT(arg->v.Get()) = VT_BSTR;
        V_BSTR(arg->v.Get()) = b;
        p->Keep(arg);
    }
    auto outputs = std::make_shared<std::vector<ScopedVariant>>(4);

    auto row = [&](const char *name, std::function<HRESULT()> direct, std::function<HRESULT()> bridged,
                   std::function<void()> prepare) {
        if (!only.empty() && std::find(only.begin(), only.end(), name) == only.end()) return;
        Operation op;
        op.package = PackageName(kind);
        op.compounds = compounds;
        op.name = name;
        op.direct = std::move(direct);
        op.bridged = std::move(bridged);
        op.prepare = std::move(prepare);
        op.meter = [p](bool on) { p->Meter(on); };
        op.takeMeters = [p](MeterReading &a, MeterReading &b) { p->TakeMeters(a, b); };
        op.bridgeError = [p] { return p->bridge->ErrorDescription(); };
        rows.push_back(std::move(op));
    };
    auto calcProp = [p, mixtureBstr](const VARIANT &props, const VARIANT &phases) {
        return [p, &props, &phases, mixtureBstr] { return p->package10->CalcProp(p->direct10, props, phases, mixtureBstr); };
    };
    auto gasPhases = [p] { p->PutPhases(p->mixture.gasT, gasP); };

    const VARIANT &enthalpy = keepBstr(L"enthalpy");
    row("enthalpy (Vapor)", calcProp(enthalpy, vaporList),
        [p, &enthalpy, vaporBstr] { return p->bridge->CalcSinglePhaseProp(enthalpy, vaporBstr); }, gasPhases);

    const VARIANT &five10 = p->Keep(Arg::Strings(FivePropertiesOf(false)));
    const VARIANT &five11 = p->Keep(Arg::Strings(FivePropertiesOf(true)));
    row("5 properties (Vapor)", calcProp(five10, vaporList),
        [p, &five11, vaporBstr] { return p->bridge->CalcSinglePhaseProp(five11, vaporBstr); }, gasPhases);

    const VARIANT &lnPhi1 = keepBstr(L"logFugacityCoefficient");
    const VARIANT &lnPhi15 = p->Keep(Arg::Strings({L"logFugacityCoefficient", L"logFugacityCoefficient.Dtemperature",
                                                   L"logFugacityCoefficient.Dpressure",
                                                   L"logFugacityCoefficient.Dmoles"}));
    for (int flags : {1, 15}) {
        row(flags == 1 ? "lnPhi, flags 1" : "lnPhi, flags 15", calcProp(flags == 1 ? lnPhi1 : lnPhi15, vaporList),
            [p, flags, &moles, vaporBstr, outputs] {
                auto &o = *outputs;
                return p->bridge->CalcAndGetLnPhi(vaporBstr, p->mixture.gasT, gasP, moles, flags, o[0].Get(), o[1].Get(),
                                                  o[2].Get(), o[3].Get());
            },
            gasPhases);
    }

    const VARIANT &specT = p->Keep(Arg::Strings({L"temperature", L"", L"overall"}));
    const VARIANT &specP = p->Keep(Arg::Strings({L"pressure", L"", L"overall"}));
    const VARIANT &specH = p->Keep(Arg::Strings({L"enthalpy", L"", L"overall"}));
    auto flash10 = [p, &none](BSTR type) {
        return [p, &none, type] { return p->package10->CalcEquilibrium(p->direct10, type, none); };
    };
    // A client makes every phase present before each flash (without a call:
    // the meter would count it as the bridge's).
    auto flash11 = [p](const VARIANT &a, const VARIANT &b) {
        return [p, &a, &b] {
            p->AllPhasesPresent();
            return p->bridge->CalcEquilibrium(a, b, nullptr);
        };
    };
    if (example) {
        const bool twoPhases = p->DirectFlashPhases(p->mixture.twoPhaseT, p->mixture.twoPhaseP) == 2;
        row(twoPhases ? "TP flash, two phases" : "TP flash, two phases (but found one)", flash10(tpBstr),
            flash11(specT, specP),
            [p] { p->PutOverall(p->mixture.twoPhaseT, p->mixture.twoPhaseP); });
    }
    row(p->DirectFlashPhases(p->mixture.gasT, gasP) == 1 ? "TP flash, one phase" : "TP flash, one phase (but found two)",
        flash10(tpBstr), flash11(specT, specP), [p] { p->PutOverall(p->mixture.gasT, gasP); });
    if (example) {
        row("PH flash", flash10(phBstr), flash11(specH, specP),
            [p] { p->PutOverall(p->mixture.twoPhaseT, p->mixture.twoPhaseP); });
    }

    const VARIANT &constants = p->Keep(Arg::Strings({L"criticalTemperature", L"acentricFactor"}));
    row("compound constants (2)",
        [p, &constants, outputs] {
            return p->package10->GetComponentConstant(p->direct10, constants, (*outputs)[0].Receive());
        },
        [p, &constants, &none, outputs] {
            return p->bridge->GetCompoundConstant(constants, none, (*outputs)[0].Receive());
        },
        gasPhases);
    if (example) {
        const VARIANT &vaporPressure = keepBstr(L"vaporPressure");
        row("vapour pressure (T-dependent)",
            [p, &vaporPressure, &vaporList, pureBstr] {
                return p->package10->CalcProp(p->direct10, vaporPressure, vaporList, pureBstr);
            },
            [p, &vaporPressure, &ids, outputs] {
                return p->bridge->GetTDependentProperty(vaporPressure, p->mixture.gasT, ids, (*outputs)[0].Receive());
            },
            gasPhases);
    }

    row("package initialisation",
        [p] {
            ComPtr<ICapeThermoPropertyPackage> package = NewPackage10(p->kind, p->mixture);
            ComPtr<ICapeUtilities> utilities;
            QueryFrom(package.Get(), utilities);
            if (utilities && FAILED(utilities->Initialize())) return E_FAIL;
            ScopedVariant ids, formulae, names, boilTemps, molwts, casnos, phases, props;
            HRESULT hr = package->GetComponentList(ids.Get(), formulae.Get(), names.Get(), boilTemps.Get(),
                                                   molwts.Get(), casnos.Get());
            if (SUCCEEDED(hr)) hr = package->GetPhaseList(phases.Get());
            if (SUCCEEDED(hr)) hr = package->GetPropList(props.Get());
            if (utilities) utilities->Terminate();
            return hr;
        },
        [p] {
            ComPtr<ICapeThermoCompounds> bridgeRef;
            CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds), bridgeRef.ReceiveVoid());
            auto *bridge = static_cast<CPropertyPackage *>(bridgeRef.Get());
            bridge->package10 = NewPackage10(p->kind, p->mixture);
            long count = 0;
            HRESULT hr = bridgeRef->GetNumCompounds(&count);
            static_cast<ICapeUtilities *>(bridge)->Terminate();
            return hr;
        },
        nullptr);
}

void CalculationRows::AddReordered(BenchPackage kind, int compounds, std::vector<Operation> &rows)
{
    CalculationSetup *s = &Setup(kind, compounds);
    BSTR vaporBstr = SysAllocString(L"Vapor"), mixtureBstr = SysAllocString(L"mixture");
    for (BSTR b : {vaporBstr, mixtureBstr}) {
        auto *arg = new Arg;
        V_VT(arg->v.Get()) = VT_BSTR;
        V_BSTR(arg->v.Get()) = b;
        s->Keep(arg);
    }
    const VARIANT &enthalpy = s->Keep(Arg::Strings({L"enthalpy"}));
    const VARIANT &vaporList = s->Keep(Arg::Strings({L"Vapor"}));
    auto reversed = std::make_shared<std::vector<std::wstring>>(s->mixture.ids.rbegin(), s->mixture.ids.rend());
    Operation op;
    op.package = PackageName(kind);
    op.compounds = compounds;
    op.name = "enthalpy, compounds reordered";
    op.direct = [s, &enthalpy, &vaporList, mixtureBstr] {
        return s->package10->CalcProp(s->direct10, enthalpy, vaporList, mixtureBstr);
    };
    // Every call finds the material's compounds in another order, so the
    // bridge maps them anew.
    op.bridged = [s, &enthalpy, vaporBstr, reversed] {
        std::swap(s->material11->compounds.ids, *reversed);
        return s->bridge->CalcSinglePhaseProp(enthalpy, vaporBstr);
    };
    op.prepare = [s] { s->PutPhases(s->mixture.gasT, gasP); };
    op.meter = [s](bool on) { s->Meter(on); };
    op.takeMeters = [s](MeterReading &a, MeterReading &b) { s->TakeMeters(a, b); };
    op.bridgeError = [s] { return s->bridge->ErrorDescription(); };
    rows.push_back(std::move(op));
}

std::vector<std::wstring> CalculationRows::Differences() const
{
    std::vector<std::wstring> differences;
    for (const auto &setup : setups_) {
        const CalculationSetup &s = *setup;
        const std::string name = PackageName(s.kind);
        const std::wstring where = std::wstring(name.begin(), name.end()) + L" " + std::to_wstring(s.compounds) + L": ";
        for (const wchar_t *property : {L"enthalpy", L"entropy", L"density"}) {
            std::vector<double> direct = s.material10->Values(property, L"Vapor", L"mole");
            if (direct.empty()) direct = s.material10->Values(property, L"Vapor", L"");
            std::vector<double> bridged = s.material11->Values(property, L"Vapor", L"mole");
            if (bridged.empty()) bridged = s.material11->Values(property, L"Vapor", L"");
            if (!direct.empty() && !bridged.empty() && direct != bridged)
                differences.push_back(where + property + L" of Vapor");
        }
    }
    return differences;
}
