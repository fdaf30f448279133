// Counts the heap allocations made by the code of this program (the bridge,
// the example packages and the components are linked in): C++ new, and the
// BSTRs and SAFEARRAYs it creates or copies through oleaut32, counted at the
// calls (a SAFEARRAY as two blocks, plus one per BSTR element it copies).
// The COM task allocator cannot be watched instead: Wine's IMallocSpy
// support fails when oleaut32 frees cached strings.
#pragma once

// Starts counting the oleaut32 calls (C++ new is always counted).
void StartCountingAllocations();
// Allocations so far.
long long AllocationCount();
