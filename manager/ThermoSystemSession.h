// One started CAPE-OPEN 1.0 thermo system: created, optionally InitNew'd
// and Initialize'd. Used by discovery and by package creation, which differ
// only in how they report failures.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <string>

#include "CapeOpen.h"
#include "ComHolders.h"

class ThermoSystemSession {
public:
    ThermoSystemSession() = default;
    ThermoSystemSession(const ThermoSystemSession &) = delete;
    ThermoSystemSession &operator=(const ThermoSystemSession &) = delete;
    // Terminates a thermo system that was initialised and not yet terminated,
    // then releases the utilities, persistence and thermo system pointers, in
    // that order.
    ~ThermoSystemSession();

    // A success code without an object fails (ObjectResult).
    HRESULT Create(REFCLSID clsid);
    // InitNew when the thermo system offers IPersistStreamInit; "not
    // implemented" answers count as success.
    HRESULT InitNew();
    // Initialize when it offers ICapeUtilities, with the same rule.
    HRESULT Initialize();
    // Terminate once, when Initialize succeeded; the result is not examined.
    void Terminate();

    ICapeThermoSystem *System() const { return system.Get(); }
    ICapeUtilities *Utilities() const { return utilities.Get(); }

private:
    ComPtr<ICapeThermoSystem> system;
    ComPtr<IPersistStreamInit> persist;
    ComPtr<ICapeUtilities> utilities;
    bool initialized = false;  // Initialize succeeded and Terminate is owed
};

// GetPropertyPackage's road to a 1.0 package: the discovered thermo system
// of that name is created, initialised, asked for the package and
// terminated. On false, failure holds the manager's message.
bool ResolveThermoPackage(const std::wstring &systemName, const std::wstring &packageName,
                          ComPtr<IDispatch> &resolved, std::wstring &failure);
// The message for a resolved object that is no 1.0 property package.
std::wstring NotAPackageMessage(const std::wstring &systemName, const std::wstring &packageName);
