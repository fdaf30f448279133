#include "ModuleLock.h"

namespace {

LONG lockCount = 0;

// Built with the module, before DllMain runs; deleted at unload.
class ModuleCriticalSection {
public:
    ModuleCriticalSection() { ready = InitializeCriticalSectionAndSpinCount(&section, 0) != FALSE; }
    ~ModuleCriticalSection()
    {
        if (ready) DeleteCriticalSection(&section);
    }
    CRITICAL_SECTION section;
    bool ready = false;
};

ModuleCriticalSection moduleSection;

}  // namespace

LONG ModuleLockIncrement() { return InterlockedIncrement(&lockCount); }
LONG ModuleLockDecrement() { return InterlockedDecrement(&lockCount); }
LONG ModuleLockCount() { return InterlockedCompareExchange(&lockCount, 0, 0); }

bool ModuleLockReady() { return moduleSection.ready; }
void ModuleLockEnter() { EnterCriticalSection(&moduleSection.section); }
void ModuleLockLeave() { LeaveCriticalSection(&moduleSection.section); }
