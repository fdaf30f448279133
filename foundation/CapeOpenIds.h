// Identifiers of the CAPE-OPEN world outside the system: interfaces (from the
// generated header), and the component categories read from the registry.
#pragma once

#include <windows.h>
#include "CapeOpen.h"

// CAPE-OPEN component categories.
// {678C09A1-7D66-11D2-A67D-00105A42887F}: any CAPE-OPEN component
constexpr GUID CATID_CapeOpenComponent =
    {0x678C09A1, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}};
// {678C09A3-7D66-11D2-A67D-00105A42887F}: CAPE-OPEN 1.0 thermo system
constexpr GUID CATID_CapeThermoSystem10 =
    {0x678C09A3, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}};
// {CF51E383-0110-4ed8-ACB7-B50CFDE6908E}: CAPE-OPEN 1.1 property package manager
constexpr GUID CATID_CapePropertyPackageManager11 =
    {0xCF51E383, 0x0110, 0x4ED8, {0xAC, 0xB7, 0xB5, 0x0C, 0xFD, 0xE6, 0x90, 0x8E}};

// The same, as registry key names.
constexpr const wchar_t *CatidThermoSystem10Text = L"{678C09A3-7D66-11D2-A67D-00105A42887F}";
constexpr const wchar_t *CatidPropertyPackageManager11Text = L"{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}";
