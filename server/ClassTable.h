// The classes a class object of this server can create, in table order.
#pragma once

#include <windows.h>
#include <cstddef>

struct ClassTableRow {
    const CLSID *clsid;
    const wchar_t *className;
    // Writes or removes the class's registry entries; null: nothing to do.
    HRESULT (*registration)(bool registering);
    // Creates an instance (outer may be null) and queries it for riid.
    HRESULT (*create)(IUnknown *outer, REFIID riid, void **ppv);
};

extern const ClassTableRow classTable[];
extern const size_t classTableSize;

// Index of clsid in the class table, or classTableSize when absent.
size_t FindClassRow(REFCLSID clsid);
