#include "ThermoSystemSession.h"

#include "CapeOpenResults.h"
#include "ErrorText.h"
#include "ServerContext.h"
#include "ThermoSystemDiscovery.h"

namespace {

// Thermo systems that do not offer a step say so with either code.
HRESULT IgnoringNotImplemented(HRESULT hr)
{
    return hr == E_NOTIMPL || hr == ECapeNoImplHR ? S_OK : hr;
}

// The step of an interface the thermo system did not give: skipped when it
// does not offer it, a failure when it answered success with no object.
HRESULT OptionalInterface(HRESULT queried)
{
    return queried == E_POINTER ? E_POINTER : S_OK;
}

std::wstring Quoted(const std::wstring &text)
{
    return L"\"" + text + L"\"";
}

}  // namespace

ThermoSystemSession::~ThermoSystemSession()
{
    Terminate();
    utilities.Reset();
    persist.Reset();
    system.Reset();
}

HRESULT ThermoSystemSession::Create(REFCLSID clsid)
{
    // Only the contexts a server is registered for: see ServerContext.cpp.
    HRESULT hr = CoCreateInstance(clsid, nullptr, RegisteredServerContext(clsid), __uuidof(ICapeThermoSystem),
                                  system.ReceiveVoid());
    return ObjectResult(hr, system.Get());
}

HRESULT ThermoSystemSession::InitNew()
{
    if (HRESULT hr = QueryFrom(system.Get(), persist); FAILED(hr)) {
        persist.Reset();
        return OptionalInterface(hr);
    }
    return IgnoringNotImplemented(persist->InitNew());
}

HRESULT ThermoSystemSession::Initialize()
{
    if (HRESULT hr = QueryFrom(system.Get(), utilities); FAILED(hr)) {
        utilities.Reset();
        return OptionalInterface(hr);
    }
    HRESULT hr = IgnoringNotImplemented(utilities->Initialize());
    initialized = SUCCEEDED(hr);
    return hr;
}

void ThermoSystemSession::Terminate()
{
    if (!initialized) return;
    initialized = false;
    utilities->Terminate();
}

std::wstring NotAPackageMessage(const std::wstring &systemName, const std::wstring &packageName)
{
    return L"Failed to resolve package " + Quoted(packageName) + L" from thermo system " + Quoted(systemName) +
           L": ICapeThermoPropertyPackage not implemented on returned object";
}

bool ResolveThermoPackage(const std::wstring &systemName, const std::wstring &packageName,
                          ComPtr<IDispatch> &resolved, std::wstring &failure)
{
    const GUID *clsid = ThermoSystemDiscovery().thermoSystemClsids.Lookup(systemName.c_str());
    if (!clsid) {
        failure = L"Thermo system " + Quoted(systemName) + L" not found on this system";
        return false;
    }
    ThermoSystemSession session;
    HRESULT hr = session.Create(*clsid);
    if (FAILED(hr)) {
        failure = L"Failed to create thermo system " + Quoted(systemName) + L": " + ErrorText(hr);
        return false;
    }
    const std::wstring initFailure = L"Failed to initialize thermo system " + Quoted(systemName);
    if (FAILED(hr = session.InitNew())) {
        failure = initFailure + L" (InitNew): " + ErrorText(hr);
        return false;
    }
    if (FAILED(hr = session.Initialize())) {
        failure = initFailure + L" (Initialize): " + CapeErrorText(session.Utilities(), hr);
        return false;
    }
    {
        ScopedBstr name(packageName.c_str());
        hr = session.System()->ResolvePropertyPackage(name.Get(), resolved.Receive());
    }
    if (FAILED(hr)) {
        failure = L"Failed to resolve package " + Quoted(packageName) + L" from thermo system " +
                  Quoted(systemName) + L": " + CapeErrorText(session.System(), hr);
        return false;
    }
    session.Terminate();
    if (!resolved) {
        failure = NotAPackageMessage(systemName, packageName);
        return false;
    }
    return true;
}
