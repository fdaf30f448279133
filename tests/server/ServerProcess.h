// Helpers of the server tests: running programs of the test prefix and
// reading what they left in the registry.
#pragma once

#include <windows.h>
#include <string>

// Runs a command line and waits; its exit code, or ~0u when it did not start.
DWORD RunProgram(const std::wstring &commandLine);
// regsvr32 /s with the given arguments.
DWORD RunRegsvr32(const std::wstring &arguments);

bool KeyExists(HKEY root, const std::wstring &path);
bool ValueExists(HKEY root, const std::wstring &path, const wchar_t *name);
// The REG_SZ value name (null: the default value) of root\path, or "<missing>".
std::wstring ReadString(HKEY root, const std::wstring &path, const wchar_t *name);
void DeleteTree(HKEY root, const std::wstring &path);
