// One started CAPE-OPEN 1.0 thermo system: created, optionally InitNew'd
// and Initialize'd. Used by discovery and by package creation, which differ
// only in how they report failures.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "CapeOpen.h"
#include "ComHolders.h"

class ThermoSystemSession {
public:
    ThermoSystemSession() = default;
    ThermoSystemSession(const ThermoSystemSession &) = delete;
    ThermoSystemSession &operator=(const ThermoSystemSession &) = delete;
    // Releases the utilities, persistence and thermo system pointers, in that order.
    ~ThermoSystemSession();

    HRESULT Create(REFCLSID clsid);
    // InitNew when the thermo system offers IPersistStreamInit; "not
    // implemented" answers count as success.
    HRESULT InitNew();
    // Initialize when it offers ICapeUtilities, with the same rule.
    HRESULT Initialize();
    // Terminate when it offers ICapeUtilities; the result is not examined.
    void Terminate();

    ICapeThermoSystem *System() const { return system.Get(); }
    ICapeUtilities *Utilities() const { return utilities.Get(); }

private:
    ComPtr<ICapeThermoSystem> system;
    ComPtr<IPersistStreamInit> persist;
    ComPtr<ICapeUtilities> utilities;
};
