// The test thermo systems DLL (CorvantaTestThermo.dll): CAPE-OPEN 1.0 thermo
// systems with fixed behaviour per class, registered with regsvr32 in the
// test prefix like real ones. Test programs find the DLL loaded in their
// process (COM loads it) and read what it saw through these exports.
#pragma once

#include <windows.h>

#define TEST_THERMO_DLL L"CorvantaTestThermo.dll"

// Class identifier texts of the test classes, in registration order.
#define TEST_CLSID_SYS L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000001}"
#define TEST_CLSID_NO_INIT_NEW L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000002}"
#define TEST_CLSID_NO_INITIALIZE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000003}"
#define TEST_CLSID_BROKEN_INITIALIZE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000004}"
#define TEST_CLSID_LATE_INITIALIZE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000005}"
#define TEST_CLSID_LATE_INIT_NEW L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000006}"
#define TEST_CLSID_NUMBERS L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000007}"
#define TEST_CLSID_EMPTY L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000008}"
#define TEST_CLSID_THERMOX_UPPER L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000009}"
#define TEST_CLSID_THERMOX_LOWER L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000A}"
#define TEST_CLSID_ACME_THERMO L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000B}"
#define TEST_CLSID_ACME_MANAGER L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000C}"
#define TEST_CLSID_RESOLVE_FAILS L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000D}"
#define TEST_CLSID_NOT_A_PACKAGE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000E}"
#define TEST_CLSID_NAMELESS L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000F}"
#define TEST_CLSID_LATE_CREATE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000010}"
#define TEST_CLSID_DRIFTING L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000011}"
#define TEST_CLSID_NULL_CREATE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000012}"
#define TEST_CLSID_NULL_QUERY L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000013}"
#define TEST_CLSID_LATE_NULL_CREATE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000014}"
#define TEST_CLSID_LATE_NULL_UTILITIES L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000015}"
#define TEST_CLSID_NULL_RESOLVE L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000016}"
#define TEST_CLSID_HUGE_NAMES L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE000017}"

// Characters of the package name "HugeNames" gives when armed.
#define TEST_HUGE_NAME_LENGTH (4u << 20)

extern "C" {
// Arms the failures that must not show during discovery: "LateInitialize"
// then fails Initialize with its own text, "LateInitNew" fails InitNew,
// "LateCreate" cannot be created, "LateNullCreate" is created as success
// with no object and "LateNullUtilities" answers its ICapeUtilities query
// with success and no object.
typedef void(WINAPI *TestThermoSetLateFailuresFn)(BOOL armed);
// Armed, "HugeNames" lists one package whose name has TEST_HUGE_NAME_LENGTH
// characters.
typedef void(WINAPI *TestThermoSetHugeNamesFn)(BOOL armed);
// Thermo systems released while initialised, without Terminate.
typedef LONG(WINAPI *TestThermoUnterminatedCountFn)();
// Thermo system objects created so far in this process.
typedef LONG(WINAPI *TestThermoCreatedCountFn)();
// Thermo system objects alive now.
typedef LONG(WINAPI *TestThermoLiveCountFn)();
// "<thermo system name>|<package name>" of the last ResolvePropertyPackage
// call, in a buffer of the DLL; valid until the next call.
typedef const wchar_t *(WINAPI *TestThermoLastResolveFn)();
}
