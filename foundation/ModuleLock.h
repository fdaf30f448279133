// The module's lock count (which decides whether the DLL may unload) and
// its one critical section, which guards lazily built process-wide state.
#pragma once

#include <windows.h>

LONG ModuleLockIncrement();
LONG ModuleLockDecrement();
LONG ModuleLockCount();

// False when the critical section could not be created at load.
bool ModuleLockReady();
void ModuleLockEnter();
void ModuleLockLeave();

class ModuleLockGuard {
public:
    ModuleLockGuard() { ModuleLockEnter(); }
    ~ModuleLockGuard() { ModuleLockLeave(); }
    ModuleLockGuard(const ModuleLockGuard &) = delete;
    ModuleLockGuard &operator=(const ModuleLockGuard &) = delete;
};
