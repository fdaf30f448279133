// Identity of the example thermo system as written to the registry.
#pragma once

#include <windows.h>

// {1C877E1D-4EB5-4448-9CEB-6B3C0CF39BA9}
constexpr CLSID CLSID_ExampleThermoSystem = {
    0x1c877e1d, 0x4eb5, 0x4448, {0x9c, 0xeb, 0x6b, 0x3c, 0x0c, 0xf3, 0x9b, 0xa9}};
constexpr const wchar_t *ExampleThermoClsidText = L"{1C877E1D-4EB5-4448-9CEB-6B3C0CF39BA9}";
constexpr const wchar_t *ExampleThermoProgId = L"Corvanta.ExampleThermo10.1";
constexpr const wchar_t *ExampleThermoIndependentProgId = L"Corvanta.ExampleThermo10";
constexpr const wchar_t *ExampleThermoName = L"Example Thermo";
