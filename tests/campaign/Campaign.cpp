// corvanta-campaign: runs seeded scenarios against the bridge in this
// process and prints what it found. Each scenario builds a manager, a
// package (from a test thermo system, or over a misbehaving scriptable 1.0
// package) and two 1.1 materials, makes hostile calls in any order, tears
// everything down and checks that every object went. Every round runs twice,
// and the heaps are walked after each pass: their busy bytes must stay flat.
//
//   corvanta-campaign [--seed N] [--rounds R] [--scenarios S] [--long] [--scenario K] [--hang SECONDS]
//                     [--debugger]
//
// --long runs rounds until at least 200,000 calls were made; --scenario K
// replays one scenario of the seed; --debugger leaves a crash to the
// debugger (winedbg prints a backtrace) instead of reporting it.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "Campaign.h"
#include "Material11.h"
#include "ModuleLock.h"
#include "PropertyPackage.h"
#include "PropertyPackageManager.h"
#include "ScriptedPackage10.h"
#include "TestThermoAccess.h"
#include "VariantLists.h"

namespace {

struct Scenario {
    CallContext &context;
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    ComPtr<IUnknown> package;
    ComPtr<ICapeThermoPropertyPackage> package10;  // held by the campaign, or left to the package
    ComPtr<CMaterial11> materials[2];
    ComPtr<ICapeThermoMaterialObject> &seen;  // the 1.0 material object of the last call-back
    int depth = 0;                           // call-backs within call-backs
    bool wellBehaved = false;                // nothing hostile: calls that reach deep
};

volatile uint64_t reportSeed = 0, reportScenario = 0;
CampaignStats *reportStats = nullptr;

template <class T, size_t N>
const T &PickOf(Rng &rng, const T (&items)[N])
{
    return items[rng.Below(static_cast<int>(N))];
}

// Stores one result on the material object as a 1.0 package does, checked:
// a value per compound (or one), now and then one too many.
void Store(Scenario &s, ICapeThermoMaterialObject *material, const std::wstring &property, const wchar_t *phase,
           const wchar_t *calcType, const wchar_t *basis, long count)
{
    std::vector<double> values(s.context.rng.Chance(90) ? count : count + 1);
    for (double &value : values) value = MakeNumber(s.context.rng, '#', 5);
    ScopedVariant list, none;
    PutDoubles(list.Get(), values);
    ScopedBstr p(property.c_str()), ph(phase), c(calcType), b(basis);
    HRESULT hr = material->SetProp(p.Get(), ph.Get(), none.Value(), c.Get(), b.Get(), list.Value());
    CheckCall(s.context, material, materialObjectMethods, L"SetProp", hr);
}

// What the scriptable 1.0 package does inside CalcProp, CalcEquilibrium and
// GetComponentConstant: hostile calls on the material object, results as a
// real package stores them (for another phase or property now and then),
// calls back into the 1.1 package, and any kind of answer.
HRESULT CallBack(Scenario &s, CScriptedPackage10 &self, ICapeThermoMaterialObject *material, const wchar_t *method,
                 std::vector<std::wstring> props, const std::vector<std::wstring> &phases, VARIANT *propVals)
{
    Rng &rng = s.context.rng;
    ++s.context.stats->callBacks;
    if (material) s.seen = ComPtr<ICapeThermoMaterialObject>(material);
    for (int n = s.wellBehaved ? 0 : rng.Below(4); n > 0 && material; --n)
        CallAny(s.context, material, materialObjectMethods);
    long count = 0;
    if (material && (s.wellBehaved || rng.Chance(75))) {
        CheckCall(s.context, material, materialObjectMethods, L"GetNumComponents", material->GetNumComponents(&count));
        if (propVals) {
            MakeList(rng, 'N', s.wellBehaved ? 0 : 30, propVals, nullptr);
        } else if (wcscmp(method, L"CalcEquilibrium") == 0) {
            Store(s, material, L"temperature", L"", L"mixture", nullptr, 1);
            Store(s, material, L"pressure", L"", L"mixture", nullptr, 1);
            for (const wchar_t *phase : {L"Vapor", L"Liquid"}) {
                if (!rng.Chance(60)) continue;
                Store(s, material, L"fraction", phase, L"mixture", L"mole", count);
                Store(s, material, L"phaseFraction", phase, L"mixture", L"mole", 1);
            }
        } else {
            if (!s.wellBehaved && rng.Chance(10)) props.push_back(PoolWords('r')[0]);
            const wchar_t *phase = phases.empty() || rng.Chance(10) ? L"Liquid" : phases[0].c_str();
            for (const std::wstring &property : props)
                Store(s, material, property, phase, rng.Chance(90) ? L"mixture" : L"pure",
                      rng.Chance(80) ? nullptr : L"mass", count);
        }
    }
    if (s.wellBehaved) return S_OK;
    if (s.depth < 2 && rng.Chance(10)) {
        ++s.depth;
        CallAny(s.context, s.package.Get(), packageMethods);
        --s.depth;
    }
    switch (rng.Below(12)) {
    case 0: return S_FALSE;
    case 1: return E_FAIL;
    case 2: return self.FailWith(ECapeUnknownHR, L"call-back failed on purpose", method);
    default: return S_OK;
    }
}

// Scripts the 1.0 package: lists, misbehaviour and call-backs.
void Misbehave(Scenario &s, CScriptedPackage10 &package)
{
    Rng &rng = s.context.rng;
    ScriptedPackage10Script &script = package.script;
    script.UseMethaneEthane();
    if (rng.Chance(30)) script.compoundIds.push_back(L"propane"), script.molecularWeights.push_back(44.1);
    for (char pool : {'r', 'R', 'K'})
        for (const wchar_t *name : PoolWords(pool))
            if (rng.Chance(75)) script.propList.push_back(name);
    if (rng.Chance(50)) script.constants[L"molecularWeight"] = {{L"methane", 16.04}, {L"ethane", 30.07}};
    script.trivial = rng.Chance(50);
    script.hasUtilities = s.wellBehaved || rng.Chance(85);
    script.hasPersistStreamInit = rng.Chance(30);
    const int misbehaving = s.wellBehaved ? 0 : 1;

    const wchar_t *lists[] = {L"compIds", L"formulae", L"names", L"boilTemps", L"molwt", L"casno", L"phases", L"props"};
    for (int i = 0; i < 8; ++i) {
        if (!rng.Chance(6 * misbehaving)) continue;
        const uint64_t seed = rng.Next();
        const char pool = "cxx##xpr"[i];
        script.rawLists[lists[i]] = [seed, pool](VARIANT *out) {
            Rng own{seed};
            MakeList(own, pool, 60, out, nullptr);
        };
    }
    const wchar_t *methods[] = {L"GetComponentList", L"GetPhaseList", L"GetPropList", L"Initialize",
                                L"Terminate", L"Edit", L"CalcProp", L"CalcEquilibrium", L"GetComponentConstant",
                                L"put_simulationContext", L"get_parameters"};
    const HRESULT codes[] = {ECapeUnknownHR, E_FAIL, S_FALSE, ECapeNoImplHR, E_OUTOFMEMORY, E_POINTER};
    const wchar_t *descriptions[] = {L"", L"scripted failure", L"a \"quoted\" failure"};
    for (const wchar_t *method : methods)
        if (rng.Chance(4 * misbehaving)) script.failures[method] = {PickOf(rng, codes), PickOf(rng, descriptions)};
    for (const IID *iid : {&__uuidof(ICapeUtilities), &__uuidof(ICapeIdentification), &IID_IPersistStreamInit})
        if (rng.Chance(3 * misbehaving)) script.nullAnswers.push_back(*iid);

    Scenario *scenario = &s;
    if (rng.Chance(s.wellBehaved ? 100 : 60))
        script.onCalcProp = [scenario](CScriptedPackage10 &self, ICapeThermoMaterialObject *material,
                                       const std::vector<std::wstring> &props,
                                       const std::vector<std::wstring> &phases, const std::wstring &) {
            return CallBack(*scenario, self, material, L"CalcProp", props, phases, nullptr);
        };
    if (rng.Chance(s.wellBehaved ? 100 : 60))
        script.onCalcEquilibrium = [scenario](CScriptedPackage10 &self, ICapeThermoMaterialObject *material,
                                              const std::wstring &) {
            return CallBack(*scenario, self, material, L"CalcEquilibrium", {}, {}, nullptr);
        };
    if (rng.Chance(40))
        script.onGetComponentConstant = [scenario](CScriptedPackage10 &self, ICapeThermoMaterialObject *material,
                                                   const std::vector<std::wstring> &props, VARIANT *propVals) {
            return CallBack(*scenario, self, material, L"GetComponentConstant", props, {}, propVals);
        };
}

// A 1.1 material with some of the package's compounds (or others), the
// conditions a calculation reads, and now and then a failure of its own.
ComPtr<CMaterial11> MakeMaterial(Rng &rng, bool proper)
{
    std::vector<std::wstring> ids = {L"methane", L"ethane"};
    if (!proper && rng.Chance(30)) {
        const wchar_t *others[] = {L"propane", L"METHANE", L"water", L"ethane"};
        ids.resize(rng.Below(3));
        for (int n = 1 + rng.Below(2); n > 0; --n) ids.push_back(PickOf(rng, others));
    }
    ComPtr<CMaterial11> material = CMaterial11::Create(ids);
    if (!material) return material;
    material->presentPhases = {L"Vapor", L"Liquid"};
    material->phaseStatuses = {1, 1};
    const std::vector<double> fractions(ids.size(), 1.0 / static_cast<double>(ids.empty() ? 1 : ids.size()));
    for (const wchar_t *phase : {L"Vapor", L"Liquid", L"Overall"}) {
        material->Put(L"temperature", phase, L"", {MakeNumber(rng, 'T', 5)});
        material->Put(L"pressure", phase, L"", {MakeNumber(rng, 'P', 5)});
        material->Put(L"fraction", phase, L"mole", fractions);
    }
    material->Put(L"phaseFraction", L"Vapor", L"mole", {0.5});
    material->hasCompounds = proper || rng.Chance(95);
    const wchar_t *methods[] = {L"GetCompoundList", L"SetSinglePhaseProp", L"GetSinglePhaseProp",
                                L"SetPresentPhases", L"GetOverallProp", L"SetOverallProp"};
    if (!proper && rng.Chance(5)) material->failures[PickOf(rng, methods)] = {ECapeUnknownHR, L"material failure"};
    return material;
}

void RunScenario(CampaignStats &stats, uint64_t seed, uint64_t index)
{
    CallContext context;
    context.rng.state = seed ^ (index * 0xD1B54A32D192ED03ull);
    context.seed = seed;
    context.scenario = index;
    reportSeed = seed;
    reportScenario = index;
    context.stats = &stats;
    Rng &rng = context.rng;
    context.hostility = PickOf(rng, {0, 0, 5, 20, 50, 80});
    ++stats.scenarios;
    const LONG locksBefore = ModuleLockCount();
    ComPtr<ICapeThermoMaterialObject> seen;
    {
        Scenario s{context, {}, {}, {}, {}, seen, 0, context.hostility == 0};
        CreateComObject<CPropertyPackageManager>(nullptr, __uuidof(ICapeThermoPropertyPackageManager),
                                                 s.manager.ReceiveVoid());
        s.materials[0] = MakeMaterial(rng, s.wellBehaved);
        s.materials[1] = MakeMaterial(rng, false);
        if (rng.Chance(20)) {
            const wchar_t *names[] = {L"Sys//A", L"NoInitNew//P", L"NoInitialize//P", L"ThermoX//Upper"};
            ScopedBstr name(PickOf(rng, names));
            ComPtr<IDispatch> made;
            HRESULT hr = s.manager->GetPropertyPackage(name.Get(), made.Receive());
            CheckCall(context, s.manager.Get(), managerMethods, L"GetPropertyPackage", hr);
            if (made) QueryFrom(made.Get(), s.package);
        }
        if (!s.package) {
            CScriptedPackage10 *scripted = nullptr;
            ComPtr<ICapeThermoPropertyPackage> package10 = CreateScriptedPackage10(&scripted);
            ComPtr<ICapeThermoCompounds> made;
            if (scripted && SUCCEEDED(CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds),
                                                                        made.ReceiveVoid()))) {
                Misbehave(s, *scripted);
                static_cast<CPropertyPackage *>(made.Get())->package10 = package10;
                QueryFrom(made.Get(), s.package);
                if (rng.Chance(70)) s.package10 = package10;
            }
        }
        ComPtr<IDispatch> packageDispatch, managerDispatch;
        QueryFrom(s.package.Get(), packageDispatch);
        QueryFrom(s.manager.Get(), managerDispatch);
        IDispatch *material = s.materials[0] ? s.materials[0]->Interface() : nullptr;
        context.objects = {nullptr, material, material, material,
                           s.materials[1] ? s.materials[1]->Interface() : nullptr, managerDispatch.Get(),
                           packageDispatch.Get()};
        // Mostly the right order first: the material, then calculations.
        ComPtr<ICapeThermoMaterialContext> materialContext;
        if ((s.wellBehaved || rng.Chance(85)) && material && SUCCEEDED(QueryFrom(s.package.Get(), materialContext)))
            CheckCall(context, s.package.Get(), packageMethods, L"SetMaterial", materialContext->SetMaterial(material));
        for (int n = 5 + rng.Below(40); n > 0; --n) {
            const int where = rng.Below(100);
            if (where < 85 || (where >= 92 && !s.seen))
                CallAny(context, s.package.Get(), packageMethods);
            else if (where < 92)
                CallAny(context, s.manager.Get(), managerMethods);
            else
                CallAny(context, s.seen.Get(), materialObjectMethods);
        }
        // Terminate breaks the cycles a simulation context may close.
        CallMethod(context, s.package.Get(), packageMethods, FindMethod(packageMethods, L"Terminate"), rng.Chance(30));
        context.objects.clear();
    }
    // The 1.0 material object outlives its package.
    for (int n = rng.Below(4); n > 0 && seen; --n) CallAny(context, seen.Get(), materialObjectMethods);
    seen.Reset();
    const LONG locksAfter = ModuleLockCount();
    TestThermoAccess thermo;
    const LONG systemsAlive = thermo.Loaded() ? thermo.liveCount() : 0;
    if (locksAfter != locksBefore || systemsAlive != 0) {
        ++stats.leaks;
        wprintf(L"LEAK seed %llu scenario %llu: %ld objects and %ld thermo systems left\n", seed, index,
                locksAfter - locksBefore, systemsAlive);
    }
}

