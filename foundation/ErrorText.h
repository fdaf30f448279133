// Readable texts for result codes returned by other components.
#pragma once

#include <windows.h>
#include <string>

// The system message for code, or "error code 0x" + 8 hex digits.
std::wstring ErrorText(HRESULT code);

// The text of a failure code returned by a call on a CAPE-OPEN component:
// its ECapeUser description or ECapeRoot name for codes in the CAPE-OPEN
// range, the fixed text of the code otherwise, or ErrorText outside the range.
std::wstring CapeErrorText(IUnknown *component, HRESULT code);

// The fixed text of a code of the CAPE-OPEN range, or null outside it.
const wchar_t *CapeFixedErrorText(HRESULT code);
