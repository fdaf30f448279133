// Running programs of the test prefix and reading what they left in the
// registry, for the tests that drive the server, the probe and regsvr32 as a
// user does.
#pragma once

#include <windows.h>
#include <string>

// The Windows path of a file of the build tree.
std::wstring WindowsPath(const char *unixPath);

// Runs a command line and waits; its exit code, or ~0u when it did not
// start. With out and err, what the program wrote there (through temporary
// files, so that neither stream can block the other).
DWORD RunProgram(const std::wstring &commandLine, std::string *out = nullptr, std::string *err = nullptr);
// regsvr32 /s with the given arguments.
DWORD RunRegsvr32(const std::wstring &arguments);

bool KeyExists(HKEY root, const std::wstring &path);
// The REG_SZ value name (null: the default value) of root\path, or "<missing>".
std::wstring ReadString(HKEY root, const std::wstring &path, const wchar_t *name);