// Bytes of every busy block of every heap of the process.
uint64_t HeapBytes()
{
    HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(256, heaps);
    uint64_t total = 0;
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS *exception)
{
    void *address = exception->ExceptionRecord->ExceptionAddress;
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH] = L"?";
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(address), &module))
        GetModuleFileNameW(module, path, MAX_PATH);
    wprintf(L"CRASH seed %llu scenario %llu in %ls: exception 0x%08lX at %ls+0x%llx\n", reportSeed, reportScenario,
            currentMethod, exception->ExceptionRecord->ExceptionCode, path,
            static_cast<unsigned long long>(static_cast<char *>(address) - reinterpret_cast<char *>(module)));
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 2);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A hang: a scenario that has not ended within the limit.
DWORD WINAPI Watchdog(void *parameter)
{
    const DWORD limit = *static_cast<DWORD *>(parameter);
    uint64_t last = ~0ull;
    for (DWORD still = 0;; Sleep(1000)) {
        const uint64_t scenarios = *static_cast<volatile uint64_t *>(&reportStats->scenarios);
        still = scenarios == last ? still + 1 : 0;
        last = scenarios;
        if (still < limit) continue;
        wprintf(L"HANG seed %llu scenario %llu in %ls: the scenario ran for %lu s\n", reportSeed, reportScenario,
                currentMethod, still);
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
    }
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    uint64_t seed = GetTickCount64() ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 32), scenarios = 80;
    int rounds = 5;
    long long only = -1;
    DWORD hangSeconds = 60;
    bool longRun = false, debugger = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const wchar_t *value = i + 1 < argc ? argv[i + 1] : L"0";
        if (arg == L"--seed") seed = wcstoull(value, nullptr, 10), ++i;
        else if (arg == L"--rounds") rounds = _wtoi(value), ++i;
        else if (arg == L"--scenarios") scenarios = wcstoull(value, nullptr, 10), ++i;
        else if (arg == L"--scenario") only = _wtoi64(value), ++i;
        else if (arg == L"--hang") hangSeconds = static_cast<DWORD>(_wtoi(value)), ++i;
        else if (arg == L"--long") longRun = true, scenarios = 250;
        else if (arg == L"--debugger") debugger = true;
        else return wprintf(L"unknown argument %ls\n", arg.c_str()), 4;
    }
    wprintf(L"seed %llu (replay a scenario: corvanta-campaign --seed %llu --scenario K)\n", seed, seed);
    fflush(stdout);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 4;
    CampaignStats stats;
    reportStats = &stats;
    if (!debugger) SetUnhandledExceptionFilter(ReportCrash);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, &hangSeconds, 0, nullptr));
    const ULONGLONG start = GetTickCount64();

    // Every round runs its scenarios twice: the first pass may fill what is
    // made once (discovery, type information, name indexes, caches); the
    // second does the same work again, so the heap must end where it was.
    if (only >= 0) RunScenario(stats, seed, static_cast<uint64_t>(only));
    for (uint64_t round = 0; only < 0 && (round < static_cast<uint64_t>(rounds) || (longRun && stats.calls < 200000));
         ++round) {
        uint64_t heap[2] = {};
        for (uint64_t &bytes : heap) {
            for (uint64_t i = 0; i < scenarios; ++i) RunScenario(stats, seed, round * scenarios + i);
            bytes = HeapBytes();
        }
        const long long grown = static_cast<long long>(heap[1] - heap[0]);
        wprintf(L"round %llu: %llu calls, heap %llu bytes, %+lld on repeating\n", round + 1, stats.calls, heap[1],
                grown);
        if (grown > 512) {
            ++stats.leaks;
            wprintf(L"LEAK seed %llu: scenarios %llu to %llu leave %lld bytes more on the heap each time\n", seed,
                    round * scenarios, (round + 1) * scenarios - 1, grown);
        }
        fflush(stdout);
    }
    wprintf(L"\n| calls made | late-bound | call-backs | scenarios | crashes | hangs | leaks | violations |\n"
            L"| %llu | %llu | %llu | %llu | 0 | 0 | %llu | %llu |\ntime %.1f s, seed %llu\n",
            stats.calls, stats.lateBound, stats.callBacks, stats.scenarios, stats.leaks, stats.violations,
            (GetTickCount64() - start) / 1000.0, seed);
    fflush(stdout);
    CoUninitialize();
    return stats.leaks == 0 && stats.violations == 0 ? 0 : 1;
}
