// An open registry key, closed when it goes out of scope.
#pragma once

#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    ~RegistryKey()
    {
        if (key) RegCloseKey(key);
    }
    bool Open(HKEY parent, const wchar_t *name, REGSAM access)
    {
        return RegOpenKeyExW(parent, name, 0, access, &key) == ERROR_SUCCESS;
    }
    HKEY key = nullptr;
};
