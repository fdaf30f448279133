// Where COM classes are registered, read without the registry redirection
// that would hide the other bitness: per machine and per user, for 64-bit
// and for 32-bit programs. Also the server file a class names and the
// bitness its PE header declares.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "RegistryKey.h"

struct RegistryLocation {
    HKEY root;                 // HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER
    const wchar_t *clsidPath;  // the CLSID key below root, as stored
    int bitness;               // 64 or 32: the programs that read it
    bool perUser;

    // "64-bit per machine"
    std::wstring Describe() const;
    bool OpenClsid(RegistryKey &key, REGSAM access) const;
    // A class key below the CLSID key; false when there is none.
    bool OpenClass(const std::wstring &clsid, RegistryKey &key) const;
};

// The bitness of this process, and so of the manager it loads.
int ProcessBitness();
// The locations of this machine: four on 64-bit Windows, two on 32-bit.
std::vector<RegistryLocation> RegistryLocations();

// The server a class key names: its InprocServer32 path, else its
// LocalServer32 command, environment strings expanded and quotes removed;
// empty when it names neither.
std::wstring RegisteredServer(HKEY classKey, bool &inproc);
// The file a server path loads (searched like a library when it has no
// folder), or empty when there is no such file.
std::wstring FindServerFile(const std::wstring &server);
// Bitness of a Windows binary from its PE header: 32 or 64, or 0 when the
// file is no Windows binary; what says which machine ("64-bit (x64)").
int BinaryBitness(const std::wstring &file, std::wstring &what);

// The default value of a subkey (ProgID and the like), or empty.
std::wstring ReadDefaultValue(HKEY key, const wchar_t *subkey);
