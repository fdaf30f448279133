// Self-registration: runs the module's registry scripts, per machine or,
// in per-user mode, below HKEY_CURRENT_USER\Software\Classes.
#pragma once

#include <windows.h>

// Resource identifiers of the registry scripts.
constexpr WORD moduleScriptId = 101;
constexpr WORD managerScriptId = 106;

HRESULT RegisterServer();
HRESULT UnregisterServer();
// DllInstall: "user" (any letter case, nothing more) switches to per-user mode.
HRESULT InstallServer(bool install, const wchar_t *commandLine);

// The manager's row of the class table: script 106, with DLLVERSION.
HRESULT RegisterManagerClass(bool registering);

// Per-user mode: set by DllInstall "user" or an InstallMode value under
// HKEY_CURRENT_USER\Software\Corvanta, and kept for the rest of the process.
bool PerUserMode();
