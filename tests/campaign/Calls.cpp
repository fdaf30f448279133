// The method tables of the manager, the package and the 1.0 material
// object, one invoker for every method (early-bound through the vtable with
// DispCallFunc, late-bound through the interface's IDispatch), and the check
// of every outcome.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "Campaign.h"
#include "CapeOpen.h"
#include "CapeOpenResults.h"

namespace {

#define IFACE(I) &__uuidof(I), L## #I

const Method identificationAndErrors[] = {
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
};

const Method packageList[] = {
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
};

const Method managerList[] = {
    {IFACE(ICapeThermoPropertyPackageManager), L"GetPropertyPackageList", nullptr, 7, "O", 0},
    {IFACE(ICapeThermoPropertyPackageManager), L"GetPropertyPackage", nullptr, 8, "Bn Q", 0},
};

const Method materialObjectList[] = {
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
};

// Each object's own methods followed by identification and error interfaces.
template <size_t N>
std::vector<Method> WithBase(const Method (&own)[N])
{
    std::vector<Method> all(own, own + N);
    all.insert(all.end(), std::begin(identificationAndErrors), std::end(identificationAndErrors));
    return all;
}
const std::vector<Method> packageAll = WithBase(packageList), managerAll = WithBase(managerList),
                          materialObjectAll = WithBase(materialObjectList);

// Codes IDispatch itself answers for arguments it cannot convert or place.
bool DispatchCode(HRESULT hr)
{
    return hr == DISP_E_TYPEMISMATCH || hr == DISP_E_BADVARTYPE || hr == DISP_E_PARAMNOTFOUND ||
           hr == DISP_E_BADPARAMCOUNT || hr == DISP_E_OVERFLOW || hr == DISP_E_NONAMEDARGS || hr == E_INVALIDARG;
}

// Checks an outcome against the method's codes and the error convention.
void CheckOutcome(CallContext &context, IUnknown *object, const MethodTable &table, const Method &method,
                  HRESULT hr, bool nullArgument, bool lateBound)
{
    const wchar_t *scope = method.scope ? method.scope : method.name;
    const bool allowed = hr == S_OK || hr == ECapeUnknownHR || (hr == E_POINTER && nullArgument) ||
                         ((method.flags & NotAvailable) && hr == ECapeThrmPropertyNotAvailableHR) ||
                         ((method.flags & NoImpl) && hr == ECapeNoImplHR) || (method.flags & PassThrough) ||
                         (lateBound && DispatchCode(hr));
    if (!allowed) return Violation(context, L"%ls returned 0x%08lX", scope, hr);
    if (hr != ECapeUnknownHR || (method.flags & PassThrough)) return;
    ComPtr<ECapeUser> user;
    ScopedBstr description, recordedScope, interfaceName;
    if (FAILED(QueryFrom(object, user)) || FAILED(user->get_description(description.Receive())) ||
        FAILED(user->get_scope(recordedScope.Receive())) || FAILED(user->get_interfaceName(interfaceName.Receive())))
        return Violation(context, L"%ls failed without readable error interfaces", scope);
    const std::wstring expectedScope = std::wstring(table.className) + L"::" + scope;
    if (description.IsEmpty() || expectedScope != recordedScope.Text() ||
        std::wstring(method.interfaceName) != interfaceName.Text())
        Violation(context, L"%ls failed with description \"%ls\", scope \"%ls\", interface \"%ls\"", scope,
                  description.Text(), recordedScope.Text(), interfaceName.Text());
}

}  // namespace

const MethodTable packageMethods = {L"CPropertyPackage", packageAll.data(), packageAll.size()};
const MethodTable managerMethods = {L"CPropertyPackageManager", managerAll.data(), managerAll.size()};
const MethodTable materialObjectMethods = {L"CMaterialObject", materialObjectAll.data(), materialObjectAll.size()};

const wchar_t *volatile currentMethod = L"";

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

