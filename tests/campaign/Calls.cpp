// The method tables and one invoker for all of them: early-bound through the
// vtable (DispCallFunc), late-bound through the interface's IDispatch.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "Campaign.h"
#include "CapeOpen.h"
#include "CapeOpenResults.h"

namespace {

// A method. args: per argument a type, then for values a kind. Types: V VARIANT,
// B BSTR, D double, I int, P IDispatch*, x [in, out] VARIANT*, and [out, retval]
// O VARIANT*, L long*, Z VARIANT_BOOL*, S BSTR*, Q IDispatch**.
enum MethodFlags : unsigned {
    PropertyGet = 1, PropertyPut = 2,
    PassThrough = 4,   // answers the 1.0 package's own code
    NotAvailable = 8,  // may answer ECapeThrmPropertyNotAvailableHR
    NoImpl = 16,       // may answer ECapeNoImplHR
    Rare = 32,         // ends what other calls need: picked less often
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
    std::vector<Method> methods;
};

#define IFACE(I) &__uuidof(I), L## #I

// Every object's identification and error interfaces, after its own methods.
std::vector<Method> WithBase(std::vector<Method> own)
{
    own.insert(own.end(), {
        {IFACE(ICapeIdentification), L"ComponentName", L"get_ComponentName", 7, "S", PropertyGet},
        {IFACE(ICapeIdentification), L"ComponentName", L"put_ComponentName", 8, "Bx", PropertyPut},
        {IFACE(ICapeIdentification), L"ComponentDescription", L"get_ComponentDescription", 9, "S", PropertyGet},
        {IFACE(ICapeIdentification), L"ComponentDescription", L"put_ComponentDescription", 10, "Bx", PropertyPut},
        {IFACE(ECapeUser), L"code", L"get_code", 7, "L", PropertyGet},
        {IFACE(ECapeUser), L"description", L"get_description", 8, "S", PropertyGet},
        {IFACE(ECapeUser), L"scope", L"get_scope", 9, "S", PropertyGet},
        {IFACE(ECapeUser), L"interfaceName", L"get_interfaceName", 10, "S", PropertyGet},
        {IFACE(ECapeUser), L"operation", L"get_operation", 11, "S", PropertyGet},
        {IFACE(ECapeUser), L"moreInfo", L"get_moreInfo", 12, "S", PropertyGet},
        {IFACE(ECapeRoot), L"name", L"get_name", 7, "S", PropertyGet},
    });
    return own;
}

void Violation(CallContext &context, const wchar_t *format, ...)
{
    ++context.stats->violations;
    wprintf(L"VIOLATION seed %llu scenario %llu: ", context.seed, context.scenario);
    va_list arguments;
    va_start(arguments, format);
    vwprintf(format, arguments);
    va_end(arguments);
    wprintf(L"\n");
    fflush(stdout);
}

const Method &Find(const MethodTable &table, const wchar_t *name)
{
    for (const Method &method : table.methods)
        if (wcscmp(method.name, name) == 0) return method;
    return table.methods[0];
}

void CheckOutcome(CallContext &context, IUnknown *object, const MethodTable &table, const Method &method,
                  HRESULT hr, bool nullArgument, bool lateBound)
{
    const wchar_t *scope = method.scope ? method.scope : method.name;
    const bool allowed = hr == S_OK || hr == ECapeUnknownHR || (hr == E_POINTER && nullArgument) ||
                         ((method.flags & NotAvailable) && hr == ECapeThrmPropertyNotAvailableHR) ||
                         ((method.flags & NoImpl) && hr == ECapeNoImplHR) || (method.flags & PassThrough) ||
                         (lateBound && (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_BADVARTYPE ||
                                        hr == DISP_E_PARAMNOTFOUND || hr == DISP_E_OVERFLOW || hr == E_INVALIDARG));
    if (!allowed) return Violation(context, L"%ls returned 0x%08lX", scope, hr);
    if (hr != ECapeUnknownHR || (method.flags & PassThrough)) return;
    ComPtr<ECapeUser> user;
    ScopedBstr description, recordedScope, interfaceName;
    if (FAILED(QueryFrom(object, user)) || FAILED(user->get_description(description.Receive())) ||
        FAILED(user->get_scope(recordedScope.Receive())) || FAILED(user->get_interfaceName(interfaceName.Receive())))
        return Violation(context, L"%ls failed without readable error interfaces", scope);
    if (description.IsEmpty() || std::wstring(table.className) + L"::" + scope != recordedScope.Text() ||
        std::wstring(method.interfaceName) != interfaceName.Text())
        Violation(context, L"%ls failed with \"%ls\", scope \"%ls\", interface \"%ls\"", scope, description.Text(),
                  recordedScope.Text(), interfaceName.Text());
}

const MethodTable packageMethods = {L"CPropertyPackage", WithBase({
    {IFACE(ICapeThermoCompounds), L"GetCompoundConstant", nullptr, 7, "VC Vc O", NotAvailable},
    {IFACE(ICapeThermoCompounds), L"GetCompoundList", nullptr, 8, "x x x x x x", 0},
    {IFACE(ICapeThermoCompounds), L"GetConstPropList", nullptr, 9, "O", 0},
    {IFACE(ICapeThermoCompounds), L"GetNumCompounds", nullptr, 10, "L", 0},
    {IFACE(ICapeThermoCompounds), L"GetPDependentProperty", nullptr, 11, "VR DP Vc x", 0},
    {IFACE(ICapeThermoCompounds), L"GetPDependentPropList", nullptr, 12, "O", 0},
    {IFACE(ICapeThermoCompounds), L"GetTDependentProperty", nullptr, 13, "VR DT Vc x", 0},
    {IFACE(ICapeThermoCompounds), L"GetTDependentPropList", nullptr, 14, "O", 0},
    {IFACE(ICapeThermoPhases), L"GetNumPhases", nullptr, 7, "L", 0},
    {IFACE(ICapeThermoPhases), L"GetPhaseInfo", nullptr, 8, "Bp Ba O", 0},
    {IFACE(ICapeThermoPhases), L"GetPhaseList", nullptr, 9, "x x x", 0},
    {IFACE(ICapeThermoPropertyRoutine), L"CalcAndGetLnPhi", nullptr, 7, "Bp DT DP V# I x x x x", 0},
    {IFACE(ICapeThermoPropertyRoutine), L"CalcSinglePhaseProp", nullptr, 8, "Vr Bp", 0},
    {IFACE(ICapeThermoPropertyRoutine), L"CalcTwoPhaseProp", nullptr, 9, "VK Vp", 0},
    {IFACE(ICapeThermoPropertyRoutine), L"CheckSinglePhasePropSpec", nullptr, 10, "Br Bp Z", 0},
    {IFACE(ICapeThermoPropertyRoutine), L"CheckTwoPhasePropSpec", nullptr, 11, "BK Vp Z", 0},
    {IFACE(ICapeThermoPropertyRoutine), L"GetSinglePhasePropList", nullptr, 12, "O", 0},
    {IFACE(ICapeThermoPropertyRoutine), L"GetTwoPhasePropList", nullptr, 13, "O", 0},
    {IFACE(ICapeThermoEquilibriumRoutine), L"CalcEquilibrium", nullptr, 7, "Vf Vf Bs", 0},
    {IFACE(ICapeThermoEquilibriumRoutine), L"CheckEquilibriumSpec", nullptr, 8, "Vf Vf Bs Z", 0},
    {IFACE(ICapeThermoMaterialContext), L"SetMaterial", nullptr, 7, "P", Rare},
    {IFACE(ICapeThermoMaterialContext), L"UnsetMaterial", nullptr, 8, "", Rare},
    {IFACE(ICapeThermoUniversalConstant), L"GetUniversalConstant", nullptr, 7, "Bk O", 0},
    {IFACE(ICapeThermoUniversalConstant), L"GetUniversalConstantList", nullptr, 8, "O", 0},
    {IFACE(ICapeUtilities), L"parameters", L"get_parameters", 7, "Q", PropertyGet},
    {IFACE(ICapeUtilities), L"simulationContext", L"put_simulationContext", 8, "P", PropertyPut | PassThrough},
    {IFACE(ICapeUtilities), L"Initialize", nullptr, 9, "", 0},
    {IFACE(ICapeUtilities), L"Terminate", nullptr, 10, "", Rare},
    {IFACE(ICapeUtilities), L"Edit", nullptr, 11, "", PassThrough | NoImpl},
})};

const MethodTable managerMethods = {L"CPropertyPackageManager", WithBase({
    {IFACE(ICapeThermoPropertyPackageManager), L"GetPropertyPackageList", nullptr, 7, "O", 0},
    {IFACE(ICapeThermoPropertyPackageManager), L"GetPropertyPackage", nullptr, 8, "Bn Q", 0},
})};

const MethodTable materialObjectMethods = {L"CMaterialObject", WithBase({
    {IFACE(ICapeThermoMaterialObject), L"ComponentIds", L"get_ComponentIds", 7, "O", PropertyGet},
    {IFACE(ICapeThermoMaterialObject), L"PhaseIds", L"get_PhaseIds", 8, "O", PropertyGet},
    {IFACE(ICapeThermoMaterialObject), L"GetUniversalConstant", nullptr, 9, "Vk O", 0},
    {IFACE(ICapeThermoMaterialObject), L"GetComponentConstant", nullptr, 10, "VC Vc O", 0},
    {IFACE(ICapeThermoMaterialObject), L"CalcProp", nullptr, 11, "Vr Vp Bt", 0},
    {IFACE(ICapeThermoMaterialObject), L"GetProp", nullptr, 12, "Bv Bp Vc Bt Bb O", 0},
    {IFACE(ICapeThermoMaterialObject), L"SetProp", nullptr, 13, "Bx Bp Vc Bt Bb V#", 0},
    {IFACE(ICapeThermoMaterialObject), L"CalcEquilibrium", nullptr, 14, "Bx Vr", 0},
    {IFACE(ICapeThermoMaterialObject), L"SetIndependentVar", nullptr, 15, "Vr V#", 0},
    {IFACE(ICapeThermoMaterialObject), L"GetIndependentVar", nullptr, 16, "Vr O", 0},
    {IFACE(ICapeThermoMaterialObject), L"PropCheck", nullptr, 17, "Vr O", 0},
    {IFACE(ICapeThermoMaterialObject), L"AvailableProps", nullptr, 18, "O", 0},
    {IFACE(ICapeThermoMaterialObject), L"RemoveResults", nullptr, 19, "Vr", 0},
    {IFACE(ICapeThermoMaterialObject), L"CreateMaterialObject", nullptr, 20, "Q", 0},
    {IFACE(ICapeThermoMaterialObject), L"Duplicate", nullptr, 21, "Q", 0},
    {IFACE(ICapeThermoMaterialObject), L"ValidityCheck", nullptr, 22, "Vr O", 0},
    {IFACE(ICapeThermoMaterialObject), L"GetPropList", nullptr, 23, "O", 0},
    {IFACE(ICapeThermoMaterialObject), L"GetNumComponents", nullptr, 24, "L", 0},
})};
const MethodTable *const tables[] = {&managerMethods, &packageMethods, &materialObjectMethods};

}  // namespace

