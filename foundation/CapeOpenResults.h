// Result codes of the CAPE-OPEN error convention.
#pragma once

#include <windows.h>

constexpr HRESULT ECapeUnknownHR = static_cast<HRESULT>(0x80040501L);
constexpr HRESULT ECapeNoImplHR = static_cast<HRESULT>(0x80040509L);
constexpr HRESULT ECapeThrmPropertyNotAvailableHR = static_cast<HRESULT>(0x8004051AL);

// First and last code of the CAPE-OPEN error range.
constexpr HRESULT ECapeFirstHR = static_cast<HRESULT>(0x80040501L);
constexpr HRESULT ECapeLastHR = static_cast<HRESULT>(0x8004051AL);

// The most negative double: CAPE-OPEN's "no value".
constexpr double CapeEmptyDouble = -1.7976931348623157e308;
