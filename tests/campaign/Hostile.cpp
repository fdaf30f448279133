// Argument generators: names that lead deep into the bridge, and the hostile
// values a careless or malicious client or 1.0 package hands over instead.
#include <cwchar>
#include <cwctype>
#include <limits>

#include "Campaign.h"

namespace {

struct Pool {
    char letter;
    std::vector<const wchar_t *> words;
};

const Pool pools[] = {
    {'p', {L"Vapor", L"Liquid", L"Overall", L"VaporLiquid", L"vapor", L"LIQUID", L"Solid"}},
    {'r', {L"enthalpy", L"entropy", L"fugacityCoefficient", L"logFugacityCoefficient", L"LogFugacityCoefficient",
           L"logFugacityCoefficient.Dtemperature", L"logFugacityCoefficient.Dpressure",
           L"LogFugacityCoefficient.Dmoles", L"volume", L"density", L"enthalpy.Dtemperature", L"viscosity"}},
    {'R', {L"vaporPressure", L"idealGasHeatCapacity", L"vaporPressure.Dtemperature", L"surfaceTension"}},
    {'K', {L"kvalue", L"surfaceTension", L"logKvalue", L"kvalue.Dtemperature"}},
    {'C', {L"molecularWeight", L"criticalTemperature", L"normalBoilingPoint", L"acentricFactor"}},
    {'v', {L"temperature", L"pressure", L"fraction", L"phaseFraction", L"flow", L"totalFlow", L"Temperature"}},
    {'c', {L"methane", L"ethane", L"propane", L"METHANE"}},
    {'b', {L"mole", L"mass", L"", L"MOLE", L"volume"}},
    {'t', {L"pure", L"mixture", L"", L"MIXTURE"}},
    {'s', {L"Unspecified", L"Normal", L"Retrograde", L""}},
    {'k', {L"molarGasConstant", L"avogadroConstant", L"MOLARGASCONSTANT", L"speedOfLightInVacuum",
           L"boltzmannConstant", L"nothing"}},
    {'a', {L"stateOfAggregation", L"KeyCompoundId", L"keycompoundid", L"colour"}},
    {'n', {L"Sys//A", L"Sys//B", L"SYS//a", L"NoInitNew//P", L"NoInitialize//P", L"LateNullCreate//P",
           L"NullResolve//P", L"NotAPackage//P", L"ResolveFails//P", L"Nowhere//x", L"//", L"Sys//A//B", L"Sys",
           L"NullCreate//P", L"NullQuery//P", L"ThermoX//Upper"}},
    {'x', {L"TP", L"PH", L"PVF", L"TVF", L"XY", L""}},  // last: 'x' also draws from the others
};

// Flash specification parts: property, basis, phase.
const wchar_t *const specProperties[] = {L"temperature", L"pressure", L"enthalpy", L"entropy", L"phaseFraction",
                                         L"volume", L"internalEnergy"};
const wchar_t *const specBases[] = {L"", L"mole", L"mass"};
const wchar_t *const specPhases[] = {L"Overall", L"Vapor", L"Liquid"};

template <class T, size_t N>
const T &PickOf(Rng &rng, const T (&items)[N])
{
    return items[rng.Below(static_cast<int>(N))];
}

const wchar_t *PoolWord(Rng &rng, char pool)
{
    const std::vector<const wchar_t *> &words =
        pool == 'x' && rng.Chance(50) ? pools[rng.Below(static_cast<int>(std::size(pools)) - 1)].words
                                      : PoolWords(pool);
    return words[rng.Below(static_cast<int>(words.size()))];
}

BSTR HostileWord(Rng &rng, char pool)
{
    std::wstring word = PoolWord(rng, pool);
    switch (rng.Below(8)) {
    case 0: return nullptr;
    case 1: word.clear(); break;
    case 2: word.assign(65536 + rng.Below(4096), L'x'); break;  // huge
    case 3: word += L'\0' + std::wstring(PoolWord(rng, pool)); break;  // embedded NUL
    case 4:
        for (wchar_t &ch : word) ch = static_cast<wchar_t>(rng.Chance(50) ? towupper(ch) : towlower(ch));
        break;
    case 5: word += L' '; break;
    case 6: word = word.substr(0, 2); break;
    default: word = PoolWord(rng, 'x'); break;  // a word of another kind
    }
    return SysAllocStringLen(word.data(), static_cast<UINT>(word.size()));
}

// A one-dimensional array of count elements from lowerBound, each made by
// make (which fills one VARIANT of the array's element type), in out.
template <class Make>
void MakeArray(VARIANT *out, VARTYPE type, LONG count, LONG lowerBound, Make make)
{
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), lowerBound};
    SAFEARRAY *array = SafeArrayCreate(type, 1, &bound);
    if (!array) return;
    for (LONG i = 0; i < count; ++i) {
        VARIANT element;
        VariantInit(&element);
        make(i, element);
        LONG index = lowerBound + i;
        SafeArrayPutElement(array, &index,
                            type == VT_VARIANT ? static_cast<void *>(&element)
                            : type == VT_BSTR  ? static_cast<void *>(V_BSTR(&element))
                                               : static_cast<void *>(&V_R8(&element)));  // any scalar
        VariantClear(&element);
    }
    V_VT(out) = VT_ARRAY | type;
    V_ARRAY(out) = array;
}

