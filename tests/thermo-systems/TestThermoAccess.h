// Access from a test program to the test thermo systems DLL that COM loaded
// into its process.
#pragma once

#include "TestThermoSystems.h"

struct TestThermoAccess {
    TestThermoAccess()
    {
        HMODULE module = GetModuleHandleW(TEST_THERMO_DLL);
        if (!module) return;
        setLateFailures = reinterpret_cast<TestThermoSetLateFailuresFn>(
            reinterpret_cast<void *>(GetProcAddress(module, "TestThermoSetLateFailures")));
        createdCount = reinterpret_cast<TestThermoCreatedCountFn>(
            reinterpret_cast<void *>(GetProcAddress(module, "TestThermoCreatedCount")));
        liveCount = reinterpret_cast<TestThermoLiveCountFn>(
            reinterpret_cast<void *>(GetProcAddress(module, "TestThermoLiveCount")));
        lastResolve = reinterpret_cast<TestThermoLastResolveFn>(
            reinterpret_cast<void *>(GetProcAddress(module, "TestThermoLastResolve")));
        setHugeNames = reinterpret_cast<TestThermoSetHugeNamesFn>(
            reinterpret_cast<void *>(GetProcAddress(module, "TestThermoSetHugeNames")));
        unterminatedCount = reinterpret_cast<TestThermoUnterminatedCountFn>(
            reinterpret_cast<void *>(GetProcAddress(module, "TestThermoUnterminatedCount")));
    }
    bool Loaded() const
    {
        return setLateFailures && createdCount && liveCount && lastResolve && setHugeNames && unterminatedCount;
    }

    TestThermoSetLateFailuresFn setLateFailures = nullptr;
    TestThermoCreatedCountFn createdCount = nullptr;
    TestThermoLiveCountFn liveCount = nullptr;
    TestThermoLastResolveFn lastResolve = nullptr;
    TestThermoSetHugeNamesFn setHugeNames = nullptr;
    TestThermoUnterminatedCountFn unterminatedCount = nullptr;
};
