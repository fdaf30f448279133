// Self-registration: runs the module's registry scripts, per machine or,
// in per-user mode, below HKEY_CURRENT_USER\Software\Classes.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "Registrar.h"

// Resource identifiers of the registry scripts.
constexpr WORD moduleScriptId = 101;
constexpr WORD managerScriptId = 106;

// Loads registry script id of module, substitutes what registration gives it
// (MODULE and MODULE_RAW: modulePath with its quotes doubled; APPID; and
// DLLVERSION: versionText, unless that is null) and parses it. The installer
// build reads the scripts of the built DLLs through this too.
HRESULT PrepareRegistryScript(HMODULE module, WORD id, const std::wstring &modulePath, const wchar_t *versionText,
                              std::vector<RegistryScriptRoot> &roots);

HRESULT RegisterServer();
HRESULT UnregisterServer();
// DllInstall: "user" (any letter case, nothing more) switches to per-user mode.
HRESULT InstallServer(bool install, const wchar_t *commandLine);

// The manager's row of the class table: script 106, with DLLVERSION.
HRESULT RegisterManagerClass(bool registering);

// Per-user mode: set by DllInstall "user" or an InstallMode value under
// HKEY_CURRENT_USER\Software\Corvanta, and kept for the rest of the process.
bool PerUserMode();
