// Registers a type library, as a simulator's installer registers the
// standard CAPE-OPEN library on a user's machine.
#include <windows.h>
#include <oleauto.h>
#include <cwchar>
#include <cstdio>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2) {
        fwprintf(stderr, L"usage: register-typelib PATH\n");
        return 2;
    }
    ITypeLib *library = nullptr;
    HRESULT hr = LoadTypeLibEx(argv[1], REGKIND_REGISTER, &library);
    if (FAILED(hr)) {
        fwprintf(stderr, L"register-typelib: %ls: 0x%08lX\n", argv[1], static_cast<unsigned long>(hr));
        return 1;
    }
    library->Release();
    wprintf(L"registered %ls\n", argv[1]);
    return 0;
}