HRESULT CallMethod(CallContext &context, IUnknown *object, const MethodTable &table, const Method &method,
                   bool lateBound)
{
    ComPtr<IDispatch> target;
    if (!object || FAILED(object->QueryInterface(*method.iid, target.ReceiveVoid())) || !target)
        return E_NOINTERFACE;
    Rng &rng = context.rng;
    Frame frame;
    // Per argument: its value or out storage (cleared with the frame), and
    // what is passed: the value itself, or a pointer to the storage.
    char types[12];
    VARIANT *cells[12], passed[12];
    VARIANT *result = nullptr;  // late-bound [out, retval]
    int count = 0;
    bool nullArgument = false;
    for (const char *token = method.args; *token && count < 12; ++token) {
        if (*token == ' ') continue;
        const char type = types[count] = *token, pool = token[1] && token[1] != ' ' ? *++token : 'x';
        VARIANT *cell = cells[count] = frame.New();
        VARIANT &pass = passed[count++];
        VariantInit(&pass);
        switch (type) {
        case 'V': MakeList(rng, pool, context.hostility, cell, &frame); break;
        case 'B': V_VT(cell) = VT_BSTR, V_BSTR(cell) = MakeWord(rng, pool, context.hostility); break;
        case 'D': V_VT(cell) = VT_R8, V_R8(cell) = MakeNumber(rng, pool, context.hostility); break;
        case 'I':
            V_VT(cell) = VT_I4;
            V_I4(cell) = !rng.Chance(context.hostility / 2) ? rng.Below(16) : rng.Chance(50) ? -1 : 16 << rng.Below(12);
            break;
        case 'P':
            V_VT(&pass) = VT_DISPATCH;
            V_DISPATCH(&pass) = context.objects.empty()
                                    ? nullptr
                                    : context.objects[rng.Below(static_cast<int>(context.objects.size()))];
            nullArgument |= !V_DISPATCH(&pass);
            continue;
        default: {  // out storage: the VARIANT itself, or the payload of a typed one
            const char *typed = "LZSQ";
            const VARTYPE storage[] = {VT_I4, VT_BOOL, VT_BSTR, VT_DISPATCH};
            const char *found = strchr(typed, type);
            V_VT(cell) = found ? storage[found - typed] : static_cast<VARTYPE>(VT_EMPTY);
            if (type == 'x' && rng.Chance(50)) MakeList(rng, pool, context.hostility, cell, nullptr);
            const bool isNull = !lateBound && rng.Chance(4);
            nullArgument |= isNull;
            V_VT(&pass) = VT_BYREF | VT_VARIANT;
            V_BYREF(&pass) = isNull ? nullptr : V_VT(cell) == VT_EMPTY || type == 'x' ? static_cast<void *>(cell)
                                                                                      : &V_I4(cell);
            if (lateBound && type != 'x') result = cell;
            continue;
        }
        }
        nullArgument |= type == 'B' && !V_BSTR(cell);
        pass = *cell;  // lent, not copied: callees do not free [in] values
    }
    currentMethod = method.scope ? method.scope : method.name;
    ++context.stats->calls;
    HRESULT hr = E_FAIL;
    if (!lateBound) {
        VARTYPE vts[12];
        VARIANTARG *values[12];
        for (int i = 0; i < count; ++i) {
            vts[i] = types[i] == 'V' ? static_cast<VARTYPE>(VT_VARIANT) : V_VT(&passed[i]);
            values[i] = types[i] == 'V' ? cells[i] : &passed[i];
        }
        VARIANT returned;
        VariantInit(&returned);
        hr = DispCallFunc(target.Get(), method.slot * sizeof(void *), CC_STDCALL, VT_ERROR, count, vts, values,
                          &returned);
        if (SUCCEEDED(hr)) hr = V_ERROR(&returned);
    } else {
        ++context.stats->lateBound;
        DISPID id = 0;
        LPOLESTR name = const_cast<LPOLESTR>(method.name);
        if (FAILED(target->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
            return Violation(context, L"IDispatch does not know %ls", method.name), E_FAIL;
        VARIANTARG reversed[12];
        UINT argumentCount = 0;
        for (int i = count - 1; i >= 0; --i)
            if (cells[i] != result) reversed[argumentCount++] = passed[i];
        if (result) VariantClear(result);  // IDispatch hands back a VARIANT, not the typed payload
        DISPID named = DISPID_PROPERTYPUT;
        const bool put = method.flags & PropertyPut;
        DISPPARAMS params = {reversed, put ? &named : nullptr, argumentCount, put ? 1u : 0u};
        const WORD flags = (method.flags & PropertyGet) ? DISPATCH_PROPERTYGET
                           : put                         ? DISPATCH_PROPERTYPUT
                                                         : DISPATCH_METHOD;
        EXCEPINFO exception = {};
        UINT argumentError = 0;
        hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &argumentError);
        if (hr == DISP_E_EXCEPTION && exception.scode) hr = exception.scode;
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    CheckOutcome(context, object, table, method, hr, nullArgument, lateBound);
    return hr;
}

const Method &FindMethod(const MethodTable &table, const wchar_t *name)
{
    for (size_t i = 0; i < table.count; ++i)
        if (wcscmp(table.methods[i].name, name) == 0) return table.methods[i];
    return table.methods[0];
}

void CheckCall(CallContext &context, IUnknown *object, const MethodTable &table, const wchar_t *name, HRESULT hr)
{
    ++context.stats->calls;
    CheckOutcome(context, object, table, FindMethod(table, name), hr, false, false);
}

HRESULT CallAny(CallContext &context, IUnknown *object, const MethodTable &table)
{
    const Method *method = &table.methods[context.rng.Below(static_cast<int>(table.count))];
    if ((method->flags & Rare) && context.rng.Chance(75))
        method = &table.methods[context.rng.Below(static_cast<int>(table.count))];
    return CallMethod(context, object, table, *method, context.rng.Chance(35));
}
