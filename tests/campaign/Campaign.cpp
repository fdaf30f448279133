// corvanta-campaign [--seed N] [--rounds R] [--scenarios S] [--scenario K] [--long]
//
// Seeded scenarios: a manager (in this process, or the registered server's),
// a package (from a test thermo system, or over the scriptable 1.0 package
// scripted to misbehave) and 1.1 materials; hostile calls in any order, also
// from inside the 1.0 package's call-backs; then everything released. Each
// round runs its scenarios twice and walks the heaps after each pass: the
// second pass must leave them where the first did. --long runs rounds until
// 200,000 calls were made; --scenario K replays one scenario of the seed.
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <process.h>
#include <string>

#include "Campaign.h"
#include "Corvanta.h"
#include "Material11.h"
#include "MaterialObjectCalls.h"
#include "ModuleLock.h"
#include "PropertyPackage.h"
#include "PropertyPackageManager.h"
#include "ScriptedPackage10.h"
#include "TestThermoSystems.h"

namespace {

struct Scenario {
    CallContext context;
    ComPtr<IUnknown> package;
    ComPtr<ICapeThermoMaterialObject> seen;  // the 1.0 material object of the last call-back
    int depth = 0;                           // call-backs within call-backs
    bool wellBehaved = false;                // nothing hostile: calls that reach deep
};

uint64_t reportSeed = 0, reportScenario = 0;
std::atomic<uint64_t> finishedScenarios{0};

// A result stored as a 1.0 package does: a value per compound, or one too many.
void Store(Scenario &s, ICapeThermoMaterialObject *material, const wchar_t *property, const wchar_t *phase,
           const wchar_t *calcType, const wchar_t *basis, long count)
{
    std::vector<double> values(s.context.rng.Chance(90) ? count : count + 1);
    for (double &value : values) value = MakeNumber(s.context.rng, '#', 5);
    Check(s.context, material, OnMaterialObject, L"SetProp",
          SetProp10(material, property, phase, basis, values, calcType));
}

// The 1.0 package's side of CalcProp, CalcEquilibrium and GetComponentConstant:
// hostile calls on the material object, results as a package stores them
// (now and then for another phase or property), calls back into the package,
// and any kind of answer, half-way failures included.
HRESULT CallBack(Scenario &s, CScriptedPackage10 &self, ICapeThermoMaterialObject *material, const wchar_t *method,
                 const std::vector<std::wstring> &props, const std::vector<std::wstring> &phases, VARIANT *propVals)
{
    Rng &rng = s.context.rng;
    ++s.context.stats->callBacks;
    if (!material) return E_POINTER;
    s.seen = ComPtr<ICapeThermoMaterialObject>(material);
    for (int n = s.wellBehaved ? 0 : rng.Below(4); n > 0; --n) Call(s.context, material, OnMaterialObject);
    long count = 0;
    Check(s.context, material, OnMaterialObject, L"GetNumComponents", material->GetNumComponents(&count));
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
        const wchar_t *phase = phases.empty() || rng.Chance(10) ? L"Liquid" : phases[0].c_str();
        for (const std::wstring &property : props)
            Store(s, material, s.wellBehaved || rng.Chance(90) ? property.c_str() : Words('r')[0], phase,
                  rng.Chance(90) ? L"mixture" : L"pure", rng.Chance(80) ? nullptr : L"mass", count);
    }
    if (s.wellBehaved) return S_OK;
    if (s.depth < 2 && rng.Chance(10)) {
        ++s.depth;
        Call(s.context, s.package.Get(), OnPackage);
        --s.depth;
    }
    const HRESULT answers[] = {S_FALSE, E_FAIL, ECapeUnknownHR, S_OK, S_OK, S_OK, S_OK, S_OK};
    const HRESULT answer = rng.Pick(answers);
    return answer == ECapeUnknownHR ? self.FailWith(answer, L"call-back failed on purpose", method) : answer;
}

