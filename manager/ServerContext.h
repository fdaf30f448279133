// Which kinds of COM server a class has registered, so that a thermo system
// is only ever activated in ways that can work.
#pragma once

#include <windows.h>

// The CLSCTX flags to create clsid with: always CLSCTX_INPROC_SERVER, plus
// the in-process handler, local server and remote server contexts for which
// the class (after TreatAs emulation) has a usable registration.
DWORD RegisteredServerContext(REFCLSID clsid);
