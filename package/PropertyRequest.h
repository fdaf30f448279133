// The request state shared by every calculation that lets a 1.0 package set
// values by name: result slots, request names and records, and the list of
// 1.0 names the 1.0 package is asked for.
#pragma once

#include <string>

#include "PropertyPackage.h"

// Fills resultSlots, slotFilled, requestNames and requestRecords for props
// (already checked as strings). Every property must have a record of the
// required category; otherwise error is unsupportedPrefix + the name and the
// result is false. list10 is props itself while every 1.0 name equals the
// client's, else translated, which then holds the 1.0 names.
bool PreparePropertyRequest(CPropertyPackage &pkg, const CVariantArray &props, PropertyCategory required,
                            const wchar_t *unsupportedPrefix, CVariantArray &translated, const VARIANT *&list10,
                            std::wstring &error);

// The first requested property that received no value, or -1.
int FirstUnfilledSlot(const CPropertyPackage &pkg);

// The guarded getter of a supported-property list: a copy of list in props.
HRESULT CopyPropertyList(CPropertyPackage &pkg, const wchar_t *interfaceName, const wchar_t *scope,
                         const CVariantArray &list, VARIANT *props);
