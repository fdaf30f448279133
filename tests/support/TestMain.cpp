// Every test executable runs its tests in a single-threaded apartment, the
// apartment a simulator calls CAPE-OPEN components from.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        std::fprintf(stderr, "CoInitializeEx failed: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 3;
    }
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
