// Discovery of the installed CAPE-OPEN 1.0 thermo systems and their
// packages, run once per module load on the first request of any manager.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "NameMap.h"
#include "VariantArray.h"

struct ThermoSystemRecord {
    std::wstring name;        // CapeDescription Name, or the class identifier text
    std::wstring clsid;       // as in the registry key name, braces included
    std::wstring productKey;  // first word of name ("Aspen" names: first two)
};

struct ThermoSystemDiscoveryResults {
    // "System//Package" names: VT_EMPTY until discovery read the registry.
    CVariantArray packageList;
    // Thermo system name (any letter case) -> class identifier.
    NameMap<GUID> thermoSystemClsids;
    bool discoveryPending = true;
};

// Runs the discovery the first time it is called, under the module lock;
// never reports an error. Once it returns, the results are only read.
void DiscoverThermoSystems();
const ThermoSystemDiscoveryResults &ThermoSystemDiscovery();

// Releases the results and lets the next call discover again (module unload).
void ResetThermoSystemDiscovery();

// The classes registered below one CLSID key, by category, in the order found.
struct RegisteredClasses {
    std::vector<ThermoSystemRecord> thermoSystems10;
    std::vector<ThermoSystemRecord> managers11;
};

// The steps of discovery, also used to explain its outcome per thermo system.
// Sorts the classes below clsidKey (opened for enumeration) into the lists;
// every record gets its name and product key.
void FindRegisteredClasses(HKEY clsidKey, RegisteredClasses &found);
// The 1.1 manager of the same maker, which leaves the thermo system out; or null.
const ThermoSystemRecord *ExcludingManager(const ThermoSystemRecord &thermoSystem,
                                           const std::vector<ThermoSystemRecord> &managers);
// Starts the thermo system, asks it for its package names and terminates it.
// False, with failure saying why, when it contributes no package.
bool QueryThermoSystemPackages(const ThermoSystemRecord &record, CLSID &clsid, std::vector<std::wstring> &packages,
                               std::wstring &failure);

// Fills record.name from the CapeDescription key below classKey.
void ReadCapeDescription(ThermoSystemRecord &record, HKEY classKey);
// Sets record.productKey from record.name.
void MakeProductKey(ThermoSystemRecord &record);
