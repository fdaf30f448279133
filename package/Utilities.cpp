// ICapeUtilities: explicit initialisation, termination, editing and
// parameters, passed on to the 1.0 package's own utilities where it has them.
#include "PropertyPackage.h"

#include "ErrorText.h"

namespace {
constexpr const wchar_t *utilitiesInterface = L"ICapeUtilities";
}

HRESULT CPropertyPackage::get_parameters(IDispatch **parameters)
{
    return ComGuard([&]() -> HRESULT {
        if (!parameters) return E_POINTER;
        constexpr const wchar_t *scope = PACKAGE_SCOPE(L"get_parameters");
        if (initPending && !EnsureInitialized(utilitiesInterface, scope)) return ECapeUnknownHR;
        if (!packageUtilities10) return Fail(L"This object does not expose parameters", scope, utilitiesInterface);
        HRESULT hr = packageUtilities10->get_parameters(parameters);
        if (FAILED(hr)) return Fail(CapeErrorText(packageUtilities10.Get(), hr), scope, utilitiesInterface);
        return S_OK;
    });
}

HRESULT CPropertyPackage::put_simulationContext(IDispatch *context)
{
    return ComGuard([&]() -> HRESULT {
        // No initialisation here: simulators set the context right after
        // creating the package, before anything else.
        if (!packageUtilities10 && package10) QueryFrom(package10.Get(), packageUtilities10);
        if (!packageUtilities10) return S_OK;
        return packageUtilities10->put_simulationContext(context);
    });
}

HRESULT CPropertyPackage::Initialize()
{
    return ComGuard([&]() -> HRESULT {
        if (initPending && !EnsureInitialized(utilitiesInterface, PACKAGE_SCOPE(L"Initialize"))) return ECapeUnknownHR;
        return S_OK;
    });
}

HRESULT CPropertyPackage::Terminate()
{
    return ComGuard([&]() -> HRESULT {
        if (RefuseReentry(PACKAGE_SCOPE(L"Terminate"), utilitiesInterface)) return ECapeUnknownHR;
        if (package10Initialized && packageUtilities10) packageUtilities10->Terminate();
        package10Initialized = false;
        package10.Reset();
        packageUtilities10.Reset();
        packageIdentification10.Reset();
        UnsetMaterial();
        // A failed initialisation stays reported: the guard still answers
        // every later call with it.
        initPending = initPending && !initError.empty();
        return S_OK;
    });
}

HRESULT CPropertyPackage::Edit()
{
    return ComGuard([&]() -> HRESULT {
        constexpr const wchar_t *scope = PACKAGE_SCOPE(L"Edit");
        if (RefuseReentry(scope, utilitiesInterface)) return ECapeUnknownHR;
        if (initPending && !EnsureInitialized(utilitiesInterface, scope)) return ECapeUnknownHR;
        BusyScope busyScope(*this);
        if (!packageUtilities10) return ECapeNoImplHR;
        const HRESULT editResult = packageUtilities10->Edit();
        // The user may have changed compounds, phases or properties. The last
        // request's records point into the maps about to be rebuilt.
        resultSlots.Clear();
        slotFilled.clear();
        requestRecords.clear();
        if (!LoadFromPackage()) return Fail(initError, scope, utilitiesInterface);
        return editResult;
    });
}