void Word(VARIANT &element, BSTR word)
{
    V_VT(&element) = VT_BSTR;
    V_BSTR(&element) = word;
}

void Number(VARIANT &element, double value)
{
    V_VT(&element) = VT_R8;
    V_R8(&element) = value;
}

// A well-formed list of pool: strings, a flash specification or numbers.
void ProperList(Rng &rng, char pool, int hostility, VARIANT *out, LONG lowerBound)
{
    if (pool == '#')
        return MakeArray(out, VT_R8, rng.Chance(60) ? 2 : 1 + rng.Below(3), lowerBound,
                         [&](LONG, VARIANT &e) { Number(e, MakeNumber(rng, '#', hostility)); });
    if (pool == 'N')  // compound constants: one value per property and compound, as VARIANTs
        return MakeArray(out, VT_VARIANT, rng.Chance(80) ? 1 : 2, lowerBound,
                         [&](LONG, VARIANT &e) { Number(e, MakeNumber(rng, '#', hostility)); });
    if (pool == 'f') {
        const wchar_t *property = PickOf(rng, specProperties);
        const bool fraction = wcscmp(property, L"phaseFraction") == 0;
        const wchar_t *parts[] = {property, fraction ? L"mole" : PickOf(rng, specBases),
                                  rng.Chance(80) ? (fraction ? L"Vapor" : L"Overall") : PickOf(rng, specPhases)};
        return MakeArray(out, VT_BSTR, rng.Chance(90) ? 3 : 4, lowerBound, [&](LONG i, VARIANT &e) {
            Word(e, i > 2 ? nullptr : rng.Chance(hostility / 4) ? HostileWord(rng, 'f') : SysAllocString(parts[i]));
        });
    }
    if (pool == 'c' && rng.Chance(50)) return;  // "all compounds" is the empty list, the usual request
    // Phase pairs are mostly Vapor and Liquid, as two-phase calls want them.
    const bool pair = pool == 'p' && rng.Chance(40);
    MakeArray(out, VT_BSTR, pair ? 2 : rng.Chance(60) ? 1 : 2 + rng.Below(2), lowerBound, [&](LONG i, VARIANT &e) {
        Word(e, pair ? SysAllocString(i ? L"Liquid" : L"Vapor") : MakeWord(rng, pool, hostility));
    });
}

}  // namespace

const std::vector<const wchar_t *> &PoolWords(char pool)
{
    for (const Pool &p : pools)
        if (p.letter == pool) return p.words;
    return pools[std::size(pools) - 1].words;
}

BSTR MakeWord(Rng &rng, char pool, int hostility)
{
    return rng.Chance(hostility) ? HostileWord(rng, pool) : SysAllocString(PoolWord(rng, pool));
}

double MakeNumber(Rng &rng, char pool, int hostility)
{
    const double hostile[] = {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                              -1.7976931348623157e308, 1e300};
    if (rng.Chance(hostility)) return PickOf(rng, hostile);
    if (pool == 'T') return 150.0 + rng.Below(400);
    if (pool == 'P') return 1e4 * (1 + rng.Below(500));
    return 0.05 + rng.Below(100) / 100.0;
}