const wchar_t *currentMethod = L"";

void Check(CallContext &context, IUnknown *object, Target target, const wchar_t *name, HRESULT hr)
{
    ++context.stats->calls;
    CheckOutcome(context, object, *tables[target], Find(*tables[target], name), hr, false, false);
}

HRESULT Call(CallContext &context, IUnknown *object, Target target, const wchar_t *name)
{
    const MethodTable &table = *tables[target];
    Rng &rng = context.rng;
    const auto any = [&] { return &table.methods[rng.Below(table.methods.size())]; };
    const Method *method = name ? &Find(table, name) : any();
    if (!name && (method->flags & Rare) && rng.Chance(75)) method = any();
    const bool lateBound = rng.Chance(35);
    ComPtr<IDispatch> dispatch;
    if (!object || FAILED(object->QueryInterface(*method->iid, dispatch.ReceiveVoid()))) return E_NOINTERFACE;

    // Per argument: its value or out storage (in a cell, cleared after the
    // call) and what is passed: the value itself, or a reference to the cell.
    ScopedVariant cells[12], spares[12];
    VARIANT passed[12] = {};
    VARTYPE vts[12];
    VARIANTARG *values[12];
    VARIANT *result = nullptr;  // late-bound [out, retval]
    int count = 0;
    bool nullArgument = false;
    static const char outTypes[] = "LZSQxO";
    for (const char *token = method->args; *token; ++token, ++count) {
        while (*token == ' ') ++token;
        const char type = *token, kind = token[1] && token[1] != ' ' ? *++token : 'x';
        VARIANT *cell = cells[count].Get(), &pass = passed[count];
        values[count] = &pass;
        if (type == 'P') {
            V_VT(&pass) = VT_DISPATCH;
            V_DISPATCH(&pass) = context.objects.empty() ? nullptr : context.objects[rng.Below(context.objects.size())];
            nullArgument |= !V_DISPATCH(&pass);
        } else if (const char *out = strchr(outTypes, type)) {  // storage: a VARIANT, or a typed payload
            const VARTYPE storage[] = {VT_I4, VT_BOOL, VT_BSTR, VT_DISPATCH};
            const bool typed = out - outTypes < 4, isNull = !lateBound && rng.Chance(4);
            V_VT(cell) = typed ? storage[out - outTypes] : static_cast<VARTYPE>(VT_EMPTY);
            if (type == 'x' && rng.Chance(50)) MakeList(rng, kind, context.hostility, cell, nullptr);  // a value in
            nullArgument |= isNull;
            V_VT(&pass) = VT_BYREF | VT_VARIANT;
            V_BYREF(&pass) = isNull ? nullptr : typed ? static_cast<void *>(&V_I4(cell)) : static_cast<void *>(cell);
            if (lateBound && type != 'x') result = cell;
        } else {
            if (type == 'V') MakeList(rng, kind, context.hostility, cell, spares[count].Get()), values[count] = cell;
            if (type == 'B') V_VT(cell) = VT_BSTR, V_BSTR(cell) = MakeWord(rng, kind, context.hostility);
            if (type == 'D') V_VT(cell) = VT_R8, V_R8(cell) = MakeNumber(rng, kind, context.hostility);
            if (type == 'I')
                V_VT(cell) = VT_I4, V_I4(cell) = !rng.Chance(context.hostility / 2) ? rng.Below(16)
                                                 : rng.Chance(50)                   ? -1
                                                                                    : 16 << rng.Below(12);
            nullArgument |= type == 'B' && !V_BSTR(cell);
            pass = *cell;  // lent: callees do not free [in] values
        }
        vts[count] = type == 'V' ? static_cast<VARTYPE>(VT_VARIANT) : V_VT(&pass);
    }
    currentMethod = method->scope ? method->scope : method->name;
    ++context.stats->calls;
    HRESULT hr = E_FAIL;
    if (!lateBound) {
        VARIANT returned;
        VariantInit(&returned);
        hr = DispCallFunc(dispatch.Get(), method->slot * sizeof(void *), CC_STDCALL, VT_ERROR, count, vts, values,
                          &returned);
        if (SUCCEEDED(hr)) hr = V_ERROR(&returned);
    } else {
        ++context.stats->lateBound;
        DISPID id = 0, named = DISPID_PROPERTYPUT;
        LPOLESTR dispatchName = const_cast<LPOLESTR>(method->name);
        if (FAILED(dispatch->GetIDsOfNames(IID_NULL, &dispatchName, 1, LOCALE_USER_DEFAULT, &id)))
            return Violation(context, L"IDispatch does not know %ls", method->name), E_FAIL;
        VARIANTARG reversed[12];
        UINT argumentCount = 0;
        for (int i = count - 1; i >= 0; --i)
            if (cells[i].Get() != result) reversed[argumentCount++] = passed[i];
        if (result) VariantClear(result);  // IDispatch hands back a VARIANT, not the typed payload
        const bool put = method->flags & PropertyPut;
        DISPPARAMS params = {reversed, put ? &named : nullptr, argumentCount, put ? 1u : 0u};
        const WORD flags = (method->flags & PropertyGet) ? DISPATCH_PROPERTYGET
                           : put                         ? DISPATCH_PROPERTYPUT
                                                         : DISPATCH_METHOD;
        EXCEPINFO exception = {};
        UINT argumentError = 0;
        hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &argumentError);
        if (hr == DISP_E_EXCEPTION && exception.scode) hr = exception.scode;
        SysFreeString(exception.bstrSource), SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    CheckOutcome(context, object, table, *method, hr, nullArgument, lateBound);
    return hr;
}
