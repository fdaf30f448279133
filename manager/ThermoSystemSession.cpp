#include "ThermoSystemSession.h"

#include "CapeOpenResults.h"

namespace {

// Thermo systems that do not offer a step say so with either code.
HRESULT IgnoringNotImplemented(HRESULT hr)
{
    return hr == E_NOTIMPL || hr == ECapeNoImplHR ? S_OK : hr;
}

}  // namespace

ThermoSystemSession::~ThermoSystemSession()
{
    utilities.Reset();
    persist.Reset();
    system.Reset();
}

HRESULT ThermoSystemSession::Create(REFCLSID clsid)
{
    return CoCreateInstance(clsid, nullptr, CLSCTX_ALL, __uuidof(ICapeThermoSystem), system.ReceiveVoid());
}

HRESULT ThermoSystemSession::InitNew()
{
    if (FAILED(QueryFrom(system.Get(), persist))) {
        persist.Reset();
        return S_OK;
    }
    return IgnoringNotImplemented(persist->InitNew());
}

HRESULT ThermoSystemSession::Initialize()
{
    if (FAILED(QueryFrom(system.Get(), utilities))) {
        utilities.Reset();
        return S_OK;
    }
    return IgnoringNotImplemented(utilities->Initialize());
}

void ThermoSystemSession::Terminate()
{
    if (utilities) utilities->Terminate();
}
