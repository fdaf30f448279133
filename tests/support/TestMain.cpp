// Every test executable runs its tests in a single-threaded apartment, the
// apartment a simulator calls CAPE-OPEN components from.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
