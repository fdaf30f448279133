// Argument values: names that lead deep into the bridge, and the hostile
// values a careless client or 1.0 package hands over instead.
#include <cwctype>
#include <limits>
#include <string>

#include "Campaign.h"

namespace {

using Limits = std::numeric_limits<double>;

const struct {
    char kind;
    std::vector<const wchar_t *> words;
} pools[] = {
    {'p', {L"Vapor", L"Liquid", L"Overall", L"vapor", L"LIQUID", L"Solid"}},
    {'r', {L"enthalpy", L"fugacityCoefficient", L"logFugacityCoefficient", L"logFugacityCoefficient.Dtemperature",
           L"logFugacityCoefficient.Dpressure", L"logFugacityCoefficient.Dmoles", L"volume", L"viscosity"}},
    {'R', {L"vaporPressure", L"idealGasHeatCapacity", L"vaporPressure.Dtemperature", L"surfaceTension"}},
    {'K', {L"kvalue", L"logKvalue", L"surfaceTension"}},
    {'C', {L"molecularWeight", L"criticalTemperature", L"normalBoilingPoint"}},
    {'v', {L"temperature", L"pressure", L"fraction", L"phaseFraction", L"flow", L"totalFlow", L"Temperature"}},
    {'c', {L"methane", L"ethane", L"propane", L"METHANE"}},
    {'b', {L"mole", L"mass", L"", L"volume"}},
    {'t', {L"pure", L"mixture", L"", L"MIXTURE"}},
    {'s', {L"Unspecified", L"Normal", L"Retrograde", L""}},
    {'k', {L"molarGasConstant", L"avogadroConstant", L"MOLARGASCONSTANT", L"nothing"}},
    {'a', {L"stateOfAggregation", L"KeyCompoundId", L"colour"}},
    // The test thermo systems, among them those that create or resolve nothing with success.
    {'n', {L"Sys//A", L"Sys//B", L"SYS//a", L"NoInitNew//P", L"NoInitialize//P", L"LateNullCreate//P",
           L"LateNullUtilities//P", L"NullResolve//P", L"NotAPackage//P", L"ResolveFails//P", L"NullCreate//P",
           L"NullQuery//P", L"Nowhere//x", L"//", L"Sys//A//B", L"Sys"}},
    {'x', {L"TP", L"PH", L"PVF", L"TVF", L"XY", L""}},  // last: also stands for any kind
};
const wchar_t *const specProperties[] = {L"temperature", L"pressure", L"enthalpy", L"entropy", L"phaseFraction"};
const wchar_t *const specPhases[] = {L"Overall", L"Vapor", L"Liquid"};
const double hostileNumbers[] = {0.0, -1.0, Limits::quiet_NaN(), Limits::infinity(), -Limits::infinity(),
                                 Limits::max(), Limits::denorm_min(), 1e300};

const wchar_t *AnyWord(Rng &rng, char kind)
{
    const auto &words = kind == 'x' && rng.Chance(50) ? rng.Pick(pools).words : Words(kind);
    return words[rng.Below(words.size())];
}

BSTR Bstr(const std::wstring &text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

// Hostile strings made from a word of the right kind.
BSTR (*const hostileWords[])(Rng &, std::wstring) = {
    [](Rng &, std::wstring) -> BSTR { return nullptr; },
    [](Rng &, std::wstring) { return Bstr(L""); },
    [](Rng &rng, std::wstring) { return Bstr(std::wstring(65536 + rng.Below(4096), L'x')); },
    [](Rng &, std::wstring w) { return Bstr(w + L'\0' + w); },
    [](Rng &, std::wstring w) { return Bstr(w + L' '); },
    [](Rng &, std::wstring w) { return Bstr(w.substr(0, 2)); },
    [](Rng &rng, std::wstring w) {
        for (wchar_t &ch : w) ch = static_cast<wchar_t>(rng.Chance(50) ? towupper(ch) : towlower(ch));
        return Bstr(w);
    },
    [](Rng &rng, std::wstring) { return Bstr(AnyWord(rng, 'x')); },  // a word of another kind
};

void Text(VARIANT &e, BSTR text) { V_VT(&e) = VT_BSTR, V_BSTR(&e) = text; }
void Number(VARIANT &e, double value) { V_VT(&e) = VT_R8, V_R8(&e) = value; }

// A one-dimensional array of count elements from lowerBound, made by make.
template <class Make>
void MakeArray(VARIANT *out, VARTYPE type, LONG count, LONG lowerBound, Make make)
{
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), lowerBound};
    SAFEARRAY *array = SafeArrayCreate(type, 1, &bound);
    for (LONG i = 0; array && i < count; ++i) {
        VARIANT e;
        VariantInit(&e);
        make(i, e);
        LONG index = lowerBound + i;
        SafeArrayPutElement(array, &index, type == VT_VARIANT ? static_cast<void *>(&e)
                                           : type == VT_BSTR  ? static_cast<void *>(V_BSTR(&e))
                                                              : static_cast<void *>(&V_R8(&e)));
        VariantClear(&e);
    }
    if (array) V_VT(out) = VT_ARRAY | type, V_ARRAY(out) = array;
}

