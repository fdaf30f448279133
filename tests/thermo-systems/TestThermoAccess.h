// Access from a test program to the test thermo systems DLL that COM loaded
// into its process.
#pragma once

#include "TestThermoSystems.h"

struct TestThermoAccess {
    TestThermoSetLateFailuresFn setLateFailures = Export<TestThermoSetLateFailuresFn>("TestThermoSetLateFailures");
    TestThermoCreatedCountFn createdCount = Export<TestThermoCreatedCountFn>("TestThermoCreatedCount");
    TestThermoLiveCountFn liveCount = Export<TestThermoLiveCountFn>("TestThermoLiveCount");
    TestThermoLastResolveFn lastResolve = Export<TestThermoLastResolveFn>("TestThermoLastResolve");
    TestThermoSetHugeNamesFn setHugeNames = Export<TestThermoSetHugeNamesFn>("TestThermoSetHugeNames");
    TestThermoUnterminatedCountFn unterminatedCount = Export<TestThermoUnterminatedCountFn>("TestThermoUnterminatedCount");

    bool Loaded() const
    {
        return setLateFailures && createdCount && liveCount && lastResolve && setHugeNames && unterminatedCount;
    }

private:
    template <class Fn>
    static Fn Export(const char *name)
    {
        HMODULE module = GetModuleHandleW(TEST_THERMO_DLL);
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(module, name))) : nullptr;
    }
};
