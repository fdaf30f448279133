// The robustness campaign: seeded scenarios in which a hostile client calls
// every method of the manager, the package (early-bound and through
// IDispatch) and, from inside the scriptable 1.0 package's call-backs, the
// 1.0 material object, while that package misbehaves. Values come from
// generators per kind of argument; calls from tables of method descriptors.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ComHolders.h"

// splitmix64: small, fast and the same everywhere, so a seed replays.
struct Rng {
    uint64_t state;
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
};

// Values that live for one call: cleared after it, so that what the callee
// did with them (or failed to do) shows in the leak checks.
struct Frame {
    VARIANT values[24] = {};  // VT_EMPTY, and null payloads for typed out storage
    int used = 0;
    Frame() = default;
    Frame(const Frame &) = delete;
    ~Frame();
    VARIANT *New();  // VT_EMPTY, or null when full
};

// Kinds of values, by the letter that follows the type in argument tokens:
// p phase, r single-phase property, R temperature- or pressure-dependent
// property, K two-phase property, C compound constant, v state variable,
// c compound, b basis, t calculation type, f flash specification, s solution
// type, k universal constant, a phase attribute, n package name, x flash type
// or a word of any kind, # numbers, N constant values, T temperature,
// P pressure. hostility is the percentage of values made hostile.
BSTR MakeWord(Rng &rng, char pool, int hostility);  // caller frees
const std::vector<const wchar_t *> &PoolWords(char pool);
double MakeNumber(Rng &rng, char pool, int hostility);
// A list VARIANT for pool, or something hostile; with frame null the value
// owns everything it refers to (for answers handed over by a component).
void MakeList(Rng &rng, char pool, int hostility, VARIANT *out, Frame *frame);

// One method: interface, name for IDispatch, scope name, vtable slot and
// argument tokens ("Vr Dt O": VARIANT list of properties, double
// temperature, [out, retval] VARIANT). Types: V VARIANT, B BSTR, D double,
// I int, P IDispatch*, x [in, out] VARIANT*, and the [out, retval] kinds
// O VARIANT*, L long*, Z VARIANT_BOOL*, S BSTR*, Q IDispatch**.
enum MethodFlags : unsigned {
    PropertyGet = 1,
    PropertyPut = 2,
    PassThrough = 4,   // returns the 1.0 package's own code (put_simulationContext, Edit)
    NotAvailable = 8,  // may answer ECapeThrmPropertyNotAvailableHR
    NoImpl = 16,       // may answer ECapeNoImplHR with nothing recorded
    Rare = 32,         // ends what other calls need (Terminate, UnsetMaterial): picked less often
};
struct Method {
    const IID *iid;
    const wchar_t *interfaceName, *name, *scope;  // scope null: name
    int slot;
    const char *args;
    unsigned flags;
};
struct MethodTable {
    const wchar_t *className;
    const Method *methods;
    size_t count;
};
extern const MethodTable packageMethods, managerMethods, materialObjectMethods;

struct CampaignStats {
    uint64_t calls = 0, lateBound = 0, callBacks = 0, scenarios = 0, violations = 0, leaks = 0;
};

// What a call may use: randomness, hostility, the objects handed as
// IDispatch arguments, and where findings are counted.
struct CallContext {
    Rng rng;
    int hostility = 20;
    std::vector<IDispatch *> objects;  // not owned; null entries allowed
    CampaignStats *stats = nullptr;
    uint64_t seed = 0, scenario = 0;
};

// Calls method on object, early-bound through the vtable or late-bound
// through the interface's IDispatch, with generated arguments, and checks
// the outcome: a code the method may return, and on ECapeUnknownHR a
// description with the method's scope and interface on the object.
HRESULT CallMethod(CallContext &context, IUnknown *object, const MethodTable &table, const Method &method,
                   bool lateBound);
// The same for a method picked at random from table.
HRESULT CallAny(CallContext &context, IUnknown *object, const MethodTable &table);
const Method &FindMethod(const MethodTable &table, const wchar_t *name);
// Counts and checks a call the campaign made itself, by method name.
void CheckCall(CallContext &context, IUnknown *object, const MethodTable &table, const wchar_t *name, HRESULT hr);
// A finding (printf-style text): printed with the seed and scenario that replay it.
void Violation(CallContext &context, const wchar_t *format, ...);
// The method currently called, for the crash and hang reports.
extern const wchar_t *volatile currentMethod;
