// The robustness campaign: seeded hostile calls on the manager, the package
// (early-bound and through IDispatch) and the 1.0 material object.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <vector>

#include "ComHolders.h"

// splitmix64: small and the same everywhere, so that a seed replays.
struct Rng {
    uint64_t state;
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(size_t n) { return n ? static_cast<int>(Next() % n) : 0; }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T, size_t N>
    const T &Pick(const T (&items)[N]) { return items[Below(N)]; }
};

// Values (Values.cpp) of a kind: p phase, r single-phase property, R T/P-
// dependent property, K two-phase property, C compound constant, v state
// variable, c compound, b basis, t calculation type, s solution type,
// k universal constant, a phase attribute, n package name, x anything; lists
// also f flash specification, # and N numbers; numbers T, P. hostility: the
// percentage of hostile values. A VT_BYREF list points to spare, which the
// caller clears; without spare the list owns everything, as answers must.
const std::vector<const wchar_t *> &Words(char kind);
BSTR MakeWord(Rng &rng, char kind, int hostility);
double MakeNumber(Rng &rng, char kind, int hostility);
void MakeList(Rng &rng, char kind, int hostility, VARIANT *out, VARIANT *spare);

// The objects called: the manager, the package and the 1.0 material object.
enum Target { OnManager, OnPackage, OnMaterialObject };

struct Stats {
    uint64_t calls = 0, lateBound = 0, callBacks = 0, scenarios = 0, violations = 0, leaks = 0;
};
struct CallContext {
    Rng rng;
    int hostility;
    std::vector<IDispatch *> objects;  // IDispatch arguments (not owned, null allowed)
    Stats *stats;
    uint64_t seed, scenario;
};

// Calls a method (by name, or any) with generated arguments, early- or
// late-bound, and checks the outcome: a code the method may answer, and a
// failure that carries its description, scope and interface.
HRESULT Call(CallContext &context, IUnknown *object, Target target, const wchar_t *name = nullptr);
// Counts and checks a call the campaign made itself.
void Check(CallContext &context, IUnknown *object, Target target, const wchar_t *name, HRESULT hr);
extern const wchar_t *currentMethod;  // for crash and hang reports
