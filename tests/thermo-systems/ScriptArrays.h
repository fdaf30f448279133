// CorvantaTest.Arrays: a late-bound helper for test scripts.
// - ToVariants(list): Wine's script engines index only arrays of VARIANT,
//   while CAPE-OPEN lists are arrays of strings or doubles; this gives the
//   same list as an array of VARIANT, which JScript's VBArray reads.
// - ToStrings(list), ToDoubles(list): the other way, a script's array (of
//   VARIANT) as the array of strings or doubles CAPE-OPEN calls expect.
// - Query(object, iid): the object's interface iid (text form), as a macro
//   gets it by assigning to a variable of that interface type, so that its
//   methods can then be called through that interface's IDispatch.
// - Material(compoundIds): a new in-memory CAPE-OPEN 1.1 material of these
//   compounds, phases Vapor and Liquid both present, for a script to flash.
#pragma once

#include <windows.h>
#include <oaidl.h>

#define TEST_CLSID_SCRIPT_ARRAYS L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE0000A0}"
#define TEST_PROGID_SCRIPT_ARRAYS L"CorvantaTest.Arrays"

// Creates a helper object (never aggregated) and queries it for riid.
HRESULT CreateScriptArrays(IUnknown *outer, REFIID riid, void **ppv);
