// The request state shared by every calculation that lets a 1.0 package set
// values by name: result slots, request names and records, and the list of
// 1.0 names the 1.0 package is asked for.
#pragma once

#include <string>

#include "PropertyPackage.h"

// Fills resultSlots, slotFilled, requestNames and requestRecords for props
// (already checked as strings). Every property must have a record of the
// required category; otherwise error is unsupportedPrefix + the name and the
// result is false. list10 is props itself when the client spelled every name
// as the 1.0 package does and named none twice, else translated, which then
// holds the 1.0 names, each once. A repeated property shares the slot of its
// first request (its own slot counts as filled).
bool PreparePropertyRequest(CPropertyPackage &pkg, const CVariantArray &props, PropertyCategory required,
                            const wchar_t *unsupportedPrefix, CVariantArray &translated, const VARIANT *&list10,
                            std::wstring &error);

// The first requested property that received no value, or -1.
int FirstUnfilledSlot(const CPropertyPackage &pkg);

// The guarded getter of a supported-property list: a copy of list in props.
HRESULT CopyPropertyList(CPropertyPackage &pkg, const wchar_t *interfaceName, const wchar_t *scope,
                         const CVariantArray &list, VARIANT *props);