// A well-formed list of kind: names, a flash specification or numbers.
void ProperList(Rng &rng, char kind, int hostility, VARIANT *out, LONG lowerBound = 0)
{
    if (kind == '#' || kind == 'N')  // N: compound constants, values as VARIANTs
        return MakeArray(out, kind == 'N' ? VT_VARIANT : VT_R8, rng.Chance(60) ? 2 : 1 + rng.Below(3), lowerBound,
                         [&](LONG, VARIANT &e) { Number(e, MakeNumber(rng, '#', hostility)); });
    if (kind == 'f') {
        const wchar_t *property = rng.Pick(specProperties);
        const bool fraction = property == specProperties[4];
        const wchar_t *parts[] = {property, fraction || rng.Chance(30) ? L"mole" : L"",
                                  rng.Chance(80) ? (fraction ? L"Vapor" : L"Overall") : rng.Pick(specPhases)};
        return MakeArray(out, VT_BSTR, rng.Chance(90) ? 3 : 4, lowerBound, [&](LONG i, VARIANT &e) {
            Text(e, i > 2 ? nullptr : rng.Chance(hostility / 4) ? MakeWord(rng, 'x', 100) : SysAllocString(parts[i]));
        });
    }
    if (kind == 'c' && rng.Chance(50)) return;  // all compounds: the usual request
    const bool pair = kind == 'p' && rng.Chance(40);  // two-phase calls want Vapor and Liquid
    MakeArray(out, VT_BSTR, pair ? 2 : rng.Chance(60) ? 1 : 2 + rng.Below(2), lowerBound, [&](LONG i, VARIANT &e) {
        Text(e, pair ? SysAllocString(i ? L"Liquid" : L"Vapor") : MakeWord(rng, kind, hostility));
    });
}

// Hostile lists. The last two only for clients: a VT_BYREF needs the spare,
// and a component's own lists set how much work it makes.
void (*const hostileLists[])(Rng &, char, VARIANT *, VARIANT *) = {
    [](Rng &, char, VARIANT *, VARIANT *) {},  // VT_EMPTY
    [](Rng &rng, char, VARIANT *out, VARIANT *) {  // a scalar of any kind, any bits
        const VARTYPE scalars[] = {VT_NULL, VT_I4, VT_BOOL, VT_ERROR, VT_R8, VT_DATE, VT_CY, VT_I2, VT_UI1};
        V_VT(out) = rng.Pick(scalars), V_I8(out) = static_cast<LONGLONG>(rng.Next());
    },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *) { Text(*out, MakeWord(rng, kind, 50)); },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *) { ProperList(rng, kind == 'p' ? 'c' : 'p', 50, out); },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *) { ProperList(rng, kind == '#' ? 'p' : '#', 50, out); },
    [](Rng &, char kind, VARIANT *out, VARIANT *) {  // two dimensions
        SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
        const VARTYPE type = kind == '#' ? VT_R8 : VT_BSTR;
        if ((V_ARRAY(out) = SafeArrayCreate(type, 2, bounds))) V_VT(out) = VT_ARRAY | type;
    },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *) {
        const LONG bounds[] = {-7, 1, 1000000, -2147483647};
        ProperList(rng, kind, 0, out, rng.Pick(bounds));
    },
    [](Rng &, char kind, VARIANT *out, VARIANT *) {
        MakeArray(out, kind == '#' ? VT_R8 : VT_BSTR, 0, 0, [](LONG, VARIANT &) {});
    },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *) {  // null strings among names
        MakeArray(out, VT_BSTR, 3, 0, [&](LONG i, VARIANT &e) { Text(e, i == 1 ? MakeWord(rng, kind, 0) : nullptr); });
    },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *) {  // mixed items: names, numbers, nothing, lists
        MakeArray(out, VT_VARIANT, 1 + rng.Below(4), 0, [&](LONG, VARIANT &e) {
            const int which = rng.Below(4);
            if (which == 0) Text(e, MakeWord(rng, kind, 0));
            if (which == 1) Number(e, MakeNumber(rng, '#', 50));
            if (which == 2) ProperList(rng, kind, 0, &e);
        });
    },
    [](Rng &, char, VARIANT *out, VARIANT *) { V_VT(out) = VT_ARRAY | VT_BSTR, V_ARRAY(out) = nullptr; },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *) {  // long lists
        MakeArray(out, kind == '#' ? VT_R8 : VT_BSTR, 2000 + rng.Below(2000), 0, [&](LONG, VARIANT &e) {
            kind == '#' ? Number(e, 1.0) : Text(e, SysAllocString(AnyWord(rng, kind)));
        });
    },
    [](Rng &rng, char kind, VARIANT *out, VARIANT *spare) {
        ProperList(rng, kind, 20, spare);
        V_VT(out) = VT_BYREF | VT_VARIANT, V_VARIANTREF(out) = spare;
    },
};

}  // namespace

const std::vector<const wchar_t *> &Words(char kind)
{
    for (const auto &pool : pools)
        if (pool.kind == kind) return pool.words;
    return std::end(pools)[-1].words;
}

BSTR MakeWord(Rng &rng, char kind, int hostility)
{
    const wchar_t *word = AnyWord(rng, kind);
    return rng.Chance(hostility) ? rng.Pick(hostileWords)(rng, word) : SysAllocString(word);
}

double MakeNumber(Rng &rng, char kind, int hostility)
{
    if (rng.Chance(hostility)) return rng.Pick(hostileNumbers);
    return kind == 'T' ? 150.0 + rng.Below(400) : kind == 'P' ? 1e4 * (1 + rng.Below(500)) : 0.05 + rng.Below(100) / 100.0;
}

void MakeList(Rng &rng, char kind, int hostility, VARIANT *out, VARIANT *spare)
{
    VariantInit(out);
    if (!rng.Chance(hostility)) return ProperList(rng, kind, hostility / 2, out);
    hostileLists[rng.Below(std::size(hostileLists) - (spare ? 0 : 2))](rng, kind, out, spare);
}
