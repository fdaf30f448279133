// The test thermo systems DLL (CorvantaTestThermo.dll): CAPE-OPEN 1.0 thermo
// systems with fixed behaviour per class, registered with regsvr32 in the
// test prefix like real ones. Test programs find the DLL loaded in their
// process (COM loads it), arm it and read what it saw through its state.
#pragma once

#include <windows.h>

#define TEST_THERMO_DLL L"CorvantaTestThermo.dll"

// Class identifiers of the test classes: the last two digits tell them apart.
#define TEST_CLSID(digits) L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE0000" digits L"}"
#define TEST_CLSID_NAMELESS TEST_CLSID(L"0F")

// Characters of the package name "HugeNames" gives when armed.
#define TEST_HUGE_NAME_LENGTH (4u << 20)

// The DLL's state, exported as the data testThermoState.
struct TestThermoState {
    // Arms the failures of the "Late..." classes, which must not show during discovery.
    bool lateFailures;
    // Armed, "HugeNames" lists one package whose name has TEST_HUGE_NAME_LENGTH characters.
    bool hugeNames;
    // Thermo system objects created so far in this process, alive now, and
    // released while initialised, without Terminate.
    LONG created, live, unterminated;
    // "<thermo system name>|<package name>" of the last ResolvePropertyPackage call.
    const wchar_t *lastResolve;
};

// The state of the DLL loaded into this process, or null when it is not loaded.
inline TestThermoState *TestThermo()
{
    HMODULE module = GetModuleHandleW(TEST_THERMO_DLL);
    return module ? static_cast<TestThermoState *>(reinterpret_cast<void *>(GetProcAddress(module, "testThermoState")))
                  : nullptr;
}