void MakeList(Rng &rng, char pool, int hostility, VARIANT *out, Frame *frame)
{
    VariantInit(out);
    if (!rng.Chance(hostility)) return ProperList(rng, pool, hostility / 2, out, 0);
    const VARTYPE listType = pool == '#' ? VT_R8 : VT_BSTR;
    switch (rng.Below(frame ? 18 : 15)) {
    case 0: return;  // VT_EMPTY
    case 1: {  // a scalar of any kind, any bits
        const VARTYPE scalars[] = {VT_NULL, VT_I4, VT_BOOL, VT_ERROR, VT_R8, VT_DATE, VT_CY, VT_I2, VT_UI1};
        V_VT(out) = PickOf(rng, scalars);
        V_I8(out) = static_cast<LONGLONG>(rng.Next());
        return;
    }
    case 2: V_VT(out) = VT_BSTR; V_BSTR(out) = MakeWord(rng, pool, hostility); return;
    case 3: V_VT(out) = VT_R8; V_R8(out) = MakeNumber(rng, pool, 50); return;
    case 4: return MakeList(rng, pool, 0, out, frame);  // a well-formed list after all
    case 5: return ProperList(rng, pool == 'p' ? 'c' : 'p', hostility, out, 0);  // names of another kind
    case 6: return ProperList(rng, pool == '#' ? 'p' : '#', hostility, out, 0);  // wrong element type
    case 7:  // longs
        return MakeArray(out, VT_I4, 2, 0, [](LONG i, VARIANT &e) {
            V_VT(&e) = VT_I4;
            V_I4(&e) = i;
        });
    case 8: {  // two dimensions
        SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
        if (SAFEARRAY *array = SafeArrayCreate(listType, 2, bounds)) {
            V_VT(out) = VT_ARRAY | listType;
            V_ARRAY(out) = array;
        }
        return;
    }
    case 9: {
        const LONG bounds[] = {-7, 1, 1000000, -2147483647};
        return ProperList(rng, pool, hostility, out, PickOf(rng, bounds));
    }
    case 10: return MakeArray(out, listType, 0, 0, [](LONG, VARIANT &) {});  // empty
    case 11:  // null elements
        return MakeArray(out, VT_BSTR, 3, 0, [&](LONG i, VARIANT &e) {
            Word(e, i == 1 ? SysAllocString(PoolWord(rng, pool)) : nullptr);
        });
    case 12:  // mixed items: strings, numbers, nothing, nested lists
        return MakeArray(out, VT_VARIANT, 1 + rng.Below(4), 0, [&](LONG, VARIANT &e) {
            switch (rng.Below(4)) {
            case 0: Word(e, SysAllocString(PoolWord(rng, pool))); break;
            case 1: Number(e, MakeNumber(rng, '#', 50)); break;
            case 2: ProperList(rng, pool, 0, &e, 0); break;
            default: break;
            }
        });
    case 13: V_VT(out) = VT_ARRAY | listType; V_ARRAY(out) = nullptr; return;
    case 14: V_VT(out) = VT_ERROR; V_ERROR(out) = DISP_E_PARAMNOTFOUND; return;  // "missing", as IDispatch says
    case 15:  // long lists, from clients only: a package's own lists set how much work it makes
        return MakeArray(out, listType, 2000 + rng.Below(2000), 0, [&](LONG, VARIANT &e) {
            if (pool == '#')
                Number(e, 1.0);
            else
                Word(e, SysAllocString(PoolWord(rng, pool)));
        });
    default: {  // by reference, to a value of the frame
        VARIANT *target = frame->New();
        if (!target) return;
        ProperList(rng, pool, hostility, target, 0);
        V_VT(out) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(out) = target;
        return;
    }
    }
}

Frame::~Frame()
{
    for (int i = 0; i < used; ++i) VariantClear(&values[i]);
}

VARIANT *Frame::New()
{
    return used < static_cast<int>(std::size(values)) ? &values[used++] : nullptr;
}