// Ways the scriptable 1.0 package misbehaves, some drawn for each scenario.
void (*const misbehaviours[])(Rng &, ScriptedPackage10Script &) = {
    [](Rng &rng, ScriptedPackage10Script &script) {  // a list of the wrong type, length or lower bound
        const wchar_t *lists[] = {L"compIds", L"formulae", L"names", L"boilTemps", L"molwt", L"casno", L"phases",
                                  L"props"};
        const int which = rng.Below(std::size(lists));
        script.rawLists[lists[which]] = [seed = rng.Next(), kind = "cxx##xpr"[which]](VARIANT *out) {
            Rng own{seed};
            MakeList(own, kind, 60, out, nullptr);
        };
    },
    [](Rng &rng, ScriptedPackage10Script &script) {  // a failure, or an odd success code, of any method
        const wchar_t *methods[] = {L"GetComponentList", L"GetPhaseList", L"GetPropList", L"Initialize",
                                    L"Terminate", L"Edit", L"CalcProp", L"CalcEquilibrium", L"GetComponentConstant",
                                    L"put_simulationContext", L"get_parameters"};
        const HRESULT codes[] = {ECapeUnknownHR, E_FAIL, S_FALSE, ECapeNoImplHR, E_OUTOFMEMORY, E_POINTER};
        script.failures[rng.Pick(methods)] = {rng.Pick(codes), rng.Pick({L"", L"scripted", L"a \"quoted\" one"})};
    },
    [](Rng &rng, ScriptedPackage10Script &script) {  // success with no object
        const IID iids[] = {__uuidof(ICapeUtilities), __uuidof(ICapeIdentification), IID_IPersistStreamInit};
        script.nullAnswers.push_back(rng.Pick(iids));
    },
    [](Rng &, ScriptedPackage10Script &script) { script.hasUtilities = false; },
    [](Rng &, ScriptedPackage10Script &script) { script.hasPersistStreamInit = true; },
    [](Rng &, ScriptedPackage10Script &script) { script.compoundIds.push_back(L"propane"); },  // lists disagree
};

void Script(Scenario &s, ScriptedPackage10Script &script)
{
    Rng &rng = s.context.rng;
    script.UseMethaneEthane();
    for (char kind : {'r', 'R', 'K'})
        for (const wchar_t *name : Words(kind))
            if (rng.Chance(75)) script.propList.push_back(name);
    if (rng.Chance(50)) script.constants[L"molecularWeight"] = {{L"methane", 16.04}, {L"ethane", 30.07}};
    script.trivial = rng.Chance(50);
    for (int n = s.wellBehaved ? 0 : rng.Below(3); n > 0; --n) rng.Pick(misbehaviours)(rng, script);
    Scenario *p = &s;
    if (s.wellBehaved || rng.Chance(60))
        script.onCalcProp = [p](auto &self, auto *material, const auto &props, const auto &phases, const auto &) {
            return CallBack(*p, self, material, L"CalcProp", props, phases, nullptr);
        };
    if (s.wellBehaved || rng.Chance(60))
        script.onCalcEquilibrium = [p](auto &self, auto *material, const auto &) {
            return CallBack(*p, self, material, L"CalcEquilibrium", {}, {}, nullptr);
        };
    if (rng.Chance(40))
        script.onGetComponentConstant = [p](auto &self, auto *material, const auto &props, VARIANT *propVals) {
            return CallBack(*p, self, material, L"GetComponentConstant", props, {}, propVals);
        };
}

// A 1.1 material with the package's compounds (or others), the conditions a
// calculation reads, and now and then a failure of its own.
ComPtr<CMaterial11> MakeMaterial(Rng &rng, bool proper)
{
    std::vector<std::wstring> ids = {L"methane", L"ethane"};
    if (!proper && rng.Chance(30)) {
        ids.resize(rng.Below(3));
        for (int n = 1 + rng.Below(2); n > 0; --n) ids.push_back(rng.Pick({L"propane", L"METHANE", L"water"}));
    }
    ComPtr<CMaterial11> material = CMaterial11::Create(ids);
    material->presentPhases = {L"Vapor", L"Liquid"};
    material->phaseStatuses = {1, 1};
    for (const wchar_t *phase : {L"Vapor", L"Liquid", L"Overall"}) {
        material->Put(L"temperature", phase, L"", {MakeNumber(rng, 'T', 5)});
        material->Put(L"pressure", phase, L"", {MakeNumber(rng, 'P', 5)});
        material->Put(L"fraction", phase, L"mole", std::vector<double>(ids.size(), 1.0 / ids.size()));
    }
    material->Put(L"phaseFraction", L"Vapor", L"mole", {0.5});
    material->hasCompounds = proper || rng.Chance(95);
    if (!proper && rng.Chance(5))
        material->failures[rng.Pick({L"GetCompoundList", L"SetSinglePhaseProp", L"GetSinglePhaseProp",
                                     L"SetPresentPhases", L"GetOverallProp"})] = {ECapeUnknownHR, L"material failure"};
    return material;
}

