// GetProp and SetProp on a material object as a 1.0 package calls them: for
// every compound, with null and empty strings passed as given.
#pragma once

#include <vector>

#include "ScriptedPackage10.h"
#include "TestVariants.h"

// Reads into *read (no values on failure) when read is given.
inline HRESULT GetProp10(ICapeThermoMaterialObject *material, const wchar_t *property, const wchar_t *phase,
                         const wchar_t *basis, std::vector<double> *read = nullptr,
                         const wchar_t *calcType = L"mixture")
{
    ScopedVariant results;
    const HRESULT hr = material->GetProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(), VARIANT{},
                                         ScopedBstr(calcType).Get(), ScopedBstr(basis).Get(), results.Get());
    if (read) *read = ReadDoubles(results.Value());
    return hr;
}

inline HRESULT SetProp10(ICapeThermoMaterialObject *material, const wchar_t *property, const wchar_t *phase,
                         const wchar_t *basis, const std::vector<double> &values,
                         const wchar_t *calcType = L"mixture")
{
    return material->SetProp(ScopedBstr(property).Get(), ScopedBstr(phase).Get(), VARIANT{},
                             ScopedBstr(calcType).Get(), ScopedBstr(basis).Get(), Doubles(values).Value());
}
