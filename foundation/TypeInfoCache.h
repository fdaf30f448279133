// Type information for the IDispatch part of every CAPE-OPEN interface the
// system implements, loaded once per interface and kept until unload.
#pragma once

#include <windows.h>
#include <oaidl.h>

// Type info of a CAPE-OPEN interface (AddRef'd for the caller). Loads the
// registered CAPE-OPEN 1.1 library, or the copy embedded in this module when
// that is not registered; returns the loader's code when both fail.
HRESULT GetCapeOpenTypeInfo(REFIID iid, ITypeInfo **info);

// The copy of the CAPE-OPEN library embedded in the module (resource
// TYPELIB 2), loaded without registering it.
HRESULT LoadEmbeddedCapeOpenTypeLib(ITypeLib **library);

// Releases everything loaded; called when the module unloads.
void ReleaseCapeOpenTypeInfo();