void RunScenario(Stats &stats, uint64_t seed, uint64_t index)
{
    reportSeed = seed, reportScenario = index;
    Scenario s;
    CallContext &context = s.context;
    context = {Rng{seed ^ (index * 0xD1B54A32D192ED03ull)}, 0, {}, &stats, seed, index};
    Rng &rng = context.rng;
    context.hostility = rng.Pick({0, 0, 5, 20, 50, 80});
    s.wellBehaved = context.hostility == 0;
    ++stats.scenarios;
    const LONG locksBefore = ModuleLockCount();
    {
        ComPtr<ICapeThermoPropertyPackageManager> manager;
        if (rng.Chance(15))  // the registered server's, whose DllCanUnloadNow is asked at the end
            CoCreateInstance(CLSID_PropertyPackageManager, nullptr, CLSCTX_INPROC_SERVER,
                             __uuidof(ICapeThermoPropertyPackageManager), manager.ReceiveVoid());
        if (!manager)
            CreateComObject<CPropertyPackageManager>(nullptr, __uuidof(ICapeThermoPropertyPackageManager),
                                                     manager.ReceiveVoid());
        ComPtr<CMaterial11> materials[] = {MakeMaterial(rng, s.wellBehaved), MakeMaterial(rng, false)};
        if (rng.Chance(20)) {
            ScopedBstr name(Words('n')[rng.Below(Words('n').size())]);
            ComPtr<IDispatch> made;
            Check(context, manager.Get(), OnManager, L"GetPropertyPackage",
                  manager->GetPropertyPackage(name.Get(), made.Receive()));
            QueryFrom(made.Get(), s.package);
        }
        CScriptedPackage10 *scripted = nullptr;
        ComPtr<ICapeThermoPropertyPackage> package10;
        ComPtr<ICapeThermoCompounds> made;
        if (!s.package && (package10 = CreateScriptedPackage10(&scripted)) &&
            SUCCEEDED(CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds), made.ReceiveVoid()))) {
            Script(s, scripted->script);
            static_cast<CPropertyPackage *>(made.Get())->package10 = package10;
            QueryFrom(made.Get(), s.package);
            if (rng.Chance(30)) package10.Reset(), made.Reset();  // left to the client's references alone
        }
        ComPtr<IDispatch> packageDispatch, managerDispatch;
        QueryFrom(s.package.Get(), packageDispatch);
        QueryFrom(manager.Get(), managerDispatch);
        IDispatch *material = materials[0]->Interface();
        context.objects = {nullptr, material, material, material, materials[1]->Interface(), managerDispatch.Get(),
                           packageDispatch.Get()};
        ComPtr<ICapeThermoMaterialContext> materialContext;
        if ((s.wellBehaved || rng.Chance(85)) && SUCCEEDED(QueryFrom(s.package.Get(), materialContext)))
            Check(context, s.package.Get(), OnPackage, L"SetMaterial", materialContext->SetMaterial(material));
        for (int n = 5 + rng.Below(40); n > 0; --n) {
            const int where = rng.Below(100);
            if (where < 85 || (where >= 92 && !s.seen)) Call(context, s.package.Get(), OnPackage);
            else if (where < 92) Call(context, manager.Get(), OnManager);
            else Call(context, s.seen.Get(), OnMaterialObject);
        }
        Call(context, s.package.Get(), OnPackage, L"Terminate");
        context.objects.clear();
        s.package.Reset();
    }
    // The 1.0 material object outlives its package.
    for (int n = rng.Below(4); n > 0 && s.seen; --n) Call(context, s.seen.Get(), OnMaterialObject);
    s.seen.Reset();
    const TestThermoState *thermo = TestThermo();
    const LONG objectsLeft = ModuleLockCount() - locksBefore,
               systemsLeft = thermo ? thermo->live + thermo->unterminated : 0;
    if (objectsLeft || systemsLeft)
        ++stats.leaks, wprintf(L"LEAK seed %llu scenario %llu: %ld objects, %ld thermo systems left or unterminated\n",
                               seed, index, objectsLeft, systemsLeft);
    ++finishedScenarios;
}

// Bytes of every busy block of every heap of the process.
uint64_t HeapBytes()
{
    HANDLE heaps[256];
    uint64_t total = 0;
    for (DWORD i = 0, count = GetProcessHeaps(256, heaps); i < count && i < 256; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

// A crash or a hang (no scenario finished for two minutes) ends the run with the seed and scenario.
void Abort(const wchar_t *what, UINT code)
{
    wprintf(L"%ls seed %llu scenario %llu in %ls\n", what, reportSeed, reportScenario, currentMethod);
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), code);
}

LONG WINAPI Crashed(EXCEPTION_POINTERS *)
{
    Abort(L"CRASH", 2);
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI Watchdog(void *)
{
    for (uint64_t last = ~0ull, still = 0;; Sleep(1000)) {
        still = finishedScenarios == last ? still + 1 : 0;
        last = finishedScenarios;
        if (still >= 120) Abort(L"HANG", 3);
    }
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    // Oleaut32's string cache keeps freed strings as busy heap blocks; it is
    // off only when OANOCACHE is set at start-up. Without it the heaps must
    // end where they were to the byte.
    if (!_wgetenv(L"OANOCACHE")) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        _wputenv(L"OANOCACHE=1");
        return static_cast<int>(_wspawnv(_P_WAIT, self, argv));
    }
    uint64_t seed = GetTickCount64() ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 32), scenarios = 80,
             rounds = 5;
    long long only = -1;
    bool longRun = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const uint64_t value = i + 1 < argc ? wcstoull(argv[i + 1], nullptr, 10) : 0;
        if (arg == L"--long") longRun = true, scenarios = 250;
        else if (arg == L"--seed") seed = value, ++i;
        else if (arg == L"--rounds") rounds = value, ++i;
        else if (arg == L"--scenarios") scenarios = value, ++i;
        else if (arg == L"--scenario") only = static_cast<long long>(value), ++i;
        else return wprintf(L"unknown argument %ls\n", arg.c_str()), 4;
    }
    wprintf(L"seed %llu (replay: corvanta-campaign --seed %llu [--scenario K])\n", seed, seed);
    fflush(stdout);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 4;
    Stats stats;
    SetUnhandledExceptionFilter(Crashed);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    const ULONGLONG start = GetTickCount64();
    if (only >= 0) RunScenario(stats, seed, static_cast<uint64_t>(only));
    // The first pass of a round may fill what is made once (discovery, type
    // information, caches); the second does the same work again.
    for (uint64_t round = 0; only < 0 && (round < rounds || (longRun && stats.calls < 200000)); ++round) {
        uint64_t heap[2] = {};
        for (uint64_t &bytes : heap) {
            for (uint64_t i = 0; i < scenarios; ++i) RunScenario(stats, seed, round * scenarios + i);
            bytes = HeapBytes();
        }
        const long long grown = static_cast<long long>(heap[1] - heap[0]);
        wprintf(L"round %llu: %llu calls, heap %llu bytes, %+lld on repeating\n", round + 1, stats.calls, heap[1],
                grown);
        if (grown != 0) ++stats.leaks, wprintf(L"LEAK: the heap grows on repeating round %llu\n", round + 1);
        fflush(stdout);
    }
    // Every object released: the bridge in this process and the registered server may unload.
    HMODULE server = GetModuleHandleW(L"Corvanta.dll");
    const auto canUnload = reinterpret_cast<HRESULT(WINAPI *)()>(
        server ? reinterpret_cast<void *>(GetProcAddress(server, "DllCanUnloadNow")) : nullptr);
    if (ModuleLockCount() != 0 || (canUnload && canUnload() != S_OK))
        ++stats.leaks, wprintf(L"LEAK: objects left at the end, DllCanUnloadNow refuses\n");
    wprintf(L"\n| calls made | late-bound | call-backs | scenarios | crashes | hangs | leaks | violations |\n"
            L"| %llu | %llu | %llu | %llu | 0 | 0 | %llu | %llu |\ntime %.1f s, seed %llu, registered server %ls\n",
            stats.calls, stats.lateBound, stats.callBacks, stats.scenarios, stats.leaks, stats.violations,
            (GetTickCount64() - start) / 1000.0, seed, canUnload ? L"used" : L"not used");
    fflush(stdout);
    CoUninitialize();
    return stats.leaks == 0 && stats.violations == 0 ? 0 : 1;
}
